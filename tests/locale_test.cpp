// Numbers keep the decimal point whatever the user's locale says. The comma-decimal pass runs these
// with the C library set to write decimal commas.
#include "support/SendFixture.h"

#include <QAction>
#include <cstdio>
#include <cstdlib>

// The pass proves nothing unless the C library really follows the comma locale in this process,
// as the application object set it up.
TEST(CommaDecimal, LibraryFollowsTheCommaLocale) {
    const QByteArray asked = qgetenv("DXS_COMMA_DECIMAL");
    if (asked.isEmpty()) GTEST_SKIP() << "only in the comma-decimal pass";
    char written[16];
    std::snprintf(written, sizeof written, "%.1f", 2.5);
    EXPECT_STREQ(written, "2,5") << asked.constData() << " is not in force";
    EXPECT_EQ(std::strtod("2,5", nullptr), 2.5);
}

using CommaDecimalSend = SendFixture;

// Typed and confirmed as a user does, each entry reads back and goes out with a decimal point.
TEST_F(CommaDecimalSend, EntriesReadBackAndGoOutWithPoints) {
    const struct {
        NumericBox* Panel::*box;
        const char *typed, *shown, *sent;
    } cases[] = {{&Panel::txtMainFreq, "1.234", "1.23", ":FREQ 1.23"},
                 {&Panel::txtMainAmp, "2.5", "2.50", ":AMPL:VOLT 2.5"},
                 {&Panel::txtMainDCOffset, "1.25", "1.25", ":OFFS 1.25"}};
    frmDXS& w = ready();
    QStringList expected;
    for (const auto& c : cases) {
        NumericBox* box = w.panel.*c.box;
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, c.typed);
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(box->text(), QString(c.shown)) << c.typed;
        expected << c.sent;
    }
    w.mnuSend->trigger();
    const QStringList sent = sim().lineTexts();
    EXPECT_EQ(sent.mid(sent.indexOf(expected[0]), expected.size()), expected);
}
