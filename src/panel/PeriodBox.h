#pragma once
// The Enter rule the burst and gate rate boxes share. Both are captioned as periods but hold
// rates: the confirmed rate is put in its band, the period shows in seconds in the label beneath,
// and the rate reaches the instrument through the trigger rate box, synchronised or not.
#include <QString>

struct RateBandVariant;
struct RuleContext;
class NumericBox;
class QLabel;

// How the trigger rate box is left after taking the rate.
enum class TriggerRateCopy {
    Accepted,   // set white, as if confirmed there
    LeftEdited, // left orange until the user confirms it in the trigger tab
};

struct PeriodBox {
    NumericBox* box;
    const RateBandVariant& band;
    QLabel* periodLabel;
    QString (*periodText)(double rate); // the label's text for a rate above 0
    TriggerRateCopy triggerRateCopy;
};

void confirmPeriodBox(RuleContext& ctx, const PeriodBox& period);
