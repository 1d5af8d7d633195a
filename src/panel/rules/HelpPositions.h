#pragma once
// Where each caption label (Label1) and caption panel (SSPanel1) opens the help document: the
// character position of its passage.
#include <array>

// The caption labels by Label1 index (the row of kLabelPassages), in the table's order.
enum LabelCaption : int {
    FunctionCaption,
    AmplitudeCaption,
    DCOffsetCaption,
    FrequencyCaption,
    DutyCaption,
    SweepModelCaption,
    SweepSpanCaption,
    SweepSymmetryCaption,
    StartFreqCaption,
    StopFreqCaption,
    CenterFreqCaption,
    SweepRateCaption,
    ModSpanDepthCaption,
    TriggerTypeCaption,
    TriggerRateCaption,
    TriggerSymmetryCaption,
    ModSymmetryCaption,
    ModRateCaption,
    ModModelCaption,
    ComPortCaption,
    TriggerPhaseCaption,
    BurstPeriodCaption,
    BurstCountCaption,
    CountFineTuningCaption,
    OpenGatePeriodCaption,
    GatePeriodCaption,
    SweepSegmentCaption,
};
// The option groups' caption panels by SSPanel1 index (the row of kPanelPassages).
enum PanelCaption : int {
    SweepFunctionPanel,
    ModulationFunctionPanel,
    ModSourcePanel,
    TriggerFunctionPanel,
    TriggerSourcePanel,
    BurstFunctionPanel,
    BurstSourcePanel,
    GateFunctionPanel,
    GateSourcePanel,
    GateTimePanel,
    CounterFunctionPanel,
};

// A click opens the help this far past the passage's start.
constexpr int HelpClickOffset = 200;

struct HelpPassage {
    int index;
    const char* caption;
    int position; // 0: no passage of its own, the document's start
    // Where a click on the caption (or a Yes to its question, or F1 on its control) opens the help.
    int clickPosition() const { return position + HelpClickOffset; }
};

extern const std::array<HelpPassage, 27> kLabelPassages;
extern const std::array<HelpPassage, 11> kPanelPassages;
