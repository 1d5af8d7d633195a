#include "panel/SourcePairs.h"

#include "panel/Panel.h"

#include <QRadioButton>

namespace {
void follow(QRadioButton* option, bool chosen) {
    if (chosen && !option->isChecked()) option->setChecked(true);
}
} // namespace

void followSource(const SourcePair& chosen, std::initializer_list<SourcePair> others) {
    for (const SourcePair& pair : others)
        follow(pair.internal, chosen.internal->isChecked());
    for (const SourcePair& pair : others)
        follow(pair.external, chosen.external->isChecked());
}

namespace {
SourcePair sourceOf(Panel& panel, SourceTab tab) {
    switch (tab) {
    case SourceTab::Trigger: return {panel.optTriggerInt, panel.optTriggerExt};
    case SourceTab::Burst: return {panel.optBurstInt, panel.optBurstExt};
    case SourceTab::Gate: return {panel.optGateInt, panel.optGateExt};
    }
    return {};
}
} // namespace

void followSourceOf(Panel& panel, SourceTab chosen) {
    SourcePair others[2];
    int count = 0;
    for (SourceTab tab : {SourceTab::Gate, SourceTab::Burst, SourceTab::Trigger})
        if (tab != chosen) others[count++] = sourceOf(panel, tab);
    followSource(sourceOf(panel, chosen), {others[0], others[1]});
}
