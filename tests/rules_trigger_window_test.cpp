#include "rules_window.h"

using TriggerWindow = RulesWindow;

TEST_F(TriggerWindow, RateBandsWithAndWithoutSynchronisation) {
    Panel& p = panel();
    const struct {
        const char *typed, *state;
    } cases[] = {{"20000", "10000/100"}, {"101", "200/100"},   {"260", "300/100"}, {"99.6", "100/1"},
                 {"1.01", "2/1"},        {"0.5", "0.50/0.01"}, {"", "0.01/0.01"},  {"1", "1/0.01"}};
    for (bool sync : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.typed + std::string(sync ? " sync" : ""));
            p.chkSyncRateSym->setChecked(sync);
            for (NumericBox* box : {p.txtSweepRate, p.txtModRate, p.txtBurstPeriod, p.txtGatePeriod})
                box->setText("7");
            window().record.setText(RecordField::AMRate, "kept");
            enter(p.txtTrgRate, c.typed);
            EXPECT_EQ(state(p.txtTrgRate), QString(c.state));
            EXPECT_EQ(window().record.text(RecordField::AMRate), "kept  "); // copies are not stored
            EXPECT_EQ(window().record.text(RecordField::TriggerRate), p.txtTrgRate->text().leftJustified(6));
            // the sweep and modulation rates follow with synchronisation, the burst and gate rates never
            const QString follower = sync ? p.txtTrgRate->text() : "7 orange";
            EXPECT_EQ(looks({p.txtSweepRate, p.txtModRate, p.txtBurstPeriod, p.txtGatePeriod}),
                      QStringList({follower, follower, "7 orange", "7 orange"}));
        }
    }
    type(p.txtTrgRate, "-5"); // a typed negative value is replaced at once
    EXPECT_EQ(state(p.txtTrgRate), "0.01/0.01 orange");
}

TEST_F(TriggerWindow, SymmetryIsStoredOnlyWhenTheBoxIsLeft) {
    Panel& p = panel();
    p.chkSyncRateSym->setChecked(true);
    const struct {
        const char *typed, *text;
    } cases[] = {{"95", "90"}, {"5", "10"}, {"33.4", "33"}, {"", "10"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        window().record.setText(RecordField::TriggerSymmetry, "xx");
        enter(p.txtTrgSymmetry, c.typed);
        EXPECT_EQ(looks({p.txtTrgSymmetry, p.txtModSymmetry, p.txtSweepSymmetry}),
                  QStringList({c.text, c.text, c.text}));
        EXPECT_EQ(window().record.text(RecordField::TriggerSymmetry), "xx ");
        p.txtTrgPhase->setFocus();
        settle();
        EXPECT_EQ(window().record.text(RecordField::TriggerSymmetry), QString(c.text).leftJustified(3));
    }
}

// The phase is checked at every change, whole degrees from -90 to 80.
TEST_F(TriggerWindow, PhaseFollowsEveryChange) {
    NumericBox* phase = panel().txtTrgPhase;
    type(phase, "9");
    EXPECT_EQ(phase->text(), "9");
    QTest::keyClick(phase, Qt::Key_5);
    EXPECT_EQ(phase->text(), "80");
    EXPECT_EQ(window().record.text(RecordField::TriggerPhase), "80 ");
    const struct {
        const char *pasted, *text;
    } pastes[] = {{"12.7", "13"},   {"-100", "-90"}, {"", "0"},      {"abc", "0"},
                  {"-90.5", "-90"}, {"80.4", "80"},  {"80.5", "80"}, {"045", "45"},
                  {"-0.4", "0"},    {"1e1", "10"},   {"7x", "7"},    {"4.", "4"}};
    for (const auto& c : pastes) {
        SCOPED_TRACE(c.pasted);
        paste(phase, c.pasted);
        EXPECT_EQ(state(phase), QString(c.text) + "/1");
        EXPECT_EQ(window().record.text(RecordField::TriggerPhase), QString(c.text).leftJustified(3));
    }
    type(phase, "-");
    EXPECT_EQ(phase->text(), "0");
    // the caret stays where the key was typed, or at the end of a shorter text
    const struct {
        const char* before;
        int caret;
        Qt::Key key;
        const char* text;
        int caretAfter;
    } keys[] = {{"45", 0, Qt::Key_Minus, "-45", 1},
                {"45", 1, Qt::Key_9, "80", 2},
                {"12", 2, Qt::Key_Period, "12", 2}};
    for (const auto& k : keys) {
        paste(phase, k.before);
        phase->setCursorPosition(k.caret);
        QTest::keyClick(phase, k.key);
        EXPECT_EQ(phase->text() + "|" + QString::number(phase->cursorPosition()),
                  QString("%1|%2").arg(k.text).arg(k.caretAfter));
    }
}

TEST_F(TriggerWindow, PhaseStepsStopAtItsTop) {
    NumericBox* phase = panel().txtTrgPhase;
    paste(phase, "80");
    press(phase, Qt::Key_Up);
    EXPECT_EQ(phase->text(), "80");
    spin(phase, true);
    EXPECT_EQ(phase->text(), "80");
    spin(phase, false);
    EXPECT_EQ(phase->text(), "79");
}

TEST_F(TriggerWindow, SourceChoiceIsTheSameInAllThreeTabs) {
    Panel& p = panel();
    const std::pair<QRadioButton*, QRadioButton*> sources[] = {
        {p.optTriggerInt, p.optTriggerExt}, {p.optBurstInt, p.optBurstExt}, {p.optGateInt, p.optGateExt}};
    for (const auto& [chosenInt, chosenExt] : sources) {
        for (bool external : {true, false}) {
            (external ? chosenExt : chosenInt)->click();
            for (const auto& [internal, ext] : sources)
                EXPECT_TRUE(ext->isChecked() == external && internal->isChecked() != external);
        }
    }
    const auto boxes = {p.txtTrgRate, p.txtTrgSymmetry, p.txtTrgPhase, p.txtGatePeriod, p.txtOpenGatePeriod};
    for (NumericBox* box : boxes)
        box->setEnabled(false);
    p.optTriggerInt->click(); // already chosen: a click runs the rule again
    p.optGateInt->click();
    for (NumericBox* box : boxes)
        EXPECT_TRUE(box->isEnabled()) << box->objectName().toStdString();
}
