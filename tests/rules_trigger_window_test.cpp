#include "rules_trigger_window.h"

using TriggerWindow = TriggerTabsWindow;

TEST_F(TriggerWindow, RateBandsWithAndWithoutSynchronisation) {
    const struct {
        const char* typed;
        const char* shown;
        const char* step;
    } cases[] = {
        {"20000", "10000", "100"}, {"101", "200", "100"},   {"260", "300", "100"}, {"99.6", "100", "1"},
        {"1.01", "2", "1"},        {"0.5", "0.50", "0.01"}, {"", "0.01", "0.01"},  {"1", "1", "0.01"},
    };
    Panel& p = panel();
    for (bool sync : {false, true}) {
        for (const auto& c : cases) {
            const QString where = QString("%1 sync %2").arg(c.typed).arg(sync);
            setSync(sync);
            p.txtSweepRate->setText("7");
            p.txtModRate->setText("7");
            p.txtBurstPeriod->setText("8");
            p.txtGatePeriod->setText("9");
            enter(p.txtTrgRate, c.typed);
            EXPECT_EQ(p.txtTrgRate->text(), QString(c.shown)) << where.toStdString();
            EXPECT_EQ(p.txtTrgRate->Tag(), QString(c.step)) << where.toStdString();
            EXPECT_TRUE(isWhite(p.txtTrgRate)) << where.toStdString();
            EXPECT_EQ(window().record.text(RecordField::TriggerRate),
                      QString(c.shown).leftJustified(6, ' ', true))
                << where.toStdString();
            const QString follower = sync ? QString(c.shown) : QString("7");
            EXPECT_EQ(p.txtSweepRate->text(), follower) << where.toStdString();
            EXPECT_EQ(p.txtModRate->text(), follower) << where.toStdString();
            EXPECT_EQ(isWhite(p.txtSweepRate), sync) << where.toStdString();
            EXPECT_EQ(isWhite(p.txtModRate), sync) << where.toStdString();
            // The burst and gate boxes never follow the trigger rate.
            EXPECT_EQ(p.txtBurstPeriod->text(), "8") << where.toStdString();
            EXPECT_EQ(p.txtGatePeriod->text(), "9") << where.toStdString();
        }
    }
}

TEST_F(TriggerWindow, TypedNegativeRateTurnsIntoTheSmallestRateAtOnce) {
    Panel& p = panel();
    type(p.txtTrgRate, "-5");
    EXPECT_EQ(p.txtTrgRate->text(), "0.01");
    EXPECT_EQ(p.txtTrgRate->Tag(), "0.01");
}

TEST_F(TriggerWindow, SymmetryIsStoredOnlyWhenTheBoxIsLeft) {
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {{"95", "90"}, {"5", "10"}, {"33.4", "33"}, {"", "10"}};
    Panel& p = panel();
    setSync(true);
    for (const auto& c : cases) {
        window().record.setText(RecordField::TriggerSymmetry, "xx");
        enter(p.txtTrgSymmetry, c.typed);
        EXPECT_EQ(p.txtTrgSymmetry->text(), QString(c.shown)) << c.typed;
        EXPECT_TRUE(isWhite(p.txtTrgSymmetry)) << c.typed;
        EXPECT_EQ(p.txtModSymmetry->text(), QString(c.shown)) << c.typed;
        EXPECT_EQ(p.txtSweepSymmetry->text(), QString(c.shown)) << c.typed;
        EXPECT_TRUE(isWhite(p.txtModSymmetry) && isWhite(p.txtSweepSymmetry)) << c.typed;
        EXPECT_EQ(window().record.text(RecordField::TriggerSymmetry), "xx ") << c.typed;
        p.txtTrgPhase->setFocus();
        settle();
        EXPECT_EQ(window().record.text(RecordField::TriggerSymmetry), QString(c.shown).leftJustified(3))
            << c.typed;
    }
}

TEST_F(TriggerWindow, PhaseFollowsEveryChange) {
    Panel& p = panel();
    NumericBox* phase = p.txtTrgPhase;
    type(phase, "9");
    EXPECT_EQ(phase->text(), "9");
    QTest::keyClick(phase, Qt::Key_5);
    EXPECT_EQ(phase->text(), "80");
    EXPECT_EQ(window().record.text(RecordField::TriggerPhase), "80 ");

    const struct {
        const char* pasted;
        const char* shown;
    } pastes[] = {{"12.7", "13"}, {"-100", "-90"}, {"", "0"}, {"abc", "0"}, {"-90.5", "-90"}};
    for (const auto& c : pastes) {
        paste(phase, c.pasted);
        EXPECT_EQ(phase->text(), QString(c.shown)) << c.pasted;
        EXPECT_EQ(phase->Tag(), "1") << c.pasted;
        EXPECT_EQ(window().record.text(RecordField::TriggerPhase), QString(c.shown).leftJustified(3))
            << c.pasted;
    }

    type(phase, "-");
    EXPECT_EQ(phase->text(), "0");

    paste(phase, "45");
    phase->setCursorPosition(0);
    QTest::keyClick(phase, Qt::Key_Minus);
    EXPECT_EQ(phase->text(), "-45");
    EXPECT_EQ(phase->cursorPosition(), 1);

    // A digit typed in the middle that pushes the value out of range: the caret stays after it.
    paste(phase, "45");
    phase->setCursorPosition(1);
    QTest::keyClick(phase, Qt::Key_9);
    EXPECT_EQ(phase->text(), "80");
    EXPECT_EQ(phase->cursorPosition(), 2);

    // A decimal point is dropped at once; the caret goes to the end of the shorter text.
    paste(phase, "12");
    phase->setCursorPosition(2);
    QTest::keyClick(phase, Qt::Key_Period);
    EXPECT_EQ(phase->text(), "12");
    EXPECT_EQ(phase->cursorPosition(), 2);
}

TEST_F(TriggerWindow, SteppingThePhaseAboveItsTopComesBack) {
    Panel& p = panel();
    paste(p.txtTrgPhase, "80");
    QTest::keyClick(p.txtTrgPhase, Qt::Key_Up);
    settle();
    EXPECT_EQ(p.txtTrgPhase->text(), "80");
    clickUp(p.txtTrgPhase);
    EXPECT_EQ(p.txtTrgPhase->text(), "80");
    clickDown(p.txtTrgPhase);
    EXPECT_EQ(p.txtTrgPhase->text(), "79");
}

TEST_F(TriggerWindow, SpinStartsOnEmptyBoxes) {
    Panel& p = panel();
    type(p.txtTrgRate, "");
    clickUp(p.txtTrgRate);
    EXPECT_EQ(p.txtTrgRate->text(), "0.01");
    EXPECT_EQ(p.txtTrgRate->Tag(), "0.01");
    EXPECT_TRUE(hasFocus(p.txtTrgRate));

    type(p.txtTrgSymmetry, "");
    clickUp(p.txtTrgSymmetry);
    EXPECT_EQ(p.txtTrgSymmetry->text(), "10");
    EXPECT_EQ(p.txtTrgSymmetry->Tag(), "1");
    EXPECT_TRUE(hasFocus(p.txtTrgSymmetry));

    // The phase's buttons step the phase and leave an empty rate box alone.
    type(p.txtTrgRate, "");
    paste(p.txtTrgPhase, "5");
    clickUp(p.txtTrgPhase);
    EXPECT_EQ(p.txtTrgPhase->text(), "6");
    EXPECT_TRUE(hasFocus(p.txtTrgPhase));
    EXPECT_EQ(p.txtTrgRate->text(), "");
}

TEST_F(TriggerWindow, SourceChoiceIsTheSameInAllThreeTabs) {
    Panel& p = panel();
    struct Pair {
        QRadioButton* internal;
        QRadioButton* external;
    };
    const Pair pairs[] = {
        {p.optTriggerInt, p.optTriggerExt}, {p.optBurstInt, p.optBurstExt}, {p.optGateInt, p.optGateExt}};
    for (const Pair& chosen : pairs) {
        chosen.external->click();
        for (const Pair& pair : pairs)
            EXPECT_TRUE(pair.external->isChecked() && !pair.internal->isChecked());
        // The external source leaves the boxes as they are.
        EXPECT_TRUE(p.txtTrgRate->isEnabled() && p.txtGatePeriod->isEnabled());
        chosen.internal->click();
        for (const Pair& pair : pairs)
            EXPECT_TRUE(pair.internal->isChecked() && !pair.external->isChecked());
    }

    for (NumericBox* box :
         {p.txtTrgRate, p.txtTrgSymmetry, p.txtTrgPhase, p.txtGatePeriod, p.txtOpenGatePeriod})
        box->setEnabled(false);
    p.optTriggerInt->click(); // already chosen: a click runs the rule again
    EXPECT_TRUE(p.txtTrgRate->isEnabled() && p.txtTrgSymmetry->isEnabled() && p.txtTrgPhase->isEnabled());
    p.optGateInt->click();
    EXPECT_TRUE(p.txtGatePeriod->isEnabled() && p.txtOpenGatePeriod->isEnabled());
}
