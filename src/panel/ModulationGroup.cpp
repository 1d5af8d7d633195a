// The modulation group: rate, span or depth and symmetry confirmed with Enter, the AM/FM switch
// with its remembered values, and the source choice. AM and FM keep separate remembered values in
// the settings record; the kind chosen at the moment decides which one a rule writes.
#include "core/NumberText.h"
#include "panel/NumericBox.h"
#include "panel/OptionReaction.h"
#include "panel/PanelWiring.h"
#include "panel/RateBandBox.h"
#include "panel/RuleContext.h"
#include "panel/SynchronisedCopies.h"
#include "panel/rules/BoxText.h"
#include "panel/rules/Modulation.h"
#include "panel/rules/RateBand.h"

#include <QRadioButton>

using numtext::lenientValue;

namespace {

bool amChosen(RuleContext& ctx) {
    return ctx.panel.optModAM->isChecked();
}

// A remembered text as a box shows it: blanks kept, a never-written field (zero bytes) empty.
QString remembered(RuleContext& ctx, RecordField field) {
    QString text = ctx.record.text(field);
    const qsizetype end = text.indexOf(QChar(0));
    if (end >= 0) text.truncate(end);
    return text;
}

// Enter in the modulation rate box.
void txtModRate_KeyPress(RuleContext& ctx) {
    NumericBox* box = ctx.panel.txtModRate;
    applyRateBand(box, kModulationRate);
    ctx.record.setText(amChosen(ctx) ? RecordField::AMRate : RecordField::FMRate, box->text());
    box->markAccepted();
    copySynchronised(ctx, box);
}

// The FM swing around the main frequency must stay inside one sweep segment; when it fits none of
// the segments holding the frequency, the user may take the largest span that fits the last one.
void checkFmSpan(RuleContext& ctx) {
    NumericBox* box = ctx.panel.txtModSpanDepth;
    const QString mainFrequency = ctx.panel.txtMainFreq->text();
    if (isEmptyOrZero(mainFrequency)) {
        ctx.dialogs().message(kNoMainFrequencyText, UserDialogs::Buttons::Ok, UserDialogs::Icon::None);
        return;
    }
    const double f = lenientValue(mainFrequency);
    const FmSwingCheck check = checkFmSwing(f, lenientValue(box->text()));
    if (check.accepted || check.lastContaining == 0) return;
    const auto answer =
        ctx.dialogs().message(kSuggestSpanText, UserDialogs::Buttons::YesNo, UserDialogs::Icon::None);
    if (answer == UserDialogs::Answer::Yes) box->setText(suggestedFmSpan(f, check.lastContaining));
}

// Enter in the span/depth box.
void txtModSpanDepth_KeyPress(RuleContext& ctx) {
    NumericBox* box = ctx.panel.txtModSpanDepth;
    if (amChosen(ctx)) {
        box->setTag("1");
        box->setText(amDepthText(box->text()));
    } else {
        box->setTag("0.1");
        box->setText(fmSpanText(box->text()));
        checkFmSpan(ctx);
    }
    box->markAccepted();
    ctx.record.setText(amChosen(ctx) ? RecordField::AMDepth : RecordField::FMSpan, box->text());
}

// Enter in the modulation symmetry box.
void txtModSymmetry_KeyPress(RuleContext& ctx) {
    NumericBox* box = ctx.panel.txtModSymmetry;
    box->setText(symmetryText(box->text()));
    if (amChosen(ctx)) {
        // The rule leaves a whole number from 10 to 90, which always converts.
        if (const auto value = numtext::strictIntegerRounded(box->text()))
            ctx.record.setInteger(RecordField::AMSymmetry, *value);
    } else {
        ctx.record.setText(RecordField::FMSymmetry, box->text());
    }
    box->markAccepted();
    copySynchronised(ctx, box);
}

// The span/depth box shows the remembered value of the kind now chosen.
QString rememberedSpanDepth(RuleContext& ctx) {
    return remembered(ctx, amChosen(ctx) ? RecordField::AMDepth : RecordField::FMSpan);
}

// Switching the kind touches only the span/depth box, not the rate or symmetry.
void optModAM_Click(RuleContext& ctx) {
    NumericBox* box = ctx.panel.txtModSpanDepth;
    box->setText(rememberedSpanDepth(ctx));
    box->markAccepted();
}

void optModFM_Click(RuleContext& ctx) {
    NumericBox* box = ctx.panel.txtModSpanDepth;
    box->setText(rememberedSpanDepth(ctx));
    box->setText(fmSpanOnSwitch(box->text()));
    box->markAccepted();
}

// Each internal source enables the three boxes; the external source leaves them as they are.
void optModSource_Click(RuleContext& ctx) {
    ctx.panel.txtModRate->setEnabled(true);
    ctx.panel.txtModSymmetry->setEnabled(true);
    ctx.panel.txtModSpanDepth->setEnabled(true);
}

} // namespace

void installModulationGroup(RuleContext& ctx) {
    Panel& panel = ctx.panel;
    panel.txtModRate->enterRule = [&ctx] { txtModRate_KeyPress(ctx); };
    panel.txtModSpanDepth->enterRule = [&ctx] { txtModSpanDepth_KeyPress(ctx); };
    panel.txtModSymmetry->enterRule = [&ctx] { txtModSymmetry_KeyPress(ctx); };

    onOptionChosen(panel.optModAM, [&ctx] { optModAM_Click(ctx); });
    onOptionChosen(panel.optModFM, [&ctx] { optModFM_Click(ctx); });
    for (size_t index = 0; index < 3; ++index)
        onOptionChosen(panel.optModSource[index], [&ctx] { optModSource_Click(ctx); });
}
