// The simulated instrument: what it answers, what it keeps, and its program's link on the disk.
#include "instrument/SimulatedInstrument.h"
#include "support/QtPrint.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

TEST(SimulatedInstrument, AnswersQueriesWithTheValuesItWasSent) {
    SimulatedInstrument sim;
    // The long form of a header sets, the short form asks; unknown headers and bad values change nothing.
    // clang-format off
    const struct { const char* line; const char* answer; } steps[] = {
        {"*IDN?", "DXS-4820 Function Generator (simulated),1.0\n"}, {":FREQ ?", "0.000000E+00\n"},
        {":FREQ 1000", ""}, {":FREQ ?", "1.000000E+03\n"}, {":OFFS -2.5", ""}, {":OFFS ?", "-2.500000E+00\n"},
        {":SOUR:MODAM:RAT 1E-05", ""}, {":SOUR:MODAM:RAT ?", "1.000000E-05\n"}, {":DUTY 50", ""}, {":DUTY ?", "50\n"},
        {":SOURCE:SOURCE 1", ""}, {":SOUR:SOUR ?", "1\n"}, {":SOUR:TRIG:PHAS -90\r", ""}, {":SOUR:TRIG:PHAS ?", "-90\n"},
        {":NOPE 5", ""}, {":NOPE ?", ""}, {":FREQ abc", ""}, {":FREQ ?", "1.000000E+03\n"}, {"", ""}};
    // clang-format on
    for (const auto& step : steps)
        EXPECT_EQ(sim.answer(step.line), QByteArray(step.answer)) << step.line;
    // Lines are logged exactly as received, across pieces.
    SimulatedInstrument fed;
    EXPECT_TRUE(fed.feed("*ID").isEmpty());
    EXPECT_EQ(fed.feed("N?\n:FREQ 5\r\n:FREQ ?\n"),
              QList<QByteArray>({SimulatedInstrument::identification() + '\n', "5.000000E+00\n"}));
    EXPECT_EQ(fed.received, QList<QByteArray>({"*IDN?", ":FREQ 5\r", ":FREQ ?"}));
}

TEST(SimulatedInstrument, ProgramRemovesItsLinkOnTermination) {
    QTemporaryDir folder;
    const QString link = folder.path() + "/COM2";
    for (const int signal : {SIGTERM, SIGINT}) {
        QProcess sim;
        sim.start(DXS_SIM_PATH, {"--dir", folder.path(), "--port", "2", "--log", folder.path() + "/log"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(link).isSymLink(); }, 5000));
        ::kill(pid_t(sim.processId()), signal);
        ASSERT_TRUE(sim.waitForFinished(5000));
        EXPECT_EQ(sim.exitCode(), 0);
        EXPECT_FALSE(QFileInfo(link).isSymLink());
    }
}
