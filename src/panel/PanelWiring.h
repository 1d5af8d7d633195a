#pragma once
// How the panel's parts are wired into the main window. Each group's rules keep their own state in
// an object parented to the window.
class frmDXS;

// Builds every control of the panel and of the connection frame into the window (panel.* members).
void buildPanel(frmDXS& window);
// Editing conventions of the twenty boxes, the function-mode rule, the waveform choice and the
// caption clicks that ask for help.
void installPanelConventions(frmDXS& window);

// Enter rules of each group.
void installMainSettingRules(frmDXS& window);
void installSweepRules(frmDXS& window); // builds the sweep segment table
void installModulationRules(frmDXS& window);
void installTriggerRules(frmDXS& window);
void installBurstRules(frmDXS& window);
void installGateRules(frmDXS& window);
