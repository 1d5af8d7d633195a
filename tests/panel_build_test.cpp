// The panel as the window is created: the function-mode rule, the main waveform code and the caption
// clicks that open help.
#include "panel/CaptionLabel.h"
#include "support/WindowFixture.h"

#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace {

using PanelBuild = WindowFixture;

void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

TEST_F(PanelBuild, TurningOneModeOnSwitchesEveryOtherOff) {
    Panel& p = window().panel;
    const std::array<std::array<QRadioButton*, 2>*, 6> modes = {
        &p.optSweep, &p.optModulation, &p.optTrigger, &p.optBurst, &p.optGate, &p.optExternal};
    auto onModes = [&] { // "1" for a mode on, "0" for off, "?" for neither or both
        QString on;
        for (const auto* mode : modes)
            on += (*mode)[0]->isChecked() == (*mode)[1]->isChecked() ? '?'
                  : (*mode)[0]->isChecked()                          ? '1'
                                                                     : '0';
        return on;
    };
    // Every mode turned on after every other (itself included: a repeated On); the tab stays.
    for (size_t first = 0; first < modes.size(); ++first) {
        for (size_t second = 0; second < modes.size(); ++second) {
            SCOPED_TRACE(testing::Message() << first << " then " << second);
            QString only = "000000";
            only[qsizetype(second)] = '1';
            p.SSTabTrigger->setCurrentIndex(int(first + second) % 4);
            const int tab = p.SSTabTrigger->currentIndex();
            click((*modes[first])[0]);
            click((*modes[second])[0]);
            EXPECT_EQ(onModes(), only);
            EXPECT_EQ(p.SSTabTrigger->currentIndex(), tab);
            // Off of a mode already off changes nothing; Off of the mode that is on leaves all off.
            click((*modes[(second + 1) % modes.size()])[1]);
            EXPECT_EQ(onModes(), only);
            click((*modes[second])[1]);
            EXPECT_EQ(onModes(), "000000");
        }
    }
    // The program choosing an On runs the same rule.
    p.optSweep[0]->setChecked(true);
    p.optGate[0]->setChecked(true);
    EXPECT_EQ(onModes(), "000010");
}

TEST_F(PanelBuild, WaveformChoiceStoresItsCode) {
    // A click on the chosen waveform stores it again.
    const std::pair<int, int> steps[] = {{1, 2}, {0, 1}, {2, 3}, {2, 3}};
    for (const auto& [choice, code] : steps) {
        window().record.setInteger(RecordField::MainWaveform, 0);
        click(window().panel.optMainFunc[size_t(choice)]);
        EXPECT_EQ(window().record.integer(RecordField::MainWaveform), code) << choice;
    }
    window().panel.optMainFunc[1]->setChecked(true); // as a loaded setting chooses it
    EXPECT_EQ(window().record.integer(RecordField::MainWaveform), 2);
}

TEST_F(PanelBuild, CaptionClicksOpenHelpPastTheirPassage) {
    Panel& p = window().panel;
    std::vector<QWidget*> captions(p.Label1.begin(), p.Label1.end());
    captions.insert(captions.end(), p.SSPanel1.begin(), p.SSPanel1.end());
    // Each caption's passage in the help document, by index; a click opens 200 characters past it.
    const int passages[] = {2278, 2865, 2865,  2474,  3265,  3384,  4205,  5182, 3571, 3571,
                            4205, 4950, 6708,  7311,  8875,  9097,  6515,  6335, 5664, 0,
                            9236, 9774, 9977,  10522, 12215, 12013, 0,     5359, 7905, 5883,
                            9400, 8460, 11415, 10163, 12780, 12382, 13832, 14044};
    ASSERT_EQ(captions.size(), std::size(passages));
    for (size_t i = 0; i < captions.size(); ++i) {
        // Reachable by the mouse: its tab page in front, the connection frame shown.
        for (QWidget* up = captions[i]; up; up = up->parentWidget()) {
            if (up == p.fraComm) up->show();
            if (const int page = p.SSTabTrigger->indexOf(up); page >= 0)
                p.SSTabTrigger->setCurrentIndex(page);
        }
        dialogs().helpRequests.clear();
        QTest::mouseClick(captions[i], Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_EQ(dialogs().helpRequests, std::vector<int>{passages[i] + 200}) << i;
    }
    // Clicking a choice inside a caption panel chooses it and opens nothing.
    dialogs().helpRequests.clear();
    p.SSTabTrigger->setCurrentIndex(0);
    click(p.optTriggerExt);
    EXPECT_TRUE(p.optTriggerExt->isChecked() && dialogs().helpRequests.empty());
}

} // namespace
