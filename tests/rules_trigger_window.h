#pragma once
// Driving the trigger, burst and gate tabs of a real window: typing into a box, confirming with
// Enter, and letting queued keystrokes run.
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

class TriggerTabsWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        frmDXS& w = window();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        settle();
        dialogs().messages.clear();
    }

    Panel& panel() { return window().panel; }

    // Queued keystrokes (spin buttons, arrow keys) are handled after the reaction that queued them.
    static void settle() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    // Replaces the box's text by typing, key by key, as a user does.
    static void type(NumericBox* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, text);
        settle();
    }
    static void pressEnter(NumericBox* box) {
        QTest::keyClick(box, Qt::Key_Return);
        settle();
    }
    static void enter(NumericBox* box, const QString& text) {
        type(box, text);
        pressEnter(box);
    }
    // Pastes over the whole text.
    static void paste(NumericBox* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        box->insert(text);
        settle();
    }
    static void clickUp(NumericBox* box) {
        box->upDown()->upButton()->click();
        settle();
    }
    static void clickDown(NumericBox* box) {
        box->upDown()->downButton()->click();
        settle();
    }
    void setSync(bool on) { panel().chkSyncRateSym->setChecked(on); }
    static bool isWhite(NumericBox* box) { return box->BackColor() == ColorWhite; }
    static bool hasFocus(QWidget* widget) { return QApplication::focusWidget() == widget; }
};
