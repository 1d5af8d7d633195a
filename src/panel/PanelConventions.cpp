// The panel's own reactions: the function-mode rule, the main waveform code, the caption clicks
// that open help, and the record and hint side of the editing conventions (the box table).
#include "panel/BoxTable.h"
#include "panel/CaptionLabel.h"
#include "panel/NumericBox.h"
#include "panel/OptionReaction.h"
#include "panel/PanelWiring.h"
#include "panel/RuleContext.h"
#include "panel/rules/HelpPositions.h"

#include <QRadioButton>

namespace {

using ModeGroups = std::array<std::array<QRadioButton*, 2>*, 6>;

// The six function-mode switches in their fixed order: Sweep, Modulation, Trigger, Burst, Gate,
// External Counter. Choice 0 is "On", choice 1 "Off".
ModeGroups modeGroups(Panel& panel) {
    return {&panel.optSweep, &panel.optModulation, &panel.optTrigger,
            &panel.optBurst, &panel.optGate,       &panel.optExternal};
}

// Only a group whose "On" is now chosen switches the others off; the "Off" chosen here runs that
// group's reaction, which finds its "On" cleared and stops.
void switchOtherModesOff(const ModeGroups& groups, size_t own) {
    if (!(*groups[own])[0]->isChecked()) return;
    for (size_t other = 0; other < groups.size(); ++other)
        if (other != own) (*groups[other])[1]->setChecked(true);
}

void installModeRule(RuleContext& ctx) {
    const ModeGroups groups = modeGroups(ctx.panel);
    for (size_t own = 0; own < groups.size(); ++own)
        for (QRadioButton* choice : *groups[own])
            onOptionChosen(choice, [groups, own] { switchOtherModesOff(groups, own); });
}

// The main waveform code: 1 sine, 2 triangle, 3 square, the option's index plus one.
void storeWaveform(RuleContext& ctx, size_t index) {
    ctx.record.setInteger(RecordField::MainWaveform, int16_t(index + 1));
}

void installWaveformChoice(RuleContext& ctx) {
    for (size_t i = 0; i < ctx.panel.optMainFunc.size(); ++i)
        onOptionChosen(ctx.panel.optMainFunc[i], [&ctx, i] { storeWaveform(ctx, i); });
}

void installCaptionClicks(RuleContext& ctx) {
    for (const HelpPassage& passage : kLabelPassages) {
        const int position = passage.clickPosition();
        QObject::connect(ctx.panel.Label1[size_t(passage.index)], &CaptionLabel::clicked, &ctx.window,
                         [&ctx, position] { ctx.dialogs().openHelp(position); });
    }
    for (const HelpPassage& passage : kPanelPassages) {
        const int position = passage.clickPosition();
        QObject::connect(ctx.panel.SSPanel1[size_t(passage.index)], &CaptionPanel::clicked, &ctx.window,
                         [&ctx, position] { ctx.dialogs().openHelp(position); });
    }
}

void installBoxConventions(RuleContext& ctx) {
    for (NumericBox* box : ctx.panel.boxes()) {
        const BoxSpec& spec = box->spec();
        if (spec.field)
            box->focusLostStore = [&ctx, box] {
                storeInRecord(*box, ctx.panel.optModAM->isChecked(), ctx.record);
            };
        if (spec.focusHint) box->focusGainedHint = [&ctx] { ctx.setMessage(kEnterKeyHint); };
        if (spec.fmStartStep) box->isAmChosen = [&ctx] { return ctx.panel.optModAM->isChecked(); };
    }
}

} // namespace

void askWithHelp(RuleContext& ctx, const QString& question, LabelCaption caption) {
    if (ctx.dialogs().message(question, UserDialogs::Buttons::YesNo) == UserDialogs::Answer::Yes)
        ctx.dialogs().openHelp(kLabelPassages[size_t(caption)].clickPosition());
}

void installPanelConventions(RuleContext& ctx) {
    installModeRule(ctx);
    installWaveformChoice(ctx);
    installCaptionClicks(ctx);
    installBoxConventions(ctx);
}
