#pragma once
// A shown, active window whose boxes are typed into as a user does; the keystrokes a box queues
// (spin buttons, arrow keys) are handled before a helper returns.
#include "panel/NumericBox.h"
#include "panel/UpDownButtons.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

class RulesWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        QApplication::setActiveWindow(&window());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        settle();
        dialogs().messages.clear();
    }
    Panel& panel() { return window().panel; }
    void expectMessages(const QString& message) {
        EXPECT_EQ(dialogs().texts(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    static void settle() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    static void type(NumericBox* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        text.isEmpty() ? QTest::keyClick(box, Qt::Key_Backspace) : QTest::keyClicks(box, text);
        settle();
    }
    static void confirm(NumericBox* box) {
        QTest::keyClick(box, Qt::Key_Return);
        settle();
    }
    static void enter(NumericBox* box, const QString& text) {
        type(box, text);
        confirm(box);
    }
    static void paste(NumericBox* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        box->insert(text);
        settle();
    }
    // A text as a loaded setting leaves it: set by the program, accepted.
    static void preset(NumericBox* box, const QString& text, const QString& step = QString()) {
        box->setText(text);
        if (!step.isNull()) box->setTag(step);
        box->markAccepted();
    }
    // A box in one string: "text/step", with " orange" while it waits for Enter; look() without the step.
    static QString state(const NumericBox* box) { return box->text() + "/" + box->Tag() + edited(box); }
    static QString look(const NumericBox* box) { return box->text() + edited(box); }
    static QString edited(const NumericBox* box) { return box->BackColor() == ColorWhite ? "" : " orange"; }
    static QString looks(std::initializer_list<const NumericBox*> boxes) {
        QStringList list;
        for (const NumericBox* box : boxes)
            list << look(box);
        return list.join(' ');
    }
    static QString focused() {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }
};
