// The panel as the window is created: its option groups, the function-mode rule, the main waveform
// code and the caption clicks that open help.
#include "panel/CaptionLabel.h"
#include "support/WindowFixture.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace {

using PanelBuild = WindowFixture;

void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

TEST_F(PanelBuild, OptionGroupsAreSeparateAndStartWithTheirDefaults) {
    Panel& p = window().panel;
    // A button of the group, the group's size, its default choice.
    // clang-format off
    const std::tuple<QRadioButton*, int, QRadioButton*> groups[] = {
        {p.optMainFunc[2], 3, p.optMainFunc[0]}, {p.optSweep[0], 2, p.optSweep[1]},
        {p.optSweepModel[1], 2, p.optSweepModel[0]}, {p.optModulation[0], 2, p.optModulation[1]},
        {p.optModFM, 2, p.optModAM}, {p.optModSource[3], 4, p.optModSource[0]},
        {p.optTrigger[0], 2, p.optTrigger[1]}, {p.optTriggerType[1], 2, p.optTriggerType[0]},
        {p.optTriggerExt, 2, p.optTriggerInt}, {p.optBurst[0], 2, p.optBurst[1]},
        {p.optBurstExt, 2, p.optBurstInt}, {p.optGate[0], 2, p.optGate[1]}, {p.optGateExt, 2, p.optGateInt},
        {p.optGateTimeExt[3], 4, p.optGateTimeExt[0]}, {p.optExternal[0], 2, p.optExternal[1]},
        {p.Option2, 2, p.Option1}};
    // clang-format on
    std::set<QButtonGroup*> seen;
    for (const auto& [member, size, chosen] : groups) {
        SCOPED_TRACE(member->objectName().toStdString());
        ASSERT_NE(member->group(), nullptr);
        EXPECT_TRUE(seen.insert(member->group()).second) << "groups share a button group";
        EXPECT_EQ(member->group()->buttons().size(), size);
        EXPECT_EQ(member->group()->checkedButton(), chosen);
        EXPECT_EQ(chosen->group(), member->group());
    }
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
    // Every mode turned on after every other (itself included: a repeated On); the tab stays.
    for (size_t first = 0; first < modes.size(); ++first) {
        for (size_t second = 0; second < modes.size(); ++second) {
            SCOPED_TRACE(testing::Message() << first << " then " << second);
            p.SSTabTrigger->setCurrentIndex(int(first + second) % 4);
            const int tab = p.SSTabTrigger->currentIndex();
            click((*modes[first])[0]);
            click((*modes[second])[0]);
            EXPECT_EQ(onModes(), std::vector<int>{int(second)});
            EXPECT_EQ(p.SSTabTrigger->currentIndex(), tab);
            // Off of a mode already off changes nothing; Off of the mode that is on leaves all off.
            click((*modes[(second + 1) % modes.size()])[1]);
            EXPECT_EQ(onModes(), std::vector<int>{int(second)});
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
    // A click on the chosen waveform stores it again; the program's choice stores it too.
    const struct {
        int choice, code;
        bool byClick;
    } steps[] = {{1, 2, true}, {0, 1, true}, {2, 3, true}, {2, 3, true}, {1, 2, false}};
    for (const auto& step : steps) {
        window().record.setInteger(RecordField::MainWaveform, 0);
        QRadioButton* choice = window().panel.optMainFunc[size_t(step.choice)];
        step.byClick ? click(choice) : choice->setChecked(true);
        EXPECT_EQ(window().record.integer(RecordField::MainWaveform), step.code) << step.choice;
    }
}

TEST_F(PanelBuild, CaptionClicksOpenHelpPastTheirPassage) {
    Panel& p = window().panel;
    // Each caption's passage in the help document, by index; a click opens 200 characters past it.
    const int labelPassages[27] = {2278, 2865, 2865, 2474, 3265, 3384,  4205,  5182,  3571,
                                   3571, 4205, 4950, 6708, 7311, 8875,  9097,  6515,  6335,
                                   5664, 0,    9236, 9774, 9977, 10522, 12215, 12013, 0};
    const int panelPassages[11] = {5359, 7905, 5883, 9400, 8460, 11415, 10163, 12780, 12382, 13832, 14044};
    std::vector<std::pair<QWidget*, int>> rows;
    for (size_t i = 0; i < 27; ++i)
        rows.push_back({p.Label1[i], labelPassages[i] + 200});
    for (size_t i = 0; i < 11; ++i)
        rows.push_back({p.SSPanel1[i], panelPassages[i] + 200});
    for (const auto& [caption, start] : rows) {
        // Reachable by the mouse: its tab page in front, the connection frame shown.
        for (QWidget* up = caption; up; up = up->parentWidget()) {
            if (up == p.fraComm) up->show();
            if (const int page = p.SSTabTrigger->indexOf(up); page >= 0)
                p.SSTabTrigger->setCurrentIndex(page);
        }
        dialogs().helpRequests.clear();
        QTest::mouseClick(caption, Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_EQ(dialogs().helpRequests, std::vector<int>{start}) << caption->objectName().toStdString();
    }
    // Clicking a choice inside a caption panel chooses it and opens nothing.
    dialogs().helpRequests.clear();
    p.SSTabTrigger->setCurrentIndex(0);
    click(p.optTriggerExt);
    EXPECT_TRUE(p.optTriggerExt->isChecked() && dialogs().helpRequests.empty());
}

} // namespace
