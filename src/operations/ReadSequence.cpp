#include "operations/ReadSequence.h"

#include "core/NumberText.h"
#include "panel/rules/MainSetting.h"
#include "panel/rules/Modulation.h"
#include "panel/rules/SweepSegments.h"
#include "panel/rules/Trigger.h"

#include <algorithm>
#include <cmath>

using numtext::generalForm;
using numtext::lenientValue;

namespace {

using P = Property;

// Each value where the send first sets it: the main group, the sweep (with the sweep and modulation
// state), the modulation, the trigger, burst and gate group (with its state), the external counter.
constexpr std::array<Property, ReadQueryCount> kReadOrder = {
    P::MainFreqWaveForm,
    P::MainFreq,
    P::AmplitudeVoltage,
    P::OFFSet,
    P::DUTY,
    P::SourceState,
    P::SourceSweepSpace,
    P::SourceSweepStart,
    P::SourceSweepStop,
    P::SourceSweepSym,
    P::SourceSweepRate,
    P::SourceSource,
    P::SourceWaveForm,
    P::SourceModAMRate,
    P::SourceMODAMSym,
    P::SourceMODAMSpan,
    P::SourceModFMRate,
    P::SourceMODFMSym,
    P::SourceMODFMSpan,
    P::SourceTriggerState,
    P::SourceTriggerSource,
    P::SourceTriggerMode,
    P::SourceTriggerRate,
    P::SourceTriggerSYM,
    P::SourceTriggerPhase,
    P::SourceCounterSource,
    P::SourceCounterGATE,
};

// A value whose shown text lies further from it than the text's resolution rounds is one the box
// cannot hold: the rule pulled it into range.
bool beyondResolution(const QString& text, double value, double resolution) {
    const double shown = lenientValue(text);
    return std::abs(shown - value) > resolution / 2 + 1e-9 * std::max(1.0, std::abs(value));
}

BoxReading fixedResolution(const QString& text, double value, double resolution,
                           std::optional<QString> step = std::nullopt) {
    return {text, std::move(step), beyondResolution(text, value, resolution)};
}

// A value whose integer text the rule reads.
QString wholeText(double value) {
    return QString::number(qint64(std::floor(value)));
}

} // namespace

const std::array<Property, ReadQueryCount>& readOrder() {
    return kReadOrder;
}

ReadOutcome runRead(ReadTarget& target) {
    ReadOutcome outcome;
    const bool ready = target.Ready();
    if (target.stopRequested()) return {ReadOutcome::End::Stopped};
    if (!ready) return {ReadOutcome::End::NotReady};
    const bool identified = !target.IDN().isEmpty();
    if (target.stopRequested()) return {ReadOutcome::End::Stopped};
    if (!identified) return {ReadOutcome::End::NoIdentification};
    target.beginReading();
    for (size_t i = 0; i < kReadOrder.size(); ++i) {
        const std::optional<double> value = target.read(kReadOrder[i]);
        if (value) {
            outcome.reading.values[size_t(kReadOrder[i])] = value;
            ++outcome.read;
        } else {
            ++outcome.failed;
        }
        if (target.stopRequested()) {
            outcome.end = ReadOutcome::End::Stopped;
            outcome.failed += int(kReadOrder.size() - i - 1);
            return outcome;
        }
        if (target.linkFailed()) {
            // The link is gone: the rest would only fail one pacing wait after another.
            outcome.end = ReadOutcome::End::ExchangeFailed;
            outcome.failed += int(kReadOrder.size() - i - 1);
            return outcome;
        }
    }
    return outcome;
}

BoxReading readMainFrequency(double value) {
    const MainFrequencyResult result = mainFrequency(generalForm(value));
    return fixedResolution(result.text, value, lenientValue(result.step), result.step);
}

BoxReading readAmplitude(double value, const QString& offsetText) {
    return fixedResolution(mainAmplitude(generalForm(value), offsetText), value, 0.01);
}

BoxReading readOffset(double value, const QString& amplitudeText) {
    return fixedResolution(mainOffset(generalForm(value), amplitudeText), value, 0.01);
}

BoxReading readDuty(double value) {
    return fixedResolution(mainDuty(wholeText(value)), value, 1);
}

BoxReading readSymmetry(double value) {
    return fixedResolution(symmetryText(wholeText(value)), value, 1);
}

BoxReading readRate(double value, const RateBandVariant& variant) {
    const RateBandResult result = rateBand(generalForm(value), variant);
    return fixedResolution(result.text, value, result.step ? lenientValue(*result.step) : 0.01, result.step);
}

BoxReading readAmDepth(double value) {
    return fixedResolution(amDepthText(wholeText(value)), value, 1, QString("1"));
}

BoxReading readFmSpan(double value) {
    return fixedResolution(fmSpanText(wholeText(value)), value, 0.1, QString("0.1"));
}

BoxReading readTriggerPhase(double value) {
    return fixedResolution(trigger::phaseText(wholeText(value)), value, 1, trigger::PhaseStep);
}

SweepReading readSweepEdges(double start, double stop, int currentSegment) {
    // A start lies from the lower limit up to, not including, the upper one; a stop above the lower
    // limit up to and including the upper one.
    const auto holdsBoth = [&](int number) {
        const SweepSegment& s = sweepSegment(number);
        return start >= s.lower && start < s.upper && stop > s.lower && stop <= s.upper;
    };
    SweepReading reading;
    reading.segment = std::clamp(currentSegment, 1, int(kSweepSegments.size()));
    if (!holdsBoth(reading.segment))
        for (int number = 1; number <= int(kSweepSegments.size()); ++number)
            if (holdsBoth(number)) {
                reading.segment = number;
                break;
            }
    const SweepSegment& segment = sweepSegment(reading.segment);
    const SweepEdgeResult first = sweepStart(start, QString(), segment);
    const SweepEdgeResult second = sweepStop(stop, first.text, segment);
    reading.start = {first.text, first.step,
                     first.message.has_value() ||
                         beyondResolution(first.text, start, lenientValue(first.step))};
    reading.stop = {second.text, second.step,
                    second.message.has_value() ||
                        beyondResolution(second.text, stop, lenientValue(second.step))};
    reading.span = second.span.value_or(QString());
    reading.center = second.center.value_or(QString());
    return reading;
}

CodeReading readCode(double value, int lowest, int highest) {
    const double code = std::floor(value);
    if (code < lowest) return {lowest, true};
    if (code > highest) return {highest, true};
    return {int(code), false};
}

PanelModes readModes(const Reading& reading, const PanelModes& before, bool* conflicting) {
    enum Mode { Sweep, Modulation, Trigger, Burst, Gate, External, ModeCount };
    std::array<bool, ModeCount> readOn{};
    std::array<bool, ModeCount> keptOn{before.sweep, before.modulation, before.trigger,
                                       before.burst, before.gate,       before.external};
    bool clampedCode = false;
    PanelModes modes = before;

    if (const auto state = reading[P::SourceState]) {
        const CodeReading code = readCode(*state, 0, 3);
        clampedCode |= code.clamped;
        readOn[Sweep] = code.code == 3;
        readOn[Modulation] = code.code == 1 || code.code == 2;
        if (code.code == 1) modes.am = true;
        if (code.code == 2) modes.am = false;
        keptOn[Sweep] = keptOn[Modulation] = false;
    }
    if (const auto state = reading[P::SourceTriggerState]) {
        const CodeReading code = readCode(*state, 0, 1);
        clampedCode |= code.clamped;
        if (code.code == 1) {
            const Mode kept = before.burst ? Burst : before.gate ? Gate : Trigger;
            readOn[kept] = true;
        }
        keptOn[Trigger] = keptOn[Burst] = keptOn[Gate] = false;
    }
    if (const auto state = reading[P::SourceCounterSource]) {
        const CodeReading code = readCode(*state, 0, 1);
        clampedCode |= code.clamped;
        readOn[External] = code.code == 1;
        keptOn[External] = false;
    }

    const auto onCount = std::count(readOn.begin(), readOn.end(), true);
    if (conflicting) *conflicting = clampedCode || onCount > 1;
    const auto& chosenFrom = onCount > 0 ? readOn : keptOn;
    const auto first = std::find(chosenFrom.begin(), chosenFrom.end(), true);
    const int on = first == chosenFrom.end() ? -1 : int(first - chosenFrom.begin());
    modes.sweep = on == Sweep;
    modes.modulation = on == Modulation;
    modes.trigger = on == Trigger;
    modes.burst = on == Burst;
    modes.gate = on == Gate;
    modes.external = on == External;
    return modes;
}
