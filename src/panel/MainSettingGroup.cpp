// Enter rules of the main setting: frequency, amplitude, DC offset and duty cycle.
#include "panel/NumericBox.h"
#include "panel/PanelWiring.h"
#include "panel/RuleContext.h"
#include "panel/rules/MainSetting.h"

void installMainSettingGroup(RuleContext& ctx) {
    Panel& panel = ctx.panel;

    panel.txtMainFreq->enterRule = [&ctx] {
        NumericBox* box = ctx.panel.txtMainFreq;
        const MainFrequencyResult result = mainFrequency(box->text());
        box->setText(result.text);
        box->setTag(result.step);
        ctx.record.setText(RecordField::MainFreq, box->text());
        box->markAccepted();
    };

    // Amplitude and offset each look at the other box only when their own rule runs.
    panel.txtMainAmp->enterRule = [&ctx] {
        NumericBox* box = ctx.panel.txtMainAmp;
        box->setText(mainAmplitude(box->text(), ctx.panel.txtMainDCOffset->text()));
        box->markAccepted();
    };
    panel.txtMainDCOffset->enterRule = [&ctx] {
        NumericBox* box = ctx.panel.txtMainDCOffset;
        box->setText(mainOffset(box->text(), ctx.panel.txtMainAmp->text()));
        box->markAccepted();
    };

    panel.txtMainDuty->enterRule = [&ctx] {
        NumericBox* box = ctx.panel.txtMainDuty;
        box->setText(mainDuty(box->text()));
        box->markAccepted();
    };
}
