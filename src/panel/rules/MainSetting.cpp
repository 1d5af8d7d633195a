#include "panel/rules/MainSetting.h"

#include "core/NumberText.h"
#include "panel/rules/Rounding.h"

#include <algorithm>
#include <array>
#include <cmath>

using numtext::formatFixed;
using numtext::lenientValue;

namespace {
struct FrequencyRange {
    double above;   // lower bound, exclusive
    double raiseTo; // values between the bound and this are raised, so rounding stays in the range
    const char* step;
};

// The first range whose bound the value is above decides; the step names the resolution.
constexpr std::array<FrequencyRange, 5> kFrequencyRanges{{
    {1500000, 1500100, "100"},
    {150000, 150010, "10"},
    {15000, 15001, "1"},
    {1500, 1500.1, "0.1"},
    {0, 0, "0.01"}, // from 0.01 on: values below it are replaced first
}};

constexpr double kMaxFrequency = 15000000;
constexpr double kMinFrequency = 0.01;
} // namespace

MainFrequencyResult mainFrequency(const QString& input) {
    double f = lenientValue(input);
    if (f > kMaxFrequency) return {"15000000", "100"};
    if (f < kMinFrequency) return {"0.01", "0.01"};
    for (const FrequencyRange& range : kFrequencyRanges) {
        if (f <= range.above) continue;
        if (f < range.raiseTo) f = range.raiseTo;
        return {roundToStep(f, QString::fromLatin1(range.step)), range.step};
    }
    return {"0.01", "0.01"}; // not reached: the last range takes every value from 0.01 on
}

QString mainAmplitude(const QString& amplitudeText, const QString& offsetText) {
    QString text = amplitudeText;
    double a = lenientValue(text);
    if (a > 10)
        text = "10";
    else if (a < 0)
        text = "0";
    const double o = lenientValue(offsetText);
    a = lenientValue(text);
    if (a + 2 * std::abs(o) >= 10 || a < 0.01) {
        // An offset box still holding an unaccepted value beyond 5 V leaves no room: 0, not a
        // negative amplitude.
        return formatFixed(std::max(0.0, 10 - 2 * std::abs(o)), 2);
    }
    return formatFixed(a, 2);
}

QString mainOffset(const QString& offsetText, const QString& amplitudeText) {
    QString text = offsetText;
    double o = lenientValue(text);
    if (o > 5)
        text = "5";
    else if (o < -5)
        text = "-5";
    o = lenientValue(text);
    const double a = lenientValue(amplitudeText);
    if (a + 2 * std::abs(o) > 10) {
        // An amplitude box still holding an unaccepted value above 10 leaves no room at all.
        double allowed = std::max(0.0, (10 - a) / 2);
        if (o <= 0) {
            text = "-" + numtext::generalForm(allowed);
        } else {
            allowed = std::min(allowed, 4.99);
            text = numtext::generalForm(allowed);
        }
    }
    return formatFixed(QStringView(text), 2);
}

QString mainDuty(const QString& input) {
    const QString text = formatFixed(QStringView(input), 0);
    const double d = lenientValue(text);
    if (d < 20) return "20";
    if (d > 80) return "80";
    return text;
}
