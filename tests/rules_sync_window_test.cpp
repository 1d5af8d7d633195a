// The rate and symmetry copies between the groups, driven from the modulation and sweep boxes.
#include "rules_window.h"

using SynchronisationWindow = RulesWindow;

TEST_F(SynchronisationWindow, AcceptedRateAndSymmetryAreCopiedWhileTicked) {
    Panel& p = panel();
    const struct {
        bool ticked;
        NumericBox* source;
        const char *typed, *rates, *symmetries; // sweep, modulation, trigger, burst, gate; the same order
    } cases[] = {
        {true, p.txtModRate, "2500", "2500 2500 2500 2500 2500", "90 50 50"},
        {true, p.txtSweepRate, "101", "200 200 200 200 200", "90 50 50"},
        {true, p.txtModSymmetry, "95", "200 200 200 200 200", "90 90 90"},
        {true, p.txtSweepSymmetry, "33.3", "200 200 200 200 200", "33 33 33"},
        {false, p.txtModRate, "7", "200 7 200 200 200", "33 33 33"},
        {false, p.txtSweepSymmetry, "5", "200 7 200 200 200", "10 33 33"},
        {false, p.txtSweepSymmetry, "95", "200 7 200 200 200", "90 33 33"},
        {false, p.txtSweepSymmetry, "", "200 7 200 200 200", "10 33 33"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        p.chkSyncRateSym->setChecked(c.ticked);
        enter(c.source, c.typed);
        EXPECT_EQ(
            looks({p.txtSweepRate, p.txtModRate, p.txtTrgRate, p.txtBurstPeriod, p.txtGatePeriod}).join(' '),
            QString(c.rates));
        EXPECT_EQ(looks({p.txtSweepSymmetry, p.txtModSymmetry, p.txtTrgSymmetry}).join(' '),
                  QString(c.symmetries));
    }
    // the copies ran no Enter rule: the receivers keep their steps
    EXPECT_EQ(p.txtSweepRate->Tag() + " " + p.txtModRate->Tag(), "100 1");
}
