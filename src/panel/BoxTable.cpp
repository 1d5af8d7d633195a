#include "panel/BoxTable.h"

#include <cstring>

namespace {
using K = TextChangedKind;
using S = SpinStart;
using F = RecordField;
constexpr std::optional<RecordField> none = std::nullopt;
} // namespace

// clang-format off
const std::array<BoxSpec, 20> kBoxTable = {{
    // name                initial  text changed          markStep spin start   step    text    FM step FM text  hint   enter? rule?  field              FM field        width whole
    {"txtMainFreq",        "0.1",  K::Mark,               nullptr, S::None,      nullptr, nullptr, nullptr, nullptr, true,  false, true,  F::MainFreq,       none,           10, false},
    {"txtMainAmp",         "0.01", K::MarkAndStep,        "0.01",  S::None,      nullptr, nullptr, nullptr, nullptr, false, true,  true,  F::Amplitude,      none,           6,  false},
    {"txtMainDCOffset",    "0.01", K::MarkAndStep,        "0.01",  S::None,      nullptr, nullptr, nullptr, nullptr, false, true,  true,  F::DCOffset,       none,           6,  false},
    {"txtMainDuty",        "1",    K::MarkAndStep,        "1",     S::None,      nullptr, nullptr, nullptr, nullptr, false, true,  true,  F::Duty,           none,           2,  false},
    {"txtModRate",         "1",    K::MarkNegativeStart,  nullptr, S::Up,        "0.01",  "0.01",  nullptr, nullptr, true,  true,  true,  F::AMRate,         F::FMRate,      6,  false},
    {"txtModSpanDepth",    "1",    K::Mark,               nullptr, S::Up,        "1",     "1",     "0.01",  "0.01",  false, true,  true,  F::AMDepth,        F::FMSpan,      6,  false},
    {"txtModSymmetry",     "1",    K::MarkAndStep,        "1",     S::Up,        "1",     "10",    nullptr, nullptr, false, true,  true,  F::AMSymmetry,     F::FMSymmetry,  3,  true},
    {"txtSweepStartFreq",  "0.01", K::None,               nullptr, S::None,      nullptr, nullptr, nullptr, nullptr, true,  true,  true,  F::SweepStart,     none,           10, false},
    {"txtSweepStopFreq",   "0.01", K::None,               nullptr, S::None,      nullptr, nullptr, nullptr, nullptr, true,  true,  true,  F::SweepStop,      none,           10, false},
    {"txtSweepCenterFreq", "0.01", K::None,               nullptr, S::None,      nullptr, nullptr, nullptr, nullptr, true,  true,  true,  none,              none,           0,  false},
    {"txtSweepSpan",       "0.01", K::None,               nullptr, S::None,      nullptr, nullptr, nullptr, nullptr, true,  true,  true,  none,              none,           0,  false},
    {"txtSweepRate",       "1",    K::MarkNegativeStart,  nullptr, S::Up,        "0.01",  "0.01",  nullptr, nullptr, false, true,  true,  F::SweepRate,      none,           6,  false},
    {"txtSweepSymmetry",   "1",    K::MarkAndStep,        "1",     S::Up,        "1",     "1",     nullptr, nullptr, false, true,  true,  F::SweepSymmetry,  none,           2,  false},
    {"txtTrgRate",         "",     K::MarkNegativeStart,  nullptr, S::Up,        "0.01",  "0.01",  nullptr, nullptr, true,  true,  true,  F::TriggerRate,    none,           6,  false},
    {"txtTrgSymmetry",     "1",    K::MarkAndStep,        "1",     S::Up,        "1",     "10",    nullptr, nullptr, false, true,  true,  F::TriggerSymmetry, none,          3,  false},
    {"txtTrgPhase",        "1",    K::OwnRule,            nullptr, S::Up,        "1",     "1",     nullptr, nullptr, false, true,  false, F::TriggerPhase,   none,           3,  false},
    {"txtBurstCount",      "1",    K::OwnRule,            nullptr, S::DownAndUp, "1",     "1",     nullptr, nullptr, false, true,  false, none,              none,           0,  false},
    {"txtBurstPeriod",     "1",    K::Mark,               nullptr, S::DownAndUp, "0.01",  "0.01",  nullptr, nullptr, false, true,  true,  none,              none,           0,  false},
    {"txtGatePeriod",      "100",  K::Mark,               nullptr, S::Up,        "0.01",  "0.01",  nullptr, nullptr, false, true,  true,  none,              none,           0,  false},
    {"txtOpenGatePeriod",  "100",  K::Mark,               nullptr, S::Up,        "0.01",  "0.01",  nullptr, nullptr, false, true,  true,  none,              none,           0,  false},
}};
// clang-format on

const BoxSpec* findBoxSpec(const char* name) {
    for (const BoxSpec& spec : kBoxTable)
        if (std::strcmp(spec.name, name) == 0) return &spec;
    return nullptr;
}
