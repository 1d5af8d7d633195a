// The exchange transcript over the real wire, and the program's command line run as a process.
#include "app/CommandLine.h"
#include "instrument/Transcript.h"
#include "support/SendFixture.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace {

struct Event {
    double at;
    QString what;  // "write" or "read"
    QString bytes; // as recorded, quoted and escaped; "no reply" for a read that found nothing
    double waitMs = -1;
};

// Parses "<ms> RS232 COM1 <device> write|read <bytes> [after <ms> ms]" lines.
QList<Event> exchanges(const QStringList& lines) {
    static const QRegularExpression pattern(
        R"(^(\d+\.\d) RS232 COM1 \S+ (write|read) ("(?:[^"\\]|\\.)*"|no reply)(?: after (\d+\.\d) ms)?$)");
    QList<Event> events;
    for (const QString& line : lines)
        if (const auto m = pattern.match(line); m.hasMatch())
            events.append({m.captured(1).toDouble(), m.captured(2), m.captured(3),
                           m.captured(4).isEmpty() ? -1 : m.captured(4).toDouble()});
    return events;
}

} // namespace

class TranscriptTest : public SendFixture {};

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
    const QList<Event> events = exchanges(lines);
    ASSERT_EQ(events.size(), 2 * sim().lines().size()) << lines.join('\n').toStdString();
    for (qsizetype i = 0; i < events.size(); ++i) {
        const Event& e = events[i];
        SCOPED_TRACE((e.what + " " + e.bytes).toStdString());
        EXPECT_GE(e.at, i > 0 ? events[i - 1].at : 0.0);
        if (i % 2 == 0) { // the command exactly as the instrument received it, its line feed escaped
            EXPECT_EQ(e.what, "write");
            EXPECT_EQ(e.bytes, '"' + QString::fromLatin1(sim().lines()[i / 2]) + "\\n\"");
        } else { // its reply, read no earlier than the pacing interval after the write
            EXPECT_EQ(e.what, "read");
            EXPECT_GE(e.waitMs, kFastPacing);
        }
    }
    // clang-format off
    const QList<std::pair<QString, QString>> expected = { // write, then the reply read
        {R"("*IDN?\n")", R"("DXS-4820 Function Generator (simulated),1.0\n")"}, // readiness at start-up
        {R"("*IDN?\n")", R"("DXS-4820 Function Generator (simulated),1.0\n")"}, // Ready
        {R"("*IDN?\n")", R"("DXS-4820 Function Generator (simulated),1.0\n")"}, // IDN
        {R"(":FUNC:WAV 1\n")", "no reply"}, {R"(":FREQ 10000\n")", "no reply"},
        {R"(":AMPL:VOLT 5\n")", "no reply"}, {R"(":OFFS 0\n")", "no reply"}, {R"(":DUTY 50\n")", "no reply"},
        {R"(":SOUR:STAT 0\n")", "no reply"}, {R"(":SOUR:TRIG:STAT 0\n")", "no reply"},
        {R"(":SOUR:COUN:SOUR 0\n")", "no reply"}, {R"(":SOUR:STAT ?\n")", R"("0\n")"}};
    // clang-format on
    ASSERT_GE(events.size(), 2 * expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(events[2 * i].bytes, expected[i].first);
        EXPECT_EQ(events[2 * i + 1].bytes, expected[i].second);
    }
}

TEST(TranscriptEscape, ControlBytesQuotesAndBackslashesStayVisibleOnOneLine) {
    const std::pair<QByteArray, QString> cases[] = {
        {":FREQ 2500\n", R"(":FREQ 2500\n")"},
        {QByteArray("\r\t\0\x1b\x7f\xff", 6), R"("\r\t\x00\x1b\x7f\xff")"},
        {"say \"hi\" \\ 1E-05", R"("say \"hi\" \\ 1E-05")"},
        {"", R"("")"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(Transcript::escaped(bytes), text) << bytes.toHex().toStdString();
}

TEST(CommandLineProgram, HelpVersionAndMistakesGiveTheirExitCodes) {
    const struct {
        QStringList arguments;
        int exitCode;
        QString says; // on standard output when the exit code is 0, else on standard error
    } cases[] = {
        {{"--help"}, 0, "--transcript <FILE>"},
        {{"-h"}, 0, "--version"},
        {{"--version"}, 0, "dxs4820 "},
        {{"-platform", "offscreen", "-v"}, 0, "dxs4820 "}, // the toolkit's options pass
        {{"--bogus"}, 2, "Unknown option 'bogus'"},
        {{"stray"}, 2, "unexpected argument 'stray'"},
        {{"--transcript"}, 2, "Missing value after '--transcript'"},
        {{"--transcript", "/"}, 2, "/ is not a regular file"},
    };
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
