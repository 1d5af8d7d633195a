#include "rules_window.h"

namespace {
const char* const kNotShorter = "Gate period should greater than Open Gate time\r\nDo you need help?";
const char* const kNeedGate = "Please input the Gate Period Value first";
} // namespace

using GateWindow = RulesWindow;

TEST_F(GateWindow, GateRateBandsAndTheTriggerRate) {
    Panel& p = panel();
    const struct {
        const char *typed, *state, *label;
    } cases[] = {
        {"100", "100/100", "0.010sec"},     {"0.5", "0.50/0.01", "2.000sec"},
        {"12345", "10000/100", "0.000sec"}, {"", "0.01/0.01", "100.000sec"},
        {"99.6", "100/1", "0.010sec"},      {"1", "1/1", "1.000sec"},
        {"0.995", "1.00/0.01", "1.000sec"}, {"101", "100/100", "0.010sec"},
        {"150", "200/100", "0.005sec"},     {"0.005", "0.01/0.01", "100.000sec"},
        {"1.01", "1/1", "1.000sec"},
    };
    for (bool sync : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.typed + std::string(sync ? " sync" : ""));
            p.chkSyncRateSym->setChecked(sync);
            for (NumericBox* box : {p.txtModRate, p.txtSweepRate, p.txtBurstPeriod, p.txtTrgRate})
                preset(box, "7");
            enter(p.txtGatePeriod, c.typed);
            EXPECT_EQ(state(p.txtGatePeriod) + " " + p.lblGatePeriod->text(),
                      QString("%1 %2").arg(c.state, c.label));
            // without synchronisation the trigger rate waits, orange, for its own Enter
            const QString rate = p.txtGatePeriod->text(), follower = sync ? rate : "7";
            EXPECT_EQ(looks({p.txtTrgRate, p.txtModRate, p.txtSweepRate, p.txtBurstPeriod}),
                      QStringList({sync ? rate : rate + " orange", follower, follower, follower}));
        }
    }
}

// The open gate's share of the gate period becomes the trigger symmetry, the trigger type Multi.
TEST_F(GateWindow, OpenGateGivesTheTriggerSymmetry) {
    Panel& p = panel();
    p.txtMainFreq->setText("1000.0");
    const struct {
        const char *gate, *open, *openAfter, *label, *symmetry;
        bool multi;
        const char* message;
        const char* focus = "txtOpenGatePeriod";
    } cases[] = {
        {"100", "1000", "1000/100", "0.0010sec", "10", true, ""},
        {"100", "400", "400/100", "0.0025sec", "25", true, ""},
        {"1", "10000", "10000/100", "0.0001sec", "0", true, ""},
        {"100", "12345", "10000/100", "0.0001sec", "1", true, ""},
        {"100", "50", "100/1", "0.0100sec", "33 orange", false, kNotShorter},
        {"100", "100", "100/100", "0.0100sec", "33 orange", false, kNotShorter},
        {"0.5", "0.2", "0.5/0.01", "2.0000sec", "33 orange", false, kNotShorter},
        {"100", "0.0015", "100/0.001", "0.0100sec", "33 orange", false, kNotShorter},
        {"100", "0.0005", "100/7", "0.0100sec", "33 orange", false,
         kNotShorter}, // below the bands: step kept
        {"", "400", "400/100", " Sec", "33 orange", false, kNeedGate, "txtGatePeriod"},
        {"", "0.005", "0.005/0.001", " Sec", "33 orange", false, kNeedGate, "txtGatePeriod"},
        {"100", "-5", "0.01/0.01", " Sec", "33 orange", false, ""}, // no share from a negative value
        {"100", "", "/7", " Sec", "33 orange", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("gate ") + c.gate + " open " + c.open);
        *c.gate ? enter(p.txtGatePeriod, c.gate) : p.txtGatePeriod->setText("");
        p.txtOpenGatePeriod->setTag("7");
        p.lblOpenGatePeriod->setText(" Sec");
        p.optTriggerType[0]->setChecked(true);
        p.txtTrgSymmetry->setText("33");
        dialogs().messages.clear();
        enter(p.txtOpenGatePeriod, c.open);
        EXPECT_EQ(
            QStringList({state(p.txtOpenGatePeriod), p.lblOpenGatePeriod->text(), look(p.txtTrgSymmetry)}),
            QStringList({c.openAfter, c.label, c.symmetry}));
        EXPECT_EQ(p.optTriggerType[1]->isChecked(), c.multi);
        EXPECT_EQ(dialogs().texts(), *c.message ? QStringList{c.message} : QStringList());
        EXPECT_EQ(focused(), c.focus);
    }
    EXPECT_TRUE(dialogs().helpRequests.empty()); // every question answered No
}

TEST_F(GateWindow, NotShorterQuestionOpensHelpOnYes) {
    Panel& p = panel();
    enter(p.txtGatePeriod, "100");
    dialogs().answers = {UserDialogs::Answer::Yes};
    enter(p.txtOpenGatePeriod, "50");
    EXPECT_EQ(dialogs().helpRequests, std::vector<int>{12013 + 200});
    EXPECT_EQ(p.txtOpenGatePeriod->text() + " " + p.lblOpenGatePeriod->text(), "100 0.0100sec");
}

TEST_F(GateWindow, OpenGateWithoutMainFrequencyAsksForIt) {
    Panel& p = panel();
    p.txtMainFreq->setText("");
    enter(p.txtGatePeriod, "100");
    p.txtTrgSymmetry->setText("33");
    enter(p.txtOpenGatePeriod, "400");
    EXPECT_EQ(dialogs().texts(), QStringList{"Please input the Main Frequence Value first"});
    EXPECT_EQ(focused() + " " + p.txtTrgSymmetry->text(), "txtMainFreq 33");
    EXPECT_TRUE(p.optTriggerType[1]->isChecked());
}
