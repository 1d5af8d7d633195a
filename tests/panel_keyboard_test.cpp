// Keyboard reach and assistive technology: Tab walks the window group by group, every control is
// heard by its caption and unit, and no text is cut at the screen scale.
#include "rules_window.h"

#include <QAccessible>
#include <QComboBox>
#include <QTabBar>
#include <QTabWidget>

namespace {

struct PanelKeyboard : RulesWindow {
    static void key(int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }
    // Tab until the named control has the focus (at most one round of the window).
    static bool tabTo(const QString& name) {
        for (int i = 0; i < 40 && focused() != name; ++i)
            key(Qt::Key_Tab);
        return focused() == name;
    }
};

// One stop per option group (arrows move inside it), then each box, the scroll bars where they
// stand; the tab bar, then the stops of the page in front, which the tab bar's arrows choose.
TEST_F(PanelKeyboard, TabWalksEveryPage) {
    // clang-format off
    const QStringList above = {
        "optMainFunc_0", "txtMainFreq", "txtMainAmp", "txtMainDCOffset", "txtMainDuty", "optSweep_0",
        "optSweepModel_0", "HScrollSweep", "txtSweepStartFreq", "txtSweepStopFreq", "txtSweepCenterFreq",
        "txtSweepSpan", "txtSweepRate", "txtSweepSymmetry", "optModulation_0", "optModAM", "optModSource_0",
        "txtModRate", "txtModSpanDepth", "txtModSymmetry", "qt_tabwidget_tabbar"};
    const QStringList pages[] = {
        {"optTrigger_0", "optTriggerType_0", "optTriggerInt", "txtTrgRate", "txtTrgSymmetry", "txtTrgPhase"},
        {"optBurst_0", "optBurstInt", "txtBurstPeriod", "txtBurstCount", "HScroll1"},
        {"optGate_0", "optGateInt", "txtGatePeriod", "txtOpenGatePeriod"},
        {"optExternal_0", "optGateTimeExt_0"}};
    // clang-format on
    panel().optMainFunc[0]->setFocus();
    for (const QStringList& stops : pages) {
        QStringList walked;
        do {
            walked << focused();
            key(Qt::Key_Tab);
        } while (focused() != above[0] && walked.size() < 40);
        EXPECT_EQ(walked, above + stops);
        ASSERT_TRUE(tabTo("qt_tabwidget_tabbar"));
        key(Qt::Key_Right);
        ASSERT_TRUE(tabTo(above[0]));
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
        {p.txtMainFreq, "Frequency, Hz"}, {p.txtModSpanDepth, "SPAN(Depth), %"}, {p.cboBuadRate, "Buad Rate"},
        {p.txtBurstCount, "Burst Count"}, {p.txtOpenGatePeriod, "Open Gate Period, Hz"},
        {p.optMainFunc[1], "Function, Triangle"}, {p.optSweep[0], "Sweep Function, On"},
        {p.optGateTimeExt[3], "Gate Time, 10S"}, {p.HScroll1, "Count Fine Tuning"},
        {p.txtSweepRate->upDown()->downButton(), "Decrease Sweep Rate"}, {w.txtMessage, "Message line"},
        {p.UpDown1->upButton(), "Increase Cycle Time"}};
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
