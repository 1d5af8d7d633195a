#include "panel/SourcePairs.h"

#include "panel/Panel.h"

#include <QRadioButton>

namespace {

struct SourcePair {
    QRadioButton* internal;
    QRadioButton* external;
};

SourcePair sourceOf(Panel& panel, SourceTab tab) {
    switch (tab) {
    case SourceTab::Trigger:
        return {panel.optTriggerInt, panel.optTriggerExt};
    case SourceTab::Burst:
        return {panel.optBurstInt, panel.optBurstExt};
    case SourceTab::Gate:
        return {panel.optGateInt, panel.optGateExt};
    }
    return {};
}

void follow(QRadioButton* option, bool chosen) {
    if (chosen && !option->isChecked()) option->setChecked(true);
}

} // namespace

void followSourceOf(Panel& panel, SourceTab chosen) {
    SourcePair others[2];
    int count = 0;
    for (SourceTab tab : {SourceTab::Gate, SourceTab::Burst, SourceTab::Trigger})
        if (tab != chosen) others[count++] = sourceOf(panel, tab);
    const SourcePair own = sourceOf(panel, chosen);
    for (const SourcePair& pair : others)
        follow(pair.internal, own.internal->isChecked());
    for (const SourcePair& pair : others)
        follow(pair.external, own.external->isChecked());
}
