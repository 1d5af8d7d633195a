// The exchange transcript over the real wire, and the program's command line run as a process.
#include "app/CommandLine.h"
#include "instrument/Transcript.h"
#include "support/SendFixture.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

using TranscriptTest = SendFixture;

TEST_F(TranscriptTest, SendRecordsEveryLineTheInstrumentReceivedAndItsReply) {
    const QString path = folder() + "/exchanges.txt";
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly) && earlier.write("an earlier run\n") > 0);
    earlier.close();
    QString error;
    const auto transcript = Transcript::open(path, &error);
    ASSERT_TRUE(transcript) << error.toStdString();
    frmDXS& w = window();
    const auto recorders = recordExchanges(w, *transcript);
    w.instrument.iWaiting_ms = kFastPacing;
    ASSERT_TRUE(sim().waitForLines(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.instrument.isExchanging(); }));
    w.mnuSend->trigger();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), "an earlier run"); // appended, never truncated
    // "<ms> RS232 COM1 <device> write|read <bytes> [after <ms> ms]", bytes quoted and escaped
    static const QRegularExpression pattern(
        R"(^(\d+\.\d) RS232 COM1 \S+ (write|read) ("(?:[^"\\]|\\.)*"|no reply)(?: after (\d+\.\d) ms)?$)");
    QList<QRegularExpressionMatch> events;
    for (const QString& line : lines)
        if (const auto m = pattern.match(line); m.hasMatch()) events << m;
    // The start-up readiness check, then Send's Ready and IDN, each "*IDN?" and answered, then the settings.
    const QByteArrayList received = sim().lines();
    ASSERT_EQ(received.mid(0, 4), QByteArrayList({"*IDN?", "*IDN?", "*IDN?", ":FUNC:WAV 1"}));
    ASSERT_EQ(events.size(), 2 * received.size()) << lines.join('\n').toStdString();
    double previous = 0;
    for (qsizetype i = 0; i < received.size(); ++i) {
        const QRegularExpressionMatch &write = events[2 * i], &read = events[2 * i + 1];
        SCOPED_TRACE(write.captured(0).toStdString());
        // The command as received, its line feed escaped; its reply read at least the pacing interval after.
        EXPECT_EQ(write.captured(2) + write.captured(3),
                  "write\"" + QString::fromLatin1(received[i]) + "\\n\"");
        EXPECT_EQ(read.captured(2), "read");
        EXPECT_GE(read.captured(4).toDouble(), kFastPacing);
        EXPECT_GE(write.captured(1).toDouble(), previous);
        EXPECT_GE(read.captured(1).toDouble(), write.captured(1).toDouble());
        previous = read.captured(1).toDouble();
        const QString reply = received[i] == "*IDN?" ? R"("DXS-4820 Function Generator (simulated),1.0\n")"
                              : received[i] == ":SOUR:STAT ?" ? R"("0\n")"
                                                              : "no reply";
        EXPECT_EQ(read.captured(3), reply);
    }
}

TEST(CommandLineProgram, HelpVersionAndMistakesGiveTheirExitCodes) {
    // clang-format off
    const struct { QStringList arguments; int exitCode; QString says; } cases[] = { // says: on stdout if 0, else stderr
        {{"-h"}, 0, "--transcript <FILE>"}, {{"-platform", "offscreen", "--version"}, 0, "dxs4820 "}, // toolkit options pass
        {{"--bogus"}, 2, "Unknown option 'bogus'"}, {{"one.Log", "stray"}, 2, "unexpected argument 'stray'"}, {{"--send", "a", "one.Log"}, 2, "unexpected argument 'one.Log'"},
        {{"--transcript"}, 2, "Missing value after '--transcript'"}, {{"--transcript", "/"}, 2, "/ is not a regular file"},
        {{"--send"}, 2, "Missing value after '--send'"}, {{"--send", "a", "--read", "b"}, 2, "cannot be combined"},
        {{"--port", "1"}, 2, "need --send or --read"}, {{"--read", "a", "--port", "5"}, 2, "port number from 1 to 4"},
        {{"--send", "a", "--baud", "115200"}, 2, "--baud takes one of"}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QProcess program;
        program.start(DXS_PROGRAM_PATH, c.arguments);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.exitCode);
        const QString output = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString error = QString::fromLocal8Bit(program.readAllStandardError());
        EXPECT_TRUE((c.exitCode == 0 ? output : error).contains(c.says)) << (output + error).toStdString();
        EXPECT_TRUE((c.exitCode == 0 ? error : output).isEmpty()) << (output + error).toStdString();
    }
}
