// Trigger tab: the rate and symmetry Enter rules, the phase rule on every change, and the source
// choice that keeps the trigger, burst and gate Int/Ext pairs in step.
#include "panel/NumericBox.h"
#include "panel/OptionReaction.h"
#include "panel/PanelWiring.h"
#include "panel/RateBandBox.h"
#include "panel/RuleContext.h"
#include "panel/SourcePairs.h"
#include "panel/SynchronisedCopies.h"
#include "panel/rules/RateBand.h"
#include "panel/rules/Trigger.h"

#include <QRadioButton>

namespace {

// Enter in the trigger rate box.
void txtTrgRate_KeyPress(RuleContext& ctx) {
    NumericBox* box = ctx.panel.txtTrgRate;
    applyRateBand(box, kTriggerRate);
    ctx.record.setText(RecordField::TriggerRate, box->text());
    box->markAccepted();
    copySynchronised(ctx, box);
}

// Enter in the trigger symmetry box.
void txtTrgSymmetry_KeyPress(RuleContext& ctx) {
    NumericBox* box = ctx.panel.txtTrgSymmetry;
    box->setText(symmetryText(box->text()));
    box->markAccepted();
    copySynchronised(ctx, box);
}

// Runs on every change of the phase text, also its own: the repeated run finds the text formatted
// and changes nothing, so the caret ends where the user typed.
void txtTrgPhase_Change(RuleContext& ctx) {
    NumericBox* box = ctx.panel.txtTrgPhase;
    const int caret = box->cursorPosition();
    box->setTag(trigger::PhaseStep);
    const QString phase = trigger::phaseText(box->text());
    if (phase != box->text()) box->setText(phase);
    ctx.record.setText(RecordField::TriggerPhase, box->text());
    box->setCursorPosition(trigger::phaseCaret(caret, box->text()));
}

// Choosing an option that is already chosen starts nothing, which ends the chain of source rules.
void optTriggerInt_Click(Panel& panel) {
    panel.txtTrgRate->setEnabled(true);
    panel.txtTrgSymmetry->setEnabled(true);
    panel.txtTrgPhase->setEnabled(true);
    followSourceOf(panel, SourceTab::Trigger);
}

// The external source leaves the boxes as they are, so going back to Int finds the internal
// setting unchanged.
void optTriggerExt_Click(Panel& panel) {
    followSourceOf(panel, SourceTab::Trigger);
}

} // namespace

void installTriggerGroup(RuleContext& ctx) {
    Panel& panel = ctx.panel;
    panel.txtTrgRate->enterRule = [&ctx] { txtTrgRate_KeyPress(ctx); };
    panel.txtTrgSymmetry->enterRule = [&ctx] { txtTrgSymmetry_KeyPress(ctx); };
    panel.txtTrgPhase->ownTextChangedRule = [&ctx] { txtTrgPhase_Change(ctx); };

    onOptionChosen(panel.optTriggerInt, [&panel] { optTriggerInt_Click(panel); });
    onOptionChosen(panel.optTriggerExt, [&panel] { optTriggerExt_Click(panel); });
}
