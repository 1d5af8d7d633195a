// Placeholder: this group's Enter rules are being built.
#include "panel/PanelWiring.h"

void installTriggerRules(frmDXS&) {}
