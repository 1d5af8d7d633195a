#include "panel/PeriodBox.h"

#include "core/NumberText.h"
#include "panel/NumericBox.h"
#include "panel/RateBandBox.h"
#include "panel/RuleContext.h"
#include "panel/SynchronisedCopies.h"

#include <QLabel>

void confirmPeriodBox(RuleContext& ctx, const PeriodBox& period) {
    NumericBox* box = period.box;
    NumericBox* triggerRate = ctx.panel.txtTrgRate;
    applyRateBand(box, period.band);
    const double rate = numtext::lenientValue(box->text());
    if (!box->text().isEmpty() && rate > 0) {
        period.periodLabel->setText(period.periodText(rate));
        if (triggerRate->text() != box->text()) {
            triggerRate->setText(box->text());
            if (period.triggerRateCopy == TriggerRateCopy::Accepted) triggerRate->markAccepted();
        }
    }
    box->markAccepted();
    copySynchronised(ctx, box);
}
