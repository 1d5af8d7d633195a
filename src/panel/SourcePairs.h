#pragma once
// The trigger, burst and gate tabs share one source: choosing Int or Ext in one tab chooses the
// same in the other two. Choosing an option that is already chosen runs nothing, so the three
// pairs never set each other off in a loop.
#include <initializer_list>

class QRadioButton;
struct Panel;

struct SourcePair {
    QRadioButton* internal;
    QRadioButton* external;
};

// Makes the other pairs, in their order, follow the chosen pair: first the Int options, then Ext.
void followSource(const SourcePair& chosen, std::initializer_list<SourcePair> others);

enum class SourceTab { Trigger, Burst, Gate };
// The other two tabs follow the chosen tab's source, the gate tab first, then burst, then trigger.
void followSourceOf(Panel& panel, SourceTab chosen);
