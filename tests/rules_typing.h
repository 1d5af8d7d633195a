#pragma once
// Typing into the panel's boxes as a user does: the box is focused, its text replaced key by key,
// and Enter or an arrow key pressed; the keystrokes the box queues are handled before returning.
#include "panel/NumericBox.h"

#include <QCoreApplication>
#include <QTest>

inline void typeInto(NumericBox* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        QTest::keyClicks(box, text);
}

inline void press(NumericBox* box, Qt::Key key) {
    box->setFocus();
    QTest::keyClick(box, key);
    QCoreApplication::processEvents();
}

inline void typeAndEnter(NumericBox* box, const QString& text) {
    typeInto(box, text);
    press(box, Qt::Key_Return);
}

// A box's text set by the program, accepted, as a loaded setting leaves it.
inline void preset(NumericBox* box, const QString& text, const QString& step = QString()) {
    box->setText(text);
    if (!step.isNull()) box->setTag(step);
    box->markAccepted();
}
