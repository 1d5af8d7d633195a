#include "panel/BoxTable.h"

#include "core/NumberText.h"
#include "panel/NumericBox.h"

#include <algorithm>

namespace {
using K = TextChangedKind;
using S = SpinStart;
using F = RecordField;
using G = BoxGroup;
} // namespace

// clang-format off
constexpr std::array<BoxSpec, BoxCount> kBoxTable = {{
    {.box = &Panel::txtMainFreq, .name = "txtMainFreq", .title = "Frequency",
     .group = G::Main, .grid = 0, .row = 0, .column = 0, .caption = FrequencyCaption, .designText = "10000", .unit = "Hz",
     .initialStep = "0.1", .textChanged = K::Mark, .focusHint = true, .stepQueuesEnter = false,
     .field = F::MainFreq, .confirmedBeforeSend = true, .filledByRead = true},
    {.box = &Panel::txtMainAmp, .name = "txtMainAmp", .title = "Amplitude",
     .group = G::Main, .grid = 0, .row = 1, .column = 0, .caption = AmplitudeCaption, .designText = "5.00", .unit = "Vpp",
     .initialStep = "0.01", .textChanged = K::MarkAndStep, .markStep = "0.01",
     .field = F::Amplitude, .confirmedBeforeSend = true, .filledByRead = true},
    {.box = &Panel::txtMainDCOffset, .name = "txtMainDCOffset", .title = "DC Offset",
     .group = G::Main, .grid = 1, .row = 0, .column = 0, .caption = DCOffsetCaption, .designText = "0.00", .unit = "V",
     .initialStep = "0.01", .textChanged = K::MarkAndStep, .markStep = "0.01",
     .field = F::DCOffset, .confirmedBeforeSend = true, .filledByRead = true},
    {.box = &Panel::txtMainDuty, .name = "txtMainDuty", .title = "Duty",
     .group = G::Main, .grid = 1, .row = 1, .column = 0, .caption = DutyCaption, .designText = "50", .unit = "%",
     .initialStep = "1", .textChanged = K::MarkAndStep, .markStep = "1",
     .field = F::Duty, .confirmedBeforeSend = true, .filledByRead = true},

    {.box = &Panel::txtModRate, .name = "txtModRate", .title = "Modulation Rate",
     .group = G::Modulation, .grid = 0, .row = 0, .column = 0, .caption = ModRateCaption, .designText = "1000.0", .unit = "Hz",
     .initialStep = "1", .textChanged = K::MarkNegativeStart,
     .spinStart = S::Up, .startStep = "0.01", .startText = "0.01", .focusHint = true,
     .field = F::AMRate, .fmField = F::FMRate, .confirmedBeforeSend = true, .filledByRead = true},
    {.box = &Panel::txtModSpanDepth, .name = "txtModSpanDepth", .title = "Modulation Span (Depth)",
     .group = G::Modulation, .grid = 0, .row = 1, .column = 0, .caption = ModSpanDepthCaption, .designText = "50", .unit = "%",
     .initialStep = "1", .textChanged = K::Mark,
     .spinStart = S::Up, .startStep = "1", .startText = "1", .fmStartStep = "0.01", .fmStartText = "0.01",
     .field = F::AMDepth, .fmField = F::FMSpan, .confirmedBeforeSend = true, .filledByRead = true},
    {.box = &Panel::txtModSymmetry, .name = "txtModSymmetry", .title = "Modulation Symmetry",
     .group = G::Modulation, .grid = 0, .row = 2, .column = 0, .caption = ModSymmetryCaption, .designText = "50", .unit = "%",
     .initialStep = "1", .textChanged = K::MarkAndStep, .markStep = "1",
     .spinStart = S::Up, .startStep = "1", .startText = "10",
     .field = F::AMSymmetry, .fmField = F::FMSymmetry, .amWholeNumber = true,
     .confirmedBeforeSend = true, .filledByRead = true},

    // The sweep's frequencies mark themselves orange in their key handling.
    {.box = &Panel::txtSweepStartFreq, .name = "txtSweepStartFreq", .title = "Sweep Start Freq",
     .group = G::Sweep, .grid = 0, .row = 0, .column = 0, .caption = StartFreqCaption, .designText = "1000.00", .unit = "Hz",
     .initialStep = "0.01", .textChanged = K::None, .focusHint = true,
     .field = F::SweepStart, .confirmedBeforeSend = true, .filledByRead = true},
    {.box = &Panel::txtSweepStopFreq, .name = "txtSweepStopFreq", .title = "Sweep Stop Freq",
     .group = G::Sweep, .grid = 0, .row = 0, .column = 3, .caption = StopFreqCaption, .designText = "2000.00", .unit = "Hz",
     .initialStep = "0.01", .textChanged = K::None, .focusHint = true,
     .field = F::SweepStop, .confirmedBeforeSend = true, .filledByRead = true},
    {.box = &Panel::txtSweepCenterFreq, .name = "txtSweepCenterFreq", .title = "Sweep Center Freq",
     .group = G::Sweep, .grid = 0, .row = 1, .column = 0, .caption = CenterFreqCaption, .designText = "1500.00", .unit = "Hz",
     .initialStep = "0.01", .textChanged = K::None, .focusHint = true,
     .filledByRead = true},
    {.box = &Panel::txtSweepSpan, .name = "txtSweepSpan", .title = "Sweep Span",
     .group = G::Sweep, .grid = 0, .row = 1, .column = 3, .caption = SweepSpanCaption, .designText = "1000.00", .unit = "Hz",
     .initialStep = "0.01", .textChanged = K::None, .focusHint = true,
     .confirmedBeforeSend = true, .filledByRead = true},
    {.box = &Panel::txtSweepRate, .name = "txtSweepRate", .title = "Sweep Rate",
     .group = G::Sweep, .grid = 0, .row = 2, .column = 0, .caption = SweepRateCaption, .designText = "1000.0", .unit = "Hz",
     .initialStep = "1", .textChanged = K::MarkNegativeStart,
     .spinStart = S::Up, .startStep = "0.01", .startText = "0.01",
     .field = F::SweepRate, .confirmedBeforeSend = true, .filledByRead = true},
    {.box = &Panel::txtSweepSymmetry, .name = "txtSweepSymmetry", .title = "Sweep Symmetry",
     .group = G::Sweep, .grid = 0, .row = 2, .column = 3, .caption = SweepSymmetryCaption, .designText = "90", .unit = "%",
     .initialStep = "1", .textChanged = K::MarkAndStep, .markStep = "1",
     .spinStart = S::Up, .startStep = "1", .startText = "1",
     .field = F::SweepSymmetry, .confirmedBeforeSend = true, .filledByRead = true},

    {.box = &Panel::txtTrgRate, .name = "txtTrgRate", .title = "Trigger Rate",
     .group = G::Trigger, .grid = 0, .row = 0, .column = 0, .caption = TriggerRateCaption, .designText = "1000.0", .unit = "Hz",
     .initialStep = "", .textChanged = K::MarkNegativeStart,
     .spinStart = S::Up, .startStep = "0.01", .startText = "0.01", .focusHint = true,
     .field = F::TriggerRate, .confirmedBeforeSend = true, .filledByRead = true},
    {.box = &Panel::txtTrgSymmetry, .name = "txtTrgSymmetry", .title = "Trigger Symmetry",
     .group = G::Trigger, .grid = 0, .row = 1, .column = 0, .caption = TriggerSymmetryCaption, .designText = "50", .unit = "%",
     .initialStep = "1", .textChanged = K::MarkAndStep, .markStep = "1",
     .spinStart = S::Up, .startStep = "1", .startText = "10",
     .field = F::TriggerSymmetry, .confirmedBeforeSend = true, .filledByRead = true},
    // The phase and the burst count check themselves as they change; Enter does nothing there.
    {.box = &Panel::txtTrgPhase, .name = "txtTrgPhase", .title = "Trigger Phase",
     .group = G::Trigger, .grid = 0, .row = 2, .column = 0, .caption = TriggerPhaseCaption, .designText = "0", .unit = "DEG",
     .initialStep = "1", .textChanged = K::OwnRule,
     .spinStart = S::Up, .startStep = "1", .startText = "1", .hasEnterRule = false,
     .field = F::TriggerPhase, .filledByRead = true},

    {.box = &Panel::txtBurstCount, .name = "txtBurstCount", .title = "Burst Count",
     .group = G::Burst, .grid = 0, .row = 1, .column = 0, .caption = BurstCountCaption, .designText = "",
     .initialStep = "1", .textChanged = K::OwnRule,
     .spinStart = S::DownAndUp, .startStep = "1", .startText = "1", .hasEnterRule = false},
    {.box = &Panel::txtBurstPeriod, .name = "txtBurstPeriod", .title = "Burst Period",
     .group = G::Burst, .grid = 0, .row = 0, .column = 0, .caption = BurstPeriodCaption, .designText = "", .unit = "Hz",
     .seconds = {&Panel::lblBurstPeriodSec, "lblBurstPeriodSec", "Sec", 0},
     .initialStep = "1", .textChanged = K::Mark,
     .spinStart = S::DownAndUp, .startStep = "0.01", .startText = "0.01",
     .confirmedBeforeSend = true},

    {.box = &Panel::txtGatePeriod, .name = "txtGatePeriod", .title = "Gate Period",
     .group = G::Gate, .grid = 0, .row = 0, .column = 0, .caption = GatePeriodCaption, .designText = "", .unit = "Hz",
     .seconds = {&Panel::lblGatePeriod, "lblGatePeriod", " Sec", 1000},
     .initialStep = "100", .textChanged = K::Mark,
     .spinStart = S::Up, .startStep = "0.01", .startText = "0.01"},
    {.box = &Panel::txtOpenGatePeriod, .name = "txtOpenGatePeriod", .title = "Open Gate Period",
     .group = G::Gate, .grid = 0, .row = 1, .column = 0, .caption = OpenGatePeriodCaption, .designText = "", .unit = "Hz",
     .seconds = {&Panel::lblOpenGatePeriod, "lblOpenGatePeriod", " Sec", 1000},
     .initialStep = "100", .textChanged = K::Mark,
     .spinStart = S::Up, .startStep = "0.01", .startText = "0.01",
     .confirmedBeforeSend = true},
}};
// clang-format on

// A row left out would be an empty one at the end.
static_assert(std::ranges::none_of(kBoxTable, [](const BoxSpec& spec) { return spec.box == nullptr; }));

std::array<NumericBox*, BoxCount> Panel::boxes() const {
    std::array<NumericBox*, BoxCount> boxes{};
    for (size_t i = 0; i < BoxCount; ++i)
        boxes[i] = this->*kBoxTable[i].box;
    return boxes;
}

void storeInRecord(const NumericBox& box, bool amChosen, SettingsRecord& record) {
    const BoxSpec& spec = box.spec();
    if (!spec.field) return;
    const bool toFm = spec.fmField && !amChosen;
    const RecordField field = toFm ? *spec.fmField : *spec.field;
    if (spec.amWholeNumber && !toFm) {
        // A whole number, halves to the even neighbour; a text that is none keeps the stored value.
        if (const auto value = numtext::strictIntegerRounded(box.text())) record.setInteger(field, *value);
        return;
    }
    record.setText(field, box.text());
}
