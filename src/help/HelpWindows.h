#pragma once
// The help window and the About window.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;
class frmAbout;
class frmHelp;
struct HelpContext;

// Opens the help document modally, from its start (0) or at a character position.
void openHelpWindow(QWidget* parent, int startPos);
// Shows the About window without blocking the main window.
void showAboutWindow(HelpContext& ctx);

// The help window as openHelpWindow builds it, loaded and given its start position, not yet shown.
std::unique_ptr<frmHelp> createHelpWindow(QWidget* parent, int startPos);
// Called with every help window openHelpWindow shows, once its activation has run (inside its modal
// loop); tests inspect the window there and close it. An empty function removes the observer.
void setHelpWindowObserver(std::function<void(frmHelp&)> observer);

// The help window openHelpWindow showed last; it stays (hidden) until the next opening.
frmHelp* lastHelpWindow();

// The About window once shown (hidden again after OK), else null.
frmAbout* aboutWindow();

