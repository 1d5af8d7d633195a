// Placeholder: the panel's controls are being built.
#include "app/frmDXS.h"
#include "panel/PanelWiring.h"

void buildPanel(frmDXS&) {}
void installPanelConventions(frmDXS&) {}
std::array<NumericBox*, 20> Panel::boxes() const { return {}; }
