#include "panel/rules/Burst.h"

#include "core/NumberText.h"
#include "panel/rules/BoxText.h"

#include <algorithm>

namespace burst {

QString periodLabel(double rate) {
    return secondsLabel(1 / rate, 4);
}

CountEntry readCount(QStringView text) {
    CountEntry entry;
    if (isEmptyOrZero(text)) return entry;
    const double value = numtext::lenientValue(text);
    // A negative count fits any period and would leave a meaningless share in the trigger
    // symmetry: it only goes back to 0.
    if (value < 0) {
        entry.kind = CountEntry::Kind::Negative;
        return entry;
    }
    entry.kind = CountEntry::Kind::Count;
    entry.wholeText = numtext::formatFixed(value, 0);
    entry.count = numtext::lenientValue(entry.wholeText);
    return entry;
}

CountShare shareOfPeriod(double count, QStringView mainFreqText, QStringView burstRateText) {
    CountShare result;
    if (isEmptyOrZero(mainFreqText)) return result;
    if (isEmptyOrZero(burstRateText)) {
        result.kind = CountShare::Kind::NeedBurstRate;
        return result;
    }
    const double frequency = numtext::lenientValue(mainFreqText);
    const double period = 1 / numtext::lenientValue(burstRateText);
    const double duration = count * (1 / frequency);
    if (duration > period) {
        result.kind = CountShare::Kind::TooLong;
        return result;
    }
    const double share = std::clamp(100 - (period - duration) / period * 100, 10.0, 90.0);
    result.kind = CountShare::Kind::Fits;
    result.shareText = numtext::formatFixed(share, 0);
    result.share = int(numtext::lenientValue(result.shareText));
    return result;
}

FineTuning checkFineTuning(QStringView mainFreqText, QStringView burstRateText) {
    if (mainFreqText.isEmpty()) return FineTuning::NeedMainFrequency;
    if (burstRateText.isEmpty()) return FineTuning::NeedBurstRate;
    return FineTuning::Apply;
}

} // namespace burst
