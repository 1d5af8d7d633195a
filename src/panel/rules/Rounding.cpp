#include "panel/rules/Rounding.h"

#include "core/NumberText.h"

QString roundToMultiple(double value, int multiple) {
    return numtext::generalForm(numtext::lenientValue(numtext::formatFixed(value / multiple, 0)) * multiple);
}

QString roundToStep(double value, QStringView step) {
    if (step == u"100") return roundToMultiple(value, 100);
    if (step == u"10") return roundToMultiple(value, 10);
    if (step == u"1") return numtext::formatFixed(value, 0);
    if (step == u"0.1") return numtext::formatFixed(value, 1);
    return numtext::formatFixed(value, 2);
}
