#pragma once
// What the panel's conventions and each group's rules may touch: the controls, the settings record,
// the dialogs, the message line and the sweep check's state. The window builds one, keeps it for its
// whole life and hands it to every install function; the rules capture it by reference.
#include "panel/Panel.h"
#include "panel/UserDialogs.h"
#include "panel/rules/HelpPositions.h"
#include "record/SettingsRecord.h"

#include <QString>
#include <QWidget>
#include <functional>

struct RuleContext {
    // The window the panel sits in: the rules' connections live with it, and the copies between
    // groups find their boxes under it by name.
    QWidget& window;
    Panel& panel;
    SettingsRecord& record;
    // The dialogs in use now (tests replace them after the window is built).
    std::function<UserDialogs&()> dialogs;
    // The message line: every writer replaces its whole text.
    std::function<void(const QString&)> setMessage;
    int& sweepCheckState; // set by the sweep rules, reset at start-up
};

// A Yes/No question of a rule; Yes opens the help where a click on the caption does.
void askWithHelp(RuleContext& ctx, const QString& question, LabelCaption caption);
