// Enter rules of the main setting: frequency, amplitude, DC offset and duty cycle.
#include "app/frmDXS.h"
#include "panel/NumericBox.h"
#include "panel/PanelWiring.h"
#include "panel/rules/MainSetting.h"

void installMainSettingRules(frmDXS& window) {
    Panel& panel = window.panel;

    panel.txtMainFreq->enterRule = [&window] {
        NumericBox* box = window.panel.txtMainFreq;
        const MainFrequencyResult result = mainFrequency(box->text());
        box->setText(result.text);
        box->setTag(result.step);
        window.record.setText(RecordField::MainFreq, box->text());
        box->markAccepted();
    };

    // Amplitude and offset each look at the other box only when their own rule runs.
    panel.txtMainAmp->enterRule = [&window] {
        NumericBox* box = window.panel.txtMainAmp;
        box->setText(mainAmplitude(box->text(), window.panel.txtMainDCOffset->text()));
        box->markAccepted();
    };
    panel.txtMainDCOffset->enterRule = [&window] {
        NumericBox* box = window.panel.txtMainDCOffset;
        box->setText(mainOffset(box->text(), window.panel.txtMainAmp->text()));
        box->markAccepted();
    };

    panel.txtMainDuty->enterRule = [&window] {
        NumericBox* box = window.panel.txtMainDuty;
        box->setText(mainDuty(box->text()));
        box->markAccepted();
    };
}
