// The panel as the window is created: every control under its name with its caption and default,
// the function-mode rule, the main waveform code and the caption clicks that open help.
#include "panel/CaptionLabel.h"
#include "panel/NumericBox.h"
#include "panel/UpDownButtons.h"
#include "panel/rules/HelpPositions.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

namespace {

class PanelBuild : public WindowFixture {
protected:
    template <class T> T* find(const QString& name) {
        T* found = window().findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    // Makes a control reachable by the mouse: its tab page in front, the connection frame shown.
    void reveal(QWidget* widget) {
        for (QWidget* up = widget; up; up = up->parentWidget()) {
            if (up == window().panel.fraComm) up->show();
            const int page = window().panel.SSTabTrigger->indexOf(up);
            if (page >= 0) window().panel.SSTabTrigger->setCurrentIndex(page);
        }
    }
    int platformColor(const QColor& c) { return c.red() + 256 * c.green() + 65536 * c.blue(); }
};

TEST_F(PanelBuild, BoxesStartWithTheirDefaultsStepsAndSpinControls) {
    const struct {
        const char* name;
        const char* text;
        const char* step;
        const char* unit; // nullptr: none
    } rows[] = {
        {"txtMainFreq", "10000", "0.1", "Hz"},
        {"txtMainAmp", "5.00", "0.01", "Vpp"},
        {"txtMainDCOffset", "0.00", "0.01", "V"},
        {"txtMainDuty", "50", "1", "%"},
        {"txtModRate", "1000.0", "1", "Hz"},
        {"txtModSpanDepth", "50", "1", "%"},
        {"txtModSymmetry", "50", "1", "%"},
        {"txtSweepStartFreq", "1000.00", "0.01", "Hz"},
        {"txtSweepStopFreq", "2000.00", "0.01", "Hz"},
        {"txtSweepCenterFreq", "1500.00", "0.01", "Hz"},
        {"txtSweepSpan", "1000.00", "0.01", "Hz"},
        {"txtSweepRate", "1000.0", "1", "Hz"},
        {"txtSweepSymmetry", "90", "1", "%"},
        {"txtTrgRate", "1000.0", "", "Hz"},
        {"txtTrgSymmetry", "50", "1", "%"},
        {"txtTrgPhase", "0", "1", "DEG"},
        {"txtBurstCount", "", "1", nullptr},
        {"txtBurstPeriod", "", "1", "Hz"},
        {"txtGatePeriod", "", "100", "Hz"},
        {"txtOpenGatePeriod", "", "100", "Hz"},
    };
    const auto boxes = window().panel.boxes();
    ASSERT_EQ(std::size(rows), boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i) {
        const auto& row = rows[i];
        SCOPED_TRACE(row.name);
        auto* box = find<NumericBox>(row.name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(boxes[i], box); // the table's order
        EXPECT_EQ(box->text(), row.text);
        EXPECT_EQ(box->Tag(), row.step);
        EXPECT_EQ(box->BackColor(), ColorWhite);
        EXPECT_EQ(platformColor(box->palette().color(QPalette::Base)), ColorWhite);
        auto* spin = find<UpDownButtons>(QStringLiteral("UpDown") + QString(row.name).mid(3));
        EXPECT_EQ(box->upDown(), spin);
        auto* unit = window().findChild<QLabel*>(QString(row.name).mid(3) + "Unit");
        if (row.unit) {
            ASSERT_NE(unit, nullptr);
            EXPECT_EQ(unit->text(), row.unit);
        } else {
            EXPECT_EQ(unit, nullptr);
        }
    }
}

TEST_F(PanelBuild, OptionGroupsAreExclusiveWithTheirDefaults) {
    Panel& p = window().panel;
    const struct {
        std::vector<QRadioButton*> choices;
        std::vector<const char*> names;
        std::vector<const char*> captions;
        int chosen;
    } groups[] = {
        {{p.optMainFunc.begin(), p.optMainFunc.end()},
         {"optMainFunc_0", "optMainFunc_1", "optMainFunc_2"},
         {"Sine", "Triangle", "Square"},
         0},
        {{p.optSweep.begin(), p.optSweep.end()}, {"optSweep_0", "optSweep_1"}, {"On", "Off"}, 1},
        {{p.optSweepModel.begin(), p.optSweepModel.end()},
         {"optSweepModel_0", "optSweepModel_1"},
         {"Lin", "Log"},
         0},
        {{p.optModulation.begin(), p.optModulation.end()},
         {"optModulation_0", "optModulation_1"},
         {"On", "Off"},
         1},
        {{p.optModAM, p.optModFM}, {"optModAM", "optModFM"}, {"AM", "FM"}, 0},
        {{p.optModSource.begin(), p.optModSource.end()},
         {"optModSource_0", "optModSource_1", "optModSource_2", "optModSource_3"},
         {"Sine", "Triangle", "Square", "Ext"},
         0},
        {{p.optTrigger.begin(), p.optTrigger.end()}, {"optTrigger_0", "optTrigger_1"}, {"On", "Off"}, 1},
        {{p.optTriggerType.begin(), p.optTriggerType.end()},
         {"optTriggerType_0", "optTriggerType_1"},
         {"Single", "Multi"},
         0},
        {{p.optTriggerInt, p.optTriggerExt}, {"optTriggerInt", "optTriggerExt"}, {"Int", "Ext"}, 0},
        {{p.optBurst.begin(), p.optBurst.end()}, {"optBurst_0", "optBurst_1"}, {"On", "Off"}, 1},
        {{p.optBurstInt, p.optBurstExt}, {"optBurstInt", "optBurstExt"}, {"Int", "Ext"}, 0},
        {{p.optGate.begin(), p.optGate.end()}, {"optGate_0", "optGate_1"}, {"On", "Off"}, 1},
        {{p.optGateInt, p.optGateExt}, {"optGateInt", "optGateExt"}, {"Int", "Ext"}, 0},
        {{p.optGateTimeExt.begin(), p.optGateTimeExt.end()},
         {"optGateTimeExt_0", "optGateTimeExt_1", "optGateTimeExt_2", "optGateTimeExt_3"},
         {"0.01S", "0.1S", "1S", "10S"},
         0},
        {{p.optExternal.begin(), p.optExternal.end()}, {"optExternal_0", "optExternal_1"}, {"On", "Off"}, 1},
        {{p.Option1, p.Option2}, {"Option1", "Option2"}, {"RS232", "GPIB"}, 0},
    };
    std::set<QButtonGroup*> seen;
    for (const auto& group : groups) {
        SCOPED_TRACE(group.names[0]);
        QButtonGroup* buttonGroup = group.choices[0]->group();
        ASSERT_NE(buttonGroup, nullptr);
        EXPECT_TRUE(seen.insert(buttonGroup).second) << "groups share a button group";
        EXPECT_EQ(buttonGroup->buttons().size(), qsizetype(group.choices.size()));
        for (size_t i = 0; i < group.choices.size(); ++i) {
            EXPECT_EQ(group.choices[i], window().findChild<QRadioButton*>(group.names[i]));
            EXPECT_EQ(group.choices[i]->text(), group.captions[i]);
            EXPECT_EQ(group.choices[i]->isChecked(), int(i) == group.chosen);
        }
    }
    // Choosing in one group clears only that group's other choices.
    p.optModSource[3]->setChecked(true);
    EXPECT_FALSE(p.optModSource[0]->isChecked());
    EXPECT_TRUE(p.optModAM->isChecked());
    p.optModFM->setChecked(true);
    EXPECT_FALSE(p.optModAM->isChecked());
    EXPECT_TRUE(p.optModSource[3]->isChecked());
    EXPECT_TRUE(p.optModulation[1]->isChecked());
}

TEST_F(PanelBuild, CaptionsAndPanelsCarryTheirTextsAndColours) {
    Panel& p = window().panel;
    for (const HelpPassage& passage : kLabelPassages) {
        SCOPED_TRACE(passage.caption);
        CaptionLabel* label = p.Label1[size_t(passage.index)];
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->objectName(), QStringLiteral("Label1_%1").arg(passage.index));
        EXPECT_EQ(label->text(), passage.caption);
        const int colour = platformColor(label->palette().color(QPalette::WindowText));
        if (passage.index == 19)
            EXPECT_NE(colour, 255);
        else
            EXPECT_EQ(colour, 255);
    }
    EXPECT_TRUE(p.fraComm->isAncestorOf(p.Label1[19]));
    for (const HelpPassage& passage : kPanelPassages) {
        CaptionPanel* panel = p.SSPanel1[size_t(passage.index)];
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->objectName(), QStringLiteral("SSPanel1_%1").arg(passage.index));
        EXPECT_EQ(panel->caption(), passage.caption);
    }
    // The mode switches sit in their caption panels.
    const std::pair<QRadioButton*, int> holders[] = {
        {p.optSweep[0], 0},   {p.optModulation[0], 1},  {p.optModSource[0], 2}, {p.optTrigger[0], 3},
        {p.optTriggerInt, 4}, {p.optBurst[0], 5},       {p.optBurstInt, 6},     {p.optGate[0], 7},
        {p.optGateInt, 8},    {p.optGateTimeExt[0], 9}, {p.optExternal[0], 10}};
    for (const auto& [choice, panel] : holders)
        EXPECT_TRUE(p.SSPanel1[size_t(panel)]->isAncestorOf(choice)) << panel;

    for (QLabel* display : {p.lblSweepSegNo, p.lblSymmetry}) {
        EXPECT_EQ(platformColor(display->palette().color(QPalette::Window)), 14737632);
        EXPECT_EQ(platformColor(display->palette().color(QPalette::WindowText)), 12582912);
        EXPECT_EQ(display->frameShape(), QFrame::Box);
    }
    QLineEdit* message = window().txtMessage;
    EXPECT_EQ(platformColor(message->palette().color(QPalette::Base)), 12648384);
    EXPECT_EQ(platformColor(message->palette().color(QPalette::Text)), 255);
    auto* messageCaption = find<CaptionPanel>("SSPanelMessage");
    EXPECT_EQ(messageCaption->caption(), "Message:");
    EXPECT_LT(messageCaption->geometry().right(), message->geometry().left());
}

TEST_F(PanelBuild, TabsScrollBarsLabelsAndWarnings) {
    Panel& p = window().panel;
    ASSERT_EQ(p.SSTabTrigger->count(), 4);
    const std::pair<QWidget*, const char*> pages[] = {{p.Frame1[3], "Trigger Setting"},
                                                      {p.Frame1[4], "Burst Setting"},
                                                      {p.Frame1[5], "Gate Setting"},
                                                      {p.Frame2, "External Counter Setting"}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(p.SSTabTrigger->widget(i), pages[i].first);
        EXPECT_EQ(p.SSTabTrigger->tabText(i), pages[i].second);
        const auto warnings = pages[i].first->findChildren<QLabel*>("lblWarning");
        EXPECT_EQ(warnings.size(), i < 3 ? 1 : 0) << pages[i].second;
        for (QLabel* warning : warnings)
            EXPECT_EQ(warning->text(),
                      "Warning: Main frequency must under 10MHz(1MHz for Specification) in this Function!");
    }
    EXPECT_EQ(p.SSTabTrigger->currentIndex(), 0);
    const std::pair<QWidget*, const char*> names[] = {{p.Frame1[0], "Frame1_0"}, {p.Frame1[1], "Frame1_1"},
                                                      {p.Frame1[2], "Frame1_2"}, {p.Frame1[3], "Frame1_3"},
                                                      {p.Frame1[4], "Frame1_4"}, {p.Frame1[5], "Frame1_5"},
                                                      {p.Frame2, "Frame2"}};
    for (const auto& [widget, name] : names)
        EXPECT_EQ(widget->objectName(), name);

    EXPECT_EQ(p.HScrollSweep->minimum(), 1);
    EXPECT_EQ(p.HScrollSweep->maximum(), 8);
    EXPECT_EQ(p.HScrollSweep->value(), 5);
    EXPECT_EQ(p.lblSweepSegNo->text(), "5");
    EXPECT_EQ(p.HScroll1->minimum(), 10);
    EXPECT_EQ(p.HScroll1->maximum(), 90);
    EXPECT_EQ(p.HScroll1->value(), 10);
    EXPECT_EQ(p.lblSymmetry->text(), "");
    EXPECT_EQ(p.lblBurstPeriodSec->text(), "Sec");
    EXPECT_EQ(p.lblGatePeriod->text(), " Sec");
    EXPECT_EQ(p.lblOpenGatePeriod->text(), " Sec");

    // Groups from top to bottom, the message line last.
    const QWidget* order[] = {p.Frame1[0], p.Frame1[1], p.Frame1[2], p.SSTabTrigger, window().txtMessage};
    for (size_t i = 1; i < std::size(order); ++i)
        EXPECT_LT(order[i - 1]->mapTo(&window(), QPoint(0, 0)).y(),
                  order[i]->mapTo(&window(), QPoint(0, 0)).y());
    // The client area follows the screen's DPI: 8670 x 7635 twips.
    const double dpi = window().logicalDpiY();
    EXPECT_NEAR(window().centralWidget()->width(), 8670 * dpi / 1440, 1);
    EXPECT_NEAR(window().centralWidget()->height(), 7635 * dpi / 1440, 1);
    EXPECT_EQ(window().minimumSize(), window().maximumSize());
}

TEST_F(PanelBuild, ConnectionFrameIsBuiltHiddenWithItsDefaults) {
    Panel& p = window().panel;
    EXPECT_FALSE(p.fraComm->isVisible());
    EXPECT_EQ(p.Label5->text(), "DXS-4820 RS232 Interface Setting");
    EXPECT_EQ(p.Label6->text(), "Buad Rate:");
    EXPECT_EQ(p.Label9->text(), "GPIB: PrimaryAddress   ");
    EXPECT_EQ(p.Label7->text(), "Cycle Time             ms");
    EXPECT_EQ(p.txtGPIBAddr->text(), "4");
    EXPECT_EQ(p.txtCycleTime->text(), "100");
    EXPECT_EQ(p.chkSkipCommand->text(), "Skip  Sending Commands with the Same Value");
    EXPECT_EQ(p.chkSyncRateSym->text(), "Sync. Rate && SYM Value");
    EXPECT_TRUE(p.chkSkipCommand->isChecked());
    EXPECT_TRUE(p.chkSyncRateSym->isChecked());
    EXPECT_EQ(p.OKButton->text(), "OK");
    EXPECT_EQ(p.cmdTestConnect->text(), "Connection Test");
    EXPECT_EQ(p.cmdHelp->text(), "Help");
    const std::pair<QWidget*, bool> shown[] = {
        {p.Label5, true},          {p.Option1, true},         {p.Option2, false},
        {p.Label1[19], true},      {p.cboComPort, true},      {p.Label6, true},
        {p.cboBuadRate, true},     {p.Label9, false},         {p.txtGPIBAddr, false},
        {p.Label7, false},         {p.txtCycleTime, false},   {p.UpDown1, false},
        {p.chkSkipCommand, false}, {p.chkSyncRateSym, false}, {p.OKButton, true},
        {p.cmdTestConnect, true},  {p.cmdHelp, true}};
    p.fraComm->raise();
    p.fraComm->show();
    for (const auto& [control, visible] : shown) {
        EXPECT_TRUE(p.fraComm->isAncestorOf(control)) << control->objectName().toStdString();
        EXPECT_EQ(control->isVisible(), visible) << control->objectName().toStdString();
    }
}

// The panel's buttons as a user clicks them.
void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

TEST_F(PanelBuild, TurningOneModeOnSwitchesEveryOtherOff) {
    Panel& p = window().panel;
    const std::array<std::array<QRadioButton*, 2>*, 6> modes = {
        &p.optSweep, &p.optModulation, &p.optTrigger, &p.optBurst, &p.optGate, &p.optExternal};
    auto onModes = [&] {
        std::vector<int> on;
        for (size_t m = 0; m < modes.size(); ++m) {
            EXPECT_NE((*modes[m])[0]->isChecked(), (*modes[m])[1]->isChecked()) << m;
            if ((*modes[m])[0]->isChecked()) on.push_back(int(m));
        }
        return on;
    };
    // Every mode turned on after every other (itself included: a repeated On).
    for (size_t first = 0; first < modes.size(); ++first) {
        for (size_t second = 0; second < modes.size(); ++second) {
            SCOPED_TRACE(testing::Message() << first << " then " << second);
            p.SSTabTrigger->setCurrentIndex(int(first + second) % 4);
            const int tab = p.SSTabTrigger->currentIndex();
            click((*modes[first])[0]);
            EXPECT_EQ(onModes(), std::vector<int>{int(first)});
            click((*modes[second])[0]);
            EXPECT_EQ(onModes(), std::vector<int>{int(second)});
            EXPECT_EQ(p.SSTabTrigger->currentIndex(), tab);
            // Off of a mode that is already off changes nothing; Off of the mode that is on leaves all off.
            click((*modes[(second + 1) % modes.size()])[1]);
            EXPECT_EQ(onModes(), std::vector<int>{int(second)});
            click((*modes[second])[1]);
            EXPECT_EQ(onModes(), std::vector<int>{});
            click((*modes[second])[1]);
            EXPECT_EQ(onModes(), std::vector<int>{});
        }
    }
    // The program choosing an On runs the same rule.
    p.optSweep[0]->setChecked(true);
    p.optGate[0]->setChecked(true);
    EXPECT_EQ(onModes(), std::vector<int>{4});
}

TEST_F(PanelBuild, WaveformChoiceStoresItsCode) {
    Panel& p = window().panel;
    const struct {
        int choice;
        int code;
        bool byClick;
    } steps[] = {{1, 2, true}, {0, 1, true}, {2, 3, true}, {2, 3, true}, {1, 2, false}, {0, 1, false}};
    for (const auto& step : steps) {
        window().record.setInteger(RecordField::MainWaveform, 0);
        if (step.byClick)
            click(p.optMainFunc[size_t(step.choice)]);
        else
            p.optMainFunc[size_t(step.choice)]->setChecked(true);
        // A click on the chosen waveform stores it again.
        EXPECT_EQ(window().record.integer(RecordField::MainWaveform), step.code) << step.choice;
    }
}

TEST_F(PanelBuild, CaptionClicksOpenHelpPastTheirPassage) {
    Panel& p = window().panel;
    struct Row {
        QWidget* caption;
        int start;
    };
    std::vector<Row> rows;
    for (const HelpPassage& passage : kLabelPassages)
        rows.push_back({p.Label1[size_t(passage.index)], passage.position + 200});
    for (const HelpPassage& passage : kPanelPassages)
        rows.push_back({p.SSPanel1[size_t(passage.index)], passage.position + 200});
    for (const Row& row : rows) {
        reveal(row.caption);
        dialogs().helpRequests.clear();
        QTest::mouseClick(row.caption, Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_EQ(dialogs().helpRequests, std::vector<int>{row.start})
            << row.caption->objectName().toStdString();
    }
    dialogs().helpRequests.clear();
    QTest::mouseClick(p.Label1[1], Qt::LeftButton); // "Amplitude:"
    EXPECT_EQ(dialogs().helpRequests, std::vector<int>{3065});
    // Clicking a choice inside a caption panel chooses it and opens nothing.
    dialogs().helpRequests.clear();
    p.SSTabTrigger->setCurrentIndex(0);
    click(p.optTriggerExt);
    EXPECT_TRUE(p.optTriggerExt->isChecked());
    EXPECT_TRUE(dialogs().helpRequests.empty());
}

} // namespace
