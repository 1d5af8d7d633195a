#include "panel/SourcePairs.h"

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
