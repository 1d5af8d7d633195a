#pragma once
// Applies the rate and symmetry synchronisation after a box accepted its value: while
// chkSyncRateSym is ticked, the box's row of copies runs in order. Each receiver gets the text
// (its text-changed handling runs, its Enter rule does not) and is then set white.
struct RuleContext;
class NumericBox;

void copySynchronised(RuleContext& ctx, NumericBox* source);
