// Keyboard reach and assistive technology: Tab walks the window group by group, keys change the
// settings, every control is heard by its caption and unit, and no text is cut at the screen scale.
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

struct PanelKeyboard : WindowFixture {
    static QString focused() {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "";
    }
    static void press(int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }
    // Tab until the named control has the focus (at most one round of the window).
    static bool tabTo(const QString& name) {
        for (int i = 0; i < 40 && focused() != name; ++i)
            press(Qt::Key_Tab);
        return focused() == name;
    }
};

// One stop per option group (arrows move inside it), then each box, the scroll bars where they
// stand; the tab bar, then the stops of the page in front.
// clang-format off
const QStringList kAbove = {
    "optMainFunc_0", "txtMainFreq", "txtMainAmp", "txtMainDCOffset", "txtMainDuty", "optSweep_0", "optSweepModel_0",
    "HScrollSweep", "txtSweepStartFreq", "txtSweepStopFreq", "txtSweepCenterFreq", "txtSweepSpan", "txtSweepRate",
    "txtSweepSymmetry", "optModulation_0", "optModAM", "optModSource_0", "txtModRate", "txtModSpanDepth",
    "txtModSymmetry", "qt_tabwidget_tabbar"};
// clang-format on

TEST_F(PanelKeyboard, TabWalksEveryPageAndKeysChangeWhatItReaches) {
    frmDXS& w = window();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    Panel& p = w.panel;
    struct Change {
        const char* stop;
        const char* typed;
        int key;
        std::function<bool()> done;
    };
    const std::pair<QStringList, std::vector<Change>> pages[] = {
        {{"optTrigger_0", "optTriggerType_0", "optTriggerInt", "txtTrgRate", "txtTrgSymmetry", "txtTrgPhase"},
         {{"optSweep_0", "", Qt::Key_Space, [&] { return p.optSweep[0]->isChecked(); }},
          {"HScrollSweep", "", Qt::Key_Right, [&] { return p.lblSweepSegNo->text() == "6"; }}}},
        {{"optBurst_0", "optBurstInt", "txtBurstPeriod", "txtBurstCount", "HScroll1"},
         {{"txtBurstPeriod", "100", Qt::Key_Tab, [&] { return p.txtBurstPeriod->text() == "100"; }},
          {"HScroll1", "", Qt::Key_Right, [&] { return p.lblSymmetry->text() == "11"; }}}},
        {{"optGate_0", "optGateInt", "txtGatePeriod", "txtOpenGatePeriod"}, {}},
        {{"optExternal_0", "optGateTimeExt_0"},
         {{"optGateTimeExt_0", "", Qt::Key_Right, [&] { return p.optGateTimeExt[1]->isChecked(); }}}}};
    p.optMainFunc[0]->setFocus();
    for (const auto& [stops, changes] : pages) {
        SCOPED_TRACE(stops[0].toStdString());
        QStringList walked;
        do {
            walked << focused();
            press(Qt::Key_Tab);
        } while (focused() != kAbove[0] && walked.size() < 40);
        EXPECT_EQ(walked, kAbove + stops);
        for (const Change& change : changes) {
            ASSERT_TRUE(tabTo(change.stop));
            QTest::keyClicks(QApplication::focusWidget(), change.typed);
            press(change.key);
            EXPECT_TRUE(change.done()) << change.stop;
        }
        // The next page comes to the front from the keyboard too.
        ASSERT_TRUE(tabTo("qt_tabwidget_tabbar"));
        press(Qt::Key_Right);
        ASSERT_TRUE(tabTo(kAbove[0]));
    }
}

QString spoken(QObject* control) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    return face ? face->text(QAccessible::Name) : "(none)";
}

TEST_F(PanelKeyboard, ControlsAreHeardByCaptionAndUnit) {
    frmDXS& w = window();
    Panel& p = w.panel;
    // clang-format off
    const std::pair<QObject*, const char*> names[] = {
        {p.txtMainFreq, "Frequency, Hz"}, {p.txtMainDCOffset, "DC OFFSET, V"}, {p.txtSweepCenterFreq, "Center Freq, Hz"},
        {p.txtModSpanDepth, "SPAN(Depth), %"}, {p.txtTrgPhase, "Trigger Phase, DEG"}, {p.txtBurstCount, "Burst Count"},
        {p.txtOpenGatePeriod, "Open Gate Period, Hz"}, {p.optMainFunc[1], "Function, Triangle"},
        {p.optSweep[0], "Sweep Function, On"}, {p.optModFM, "Model, FM"}, {p.optModSource[3], "Source, Ext"},
        {p.optTriggerType[1], "Trigger Type, Multi"}, {p.optGateTimeExt[3], "Gate Time, 10S"},
        {p.optExternal[1], "External Counter Function, Off"}, {p.txtMainAmp->upDown()->upButton(), "Increase Amplitude"},
        {p.txtSweepRate->upDown()->downButton(), "Decrease Sweep Rate"}, {p.HScrollSweep, "Segment"},
        {p.HScroll1, "Count Fine Tuning"}, {w.txtMessage, "Message line"}, {p.cboComPort, "COM Port"},
        {p.cboBuadRate, "Buad Rate"}, {p.txtCycleTime, "Cycle Time, ms"}, {p.UpDown1->upButton(), "Increase Cycle Time"}};
    // clang-format on
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
    EXPECT_EQ(line->role(), QAccessible::StatusBar);
    w.setMessage("Main Setting is Done;");
    EXPECT_EQ(line->text(QAccessible::Value), "Main Setting is Done;");
    ASSERT_NE(line->textInterface(), nullptr);
    EXPECT_EQ(line->textInterface()->text(0, 4), "Main");
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
