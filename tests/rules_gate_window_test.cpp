#include "rules_trigger_window.h"

using GateWindow = TriggerTabsWindow;

TEST_F(GateWindow, GateRateBandsAndTheTriggerRate) {
    const struct {
        const char* typed;
        const char* shown;
        const char* step;
        const char* label;
    } cases[] = {
        {"100", "100", "100", "0.010sec"},     {"0.5", "0.50", "0.01", "2.000sec"},
        {"12345", "10000", "100", "0.000sec"}, {"", "0.01", "0.01", "100.000sec"},
        {"99.6", "100", "1", "0.010sec"},      {"1", "1", "1", "1.000sec"},
        {"0.995", "1.00", "0.01", "1.000sec"}, {"101", "100", "100", "0.010sec"},
        {"150", "200", "100", "0.005sec"},     {"0.005", "0.01", "0.01", "100.000sec"},
    };
    Panel& p = panel();
    for (bool sync : {false, true}) {
        for (const auto& c : cases) {
            const std::string where = QString("%1 sync %2").arg(c.typed).arg(sync).toStdString();
            setSync(sync);
            for (NumericBox* box : {p.txtModRate, p.txtSweepRate, p.txtBurstPeriod, p.txtTrgRate}) {
                box->setText("7");
                box->markAccepted();
            }
            enter(p.txtGatePeriod, c.typed);
            EXPECT_EQ(p.txtGatePeriod->text(), QString(c.shown)) << where;
            EXPECT_EQ(p.txtGatePeriod->Tag(), QString(c.step)) << where;
            EXPECT_TRUE(isWhite(p.txtGatePeriod)) << where;
            EXPECT_EQ(p.lblGatePeriod->text(), QString(c.label)) << where;
            EXPECT_EQ(p.txtTrgRate->text(), QString(c.shown)) << where;
            // Without synchronisation the trigger rate waits, orange, for its own Enter.
            EXPECT_EQ(isWhite(p.txtTrgRate), sync) << where;
            for (NumericBox* box : {p.txtModRate, p.txtBurstPeriod, p.txtSweepRate}) {
                EXPECT_EQ(box->text(), sync ? QString(c.shown) : QString("7"))
                    << where << " " << box->objectName().toStdString();
                EXPECT_TRUE(isWhite(box)) << where;
            }
        }
    }
}

TEST_F(GateWindow, OpenGateGivesTheTriggerSymmetry) {
    const struct {
        const char* gate;
        const char* open;
        const char* openAfter;
        const char* step;
        const char* label;
        const char* symmetry; // "33": untouched
        bool multi;
        const char* message;
    } cases[] = {
        {"100", "1000", "1000", "100", "0.0010sec", "10", true, ""},
        {"100", "400", "400", "100", "0.0025sec", "25", true, ""},
        {"1", "10000", "10000", "100", "0.0001sec", "0", true, ""},
        {"100", "12345", "10000", "100", "0.0001sec", "1", true, ""},
        {"100", "50", "100", "1", "0.0100sec", "33", false,
         "Gate period should greater than Open Gate time\r\nDo you need help?"},
        {"100", "100", "100", "100", "0.0100sec", "33", false,
         "Gate period should greater than Open Gate time\r\nDo you need help?"},
        {"0.5", "0.2", "0.5", "0.01", "2.0000sec", "33", false,
         "Gate period should greater than Open Gate time\r\nDo you need help?"},
        {"", "400", "400", "100", " Sec", "33", false, "Please input the Gate Period Value first"},
        {"100", "-5", "0.01", "0.01", " Sec", "33", false, ""},
        {"100", "", "", "100", " Sec", "33", false, ""},
    };
    Panel& p = panel();
    p.txtMainFreq->setText("1000.0");
    for (const auto& c : cases) {
        const std::string where = QString("gate %1 open %2").arg(c.gate, c.open).toStdString();
        if (*c.gate)
            enter(p.txtGatePeriod, c.gate);
        else
            p.txtGatePeriod->setText("");
        p.txtOpenGatePeriod->setTag("100");
        p.lblOpenGatePeriod->setText(" Sec");
        p.optTriggerType[0]->setChecked(true);
        p.txtTrgSymmetry->setText("33");
        dialogs().messages.clear();

        enter(p.txtOpenGatePeriod, c.open);
        EXPECT_EQ(p.txtOpenGatePeriod->text(), QString(c.openAfter)) << where;
        EXPECT_EQ(p.txtOpenGatePeriod->Tag(), QString(c.step)) << where;
        EXPECT_TRUE(isWhite(p.txtOpenGatePeriod)) << where;
        EXPECT_EQ(p.lblOpenGatePeriod->text(), QString(c.label)) << where;
        EXPECT_EQ(p.txtTrgSymmetry->text(), QString(c.symmetry)) << where;
        if (QString(c.symmetry) != "33") {
            EXPECT_TRUE(isWhite(p.txtTrgSymmetry)) << where;
        }
        EXPECT_EQ(p.optTriggerType[1]->isChecked(), c.multi) << where;
        if (*c.message) {
            ASSERT_EQ(dialogs().messages.size(), 1u) << where;
            EXPECT_EQ(dialogs().messages[0].text, QString(c.message)) << where;
        } else {
            EXPECT_TRUE(dialogs().messages.empty()) << where;
        }
    }
}

TEST_F(GateWindow, OpenGateSmallValues) {
    Panel& p = panel();
    p.txtMainFreq->setText("1000.0");
    p.txtGatePeriod->setText("");
    p.txtOpenGatePeriod->setTag("100");
    enter(p.txtOpenGatePeriod, "0.005");
    EXPECT_EQ(p.txtOpenGatePeriod->text(), "0.005");
    EXPECT_EQ(p.txtOpenGatePeriod->Tag(), "0.001");
    EXPECT_EQ(dialogs().texts(), QStringList{"Please input the Gate Period Value first"});
    EXPECT_TRUE(hasFocus(p.txtGatePeriod));

    // Below the smallest band the text and step stay, and the value is still checked.
    enter(p.txtGatePeriod, "100");
    dialogs().messages.clear();
    enter(p.txtOpenGatePeriod, "0.0005");
    EXPECT_EQ(p.txtOpenGatePeriod->Tag(), "0.001");
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].buttons, UserDialogs::Buttons::YesNo);
    EXPECT_EQ(p.txtOpenGatePeriod->text(), "100");
}

TEST_F(GateWindow, NotShorterQuestionOpensHelpOnYes) {
    Panel& p = panel();
    p.txtMainFreq->setText("1000.0");
    enter(p.txtGatePeriod, "100");
    dialogs().answers = {UserDialogs::Answer::Yes};
    enter(p.txtOpenGatePeriod, "50");
    EXPECT_EQ(dialogs().helpRequests, std::vector<int>{12013 + 200});
    EXPECT_EQ(p.txtOpenGatePeriod->text(), "100");
    EXPECT_EQ(p.lblOpenGatePeriod->text(), "0.0100sec");
}

TEST_F(GateWindow, OpenGateWithoutMainFrequencyAsksForIt) {
    Panel& p = panel();
    p.txtMainFreq->setText("");
    enter(p.txtGatePeriod, "100");
    p.txtTrgSymmetry->setText("33");
    enter(p.txtOpenGatePeriod, "400");
    EXPECT_EQ(dialogs().texts(), QStringList{"Please input the Main Frequence Value first"});
    EXPECT_TRUE(hasFocus(p.txtMainFreq));
    EXPECT_TRUE(p.optTriggerType[1]->isChecked());
    EXPECT_EQ(p.txtTrgSymmetry->text(), "33");
}

TEST_F(GateWindow, SpinStartsOnEmptyBoxes) {
    Panel& p = panel();
    for (NumericBox* box : {p.txtGatePeriod, p.txtOpenGatePeriod}) {
        box->setText("");
        clickUp(box);
        EXPECT_EQ(box->text(), "0.01") << box->objectName().toStdString();
        EXPECT_EQ(box->Tag(), "0.01") << box->objectName().toStdString();
        EXPECT_TRUE(hasFocus(box)) << box->objectName().toStdString();
    }
    // The down button of an empty gate box only moves the focus there.
    p.txtGatePeriod->setText("");
    p.txtOpenGatePeriod->setFocus();
    clickDown(p.txtGatePeriod);
    EXPECT_EQ(p.txtGatePeriod->text(), "");
    EXPECT_TRUE(hasFocus(p.txtGatePeriod));
}
