#include "core/FormatByStep.h"

#include "core/NumberText.h"

#include <cmath>

namespace {
// The value's 15-digit text cut at the decimal point, read back: the 15 digits absorb
// representation errors, so 1.15 * 100 cuts to 115, not 114.
double cutToWhole(double value) {
    QString text = numtext::generalForm(value);
    // Exponent form (below 0.0001, from 1E15 up) has no decimal point to cut at.
    if (text.contains(u'E')) return std::trunc(value);
    const qsizetype point = text.indexOf(u'.');
    if (point >= 0) text.truncate(point);
    return numtext::lenientValue(text);
}
} // namespace

QString FormatByStep(double& value, const QString& step) {
    if (step == "0.00" || step == "0.01") {
        value = cutToWhole(value * 100) / 100;
        return numtext::formatFixed(value, 2);
    }
    if (step == "0.0" || step == "0.1") {
        value = cutToWhole(value * 10) / 10;
        return numtext::formatFixed(value, 1);
    }
    if (step == "0" || step == "1") {
        value = cutToWhole(value);
        return numtext::generalForm(value);
    }
    if (step == "10") {
        value = cutToWhole(value / 10) * 10;
        return numtext::generalForm(value);
    }
    if (step == "100") {
        value = numtext::lenientValue(numtext::formatFixed(value / 100, 0)) * 100;
        return numtext::generalForm(value);
    }
    return {};
}
