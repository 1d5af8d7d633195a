// Enter rules of the main setting: frequency, amplitude, DC offset and duty cycle.
#include "panel/NumericBox.h"
#include "panel/PanelWiring.h"
#include "panel/RuleContext.h"
#include "panel/rules/MainSetting.h"

namespace {

// Enter in the main frequency box.
void txtMainFreq_KeyPress(RuleContext& ctx) {
    NumericBox* box = ctx.panel.txtMainFreq;
    const MainFrequencyResult result = mainFrequency(box->text());
    box->setText(result.text);
    box->setTag(result.step);
    ctx.record.setText(RecordField::MainFreq, box->text());
    box->markAccepted();
}

// Amplitude and offset each look at the other box only when their own rule runs.
void confirmAmplitude(RuleContext& ctx) {
    NumericBox* box = ctx.panel.txtMainAmp;
    box->setText(mainAmplitude(box->text(), ctx.panel.txtMainDCOffset->text()));
    box->markAccepted();
}

void confirmOffset(RuleContext& ctx) {
    NumericBox* box = ctx.panel.txtMainDCOffset;
    box->setText(mainOffset(box->text(), ctx.panel.txtMainAmp->text()));
    box->markAccepted();
}

void confirmDuty(RuleContext& ctx) {
    NumericBox* box = ctx.panel.txtMainDuty;
    box->setText(mainDuty(box->text()));
    box->markAccepted();
}

} // namespace

void installMainSettingGroup(RuleContext& ctx) {
    Panel& panel = ctx.panel;
    panel.txtMainFreq->enterRule = [&ctx] { txtMainFreq_KeyPress(ctx); };
    panel.txtMainAmp->enterRule = [&ctx] { confirmAmplitude(ctx); };
    panel.txtMainDCOffset->enterRule = [&ctx] { confirmOffset(ctx); };
    panel.txtMainDuty->enterRule = [&ctx] { confirmDuty(ctx); };
}
