#include "instrument/CommandTable.h"

#include <cmath>

namespace {

using enum ValueType;
using P = Property;
constexpr CheckRule Number = CheckRule::Number;
constexpr CheckRule Rounding = CheckRule::Rounding;

// clang-format off
constexpr std::array<CommandRow, PropertyCount> table{{
    {P::MainFreqWaveForm, "MainFreqWaveForm", Integer, ":FUNC:WAV ", ":FUNC:WAV ?",
     nullptr, "Check [Main Func Freq. Wave Form] from DXS-4820...", CheckRule::Integer},
    {P::MainFreq, "MainFreq", Double, ":FREQ ", ":FREQ ?",
     "Set [Main Func Freq] to DXS-4820...", "Check [Main Func Freq.] from DXS-4820...", Number},
    {P::AmplitudeVoltage, "AmplitudeVoltage", Double, ":AMPL:VOLT ", ":AMPL:VOLT ?",
     "Set [Amplitude Voltage] to DXS-4820...", "Check [Amplitude Voltage] from DXS-4820...", Number},
    {P::OFFSet, "OFFSet", Double, ":OFFS ", ":OFFS ?",
     "Set [OFFSet] to DXS-4820...", "Check [OFFSet] from DXS-4820...", Number,
     "Set [OFFSet] to DXS-4820 OK", "Set [OFFSet] to DXS-4820 FAILURE"},
    {P::DUTY, "DUTY", Integer, ":DUTY ", ":DUTY ?",
     "Set [DUTY] to DXS-4820...", "Check [DUTY] from DXS-4820...", Rounding,
     nullptr, "Set [DUTY] to DXS-4820 FAILURE"},
    {P::SourceWaveForm, "SourceWaveForm", Integer, ":SOUR:WAV ", ":SOUR:WAV ?",
     "Set [Source Wave Form] to DXS-4820...", "Check [Source Wave Form] from DXS-4820...", CheckRule::Integer},
    {P::SourceState, "SourceState", Integer, ":SOUR:STAT ", ":SOUR:STAT ?",
     "Set [Source State] to DXS-4820...", "Check [Source State] from DXS-4820...", CheckRule::Integer},
    {P::SourceSource, "SourceSource", Integer, ":SOURCE:SOURCE ", ":SOUR:SOUR ?",
     "Set [Source Source] to DXS-4820...", "Check [Source Source] from DXS-4820...", CheckRule::Integer,
     nullptr, nullptr, "Get [Source Source] to DXS-4820 OK", "Get [Source Source] to DXS-4820 FAILURE"},
    {P::SourceModAMRate, "SourceModAMRate", Double, ":SOUR:MODAM:RAT ", ":SOUR:MODAM:RAT ?",
     "Set [Source AM Rate] to DXS-4820...", "Check [Source AM Rate] from DXS-4820...", Number},
    {P::SourceModFMRate, "SourceModFMRate", Double, ":SOUR:MODFM:RAT ", ":SOUR:MODFM:RAT ?",
     "Set [Source FM Rate] to DXS-4820...", "Check [Source FM Rate] from DXS-4820...", Number},
    {P::SourceMODAMSpan, "SourceMODAMSpan", Integer, ":SOUR:MODAM:SPAN ", ":SOUR:MODAM:SPAN ?",
     "Set [Source AM SPAN] to DXS-4820...", "Check [Source AM SPAN] from DXS-4820...", CheckRule::Integer},
    {P::SourceMODFMSpan, "SourceMODFMSpan", Integer, ":SOUR:MODFM:SPAN ", ":SOUR:MODFM:SPAN ?",
     "Set [Source FM Span] to DXS-4820...", "Check [Source FM Span] from DXS-4820...", CheckRule::Integer},
    {P::SourceMODAMSym, "SourceMODAMSym", Integer, ":SOUR:MODAM:SYM ", ":SOUR:MODAM:SYM ?",
     "Set [Source AM Sym] to DXS-4820...", "Check [Source AM Sym] from DXS-4820...", CheckRule::Integer},
    {P::SourceMODFMSym, "SourceMODFMSym", Integer, ":SOUR:MODFM:SYM ", ":SOUR:MODFM:SYM ?",
     "Set [Source FM Sym] to DXS-4820...", "Check [Source FM Sym] from DXS-4820...", CheckRule::Integer},
    {P::SourceSweepStart, "SourceSweepStart", Double, ":SOUR:SWE:STAR ", ":SOUR:SWE:STAR ?",
     "Set [Source Sweep Start Frequence] to DXS-4820...", "Check [Source Sweep Start Frequence] from DXS-4820...", Number},
    {P::SourceSweepStop, "SourceSweepStop", Double, ":SOUR:SWE:STOP ", ":SOUR:SWE:STOP ?",
     "Set [Source Sweep Stop Frequence] to DXS-4820...", "Check [Source Sweep Stop Frequence] from DXS-4820...", Number},
    {P::SourceSweepCenter, "SourceSweepCenter", Double, ":SOUR:SWE:CENT ", ":SOUR:SWE:CENT ?",
     "Set [Source Sweep Center Frequence] to DXS-4820...", "Check [Source Sweep Center Frequence] from DXS-4820...", Number},
    {P::SourceSweepSpan, "SourceSweepSpan", Double, ":SOUR:SWE:SPAN ", ":SOUR:SWE:SPAN ?",
     "Set [Source Sweep Span Frequence] to DXS-4820...", "Check [Source Sweep Span Frequence] from DXS-4820...", Number},
    {P::SourceSweepRate, "SourceSweepRate", Double, ":SOUR:SWE:RAT ", ":SOUR:SWE:RAT ?",
     "Set [Source Sweep Trigger Rate] to DXS-4820...", "Check [Source Sweep Trigger Rate] from DXS-4820...", Number},
    {P::SourceSweepSym, "SourceSweepSym", Integer, ":SOUR:SWE:SYM ", ":SOUR:SWE:SYM ?",
     "Set [Source Sweep SYM] to DXS-4820...", "Check [Source Sweep SYM] from DXS-4820...", CheckRule::Integer},
    {P::SourceSweepSpace, "SourceSweepSpace", Integer, ":SOUR:SWE:SPAC ", ":SOUR:SWE:SPAC ?",
     "Set [Source Sweep Method] to DXS-4820...", "Check [Source Sweep Method] from DXS-4820...", CheckRule::Integer},
    {P::SourceTriggerRate, "SourceTriggerRate", Double, ":SOUR:TRIG:RAT ", ":SOUR:TRIG:RAT ?",
     "Set [Source Trigger Rate] to DXS-4820...", "Check [Source Trigger Rate] from DXS-4820...", Number},
    {P::SourceTriggerState, "SourceTriggerState", Integer, ":SOUR:TRIG:STAT ", ":SOUR:TRIG:STAT ?",
     "Set [Source Trigger Rate] to DXS-4820...", "Check [Source Trigger Rate] from DXS-4820...", CheckRule::Integer},
    {P::SourceTriggerPhase, "SourceTriggerPhase", Integer, ":SOUR:TRIG:PHAS ", ":SOUR:TRIG:PHAS ?",
     "Set [Source Trigger Phase] to DXS-4820...", "Check [Source Trigger Phase] from DXS-4820...", CheckRule::Integer},
    {P::SourceTriggerMode, "SourceTriggerMode", Integer, ":SOUR:TRIG:MOD ", ":SOUR:TRIG:MOD ?",
     "Set [Source Trigger Mode] to DXS-4820...", "Check [Source Trigger Mode] from DXS-4820...", CheckRule::Integer},
    {P::SourceTriggerSource, "SourceTriggerSource", Integer, ":SOUR:TRIG:SOUR ", ":SOUR:TRIG:SOUR ?",
     "Set [Source Trigger Souce] to DXS-4820...", "Check [Source Trigger Source] from DXS-4820...", CheckRule::Integer},
    {P::SourceTriggerSYM, "SourceTriggerSYM", Integer, ":SOUR:TRIG:SYM ", ":SOUR:TRIG:SYM ?",
     "Set [Source Trigger SYM] to DXS-4820...", "Check [Source Trigger SYM] from DXS-4820...", CheckRule::Integer},
    {P::SourceCounterGATE, "SourceCounterGATE", Integer, ":SOUR:COUN:GAT ", ":SOUR:COUN:GAT ?",
     "Set [Source Gate Time of Counter] to DXS-4820...", "Check [Source Gate Time of Counter] from DXS-4820...", CheckRule::Integer},
    {P::SourceCounterSource, "SourceCounterSource", Integer, ":SOUR:COUN:SOUR ", ":SOUR:COUN:SOUR ?",
     "Set [Source Counter Source] to DXS-4820...", "Set [Source Counter Source] from DXS-4820...", CheckRule::Integer},
}};
// clang-format on

constexpr bool rowsInPropertyOrder() {
    for (int i = 0; i < PropertyCount; ++i)
        if (static_cast<int>(table[size_t(i)].property) != i) return false;
    return true;
}
static_assert(rowsInPropertyOrder(), "one row per property, in the order of the enum");

// The main waveform's set start line names the waveform; other codes write no line.
QString waveformStartLine(double value) {
    if (value == 1) return "Set [Main Func Freq. Wave Form: (Sin)] to DXS-4820...";
    if (value == 2) return "Set [Main Func Freq. Wave Form: (Triangle)] to DXS-4820...";
    if (value == 3) return "Set [Main Func Freq. Wave Form: (Square)] to DXS-4820...";
    return {};
}

} // namespace

const std::array<CommandRow, PropertyCount>& commandTable() {
    return table;
}

const CommandRow& commandRow(Property property) {
    return table[static_cast<size_t>(property)];
}

QString closingLine(const QString& startLine, const char* ending) {
    if (startLine.isEmpty()) return {};
    QString line = startLine;
    if (line.endsWith("...")) line.chop(3);
    return line + ending;
}

QString setStartLine(const CommandRow& row, double value) {
    return row.setStartLine ? QString(row.setStartLine) : waveformStartLine(value);
}

QString setOkLine(const CommandRow& row, double value) {
    return row.setOkLine ? QString(row.setOkLine) : closingLine(setStartLine(row, value), " OK");
}

QString setFailureLine(const CommandRow& row, double value) {
    if (row.setFailureLine) return row.setFailureLine;
    return closingLine(setStartLine(row, value), " FAILURE");
}

QString checkOkLine(const CommandRow& row) {
    return row.checkOkLine ? QString(row.checkOkLine) : closingLine(row.checkStartLine, " OK");
}

QString checkFailureLine(const CommandRow& row) {
    return row.checkFailureLine ? QString(row.checkFailureLine) : closingLine(row.checkStartLine, " FAILURE");
}
