#include "panel/rules/Modulation.h"

#include "core/NumberText.h"
#include "panel/rules/SweepSegments.h"

#include <algorithm>

using numtext::lenientValue;

const char* const kNoMainFrequencyText = "Please Input the Freqence value of Main Setting";
const char* const kSuggestSpanText = "Please Change a Modulation Depth. Do you need a suggest value?";

QString amDepthText(const QString& text) {
    const double value = lenientValue(text);
    if (value < 1) return "1";
    if (value > 100) return "100";
    return numtext::formatFixed(value, 0);
}

QString fmSpanText(const QString& text) {
    const double value = lenientValue(text);
    if (value < 0) return "0";
    if (value > 15) return "15";
    return numtext::formatFixed(value, 1);
}

FmSwingCheck checkFmSwing(double f, double spanPercent) {
    FmSwingCheck check;
    for (int number = 1; number <= int(kSweepSegments.size()); ++number) {
        const SweepSegment& segment = sweepSegment(number);
        if (!(segment.lower < f && segment.upper > f)) continue;
        check.lastContaining = number;
        const double swing = spanPercent * f / 100;
        if (segment.lower < f - swing && segment.upper > f + swing) {
            check.accepted = true;
            return check;
        }
    }
    return check;
}

QString suggestedFmSpan(double f, int segmentNumber) {
    const SweepSegment& segment = sweepSegment(segmentNumber);
    const double below = std::min((f - segment.lower) / f * 100, 15.0);
    const double above = std::min((segment.upper - f) / f * 100, 15.0);
    return numtext::formatFixed(below < above ? below : above, 1);
}

QString fmSpanOnSwitch(const QString& remembered) {
    const double value = lenientValue(remembered);
    if (value > 15) return "15";
    if (value == 0) return "5";
    return remembered;
}
