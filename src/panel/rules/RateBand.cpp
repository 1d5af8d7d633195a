#include "panel/rules/RateBand.h"

#include "core/NumberText.h"
#include "panel/rules/Rounding.h"

using numtext::lenientValue;

RateBandResult rateBand(const QString& input, const RateBandVariant& variant) {
    QString text = input;
    std::optional<QString> step;
    // Each step reads the text as the previous step left it.
    if (lenientValue(text) > 10000) {
        text = "10000";
        step = "100";
    }
    const double value = lenientValue(text);
    const bool hundreds =
        variant.closedAtBottom ? value >= 100 && value <= 10000 : value > 100 && value <= 10000;
    const bool ones = variant.closedAtBottom ? value >= 1 && value < 100 : value > 1 && value <= 100;
    const bool hundredths = variant.closedAtBottom   ? value >= 0.01 && value < 1
                            : variant.lowestBandOpen ? value > 0.01 && value <= 1
                                                     : value >= 0.01 && value <= 1;
    if (hundreds) {
        step = "100";
        if (variant.stepUpCases && text == "101") text = "200";
        text = roundToMultiple(lenientValue(text), 100);
    } else if (ones) {
        step = "1";
        if (variant.stepUpCases && text == "1.01") text = "2";
        text = numtext::formatFixed(lenientValue(text), 0);
    } else if (hundredths) {
        step = "0.01";
        if (!(variant.oneKeepsItsText && value == 1)) text = numtext::formatFixed(value, 2);
    } else if (variant.thousandthsBand) {
        if (value >= 0.001 && value < 0.01) {
            step = "0.001";
            text = numtext::formatFixed(value, 3);
        }
    } else if (!(variant.lowestBandOpen && value == 0.01)) {
        step = "0.01";
        text = "0.01";
    }
    return {text, step};
}

QString symmetryText(const QString& input) {
    const QString text = numtext::formatFixed(lenientValue(input), 0);
    const double value = lenientValue(text);
    if (value > 90) return "90";
    if (value < 10) return "10";
    return text;
}
