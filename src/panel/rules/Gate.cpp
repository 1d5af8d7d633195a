#include "panel/rules/Gate.h"

#include "core/NumberText.h"
#include "panel/rules/BoxText.h"

namespace gate {

QString gatePeriodLabel(double rate) {
    return secondsLabel(1 / rate, 3);
}

QString openTimeLabel(double seconds) {
    return secondsLabel(seconds, 4);
}

OpenGateCheck checkOpenGate(QStringView openText, QStringView gateText, QStringView mainFreqText) {
    OpenGateCheck check;
    const double open = numtext::lenientValue(openText);
    // A negative open value is replaced by the smallest rate afterwards; a share computed from it
    // would put a negative symmetry into the trigger fields.
    if (openText.isEmpty() || open <= 0) return check;
    if (isEmptyOrZero(gateText)) {
        check.kind = OpenGateCheck::Kind::NeedGateRate;
        return check;
    }
    const double gatePeriod = 1 / numtext::lenientValue(gateText);
    const double openTime = 1 / open;
    check.openLabel = openTimeLabel(openTime);
    if (!(gatePeriod > openTime)) {
        check.kind = OpenGateCheck::Kind::NotShorter;
        check.replacementText = numtext::generalForm(1 / gatePeriod);
        check.replacementLabel = openTimeLabel(gatePeriod);
        return check;
    }
    check.kind = OpenGateCheck::Kind::Fits;
    if (isEmptyOrZero(mainFreqText)) {
        check.needMainFrequency = true;
        return check;
    }
    check.shareText = numtext::formatFixed(100 - (gatePeriod - openTime) / gatePeriod * 100, 0);
    return check;
}

} // namespace gate
