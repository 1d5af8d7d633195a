// The panel's own choices: the function-mode rule and the main waveform code.
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

} // namespace
