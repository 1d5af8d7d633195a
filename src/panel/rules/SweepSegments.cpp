#include "panel/rules/SweepSegments.h"

#include "core/FormatByStep.h"
#include "core/NumberText.h"
#include "panel/rules/Rounding.h"

#include <algorithm>

using numtext::lenientValue;

// From segment 2 on, each lower limit is a tenth of the previous upper limit; each segment spans a
// factor of 100 (the first 150).
const std::array<SweepSegment, 8> kSweepSegments{{
    {0.01, 1.5},
    {0.15, 15},
    {1.5, 150},
    {15, 1500},
    {150, 15000},
    {1500, 150000},
    {15000, 1500000},
    {150000, 15000000},
}};

const SweepSegment& sweepSegment(int number) {
    return kSweepSegments[std::clamp(number, 1, int(kSweepSegments.size())) - 1];
}

namespace {
constexpr std::array<FrequencyBand, 5> kFrequencyBands{{
    {1500000, 15000000, 1500100, "100"},
    {150000, 1500000, 150010, "10"},
    {15000, 150000, 15001, "1"},
    {1500, 15000, 1500.1, "0.1"},
    {0.01, 1500, 0, "0.01"},
}};

// The band of a start or stop value, raised to the band's boundary so rounding cannot drop it into
// the band below.
FrequencyBand raiseIntoBand(double& value) {
    const std::optional<FrequencyBand> band = frequencyBand(value);
    // Segment-checked values always lie in a band; the lowest one stands in for safety.
    const FrequencyBand chosen = band.value_or(kFrequencyBands.back());
    if (value < chosen.raiseTo) value = chosen.raiseTo;
    return chosen;
}
} // namespace

std::optional<FrequencyBand> frequencyBand(double value) {
    for (const FrequencyBand& band : kFrequencyBands)
        if (value > band.above && value <= band.upper) return band;
    if (value == 0.01) return kFrequencyBands.back();
    return std::nullopt;
}

SegmentTexts segmentTexts(int number) {
    const SweepSegment& segment = sweepSegment(number);
    SegmentTexts texts;
    texts.start = numtext::generalForm(segment.lower);
    texts.stop = numtext::generalForm(segment.upper);
    const double start = lenientValue(texts.start);
    const double stop = lenientValue(texts.stop);
    double span = stop - start;
    double center = (start + stop) / 2;
    if (number <= 3) {
        texts.span = numtext::formatFixed(span, 2);
        texts.center = numtext::formatFixed(center, 2);
    } else if (number <= 5) {
        texts.span = numtext::formatFixed(span, 0);
        texts.center = numtext::formatFixed(center, 0);
    } else {
        texts.span = FormatByStep(span, "100");
        texts.center = FormatByStep(center, "100");
    }
    return texts;
}

QString segmentMessageText(SegmentMessage message) {
    QString first;
    switch (message) {
    case SegmentMessage::StartBelow:
        first = "Sweep Start Freq. is less than the lower bound the Current Sweep Segment.";
        break;
    case SegmentMessage::StartAbove:
        first = "Sweep Start Freq. is over than the upper bound the Current Sweep Segment.";
        break;
    case SegmentMessage::StopBelow:
        first = "Sweep Stop Freq. is less than the lower bound the Current Sweep Segment.";
        break;
    case SegmentMessage::StopAbove:
        first = "Sweep Stop Freq. is over than the upper bound the Current Sweep Segment.";
        break;
    }
    return first + "\r\nPlease switch Segment.\r\nDo you need help?";
}

SweepEdgeResult sweepStart(double start, const QString& stopText, const SweepSegment& segment) {
    SweepEdgeResult result;
    // A start is accepted from the lower limit up to, not including, the upper limit.
    if (start < segment.lower) {
        result.message = SegmentMessage::StartBelow;
        start = segment.lower;
    } else if (start >= segment.upper) {
        result.message = SegmentMessage::StartAbove;
        start = segment.lower;
    }
    const FrequencyBand band = raiseIntoBand(start);
    const QString step = QString::fromLatin1(band.step);
    // In the 100 band the corrected start is what span and center are computed from.
    result.text = step == "100" ? FormatByStep(start, step) : roundToStep(start, step);
    result.step = step;
    if (!stopText.isEmpty()) {
        const double stop = lenientValue(stopText);
        result.span = roundToStep(stop - start, step);
        result.center = roundToStep((stop + start) / 2, step);
    }
    return result;
}

SweepEdgeResult sweepStop(double stop, const QString& startText, const SweepSegment& segment) {
    SweepEdgeResult result;
    // A stop is accepted above the lower limit up to and including the upper limit.
    if (stop <= segment.lower) {
        result.message = SegmentMessage::StopBelow;
        stop = segment.upper;
    } else if (stop > segment.upper) {
        result.message = SegmentMessage::StopAbove;
        stop = segment.upper;
    }
    const FrequencyBand band = raiseIntoBand(stop);
    const QString step = QString::fromLatin1(band.step);
    result.text = roundToStep(stop, step);
    result.step = step;
    if (!startText.isEmpty()) {
        const double start = lenientValue(startText);
        result.span = roundToStep(stop - start, step);
        result.center = roundToStep((stop + start) / 2, step);
    }
    return result;
}

SpanCenterResult sweepSpanCenter(double span, double center, const SweepSegment& segment,
                                 const QString& spanStep) {
    const double start = center - span / 2;
    const double stop = center + span / 2;
    if (start < segment.lower || stop > segment.upper) return {};
    return {true, roundToStep(start, spanStep), roundToStep(stop, spanStep)};
}
