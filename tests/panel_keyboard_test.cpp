// Keyboard reach, assistive technology and scale: Tab walks the window group by group, every control
// is heard by its caption and unit, and no text is cut at the screen scale.
#include "help/HelpWindows.h"
#include "help/frmAbout.h"
#include "panel/UpDownButtons.h"
#include "support/WindowFixture.h"

namespace {

using PanelKeyboard = WindowFixture;

QString spoken(QObject* control, QAccessible::Text text = QAccessible::Name) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    return face ? face->text(text) : "(none)";
}

QString focusedName() {
    QWidget* focused = QApplication::focusWidget();
    return focused ? focused->objectName() : QString("(none)");
}

// One stop per option group (arrows move inside it), each box, the scroll bars where they stand, the
// tab bar and the page in front; the scroll bar's Right steps it up.
TEST_F(PanelKeyboard, TabReachesEveryGroupBoxAndScrollBar) {
    frmDXS& w = activeWindow();
    const QStringList expected =
        QString(
            "optMainFunc_0 txtMainFreq txtMainAmp txtMainDCOffset txtMainDuty optSweep_0 optSweepModel_0 "
            "HScrollSweep txtSweepStartFreq txtSweepStopFreq txtSweepCenterFreq txtSweepSpan txtSweepRate "
            "txtSweepSymmetry optModulation_0 optModAM optModSource_0 txtModRate txtModSpanDepth "
            "txtModSymmetry qt_tabwidget_tabbar optTrigger_0 optTriggerType_0 optTriggerInt txtTrgRate "
            "txtTrgSymmetry txtTrgPhase")
            .split(' ');
    w.panel.optMainFunc[0]->setFocus();
    QStringList walked;
    do {
        walked << focusedName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    } while (focusedName() != expected[0] && walked.size() < 40);
    EXPECT_EQ(walked, expected);
    w.panel.HScrollSweep->setFocus();
    const QString segment = w.panel.lblSweepSegNo->text();
    QTest::keyClick(w.panel.HScrollSweep, Qt::Key_Right);
    EXPECT_EQ(w.panel.lblSweepSegNo->text().toInt(), segment.toInt() + 1);
}

// Heard by caption and unit whatever a list holds; an unconfirmed box as such; options by page and group.
TEST_F(PanelKeyboard, ControlsAreHeardByCaptionAndUnit) {
    frmDXS& w = window();
    Panel& p = w.panel;
    p.cboComPort->setCurrentIndex(1);
    p.cboBuadRate->setCurrentIndex(2);
    // clang-format off
    const std::tuple<QObject*, const char*, const char*> names[] = {{p.txtMainFreq, "Frequency, Hz", nullptr},
        {p.txtBurstCount, "Burst Count", nullptr}, {p.cboComPort, "COM Port", "2"}, {p.cboBuadRate, "Buad Rate", "9600"},
        {p.HScroll1, "Count Fine Tuning", nullptr}};
    // clang-format on
    for (const auto& [control, name, value] : names) {
        EXPECT_EQ(spoken(control), name) << control->objectName();
        EXPECT_TRUE(!value || spoken(control, QAccessible::Value) == value);
    }
    p.txtMainAmp->setFocus();
    QTest::keyClicks(p.txtMainAmp, "1");
    EXPECT_EQ(spoken(p.txtMainAmp, QAccessible::Description), "edited, press Enter to confirm");
    QTest::keyClick(p.txtMainAmp, Qt::Key_Return);
    EXPECT_EQ(spoken(p.txtMainAmp, QAccessible::Description), "");
    // Every box has a caption its spin buttons share; every option speaks its group first.
    for (NumericBox* box : p.boxes())
        EXPECT_EQ(spoken(box->upDown()->downButton()), "Decrease " + spoken(box).section(',', 0, 0));
    QStringList options;
    for (QRadioButton* option : w.findChildren<QRadioButton*>()) {
        options << spoken(option);
        EXPECT_TRUE(option == p.Option1 || option == p.Option2 ||
                    options.last().endsWith(", " + option->text()))
            << options.last();
    }
    for (const char* expected :
         {"Burst Setting, Source, Ext", "Trigger Setting, Source, Ext", "Gate Setting, Source, Int",
          "Source, Ext", "Trigger Setting, Trigger Type, Multi"})
        EXPECT_TRUE(options.contains(expected)) << expected;
    options.removeDuplicates();
    EXPECT_EQ(options.size(), w.findChildren<QRadioButton*>().size());
    w.setMessage("Main Setting is Done;"); // a status line
    EXPECT_EQ(QAccessible::queryAccessibleInterface(w.txtMessage)->role(), QAccessible::StatusBar);
    EXPECT_EQ(spoken(w.txtMessage, QAccessible::Value), "Main Setting is Done;");
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
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), room.width()) << label->text();
            EXPECT_LE(label->fontMetrics().height(), room.height()) << label->text();
        }
        for (QAbstractButton* button : w.findChildren<QAbstractButton*>())
            if (button->isVisible() && !button->text().isEmpty()) {
                EXPECT_LE(button->sizeHint().width(), button->width()) << button->text();
            }
        for (int tab = 0; tab < tabs->count(); ++tab)
            EXPECT_LE(tabs->fontMetrics().horizontalAdvance(tabs->tabText(tab)), tabs->tabRect(tab).width());
    }
}

// The open connection frame holds the keyboard: it opens on COM Port, Tab and Shift+Tab go round it,
// nothing it covers takes a key; Escape closes it unapplied, the focus back where it came from.
TEST_F(PanelKeyboard, SettingFrameHoldsTheKeyboard) {
    frmDXS& w = activeWindow();
    Panel& p = w.panel;
    const auto texts = [&p] {
        QStringList list;
        for (NumericBox* box : p.boxes())
            list << box->text() + (box->isEdited() ? " edited" : "");
        return list;
    };
    const QStringList shown = texts();
    p.txtMainFreq->setFocus();
    w.setMessage("before");
    QTest::keyClick(p.txtMainFreq, Qt::Key_S, Qt::AltModifier);
    ASSERT_TRUE(p.fraComm->isVisible());
    EXPECT_EQ(focusedName(), "cboComPort");
    const auto walk = [](Qt::Key key) { // typing on the way: nothing the frame covers takes a key
        QStringList walked;
        for (int i = 0; i < 6; ++i) {
            walked << focusedName();
            if (!qobject_cast<QPushButton*>(QApplication::focusWidget()))
                QTest::keyClicks(QApplication::focusWidget(), "9");
            QTest::keyClick(QApplication::focusWidget(), key);
        }
        return walked << focusedName();
    };
    const QStringList ring =
        QString("cboComPort cboBuadRate OKButton cmdTestConnect cmdHelp Option1 cboComPort").split(' ');
    EXPECT_EQ(walk(Qt::Key_Tab), ring);
    EXPECT_EQ(walk(Qt::Key_Backtab), QStringList(ring.rbegin(), ring.rend()));
    EXPECT_EQ(texts(), shown);
    p.cboComPort->setFocus();
    p.cboComPort->setCurrentIndex(1);
    QTest::keyClick(p.cboComPort, Qt::Key_Q, Qt::AltModifier); // Alt with a letter types nothing here either
    EXPECT_EQ(p.cboComPort->currentText(), "2");
    QTest::keyClick(p.cboComPort, Qt::Key_Escape);
    EXPECT_FALSE(p.fraComm->isVisible());
    EXPECT_EQ(focusedName(), "txtMainFreq");
    EXPECT_TRUE(w.messageLineText() == "before" && w.record.integer(RecordField::ComPort) == 0);
    p.txtSweepStartFreq->setFocus();
    QTest::keyClick(p.txtSweepStartFreq, Qt::Key_Tab);
    EXPECT_EQ(focusedName(), "txtSweepStopFreq");
}

// The menus open with Alt and their letter, the commands have their standard keys, F1 opens help at
// the focused control's passage; none of these types into the focused box.
TEST_F(PanelKeyboard, MenuKeysAndShortcutsTypeNothing) {
    frmDXS& w = activeWindow();
    Panel& p = w.panel;
    QStringList captions; // as the menus show them, without their marks
    for (QAction* action : w.menuBar()->actions().mid(0, 7) + w.mnuFile->actions().mid(0, 4))
        captions << action->iconText();
    EXPECT_EQ(captions,
              QString("File Setting Send Read Preview Help About Save Load Recent Print").split(' '));

    // The key, the control that has the focus, the command it starts (or none) and the help it opens.
    const QKeyCombination F1 = QKeyCombination(Qt::Key_F1);
    // clang-format off
    const struct { const char* name; QWidget* focus; QKeyCombination key; QAction* command; std::vector<int> help; } cases[] = {
        {"Ctrl+S", p.txtMainAmp, Qt::CTRL | Qt::Key_S, w.SaveFile, {}}, {"Ctrl+O", p.txtMainAmp, Qt::CTRL | Qt::Key_O, w.LoadFile, {}},
        {"Ctrl+P", p.txtMainAmp, Qt::CTRL | Qt::Key_P, w.mnuPrint, {}}, {"F5", p.txtMainFreq, QKeyCombination(Qt::Key_F5), w.mnuSend, {}},
        {"Ctrl+Return", p.txtModRate, Qt::CTRL | Qt::Key_Return, w.mnuSend, {}}, {"Alt+H", p.txtMainAmp, Qt::ALT | Qt::Key_H, w.mnuHelp, {0}},
        {"Alt+Q types nothing", p.txtMainAmp, Qt::ALT | Qt::Key_Q, nullptr, {}},
        {"F1 in Frequency", p.txtMainFreq, F1, nullptr, {2474 + 200}}, {"F1 in Burst Count", p.txtBurstCount, F1, nullptr, {9977 + 200}},
        {"F1 on sweep Model", p.optSweepModel[1], F1, nullptr, {3384 + 200}}, {"F1 on trigger Source", p.optTriggerExt, F1, nullptr, {8460 + 200}},
        {"F1 on the Segment bar", p.HScrollSweep, F1, nullptr, {0 + 200}}, {"F1 on the tabs", p.SSTabTrigger->tabBar(), F1, nullptr, {0}}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (NumericBox* box : p.boxes())
            box->markAccepted();
        int triggered = 0;
        QAction* counted = c.command ? c.command : w.mnuSend; // a command that must stay untouched
        auto counting = QObject::connect(counted, &QAction::triggered, [&] { ++triggered; });
        dialogs().helpRequests.clear();
        p.SSTabTrigger->setCurrentIndex(c.focus == p.txtBurstCount ? 1 : 0);
        c.focus->setFocus();
        const QString before = c.focus->property("text").toString();
        QTest::keyClick(c.focus, c.key.key(), c.key.keyboardModifiers());
        QObject::disconnect(counting);
        EXPECT_EQ(triggered, c.command ? 1 : 0);
        EXPECT_EQ(dialogs().helpRequests, c.help);
        EXPECT_EQ(c.focus->property("text").toString(), before);
        if (auto* box = qobject_cast<NumericBox*>(c.focus)) {
            EXPECT_FALSE(box->isEdited());
        }
    }

    p.txtMainAmp->setFocus();
    int loads = 0;
    QObject::connect(w.LoadFile, &QAction::triggered, [&] { ++loads; });
    QTest::keyClick(p.txtMainAmp, Qt::Key_F, Qt::AltModifier); // File, then L: Load
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.mnuFile->isVisible(); }));
    QTest::keyClick(w.mnuFile, Qt::Key_L);
    EXPECT_EQ(loads, 1);
    EXPECT_FALSE(w.mnuFile->isVisible());
    QTest::keyClick(p.txtMainAmp, Qt::Key_A, Qt::AltModifier); // About
    ASSERT_TRUE(aboutWindow() && aboutWindow()->isVisible());
    aboutWindow()->close();
    EXPECT_EQ(p.txtMainAmp->text(), "5.00");

    activeWindow();
    p.txtMainAmp->setFocus();
    QTest::keyClick(p.txtMainAmp, Qt::Key_Q, Qt::ControlModifier); // closes as the frame's button does
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(QFile::exists(folder() + "/DXS4820.Log"));
}

// On a small screen (1366x768 at 1.5 or 2 times, own ctest entries) the window fits and the panel scrolls.
TEST_F(PanelKeyboard, WindowFitsTheScreenAndThePanelScrolls) {
    frmDXS& w = window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QRect free = w.screen()->availableGeometry();
    EXPECT_TRUE(free.size().boundedTo(w.frameGeometry().size()) == w.frameGeometry().size());
    auto* scroll = qobject_cast<QScrollArea*>(w.centralWidget());
    ASSERT_NE(scroll, nullptr);
    const QSize panel = scroll->widget()->size();
    const bool roomy = panel.width() + 8 <= free.width() && panel.height() + 120 <= free.height();
    EXPECT_TRUE(!roomy || scroll->viewport()->size() == panel); // the whole panel, no scroll bars
    Panel& p = w.panel;
    for (QWidget* target :
         std::initializer_list<QWidget*>{w.txtMessage, p.SSTabTrigger->tabBar(), p.txtTrgPhase}) {
        const QPoint centre = target->mapTo(scroll->widget(), target->rect().center());
        scroll->ensureVisible(centre.x(), centre.y(), 0, target->height() / 2 + 1);
        const QRect shown(target->mapTo(scroll->viewport(), QPoint(0, 0)), target->size());
        EXPECT_GE(scroll->viewport()->rect().intersected(shown).height(), shown.height())
            << target->objectName();
    }
    activeWindow(); // Tab into a box out of sight scrolls it into view
    p.txtTrgSymmetry->setFocus();
    QTest::keyClick(p.txtTrgSymmetry, Qt::Key_Tab);
    const QRect phase(p.txtTrgPhase->mapTo(scroll->viewport(), QPoint(0, 0)), p.txtTrgPhase->size());
    EXPECT_TRUE(scroll->viewport()->rect().intersects(phase));
}

} // namespace
