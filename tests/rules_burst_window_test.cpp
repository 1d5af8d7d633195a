#include "rules_window.h"

namespace {
const char* const kTooLong = "Please Change value of Burst Count. Do you need help?";
const char* const kNeedMain = "Please set Main Frequence Value first!";
const char* const kNeedRate = "Please set Burst Period Value first!";
} // namespace

class BurstWindow : public RulesWindow {
protected:
    void setMainAndRate(const char* mainFreq, const char* rate) {
        panel().txtMainFreq->setText(mainFreq);
        *rate ? enter(panel().txtBurstPeriod, rate) : panel().txtBurstPeriod->setText("");
    }
    // The trigger symmetry, the bar's label and the bar.
    QString share() {
        const Panel& p = panel();
        return QString("%1|%2|%3")
            .arg(look(p.txtTrgSymmetry), p.lblSymmetry->text())
            .arg(p.HScroll1->value());
    }
};

TEST_F(BurstWindow, RateGivesThePeriodAndTheTriggerRate) {
    Panel& p = panel();
    const struct {
        const char *typed, *state, *label;
    } cases[] = {
        {"50", "50/1", "0.0200sec"},       {"1", "1.00/0.01", "1.0000sec"},
        {"0.5", "0.50/0.01", "2.0000sec"}, {"12345", "10000/100", "0.0001sec"},
        {"150", "200/100", "0.0050sec"},   {"101", "200/100", "0.0050sec"},
        {"1.01", "2/1", "0.5000sec"},      {"", "0.01/0.01", "100.0000sec"},
    };
    for (bool sync : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.typed + std::string(sync ? " sync" : ""));
            p.chkSyncRateSym->setChecked(sync);
            for (NumericBox* box : {p.txtModRate, p.txtSweepRate, p.txtGatePeriod, p.txtTrgRate})
                box->setText("7");
            enter(p.txtBurstPeriod, c.typed);
            EXPECT_EQ(state(p.txtBurstPeriod) + " " + p.lblBurstPeriodSec->text(),
                      QString("%1 %2").arg(c.state, c.label));
            // the trigger rate carries the burst rate, synchronised or not
            const QString rate = p.txtBurstPeriod->text(), follower = sync ? rate : "7 orange";
            EXPECT_EQ(looks({p.txtTrgRate, p.txtModRate, p.txtSweepRate, p.txtGatePeriod}),
                      QStringList({rate, follower, follower, follower}));
        }
    }
    // a trigger rate that already shows the burst rate is not touched, so it keeps its mark
    p.chkSyncRateSym->setChecked(false);
    p.txtTrgRate->setText("50");
    enter(p.txtBurstPeriod, "50");
    EXPECT_EQ(look(p.txtTrgRate), "50 orange");
}

// The count's share of the burst period becomes the trigger symmetry; more than one cycle the type Multi.
TEST_F(BurstWindow, CountBecomesTheTriggerSymmetryAndType) {
    Panel& p = panel();
    const struct {
        const char *mainFreq, *rate, *count, *countAfter, *share; // share: symmetry|bar label|bar
        bool multi;
        const char* message;
        const char* focus = "txtBurstCount";
    } cases[] = {
        {"1000.0", "100", "5", "5", "50|50|50", true, ""},
        {"10000.0", "100", "1", "1", "10||10", false, ""},
        {"1000.0", "100", "9", "9", "90|90|90", true, ""},
        {"1000.0", "100", "10", "10", "90|90|90", true, ""}, // exactly the whole period
        {"1000.0", "100", "2.5", "3", "30|30|30", true, ""},
        {"1000.0", "100", "20", "0", "33 orange||10", true, kTooLong},
        {"1000.0", "100", "25.5", "0", "33 orange||10", true, kTooLong}, // asked once, for the rounded count
        {"", "100", "5", "5", "33 orange||10", true, kNeedMain, "txtMainFreq"},
        {"0", "100", "5", "5", "33 orange||10", true, kNeedMain, "txtMainFreq"},
        {"1000.0", "", "5", "5", "33 orange||10", true, kNeedRate, "txtBurstPeriod"},
        {"1000.0", "100", "-3", "0", "33 orange||10", false, ""}, // no share from a negative count
        {"1000.0", "100", "0.4", "0", "33 orange||10", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("main ") + c.mainFreq + " rate " + c.rate + " count " + c.count);
        p.txtBurstCount->setText("");
        setMainAndRate(c.mainFreq, c.rate);
        p.optTriggerType[0]->setChecked(true);
        p.HScroll1->setValue(10);
        p.txtTrgSymmetry->setText("33");
        p.lblSymmetry->setText("");
        dialogs().messages.clear();
        paste(p.txtBurstCount, c.count);
        EXPECT_EQ(p.txtBurstCount->text() + " " + share(), QString("%1 %2").arg(c.countAfter, c.share));
        EXPECT_EQ(p.optTriggerType[1]->isChecked(), c.multi);
        EXPECT_EQ(dialogs().texts(), *c.message ? QStringList{c.message} : QStringList());
        EXPECT_EQ(focused(), c.focus);
    }
    EXPECT_TRUE(dialogs().helpRequests.empty()); // every question answered No
}

TEST_F(BurstWindow, TooLongCountOpensHelpOnYes) {
    setMainAndRate("1000.0", "100");
    dialogs().answers = {UserDialogs::Answer::Yes};
    paste(panel().txtBurstCount, "20");
    EXPECT_EQ(dialogs().helpRequests, std::vector<int>{9977 + 200});
    EXPECT_EQ(panel().txtBurstCount->text(), "0");
}

TEST_F(BurstWindow, CountCaretStaysWhereTyped) {
    NumericBox* count = panel().txtBurstCount;
    setMainAndRate("10000.0", "100");
    paste(count, "2");
    count->setCursorPosition(0);
    QTest::keyClick(count, Qt::Key_1);
    EXPECT_EQ(count->text() + "|" + QString::number(count->cursorPosition()), "12|1");
    count->setCursorPosition(2);
    QTest::keyClick(count, Qt::Key_Period); // a typed decimal point is dropped at once
    EXPECT_EQ(count->text() + "|" + QString::number(count->cursorPosition()), "12|2");
    EXPECT_EQ(share(), "12|12|12");
}

TEST_F(BurstWindow, FineTuningBar) {
    Panel& p = panel();
    const struct {
        const char *mainFreq, *rate, *message, *share;
    } cases[] = {
        {"1000.0", "100", "", "35 orange|35|35"}, // the symmetry waits for its Enter
        {"0", "100", "", "35 orange|35|35"},      // only an empty text is missing here
        {"", "100", "Please give the Main Frequence value first.", "33||35"},
        {"1000.0", "", "Please give the Burst Period value first.", "33||35"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("main ") + c.mainFreq + " rate " + c.rate);
        p.txtMainFreq->setText(c.mainFreq);
        p.txtBurstPeriod->setText(c.rate);
        p.HScroll1->setValue(20);
        preset(p.txtTrgSymmetry, "33");
        p.lblSymmetry->setText("");
        dialogs().messages.clear();
        p.HScroll1->setValue(35);
        EXPECT_EQ(dialogs().texts(), *c.message ? QStringList{c.message} : QStringList());
        EXPECT_EQ(share(), QString(c.share));
    }
    EXPECT_EQ(dialogs().messages.back().icon, UserDialogs::Icon::Information);
}
