#pragma once
// The trigger, burst and gate tabs share one source: choosing Int or Ext in one tab chooses the
// same in the other two. Choosing an option that is already chosen runs nothing, so the three
// pairs never set each other off in a loop.
struct Panel;

enum class SourceTab { Trigger, Burst, Gate };
// The other two tabs follow the chosen tab's source, the gate tab first, then burst, then trigger:
// first their Int options take the chosen Int's state, then their Ext options the chosen Ext's.
void followSourceOf(Panel& panel, SourceTab chosen);
