#pragma once
// The help window, the About window and printing the main window.
class QWidget;
class frmDXS;

// Opens the help document modally, from its start (0) or at a character position.
void openHelpWindow(QWidget* parent, int startPos);
// Shows the About window without blocking the main window.
void showAboutWindow(frmDXS& window);
// Prints an image of the main window on the default printer.
void printMainWindow(frmDXS& window);
