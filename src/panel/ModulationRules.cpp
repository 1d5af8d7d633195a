// The modulation group: rate, span or depth and symmetry confirmed with Enter, the AM/FM switch
// with its remembered values, and the source choice. AM and FM keep separate remembered values in
// the settings record; the kind chosen at the moment decides which one a rule writes.
#include "app/frmDXS.h"
#include "core/NumberText.h"
#include "panel/NumericBox.h"
#include "panel/RateBandBox.h"
#include "panel/OptionReaction.h"
#include "panel/PanelWiring.h"
#include "panel/Synchronisation.h"
#include "panel/rules/Modulation.h"
#include "panel/rules/RateBand.h"

#include <QRadioButton>

using numtext::lenientValue;

namespace {

bool amChosen(frmDXS& window) {
    return window.panel.optModAM->isChecked();
}

// A remembered text as a box shows it: blanks kept, a never-written field (zero bytes) empty.
QString remembered(frmDXS& window, RecordField field) {
    QString text = window.record.text(field);
    const qsizetype end = text.indexOf(QChar(0));
    if (end >= 0) text.truncate(end);
    return text;
}

void confirmRate(frmDXS& window) {
    NumericBox* box = window.panel.txtModRate;
    applyRateBand(box, kModulationRate);
    window.record.setText(amChosen(window) ? RecordField::AMRate : RecordField::FMRate, box->text());
    box->markAccepted();
    copySynchronised(window, box);
}

// The FM swing around the main frequency must stay inside one sweep segment; when it fits none of
// the segments holding the frequency, the user may take the largest span that fits the last one.
void checkFmSpan(frmDXS& window) {
    NumericBox* box = window.panel.txtModSpanDepth;
    const QString mainFrequency = window.panel.txtMainFreq->text();
    if (mainFrequency.isEmpty() || lenientValue(mainFrequency) == 0) {
        window.dialogs().message(kNoMainFrequencyText, UserDialogs::Buttons::Ok, UserDialogs::Icon::None);
        return;
    }
    const double f = lenientValue(mainFrequency);
    const FmSwingCheck check = checkFmSwing(f, lenientValue(box->text()));
    if (check.accepted || check.lastContaining == 0) return;
    const auto answer =
        window.dialogs().message(kSuggestSpanText, UserDialogs::Buttons::YesNo, UserDialogs::Icon::None);
    if (answer == UserDialogs::Answer::Yes) box->setText(suggestedFmSpan(f, check.lastContaining));
}

void confirmSpanDepth(frmDXS& window) {
    NumericBox* box = window.panel.txtModSpanDepth;
    if (amChosen(window)) {
        box->setTag("1");
        box->setText(amDepthText(box->text()));
    } else {
        box->setTag("0.1");
        box->setText(fmSpanText(box->text()));
        checkFmSpan(window);
    }
    box->markAccepted();
    window.record.setText(amChosen(window) ? RecordField::AMDepth : RecordField::FMSpan, box->text());
}

void confirmSymmetry(frmDXS& window) {
    NumericBox* box = window.panel.txtModSymmetry;
    box->setText(symmetryText(box->text()));
    if (amChosen(window)) {
        // The rule leaves a whole number from 10 to 90, which always converts.
        if (const auto value = numtext::strictIntegerRounded(box->text()))
            window.record.setInteger(RecordField::AMSymmetry, *value);
    } else {
        window.record.setText(RecordField::FMSymmetry, box->text());
    }
    box->markAccepted();
    copySynchronised(window, box);
}

// The span/depth box shows the remembered value of the kind now chosen.
QString rememberedSpanDepth(frmDXS& window) {
    return remembered(window, amChosen(window) ? RecordField::AMDepth : RecordField::FMSpan);
}

} // namespace

void installModulationRules(frmDXS& window) {
    Panel& panel = window.panel;
    panel.txtModRate->enterRule = [&window] { confirmRate(window); };
    panel.txtModSpanDepth->enterRule = [&window] { confirmSpanDepth(window); };
    panel.txtModSymmetry->enterRule = [&window] { confirmSymmetry(window); };

    // Switching the kind touches only the span/depth box, not the rate or symmetry.
    onOptionChosen(panel.optModAM, [&window] {
        NumericBox* box = window.panel.txtModSpanDepth;
        box->setText(rememberedSpanDepth(window));
        box->markAccepted();
    });
    onOptionChosen(panel.optModFM, [&window] {
        NumericBox* box = window.panel.txtModSpanDepth;
        box->setText(rememberedSpanDepth(window));
        box->setText(fmSpanOnSwitch(box->text()));
        box->markAccepted();
    });

    // An internal source enables the three boxes; the external source leaves them as they are.
    for (int index = 0; index < 3; ++index) {
        onOptionChosen(panel.optModSource[size_t(index)], [&window] {
            window.panel.txtModRate->setEnabled(true);
            window.panel.txtModSymmetry->setEnabled(true);
            window.panel.txtModSpanDepth->setEnabled(true);
        });
    }
}
