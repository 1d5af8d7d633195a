#pragma once
// The help window, the About window and printing the main window.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPrinter;
class QWidget;
class frmAbout;
class frmHelp;
struct HelpContext;

// Opens the help document modally, from its start (0) or at a character position.
void openHelpWindow(QWidget* parent, int startPos);
// Shows the About window without blocking the main window.
void showAboutWindow(HelpContext& ctx);
// Prints an image of the main window on the default printer.
void printMainWindow(HelpContext& ctx);

// The help window as openHelpWindow builds it, loaded and given its start position, not yet shown.
std::unique_ptr<frmHelp> createHelpWindow(QWidget* parent, int startPos);
// Called with every help window openHelpWindow shows, once its activation has run (inside its modal
// loop); tests inspect the window there and close it. An empty function removes the observer.
void setHelpWindowObserver(std::function<void(frmHelp&)> observer);

// The help window openHelpWindow showed last; it stays (hidden) until the next opening.
frmHelp* lastHelpWindow();

// The About window once shown (hidden again after OK), else null.
frmAbout* aboutWindow();

// Prints the main window's image, scaled to fit the page keeping its shape, on a printer already set
// up (printMainWindow's own path, given the default printer); a failure shows in the message line.
void printMainWindowOn(HelpContext& ctx, QPrinter& printer);
