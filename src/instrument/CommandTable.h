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
