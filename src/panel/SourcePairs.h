#pragma once
// The trigger, burst and gate tabs share one source: choosing Int or Ext in one tab chooses the
// same in the other two. Choosing an option that is already chosen runs nothing, so the three
// pairs never set each other off in a loop.
#include <initializer_list>

class QRadioButton;

struct SourcePair {
    QRadioButton* internal;
    QRadioButton* external;
};

// Makes the other pairs, in their order, follow the chosen pair: first the Int options, then Ext.
void followSource(const SourcePair& chosen, std::initializer_list<SourcePair> others);
