#pragma once
// How the panel's parts are wired into the main window. Each group's rules keep their own state in
// an object parented to the window.
class QLineEdit;
class QMainWindow;
struct Panel;
struct RuleContext;

// Builds every control of the panel and of the connection frame into the window (panel.* members);
// the message line `txtMessage`, made by the window, is placed under the panel.
void buildPanel(QMainWindow& window, Panel& panel, QLineEdit* txtMessage);
// Editing conventions of the twenty boxes, the function-mode rule, the waveform choice and the
// caption clicks that ask for help.
void installPanelConventions(RuleContext& ctx);

// Enter rules of each group.
void installMainSettingGroup(RuleContext& ctx);
void installSweepGroup(RuleContext& ctx); // builds the sweep segment table
void installModulationGroup(RuleContext& ctx);
void installTriggerGroup(RuleContext& ctx);
void installBurstGroup(RuleContext& ctx);
void installGateGroup(RuleContext& ctx);
