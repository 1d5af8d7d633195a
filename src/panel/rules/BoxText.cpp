#include "panel/rules/BoxText.h"

#include "core/NumberText.h"

bool isEmptyOrZero(QStringView text) {
    return text.isEmpty() || numtext::lenientValue(text) == 0;
}

QString secondsLabel(double seconds, int decimals) {
    return numtext::formatFixed(seconds, decimals) + QStringLiteral("sec");
}
