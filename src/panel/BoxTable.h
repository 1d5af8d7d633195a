#pragma once
// The box table: one row per numeric box. A row says where the box sits and what it shows at
// start, how it edits, which record field it is stored in and which operations look at it; the
// builder, the editing conventions, the record copy, Send's and Read's box lists and every loop
// over the boxes are made from it. Field widths come from the record layout alone.
#include "panel/Panel.h"
#include "panel/rules/HelpPositions.h"
#include "record/SettingsRecord.h"

#include <array>
#include <optional>

// What a change of the box's text does.
enum class TextChangedKind {
    Mark,              // background orange
    MarkAndStep,       // step becomes markStep, then orange
    MarkNegativeStart, // orange; a value below 0 becomes "0.01" with step "0.01"
    None,              // nothing (the group's key handling marks the box)
    OwnRule,           // the group's own rule (ownTextChangedRule)
};

// Which spin buttons start an empty box with a start step and text instead of stepping.
enum class SpinStart { None, Up, DownAndUp };

// The group a box belongs to; each group lays its boxes into its own grids.
enum class BoxGroup { Main, Sweep, Modulation, Trigger, Burst, Gate };

// A label in the column after a box's unit, naming the box's value as a period.
struct SecondsLabel {
    QLabel* Panel::*label = nullptr;
    const char* name = nullptr;
    const char* text = nullptr;
    int minimumWidthTwips = 0; // 0: as wide as its text
};

struct BoxSpec {
    // The box and its place: `grid` picks one of its group's grids; a group's boxes are made in
    // reading order (grid, row, column), which is also their order in the focus chain.
    NumericBox* Panel::*box;
    const char* name;
    const char* title; // the box in words, where a message names it
    BoxGroup group;
    int grid = 0, row = 0, column = 0;
    LabelCaption caption;
    const char* designText; // the text before any setting is restored
    const char* unit = nullptr;
    SecondsLabel seconds = {};

    // Editing conventions.
    const char* initialStep = ""; // "" = no step yet
    TextChangedKind textChanged = TextChangedKind::Mark;
    const char* markStep = nullptr; // for MarkAndStep
    SpinStart spinStart = SpinStart::None;
    const char* startStep = nullptr; // the empty-box start (with AM chosen where the box has an FM variant)
    const char* startText = nullptr;
    const char* fmStartStep = nullptr; // nullptr: the start does not depend on the modulation kind
    const char* fmStartText = nullptr;
    bool focusHint = false;      // entering writes the Enter-key hint
    bool stepQueuesEnter = true; // arrow-key stepping ends with a queued Enter keystroke
    bool hasEnterRule = true;    // false: Enter does nothing in this box

    // The record: focus lost and Save store the text in `field`, or in `fmField` when AM is not
    // chosen. With amWholeNumber the AM field is a 16-bit whole number, not text.
    std::optional<RecordField> field = std::nullopt;
    std::optional<RecordField> fmField = std::nullopt;
    bool amWholeNumber = false;

    // Operations: Send refuses to start while the box is edited (orange); Read fills the box.
    bool confirmedBeforeSend = false;
    bool filledByRead = false;
};

extern const std::array<BoxSpec, BoxCount> kBoxTable;

// Stores the box's text in its record field (the FM one when AM is not chosen), as focus lost and
// Save do; a box without a field stores nothing.
void storeInRecord(const NumericBox& box, bool amChosen, SettingsRecord& record);

// The hint written when one of the marked boxes is entered.
inline constexpr const char* kEnterKeyHint = "Please use [Enter] key to validate your input value!";
