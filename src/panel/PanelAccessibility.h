#pragma once
// Keyboard reach and accessible names of the panel: every setting can be reached with Tab and
// changed from the keyboard, and a screen reader hears each control by its caption and unit.
#include "panel/Panel.h"

class QLineEdit;
class QWidget;

// Runs once on the built panel: names every box, option, spin button and scroll bar from the
// captions and units beside it, makes the two scroll bars tab stops and presents the message line
// as a status line.
void applyPanelAccessibility(QWidget& window, Panel& p, QLineEdit* txtMessage);

// Where help opens for a control, as a click on its caption label or caption panel opens it;
// -1 for a control without a caption of its own.
int helpPositionFor(const Panel& p, const QWidget* control);
