// The panel's own reactions: the function-mode rule, the main waveform code, the caption clicks
// that open help, and the record and hint side of the editing conventions (the box table).
#include "core/NumberText.h"
#include "panel/BoxTable.h"
#include "panel/CaptionLabel.h"
#include "panel/NumericBox.h"
#include "panel/OptionReaction.h"
#include "panel/PanelWiring.h"
#include "panel/RuleContext.h"
#include "panel/rules/HelpPositions.h"

#include <QRadioButton>

namespace {

// The six function-mode switches in their fixed order: Sweep, Modulation, Trigger, Burst, Gate,
// External Counter. Choice 0 is "On", choice 1 "Off".
std::array<std::array<QRadioButton*, 2>*, 6> modeGroups(Panel& panel) {
    return {&panel.optSweep, &panel.optModulation, &panel.optTrigger,
            &panel.optBurst, &panel.optGate,       &panel.optExternal};
}

void installModeRule(RuleContext& ctx) {
    const auto groups = modeGroups(ctx.panel);
    for (size_t own = 0; own < groups.size(); ++own) {
        auto reaction = [groups, own] {
            // Only a group whose "On" is now chosen switches the others off; the "Off" chosen here
            // runs that group's reaction, which finds its "On" cleared and stops.
            if (!(*groups[own])[0]->isChecked()) return;
            for (size_t other = 0; other < groups.size(); ++other)
                if (other != own) (*groups[other])[1]->setChecked(true);
        };
        for (QRadioButton* choice : *groups[own])
            onOptionChosen(choice, reaction);
    }
}

void installWaveformChoice(RuleContext& ctx) {
    for (size_t i = 0; i < ctx.panel.optMainFunc.size(); ++i)
        onOptionChosen(ctx.panel.optMainFunc[i],
                       [&ctx, i] { ctx.record.setInteger(RecordField::MainWaveform, int16_t(i + 1)); });
}

void installCaptionClicks(RuleContext& ctx) {
    for (const HelpPassage& passage : kLabelPassages) {
        const int position = passage.position + HelpClickOffset;
        QObject::connect(ctx.panel.Label1[size_t(passage.index)], &CaptionLabel::clicked, &ctx.window,
                         [&ctx, position] { ctx.dialogs().openHelp(position); });
    }
    for (const HelpPassage& passage : kPanelPassages) {
        const int position = passage.position + HelpClickOffset;
        QObject::connect(ctx.panel.SSPanel1[size_t(passage.index)], &CaptionPanel::clicked, &ctx.window,
                         [&ctx, position] { ctx.dialogs().openHelp(position); });
    }
}

// Stores a box's text into its record field as it is left.
void storeText(RuleContext& ctx, NumericBox* box) {
    const BoxSpec& spec = box->spec();
    const bool am = ctx.panel.optModAM->isChecked();
    const bool toFm = spec.fmField && !am;
    const RecordField field = toFm ? *spec.fmField : *spec.field;
    if (spec.amWholeNumber && !toFm) {
        // A whole number, halves to the even neighbour; a text that is none keeps the stored value.
        if (const auto value = numtext::strictIntegerRounded(box->text()))
            ctx.record.setInteger(field, *value);
        return;
    }
    ctx.record.setText(field, box->text().left(spec.width));
}

void installBoxConventions(RuleContext& ctx) {
    for (NumericBox* box : ctx.panel.boxes()) {
        const BoxSpec& spec = box->spec();
        if (spec.field) box->focusLostStore = [&ctx, box] { storeText(ctx, box); };
        if (spec.focusHint) box->focusGainedHint = [&ctx] { ctx.setMessage(kEnterKeyHint); };
        if (spec.fmStartStep) box->isAmChosen = [&ctx] { return ctx.panel.optModAM->isChecked(); };
    }
}

} // namespace

void installPanelConventions(RuleContext& ctx) {
    installModeRule(ctx);
    installWaveformChoice(ctx);
    installCaptionClicks(ctx);
    installBoxConventions(ctx);
}
