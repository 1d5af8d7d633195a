// Burst tab: the burst rate becomes the trigger rate, the count the trigger type and the burst's
// share of its period the trigger symmetry, fine-tuned with the bar.
#include "panel/NumericBox.h"
#include "panel/OptionReaction.h"
#include "panel/PanelWiring.h"
#include "panel/PeriodBox.h"
#include "panel/RuleContext.h"
#include "panel/SourcePairs.h"
#include "panel/rules/Burst.h"
#include "panel/rules/HelpPositions.h"
#include "panel/rules/RateBand.h"

#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>

namespace {

// Enter in the burst rate box; the trigger rate box takes the rate white.
void txtBurstPeriod_KeyPress(RuleContext& ctx) {
    confirmPeriodBox(ctx, {ctx.panel.txtBurstPeriod, kBurstRate, ctx.panel.lblBurstPeriodSec,
                           burst::periodLabel, TriggerRateCopy::Accepted});
}

// Runs on every change of the count text. When the whole-number form differs from what was typed,
// writing it runs this rule again for the new text, which does the checking; this run only puts
// the caret back.
void txtBurstCount_Change(RuleContext& ctx) {
    Panel& panel = ctx.panel;
    NumericBox* box = panel.txtBurstCount;
    const int caret = box->cursorPosition();
    const burst::CountEntry entry = burst::readCount(box->text());
    switch (entry.kind) {
    case burst::CountEntry::Kind::Nothing:
        break;
    case burst::CountEntry::Kind::Negative:
        box->setText("0");
        box->setTag("1");
        break;
    case burst::CountEntry::Kind::Count: {
        box->setTag("1");
        if (entry.wholeText != box->text()) {
            box->setText(entry.wholeText);
            break;
        }
        if (burst::needsMulti(entry.count)) panel.optTriggerType[1]->setChecked(true);
        const burst::CountShare share =
            burst::shareOfPeriod(entry.count, panel.txtMainFreq->text(), panel.txtBurstPeriod->text());
        switch (share.kind) {
        case burst::CountShare::Kind::NeedMainFrequency:
            ctx.dialogs().message("Please set Main Frequence Value first!");
            panel.txtMainFreq->setFocus();
            break;
        case burst::CountShare::Kind::NeedBurstRate:
            ctx.dialogs().message("Please set Burst Period Value first!");
            panel.txtBurstPeriod->setFocus();
            break;
        case burst::CountShare::Kind::TooLong:
            askWithHelp(ctx, "Please Change value of Burst Count. Do you need help?", BurstCountCaption);
            box->setText("0");
            break;
        case burst::CountShare::Kind::Fits:
            panel.txtTrgSymmetry->setText(share.shareText);
            panel.txtTrgSymmetry->markAccepted();
            panel.HScroll1->setValue(share.share);
            break;
        }
        break;
    }
    }
    box->setCursorPosition(std::clamp(caret, 0, int(box->text().size())));
}

void HScroll1_Change(RuleContext& ctx, int value) {
    if (value < 10 || value > 90) return;
    Panel& panel = ctx.panel;
    switch (burst::checkFineTuning(panel.txtMainFreq->text(), panel.txtBurstPeriod->text())) {
    case burst::FineTuning::NeedMainFrequency:
        ctx.dialogs().message("Please give the Main Frequence value first.", UserDialogs::Buttons::Ok,
                              UserDialogs::Icon::Information);
        break;
    case burst::FineTuning::NeedBurstRate:
        ctx.dialogs().message("Please give the Burst Period value first.", UserDialogs::Buttons::Ok,
                              UserDialogs::Icon::Information);
        break;
    case burst::FineTuning::Apply:
        panel.txtTrgSymmetry->setText(QString::number(value));
        panel.lblSymmetry->setText(QString::number(value));
        break;
    }
}

// Both options do the same; the external source leaves the boxes as they are.
void optBurstInt_Click(Panel& panel) {
    followSourceOf(panel, SourceTab::Burst);
}

void optBurstExt_Click(Panel& panel) {
    followSourceOf(panel, SourceTab::Burst);
}

} // namespace

void installBurstGroup(RuleContext& ctx) {
    Panel& panel = ctx.panel;
    panel.txtBurstPeriod->enterRule = [&ctx] { txtBurstPeriod_KeyPress(ctx); };
    panel.txtBurstCount->ownTextChangedRule = [&ctx] { txtBurstCount_Change(ctx); };
    // The bar reports a value once it is let go, not at every position it is dragged through,
    // which would raise the missing-value messages over and over.
    panel.HScroll1->setTracking(false);
    QObject::connect(panel.HScroll1, &QScrollBar::valueChanged, &ctx.window,
                     [&ctx](int value) { HScroll1_Change(ctx, value); });
    onOptionChosen(panel.optBurstInt, [&panel] { optBurstInt_Click(panel); });
    onOptionChosen(panel.optBurstExt, [&panel] { optBurstExt_Click(panel); });
}
