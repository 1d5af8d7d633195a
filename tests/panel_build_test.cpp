// The panel as the window is created: its option groups, the function-mode rule, the main waveform
// code and the caption clicks that open help.
#include "panel/CaptionLabel.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace {

using PanelBuild = WindowFixture;

// The panel's buttons as a user clicks them.
void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

TEST_F(PanelBuild, OptionGroupsAreSeparateAndStartWithTheirDefaults) {
    Panel& p = window().panel;
    // clang-format off
    const std::pair<std::vector<QRadioButton*>, int> groups[] = {
        {{p.optMainFunc.begin(), p.optMainFunc.end()}, 0}, {{p.optSweep.begin(), p.optSweep.end()}, 1},
        {{p.optSweepModel.begin(), p.optSweepModel.end()}, 0}, {{p.optModulation.begin(), p.optModulation.end()}, 1},
        {{p.optModAM, p.optModFM}, 0}, {{p.optModSource.begin(), p.optModSource.end()}, 0},
        {{p.optTrigger.begin(), p.optTrigger.end()}, 1}, {{p.optTriggerType.begin(), p.optTriggerType.end()}, 0},
        {{p.optTriggerInt, p.optTriggerExt}, 0}, {{p.optBurst.begin(), p.optBurst.end()}, 1},
        {{p.optBurstInt, p.optBurstExt}, 0}, {{p.optGate.begin(), p.optGate.end()}, 1}, {{p.optGateInt, p.optGateExt}, 0},
        {{p.optGateTimeExt.begin(), p.optGateTimeExt.end()}, 0}, {{p.optExternal.begin(), p.optExternal.end()}, 1},
        {{p.Option1, p.Option2}, 0}};
    // clang-format on
    std::set<QButtonGroup*> seen;
    for (const auto& [choices, chosen] : groups) {
        SCOPED_TRACE(choices[0]->objectName().toStdString());
        ASSERT_NE(choices[0]->group(), nullptr);
        EXPECT_TRUE(seen.insert(choices[0]->group()).second) << "groups share a button group";
        EXPECT_EQ(choices[0]->group()->buttons().size(), qsizetype(choices.size()));
        for (size_t i = 0; i < choices.size(); ++i)
            EXPECT_EQ(choices[i]->isChecked(), int(i) == chosen);
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
            EXPECT_EQ(onModes(), std::vector<int>{int(first)});
            click((*modes[second])[0]);
            EXPECT_EQ(onModes(), std::vector<int>{int(second)});
            EXPECT_EQ(p.SSTabTrigger->currentIndex(), tab);
            // Off of a mode already off changes nothing; Off of the mode that is on leaves all off.
            click((*modes[(second + 1) % modes.size()])[1]);
            EXPECT_EQ(onModes(), std::vector<int>{int(second)});
            click((*modes[second])[1]);
            click((*modes[second])[1]);
            EXPECT_EQ(onModes(), std::vector<int>{});
        }
    }
    // The program choosing an On runs the same rule: Gate on while Sweep is on.
    p.optSweep[0]->setChecked(true);
    p.optGate[0]->setChecked(true);
    EXPECT_EQ(onModes(), std::vector<int>{4});
}

TEST_F(PanelBuild, WaveformChoiceStoresItsCode) {
    // A click on the chosen waveform stores it again.
    const struct {
        int choice, code;
        bool byClick;
    } steps[] = {{1, 2, true}, {0, 1, true}, {2, 3, true}, {2, 3, true}, {1, 2, false}, {0, 1, false}};
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
    EXPECT_TRUE(p.optTriggerExt->isChecked());
    EXPECT_TRUE(dialogs().helpRequests.empty());
}

} // namespace
