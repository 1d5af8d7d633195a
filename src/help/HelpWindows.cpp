// Placeholder: the help and About windows are being built.
#include "help/HelpWindows.h"

void openHelpWindow(QWidget*, int) {}
void showAboutWindow(frmDXS&) {}
void printMainWindow(frmDXS&) {}
