#pragma once
// The instrument's 29 settings, each a set command and a check query, as one table.
#include <QString>
#include <array>

enum class Property {
    MainFreqWaveForm,
    MainFreq,
    AmplitudeVoltage,
    OFFSet,
    DUTY,
    SourceWaveForm,
    SourceState,
    SourceSource,
    SourceModAMRate,
    SourceModFMRate,
    SourceMODAMSpan,
    SourceMODFMSpan,
    SourceMODAMSym,
    SourceMODFMSym,
    SourceSweepStart,
    SourceSweepStop,
    SourceSweepCenter,
    SourceSweepSpan,
    SourceSweepRate,
    SourceSweepSym,
    SourceSweepSpace,
    SourceTriggerRate,
    SourceTriggerState,
    SourceTriggerPhase,
    SourceTriggerMode,
    SourceTriggerSource,
    SourceTriggerSYM,
    SourceCounterGATE,
    SourceCounterSource,
};
constexpr int PropertyCount = 29;

enum class ValueType { Double, Integer };

// How a check turns the reply into a value.
enum class CheckRule {
    Number,   // leading number of the reply, 0 when none; never fails
    Integer,  // the whole reply a number, cut down to the integer below it, 16-bit
    Rounding, // leading number, rounded halves to even, 16-bit
};

// One row of the command table. A null closing line means: the start line with its final "..."
// replaced by " OK" / " FAILURE". A null set start line means the start line depends on the value
// (the main waveform code).
struct CommandRow {
    Property property;
    const char* name;
    ValueType type;
    const char* header; // set command: header followed directly by the value
    const char* query;
    const char* setStartLine;
    const char* checkStartLine;
    CheckRule rule;
    const char* setOkLine = nullptr;
    const char* setFailureLine = nullptr;
    const char* checkOkLine = nullptr;
    const char* checkFailureLine = nullptr;
};

const std::array<CommandRow, PropertyCount>& commandTable();
const CommandRow& commandRow(Property property);

// Progress lines of an operation. The set start line may depend on the value; an empty start line
// means the operation writes no progress line at all.
QString setStartLine(const CommandRow& row, double value);
QString setOkLine(const CommandRow& row, double value);
QString setFailureLine(const CommandRow& row, double value);
QString checkOkLine(const CommandRow& row);
QString checkFailureLine(const CommandRow& row);

// The start line with its final "..." replaced by " OK" / " FAILURE".
QString closingLine(const QString& startLine, const char* ending);
