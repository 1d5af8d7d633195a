#pragma once
// Pure decisions of the gate tab: the time labels under the two boxes and what a confirmed open-gate
// value means for the trigger fields (the open share of the gate period becomes the trigger symmetry).
#include <QString>
#include <QStringView>

namespace gate {

// The gate period of a gate rate in seconds, three decimals ("0.010sec" for 100).
QString gatePeriodLabel(double rate);
// A time in seconds under the open-gate box, four decimals ("0.0010sec").
QString openTimeLabel(double seconds);

struct OpenGateCheck {
    enum class Kind {
        Skip,         // empty, 0 or negative: nothing to check
        NeedGateRate, // the gate box is empty or 0
        NotShorter,   // the open time is not shorter than the gate period
        Fits,
    } kind = Kind::Skip;
    QString openLabel;              // NotShorter, Fits: the open time
    QString replacementText;        // NotShorter: the gate value, which the open box takes instead
    QString replacementLabel;       // NotShorter: the gate period, which the label then shows
    bool needMainFrequency = false; // Fits: the main frequency box is empty or 0
    QString shareText; // Fits with a main frequency: the open share in percent, whole, not limited
};
OpenGateCheck checkOpenGate(QStringView openText, QStringView gateText, QStringView mainFreqText);

} // namespace gate
