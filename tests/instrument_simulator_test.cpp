// The simulated instrument: what it answers, what it keeps, and its program's link on the disk.
#include "core/ProgramFolder.h"
#include "instrument/SerialTransport.h"
#include "instrument/SimulatedInstrument.h"
#include "support/QtPrint.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

TEST(SimulatedInstrument, AnswersQueriesWithTheValuesItWasSent) {
    SimulatedInstrument sim;
    const struct {
        const char* line;
        const char* answer;
    } steps[] = {
        {"*IDN?", "DXS-4820 Function Generator (simulated),1.0\n"},
        {":FREQ ?", "0.000000E+00\n"},
        {":FREQ 1000", ""},
        {":FREQ ?", "1.000000E+03\n"},
        {":OFFS -2.5", ""},
        {":OFFS ?", "-2.500000E+00\n"},
        {":SOUR:MODAM:RAT 1E-05", ""},
        {":SOUR:MODAM:RAT ?", "1.000000E-05\n"},
        {":DUTY 50", ""},
        {":DUTY ?", "50\n"},
        {":SOURCE:SOURCE 1", ""}, // the long form of the header sets, the short form asks
        {":SOUR:SOUR ?", "1\n"},
        {":SOUR:MODFM:SYM 20", ""},
        {":SOUR:MODFM:SYM ?", "20\n"},
        {":SOUR:TRIG:PHAS -90\r", ""},
        {":SOUR:TRIG:PHAS ?", "-90\n"},
        {":NOPE 5", ""},
        {":NOPE ?", ""},
        {":FREQ abc", ""},
        {":FREQ ?", "1.000000E+03\n"},
        {"", ""},
    };
    for (const auto& step : steps)
        EXPECT_EQ(sim.answer(step.line), QByteArray(step.answer)) << step.line;
}

TEST(SimulatedInstrument, LogsLinesExactlyAsReceivedAcrossPieces) {
    SimulatedInstrument sim;
    EXPECT_TRUE(sim.feed("*ID").isEmpty());
    const QList<QByteArray> answers = sim.feed("N?\n:FREQ 5\r\n:FREQ ?\n");
    EXPECT_EQ(sim.received, QList<QByteArray>({"*IDN?", ":FREQ 5\r", ":FREQ ?"}));
    EXPECT_EQ(answers, QList<QByteArray>({SimulatedInstrument::identification() + '\n', "5.000000E+00\n"}));
}

TEST(SimulatedInstrument, OptionsChangeTheAnswers) {
    const struct {
        const char* name;
        SimulatedOptions options;
        QList<QByteArray> answers; // to "*IDN?", ":DUTY ?", "*IDN?"
    } cases[] = {
        {"normal",
         {},
         {SimulatedInstrument::identification() + '\n', "0\n", SimulatedInstrument::identification() + '\n'}},
        {"silent", {.silent = true}, {"", "", ""}},
        {"answer once", {.answerOnce = true}, {SimulatedInstrument::identification() + '\n', "", ""}},
        {"huge", {.hugeReplyBytes = 3000000}, {}},
        {"garbage", {.garbage = true}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedInstrument sim;
        sim.options = c.options;
        const QList<QByteArray> answers = {sim.answer("*IDN?"), sim.answer(":DUTY ?"), sim.answer("*IDN?")};
        if (!c.answers.isEmpty()) {
            EXPECT_EQ(answers, c.answers);
        } else {
            for (const QByteArray& answer : answers) {
                EXPECT_FALSE(answer.isEmpty());
                EXPECT_FALSE(answer.contains('\n'));
                if (c.options.hugeReplyBytes) EXPECT_EQ(answer.size(), c.options.hugeReplyBytes);
            }
        }
    }
}

TEST(SimulatedInstrument, PortLinkPointsToThePseudoTerminalAndGoesWithIt) {
    QTemporaryDir folder;
    QString link;
    {
        SimulatedInstrumentPort port(folder.path(), 4);
        ASSERT_TRUE(port.isRunning()) << port.errorText().toStdString();
        link = port.linkPath();
        EXPECT_EQ(link, folder.path() + "/COM4");
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), port.slaveName());
        setProgramFolder(folder.path());
        EXPECT_EQ(SerialTransport::deviceForPort(4), link);
        setProgramFolder(QString());
    }
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST(SimulatedInstrument, ProgramRemovesItsLinkOnTermination) {
    QTemporaryDir folder;
    const QString link = folder.path() + "/COM2";
    for (const int signal : {SIGTERM, SIGINT}) {
        QProcess sim;
        sim.start(DXS_SIM_PATH, {"--dir", folder.path(), "--port", "2", "--log", folder.path() + "/log"});
        ASSERT_TRUE(sim.waitForStarted());
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(link).isSymLink(); }, 5000));
        ::kill(pid_t(sim.processId()), signal);
        ASSERT_TRUE(sim.waitForFinished(5000));
        EXPECT_EQ(sim.exitCode(), 0);
        EXPECT_FALSE(QFileInfo(link).isSymLink());
    }
}
