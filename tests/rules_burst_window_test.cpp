#include "rules_trigger_window.h"

using BurstWindow = TriggerTabsWindow;

TEST_F(BurstWindow, RateGivesThePeriodAndTheTriggerRate) {
    const struct {
        const char* typed;
        const char* shown;
        const char* step;
        const char* label;
    } cases[] = {
        {"50", "50", "1", "0.0200sec"},       {"1", "1.00", "0.01", "1.0000sec"},
        {"0.5", "0.50", "0.01", "2.0000sec"}, {"12345", "10000", "100", "0.0001sec"},
        {"150", "200", "100", "0.0050sec"},   {"101", "200", "100", "0.0050sec"},
        {"1.01", "2", "1", "0.5000sec"},      {"", "0.01", "0.01", "100.0000sec"},
    };
    Panel& p = panel();
    for (bool sync : {false, true}) {
        for (const auto& c : cases) {
            const std::string where = QString("%1 sync %2").arg(c.typed).arg(sync).toStdString();
            setSync(sync);
            p.txtModRate->setText("7");
            p.txtSweepRate->setText("7");
            p.txtGatePeriod->setText("7");
            p.txtTrgRate->setText("7");
            enter(p.txtBurstPeriod, c.typed);
            EXPECT_EQ(p.txtBurstPeriod->text(), QString(c.shown)) << where;
            EXPECT_EQ(p.txtBurstPeriod->Tag(), QString(c.step)) << where;
            EXPECT_TRUE(isWhite(p.txtBurstPeriod)) << where;
            EXPECT_EQ(p.lblBurstPeriodSec->text(), QString(c.label)) << where;
            // The trigger rate carries the burst rate whether or not synchronisation is on.
            EXPECT_EQ(p.txtTrgRate->text(), QString(c.shown)) << where;
            EXPECT_TRUE(isWhite(p.txtTrgRate)) << where;
            for (NumericBox* box : {p.txtModRate, p.txtSweepRate, p.txtGatePeriod}) {
                EXPECT_EQ(box->text(), sync ? QString(c.shown) : QString("7"))
                    << where << " " << box->objectName().toStdString();
                EXPECT_EQ(isWhite(box), sync) << where << " " << box->objectName().toStdString();
            }
        }
    }
}

TEST_F(BurstWindow, CountBecomesTheTriggerSymmetryAndType) {
    const struct {
        const char* mainFreq;
        const char* rate;
        const char* count;
        const char* symmetry; // trigger symmetry afterwards ("33": untouched)
        const char* bar;      // bar label afterwards
        bool multi;
        const char* message; // the message box, if any
        const char* countAfter;
    } cases[] = {
        {"1000.0", "100", "5", "50", "50", true, "", "5"},
        {"10000.0", "100", "1", "10", "", false, "", "1"},
        {"1000.0", "100", "20", "20", "20", true, "Please Change value of Burst Count. Do you need help?",
         "0"},
        {"1000.0", "100", "9", "90", "90", true, "", "9"},
        {"", "100", "5", "33", "", true, "Please set Main Frequence Value first!", "5"},
        {"0", "100", "5", "33", "", true, "Please set Main Frequence Value first!", "5"},
        {"1000.0", "", "5", "33", "", true, "Please set Burst Period Value first!", "5"},
        {"1000.0", "100", "-3", "33", "", false, "", "0"},
    };
    Panel& p = panel();
    for (const auto& c : cases) {
        const std::string where =
            QString("main %1 rate %2 count %3").arg(c.mainFreq, c.rate, c.count).toStdString();
        p.txtBurstCount->setText("");
        p.txtMainFreq->setText(c.mainFreq);
        if (*c.rate)
            enter(p.txtBurstPeriod, c.rate);
        else
            p.txtBurstPeriod->setText("");
        p.optTriggerType[0]->setChecked(true);
        p.HScroll1->setValue(10);
        p.txtTrgSymmetry->setText("33");
        p.lblSymmetry->setText("");
        dialogs().messages.clear();
        dialogs().answers = {UserDialogs::Answer::No};

        type(p.txtBurstCount, c.count);
        EXPECT_EQ(p.txtBurstCount->text(), QString(c.countAfter)) << where;
        EXPECT_EQ(p.txtTrgSymmetry->text(), QString(c.symmetry)) << where;
        EXPECT_EQ(p.lblSymmetry->text(), QString(c.bar)) << where;
        EXPECT_EQ(p.optTriggerType[1]->isChecked(), c.multi) << where;
        if (*c.message) {
            ASSERT_FALSE(dialogs().messages.empty()) << where;
            EXPECT_EQ(dialogs().messages.back().text, QString(c.message)) << where;
        } else {
            EXPECT_TRUE(dialogs().messages.empty()) << where;
        }
    }
}

TEST_F(BurstWindow, ShareIsWrittenAcceptedAndTheBarFollows) {
    Panel& p = panel();
    p.txtMainFreq->setText("1000.0");
    enter(p.txtBurstPeriod, "100");
    type(p.txtBurstCount, "5");
    EXPECT_TRUE(isWhite(p.txtTrgSymmetry));
    EXPECT_EQ(p.HScroll1->value(), 50);
    EXPECT_EQ(p.txtBurstCount->Tag(), "1");
    // A pasted decimal count is rounded to whole cycles before it is checked.
    paste(p.txtBurstCount, "2.5");
    EXPECT_EQ(p.txtBurstCount->text(), "3");
    EXPECT_EQ(p.txtTrgSymmetry->text(), "30");
    EXPECT_EQ(p.lblSymmetry->text(), "30");
}

TEST_F(BurstWindow, CountThatDoesNotFitAsksAndResets) {
    Panel& p = panel();
    p.txtMainFreq->setText("1000.0");
    enter(p.txtBurstPeriod, "100");
    for (UserDialogs::Answer answer : {UserDialogs::Answer::Yes, UserDialogs::Answer::No}) {
        p.txtTrgSymmetry->setText("33");
        dialogs().messages.clear();
        dialogs().helpRequests.clear();
        dialogs().answers = {answer};
        paste(p.txtBurstCount, "20");
        ASSERT_EQ(dialogs().messages.size(), 1u);
        EXPECT_EQ(dialogs().messages[0].buttons, UserDialogs::Buttons::YesNo);
        EXPECT_EQ(p.txtBurstCount->text(), "0");
        // The symmetry keeps its value.
        EXPECT_EQ(p.txtTrgSymmetry->text(), "33");
        EXPECT_EQ(dialogs().helpRequests,
                  answer == UserDialogs::Answer::Yes ? std::vector<int>{9977 + 200} : std::vector<int>{});
    }
    // A decimal count that does not fit: one question, and the symmetry stays as it was.
    p.txtTrgSymmetry->setText("33");
    dialogs().messages.clear();
    paste(p.txtBurstCount, "25.5");
    EXPECT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(p.txtBurstCount->text(), "0");
    EXPECT_EQ(p.txtTrgSymmetry->text(), "33");
}

TEST_F(BurstWindow, MissingValuesMoveTheFocus) {
    Panel& p = panel();
    p.txtMainFreq->setText("");
    type(p.txtBurstCount, "5");
    EXPECT_TRUE(hasFocus(p.txtMainFreq));

    p.txtMainFreq->setText("1000.0");
    p.txtBurstPeriod->setText("");
    paste(p.txtBurstCount, "4");
    EXPECT_TRUE(hasFocus(p.txtBurstPeriod));
}

TEST_F(BurstWindow, CountCaretStaysWhereTyped) {
    Panel& p = panel();
    p.txtMainFreq->setText("10000.0");
    enter(p.txtBurstPeriod, "100");
    paste(p.txtBurstCount, "2");
    p.txtBurstCount->setCursorPosition(0);
    QTest::keyClick(p.txtBurstCount, Qt::Key_1);
    EXPECT_EQ(p.txtBurstCount->text(), "12");
    EXPECT_EQ(p.txtBurstCount->cursorPosition(), 1);
    // A typed decimal point is dropped at once.
    p.txtBurstCount->setCursorPosition(2);
    QTest::keyClick(p.txtBurstCount, Qt::Key_Period);
    EXPECT_EQ(p.txtBurstCount->text(), "12");
    EXPECT_EQ(p.txtBurstCount->cursorPosition(), 2);
    EXPECT_EQ(p.txtTrgSymmetry->text(), "12");
}

TEST_F(BurstWindow, FineTuningBar) {
    const struct {
        const char* mainFreq;
        const char* rate;
        const char* message;
    } cases[] = {
        {"1000.0", "100", ""},
        {"0", "100", ""}, // only an empty text is missing here
        {"", "100", "Please give the Main Frequence value first."},
        {"1000.0", "", "Please give the Burst Period value first."},
    };
    Panel& p = panel();
    for (const auto& c : cases) {
        const std::string where = QString("main %1 rate %2").arg(c.mainFreq, c.rate).toStdString();
        p.txtMainFreq->setText(c.mainFreq);
        p.txtBurstPeriod->setText(c.rate);
        p.txtTrgSymmetry->setText("33");
        p.txtTrgSymmetry->markAccepted();
        p.lblSymmetry->setText("");
        p.HScroll1->setValue(20);
        dialogs().messages.clear();
        p.HScroll1->setValue(35);
        if (*c.message) {
            ASSERT_EQ(dialogs().messages.size(), 1u) << where;
            EXPECT_EQ(dialogs().messages[0].text, QString(c.message)) << where;
            EXPECT_EQ(dialogs().messages[0].icon, UserDialogs::Icon::Information) << where;
            EXPECT_EQ(p.txtTrgSymmetry->text(), "33") << where;
            EXPECT_EQ(p.lblSymmetry->text(), "") << where;
        } else {
            EXPECT_TRUE(dialogs().messages.empty()) << where;
            EXPECT_EQ(p.txtTrgSymmetry->text(), "35") << where;
            EXPECT_EQ(p.lblSymmetry->text(), "35") << where;
            EXPECT_FALSE(isWhite(p.txtTrgSymmetry)) << where; // waits for its Enter
        }
    }
}

TEST_F(BurstWindow, SpinStartsOnEmptyBoxes) {
    Panel& p = panel();
    p.txtMainFreq->setText("1000.0");
    for (bool up : {true, false}) {
        p.txtBurstPeriod->setText("");
        up ? clickUp(p.txtBurstPeriod) : clickDown(p.txtBurstPeriod);
        EXPECT_EQ(p.txtBurstPeriod->text(), "0.01") << up;
        EXPECT_EQ(p.txtBurstPeriod->Tag(), "0.01") << up;
        EXPECT_TRUE(hasFocus(p.txtBurstPeriod)) << up;
    }
    enter(p.txtBurstPeriod, "100");
    for (bool up : {true, false}) {
        p.txtBurstCount->setText("");
        p.txtTrgSymmetry->setText("33");
        up ? clickUp(p.txtBurstCount) : clickDown(p.txtBurstCount);
        EXPECT_EQ(p.txtBurstCount->text(), "1") << up;
        EXPECT_EQ(p.txtBurstCount->Tag(), "1") << up;
        EXPECT_TRUE(hasFocus(p.txtBurstCount)) << up;
        EXPECT_EQ(p.txtTrgSymmetry->text(), "10") << up; // the count rule ran
    }
}
