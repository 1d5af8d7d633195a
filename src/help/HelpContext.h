#pragma once
// What the About window may touch: the main window as a widget (its title, the About window's
// parent), the dialogs and the message line.
#include "panel/UserDialogs.h"

#include <QString>
#include <QWidget>
#include <functional>

struct HelpContext {
    QWidget& window;
    // The dialogs in use now (tests replace them after the window is built).
    std::function<UserDialogs&()> dialogs;
    // The message line: every writer replaces its whole text.
    std::function<void(const QString&)> setMessage;
};
