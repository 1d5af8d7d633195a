// Keyboard reach, assistive technology and scale: Tab walks the window group by group, every control
// is heard by its caption and unit, and no text is cut at the screen scale.
#include "panel/NumericBox.h"
#include "panel/UpDownButtons.h"
#include "support/WindowFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

using PanelKeyboard = WindowFixture;

QString spoken(QObject* control) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    return face ? face->text(QAccessible::Name) : "(none)";
}

// One stop per option group (arrows move inside it), each box, the scroll bars where they stand, the
// tab bar and the page in front; the scroll bar's Right steps it up.
TEST_F(PanelKeyboard, TabReachesEveryGroupBoxAndScrollBar) {
    frmDXS& w = window();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const auto focused = [] { return QApplication::focusWidget()->objectName(); };
    const QStringList expected = {
        "optMainFunc_0",       "txtMainFreq",      "txtMainAmp",         "txtMainDCOffset",
        "txtMainDuty",         "optSweep_0",       "optSweepModel_0",    "HScrollSweep",
        "txtSweepStartFreq",   "txtSweepStopFreq", "txtSweepCenterFreq", "txtSweepSpan",
        "txtSweepRate",        "txtSweepSymmetry", "optModulation_0",    "optModAM",
        "optModSource_0",      "txtModRate",       "txtModSpanDepth",    "txtModSymmetry",
        "qt_tabwidget_tabbar", "optTrigger_0",     "optTriggerType_0",   "optTriggerInt",
        "txtTrgRate",          "txtTrgSymmetry",   "txtTrgPhase"};
    w.panel.optMainFunc[0]->setFocus();
    QStringList walked;
    do {
        walked << focused();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    } while (focused() != expected[0] && walked.size() < 40);
    EXPECT_EQ(walked, expected);
    w.panel.HScrollSweep->setFocus();
    const QString segment = w.panel.lblSweepSegNo->text();
    QTest::keyClick(w.panel.HScrollSweep, Qt::Key_Right);
    EXPECT_EQ(w.panel.lblSweepSegNo->text().toInt(), segment.toInt() + 1);
}

TEST_F(PanelKeyboard, ControlsAreHeardByCaptionAndUnit) {
    frmDXS& w = window();
    Panel& p = w.panel;
    const std::pair<QObject*, const char*> names[] = {{p.txtMainFreq, "Frequency, Hz"},
                                                      {p.txtBurstCount, "Burst Count"},
                                                      {p.cboBuadRate, "Buad Rate"},
                                                      {p.HScroll1, "Count Fine Tuning"}};
    for (const auto& [control, name] : names)
        EXPECT_EQ(spoken(control), name) << control->objectName().toStdString();
    // Every box has a caption its spin buttons share; every option speaks its group first.
    for (NumericBox* box : p.boxes())
        EXPECT_EQ(spoken(box->upDown()->downButton()), "Decrease " + spoken(box).section(',', 0, 0));
    for (QRadioButton* option : w.findChildren<QRadioButton*>())
        if (option != p.Option1 && option != p.Option2) {
            EXPECT_TRUE(spoken(option).endsWith(", " + option->text())) << spoken(option).toStdString();
        }
    // The message line is a status line whose text a screen reader reads.
    QAccessibleInterface* line = QAccessible::queryAccessibleInterface(w.txtMessage);
    w.setMessage("Main Setting is Done;");
    EXPECT_EQ(line->role(), QAccessible::StatusBar);
    EXPECT_EQ(line->text(QAccessible::Value), "Main Setting is Done;");
}

// Runs in the ordinary test process and, from its own ctest entry, with QT_SCALE_FACTOR=2.
TEST_F(PanelKeyboard, EveryCaptionUnitAndOptionFitsAtTheScreenScale) {
    frmDXS& w = window();
    const qreal scale =
        qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qgetenv("QT_SCALE_FACTOR").toDouble() : 1.0;
    QTabBar* tabs = w.panel.SSTabTrigger->tabBar();
    for (int page = 0; page < 4; ++page) {
        w.panel.SSTabTrigger->setCurrentIndex(page);
        ASSERT_EQ(w.grab().devicePixelRatio(), scale);
        for (QLabel* label : w.findChildren<QLabel*>()) {
            if (!label->isVisible() || label->text().isEmpty()) continue;
            const QRect room = label->contentsRect().adjusted(label->margin(), 0, -label->margin(), 0);
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), room.width())
                << label->text().toStdString();
            EXPECT_LE(label->fontMetrics().height(), room.height()) << label->text().toStdString();
        }
        for (QAbstractButton* button : w.findChildren<QAbstractButton*>())
            if (button->isVisible() && !button->text().isEmpty()) {
                EXPECT_LE(button->sizeHint().width(), button->width()) << button->text().toStdString();
            }
        for (int tab = 0; tab < tabs->count(); ++tab)
            EXPECT_LE(tabs->fontMetrics().horizontalAdvance(tabs->tabText(tab)), tabs->tabRect(tab).width());
    }
}

} // namespace
