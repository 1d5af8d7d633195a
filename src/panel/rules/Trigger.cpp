#include "panel/rules/Trigger.h"

#include "core/NumberText.h"

#include <algorithm>

namespace trigger {

QString phaseText(QStringView text) {
    const QString whole = numtext::formatFixed(numtext::lenientValue(text), 0);
    // The range check reads the text as rounded, so 80.4 stays 80 and 80.5 (shown 81) becomes 80.
    const double value = numtext::lenientValue(whole);
    if (value < -90) return QStringLiteral("-90");
    if (value > 80) return QStringLiteral("80");
    return whole;
}

int phaseCaret(int notedCaret, const QString& newText) {
    return std::clamp(notedCaret, 0, int(newText.size()));
}

} // namespace trigger
