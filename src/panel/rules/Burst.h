#pragma once
// Pure decisions of the burst tab: the period label, how a typed count is read, and how much of each
// burst period a burst of that many cycles occupies (which becomes the trigger symmetry).
#include <QString>
#include <QStringView>

namespace burst {

// The burst period of a rate in seconds, four decimals, "sec" directly behind ("0.0200sec" for 50).
QString periodLabel(double rate);

// What a count text asks the count rule to do.
struct CountEntry {
    enum class Kind {
        Nothing,  // empty or 0: no count to check
        Negative, // below 0: the box goes back to "0"
        Count,    // a count: shown as `wholeText`, checked against the burst period
    } kind = Kind::Nothing;
    QString wholeText; // the count as a whole number
    double count = 0;  // the value of wholeText
};
CountEntry readCount(QStringView text);

// A count of more than one cycle needs the multiple trigger type.
inline bool needsMulti(double count) {
    return count > 1;
}

// Whether a count fits into the burst period, and the share it takes.
struct CountShare {
    enum class Kind {
        NeedMainFrequency, // the main frequency box is empty or 0
        NeedBurstRate,     // the burst rate box is empty or 0
        TooLong,           // the burst lasts longer than its period
        Fits,
    } kind = Kind::NeedMainFrequency;
    int share = 0;     // Fits: the burst's share of the period in percent, 10 to 90
    QString shareText; // the same as text
};
CountShare shareOfPeriod(double count, QStringView mainFreqText, QStringView burstRateText);

// The fine-tuning bar only asks for the two boxes to hold some text.
enum class FineTuning { NeedMainFrequency, NeedBurstRate, Apply };
FineTuning checkFineTuning(QStringView mainFreqText, QStringView burstRateText);

} // namespace burst
