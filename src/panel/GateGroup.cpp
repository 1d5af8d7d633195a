// Gate tab: the gate rate becomes the trigger rate and the open share of the gate period the
// trigger symmetry. The counter's gate time choice has no rule: Send reads it.
#include "core/NumberText.h"
#include "panel/NumericBox.h"
#include "panel/OptionReaction.h"
#include "panel/PanelWiring.h"
#include "panel/PeriodBox.h"
#include "panel/RateBandBox.h"
#include "panel/RuleContext.h"
#include "panel/SourcePairs.h"
#include "panel/rules/Gate.h"
#include "panel/rules/HelpPositions.h"
#include "panel/rules/RateBand.h"

#include <QLabel>
#include <QRadioButton>

namespace {

// Enter in the gate rate box.
void txtGatePeriod_KeyPress(RuleContext& ctx) {
    confirmPeriodBox(ctx, {ctx.panel.txtGatePeriod, kGateRate, ctx.panel.lblGatePeriod, gate::gatePeriodLabel,
                           TriggerRateCopy::LeftEdited});
}

// Enter in the open-gate box.
void txtOpenGatePeriod_KeyPress(RuleContext& ctx) {
    Panel& panel = ctx.panel;
    NumericBox* box = panel.txtOpenGatePeriod;
    // Below the smallest band the text and step stay as they are.
    applyRateBand(box, kOpenGateRate);
    const gate::OpenGateCheck check =
        gate::checkOpenGate(box->text(), panel.txtGatePeriod->text(), panel.txtMainFreq->text());
    switch (check.kind) {
    case gate::OpenGateCheck::Kind::Skip:
        break;
    case gate::OpenGateCheck::Kind::NeedGateRate:
        ctx.dialogs().message("Please input the Gate Period Value first");
        panel.txtGatePeriod->setFocus();
        break;
    case gate::OpenGateCheck::Kind::NotShorter:
        panel.lblOpenGatePeriod->setText(check.openLabel);
        askWithHelp(ctx, "Gate period should greater than Open Gate time\r\nDo you need help?",
                    GatePeriodCaption);
        box->setText(check.replacementText);
        panel.lblOpenGatePeriod->setText(check.replacementLabel);
        break;
    case gate::OpenGateCheck::Kind::Fits:
        panel.lblOpenGatePeriod->setText(check.openLabel);
        panel.optTriggerType[1]->setChecked(true);
        if (check.needMainFrequency) {
            ctx.dialogs().message("Please input the Main Frequence Value first");
            panel.txtMainFreq->setFocus();
        } else {
            panel.txtTrgSymmetry->setText(check.shareText);
            panel.txtTrgSymmetry->markAccepted();
        }
        break;
    }
    if (!box->text().isEmpty() && numtext::lenientValue(box->text()) < 0) {
        box->setTag("0.01");
        box->setText("0.01");
    }
    box->markAccepted();
}

void optGateInt_Click(Panel& panel) {
    panel.txtOpenGatePeriod->setEnabled(true);
    panel.txtGatePeriod->setEnabled(true);
    followSourceOf(panel, SourceTab::Gate);
}

// The external source leaves the boxes as they are.
void optGateExt_Click(Panel& panel) {
    followSourceOf(panel, SourceTab::Gate);
}

} // namespace

void installGateGroup(RuleContext& ctx) {
    Panel& panel = ctx.panel;
    panel.txtGatePeriod->enterRule = [&ctx] { txtGatePeriod_KeyPress(ctx); };
    panel.txtOpenGatePeriod->enterRule = [&ctx] { txtOpenGatePeriod_KeyPress(ctx); };
    onOptionChosen(panel.optGateInt, [&panel] { optGateInt_Click(panel); });
    onOptionChosen(panel.optGateExt, [&panel] { optGateExt_Click(panel); });
}
