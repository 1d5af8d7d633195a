// The rate and symmetry copies between the groups, driven from the modulation and sweep boxes.
#include "rules_typing.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QCheckBox>

class SynchronisationWindow : public WindowFixture {
protected:
    QStringList texts(std::initializer_list<NumericBox*> boxes) {
        QStringList list;
        for (NumericBox* box : boxes)
            list << box->text() + (box->BackColor() == ColorWhite ? "" : " (orange)");
        return list;
    }
};

TEST_F(SynchronisationWindow, AcceptedRateAndSymmetryAreCopiedWhileTicked) {
    frmDXS& w = window();
    Panel& p = w.panel;
    const struct {
        bool ticked;
        NumericBox* source;
        const char* typed;
        std::initializer_list<NumericBox*> receivers;
        QStringList expected;
    } cases[] = {
        {true,
         p.txtModRate,
         "2500",
         {p.txtSweepRate, p.txtTrgRate, p.txtBurstPeriod, p.txtGatePeriod},
         {"2500", "2500", "2500", "2500"}},
        {true,
         p.txtSweepRate,
         "101",
         {p.txtModRate, p.txtTrgRate, p.txtBurstPeriod, p.txtGatePeriod},
         {"200", "200", "200", "200"}},
        {true, p.txtModSymmetry, "95", {p.txtSweepSymmetry, p.txtTrgSymmetry}, {"90", "90"}},
        {true, p.txtSweepSymmetry, "33.3", {p.txtModSymmetry, p.txtTrgSymmetry}, {"33", "33"}},
        {false,
         p.txtModRate,
         "7",
         {p.txtSweepRate, p.txtTrgRate, p.txtBurstPeriod, p.txtGatePeriod},
         {"200", "200", "200", "200"}},
        {false, p.txtSweepSymmetry, "20", {p.txtModSymmetry, p.txtTrgSymmetry}, {"33", "33"}},
    };
    for (const auto& c : cases) {
        p.chkSyncRateSym->setChecked(c.ticked);
        const std::size_t before = dialogs().messages.size();
        typeAndEnter(c.source, c.typed);
        EXPECT_EQ(texts(c.receivers), c.expected) << c.source->objectName().toStdString() << " " << c.typed;
        EXPECT_EQ(dialogs().messages.size(), before); // no receiver's own rule ran
    }
    // the copies ran no Enter rule: the receivers keep their steps
    EXPECT_EQ(p.txtSweepRate->Tag(), QString("100"));
    EXPECT_EQ(p.txtModRate->Tag(), QString("1"));
}
