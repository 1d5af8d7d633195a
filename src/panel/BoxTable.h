#pragma once
// The box table: one row per numeric box with the parameters of its editing conventions.
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

struct BoxSpec {
    const char* name;
    const char* initialStep; // "" = no step yet
    TextChangedKind textChanged;
    const char* markStep; // for MarkAndStep
    SpinStart spinStart;
    const char* startStep; // the empty-box start (with AM chosen where the box has an FM variant)
    const char* startText;
    const char* fmStartStep; // nullptr: the start does not depend on the modulation kind
    const char* fmStartText;
    bool focusHint;       // entering writes the Enter-key hint
    bool stepQueuesEnter; // arrow-key stepping ends with a queued Enter keystroke
    bool hasEnterRule;    // false: Enter does nothing in this box
    // Focus lost stores the text here; the FM field is used when AM is not chosen.
    std::optional<RecordField> field;
    std::optional<RecordField> fmField;
    int width;          // characters stored
    bool amWholeNumber; // the AM field is a 16-bit whole number, not text
};

extern const std::array<BoxSpec, 20> kBoxTable;

// The row of a box by name; nullptr when there is none.
const BoxSpec* findBoxSpec(const char* name);

// The hint written when one of the marked boxes is entered.
inline constexpr const char* kEnterKeyHint = "Please use [Enter] key to validate your input value!";
