// Placeholder: the editing conventions are being built.
#include "panel/NumericBox.h"

NumericBox::NumericBox(const BoxSpec& spec, QWidget* parent) : QLineEdit(parent), m_spec(&spec) {}
void NumericBox::setBackColor(int color) { m_backColor = color; }
void NumericBox::setUpDown(UpDownButtons* upDown) { m_upDown = upDown; }
void NumericBox::keyPressEvent(QKeyEvent* event) { QLineEdit::keyPressEvent(event); }
void NumericBox::focusInEvent(QFocusEvent* event) { QLineEdit::focusInEvent(event); }
void NumericBox::focusOutEvent(QFocusEvent* event) { QLineEdit::focusOutEvent(event); }
void queueKeystroke(int) {}
