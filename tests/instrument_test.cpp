// The instrument object on the real wire (a SerialTransport on a pseudo-terminal with the simulated
// instrument at the other end, GPIB through a stand-in library) and on a recording transport; the
// pacing wait; the simulated instrument's program.
#include "core/ProgramFolder.h"
#include "instrument/GpibTransport.h"
#include "instrument/Pacing.h"
#include "instrument/SerialTransport.h"
#include "instrument/clsDXS4820.h"
#include "support/PtyInstrument.h"
#include "support/QtPrint.h"
#include "support/RecordingTransport.h"

#include <QFileInfo>
#include <QLibrary>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

namespace {

const QString kIdentification = "DXS-4820 Function Generator (simulated),1.0\n";
const QStringList kFailure{"DXS-4820 <--> PC: [Failure]"};

QStringList configureLines(const QString& method, const char* outcome) {
    return {"Set [Configure " + method + "] to DXS-4820...",
            "Set [Configure " + method + "] to DXS-4820" + outcome};
}

using P = Property;

QStringList progress(const QString& start, const QString& end, const char* outcome) {
    return {start + "...", end + outcome};
}

class InstrumentTable : public ::testing::Test {
protected:
    void SetUp() override {
        dxs.txtMsg = [this](const QString& line) { lines << line; };
        dxs.CWGPIB1 = &link;
        dxs.ConnectMethod("GPIB");
    }
    // Runs one action on a fresh record of writes and lines, the transport answering `reply`.
    template <class F> auto run(F action, const QByteArray& reply = "") {
        lines.clear();
        link.writes.clear();
        link.reply = reply;
        return action();
    }
    RecordingTransport link;
    clsDXS4820 dxs;
    QStringList lines;
};

class InstrumentLink : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        setProgramFolder(folder.path());
        dxs.txtMsg = [this](const QString& line) { lines << line; };
        dxs.CWSerial1 = &serialRecorder;
        dxs.CWGPIB1 = &gpib;
    }
    void TearDown() override {
        setProgramFolder(QString());
        GpibTransport::setLibraryPath(QString());
    }
    // Starts the simulated instrument on COM1 and selects RS232.
    void connect(SimulatedOptions options = {}, double pacingMs = 30) {
        instrument = std::make_unique<PtyInstrument>(folder.path(), 1, options);
        ASSERT_TRUE(instrument->isRunning()) << instrument->errorText().toStdString();
        dxs.iWaiting_ms = pacingMs;
        dxs.ConnectMethod("RS232");
        ASSERT_EQ(lines.last(), "Set [Configure RS232] to DXS-4820 OK");
        lines.clear();
    }
    QTemporaryDir folder;
    std::unique_ptr<PtyInstrument> instrument;
    SerialTransport serial;
    RecordingTransport serialRecorder{&serial};
    GpibTransport gpib;
    clsDXS4820 dxs;
    QStringList lines;
};

} // namespace

TEST_F(InstrumentLink, SerialSendsTheCommandWithOneLineFeedAndReadsAfterThePacingWait) {
    connect({}, 120);
    dxs.set(Property::MainFreq, 1000);
    dxs.set(Property::SourceSource, 1);
    EXPECT_EQ(dxs.check(Property::SourceSource), 1);
    QString secondReply = "not run"; // an exchange asked for during the wait is refused
    QTimer::singleShot(20, [&] { secondReply = dxs.IDN(); });
    EXPECT_EQ(dxs.IDN(), kIdentification);
    EXPECT_EQ(secondReply, "");
    // Line by line as received: no carriage return, no empty line from a second line feed.
    EXPECT_EQ(instrument->lines(),
              QByteArrayList({":FREQ 1000", ":SOURCE:SOURCE 1", ":SOUR:SOUR ?", "*IDN?"}));
    EXPECT_EQ(serialRecorder.writes.last(), "*IDN?\n");
    // The command arrived before the read began, which came at least the pacing interval after the write.
    EXPECT_LE(instrument->arrivalTimes().last(), serialRecorder.lastReadStartNs);
    EXPECT_GE(serialRecorder.lastReadStartNs - serialRecorder.lastWriteEndNs, qint64(120) * 1000000);
    EXPECT_TRUE(dxs.Ready());
    instrument->options().silent = true;
    lines.clear();
    EXPECT_FALSE(dxs.Ready()); // any answer is Ready, none is not
    EXPECT_EQ(lines, kFailure);
}

TEST_F(InstrumentLink, WithoutATransportOrWithAnotherNameNothingIsSent) {
    RecordingTransport gpibRecorder;
    dxs.CWGPIB1 = &gpibRecorder;
    EXPECT_FALSE(dxs.Ready()); // nothing selected yet
    EXPECT_EQ(lines, kFailure);
    connect();
    for (const QString name : {"rs232", "Gpib", "", "USB"}) {
        lines.clear();
        dxs.ConnectMethod(name);
        EXPECT_EQ(lines, configureLines(name, " OK"));
        EXPECT_FALSE(dxs.Ready());
        EXPECT_EQ(dxs.check(Property::MainFreq), 0);
    }
    EXPECT_EQ(serialRecorder.configures, 1);
    EXPECT_TRUE(serialRecorder.writes.isEmpty() && gpibRecorder.writes.isEmpty());
}

TEST_F(InstrumentLink, AFailedWriteOrShutDownSkipsTheReadAndKeepsTheLastReply) {
    for (const QString how : {"refused", "hung up", "shut down"}) {
        SCOPED_TRACE(how.toStdString());
        connect();
        ASSERT_EQ(dxs.IDN(), kIdentification);
        const int reads = serialRecorder.reads;
        dxs.iWaiting_ms = 1e9; // a wait that ran would never end, unless shut down
        serialRecorder.failWrite = how == "refused";
        if (how == "hung up") instrument.reset();
        if (how == "shut down") QTimer::singleShot(20, [&] { dxs.shutDown(); });
        EXPECT_EQ(dxs.IDN(), "");
        EXPECT_EQ(serialRecorder.reads, reads);
        EXPECT_EQ(dxs.lastSerialReply(), kIdentification);
        // Nothing unsent is left behind for the port to retry endlessly from the event loop.
        EXPECT_EQ(serial.unsentBytes(), 0);
        serialRecorder.failWrite = false;
    }
    const qsizetype writes = serialRecorder.writes.size(); // once shut down, nothing more is sent
    dxs.set(Property::MainFreq, 5);
    EXPECT_FALSE(dxs.Ready());
    EXPECT_EQ(serialRecorder.writes.size(), writes);
}

TEST_F(InstrumentLink, AnIdleLinkWhoseDeviceVanishesIsLetGoAndCanBeOpenedAgain) {
    connect();
    instrument.reset(); // the far end hangs up while nothing is being exchanged
    // The port stops reporting unreadable data from the event loop (which kept the CPU busy).
    EXPECT_TRUE(QTest::qWaitFor([&] { return !serial.isOpen(); }, 5000));
    EXPECT_EQ(dxs.IDN(), "");
    connect(); // the device is back: configuring opens it again
    EXPECT_EQ(dxs.IDN(), kIdentification);
}

TEST_F(InstrumentLink, ConfigureFailuresWriteTheFailureLine) {
    QFile::link(folder.path() + "/no-such-device", folder.path() + "/COM3");
    instrument = std::make_unique<PtyInstrument>(folder.path(), 1);
    SerialTransport holder; // stands in for another program with COM1 open
    holder.setPortNumber(1);
    holder.configure();
    gpib.setAddress(31);
    // library nullptr: RS232 on the port; detail: part of the transport's error text. A port held
    // elsewhere is busy, not forbidden: no advice about permissions.
    // clang-format off
    const struct { int port; const char *library, *detail; } cases[] = {
        {3, nullptr, "COM3"}, {1, nullptr, "in use"}, {1, GPIB_STANDIN_PATH, "address 31"},
        {1, "/nonexistent/libgpib.so.0", "libgpib.so.0"}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.detail);
        const QString method = c.library ? "GPIB" : "RS232";
        serial.setPortNumber(c.port);
        GpibTransport::setLibraryPath(c.library ? c.library : "");
        lines.clear();
        dxs.ConnectMethod(method);
        EXPECT_EQ(lines, configureLines(method, " FAILURE"));
        EXPECT_FALSE(dxs.Ready());
        try {
            (c.library ? static_cast<Transport&>(gpib) : serial).configure();
            ADD_FAILURE() << "configure succeeded";
        } catch (const TransportError& error) {
            EXPECT_TRUE(error.description().contains(c.detail) && !error.description().contains("dialout"))
                << error.description().toStdString();
        }
    }
}

TEST_F(InstrumentLink, GpibWritesTheCommandUnterminatedAndReadsAtOnce) {
    GpibTransport::setLibraryPath(GPIB_STANDIN_PATH);
    QLibrary standin(GPIB_STANDIN_PATH);
    const auto calls = reinterpret_cast<const char* (*)()>(standin.resolve("standin_calls"));
    const auto written = reinterpret_cast<const char* (*)(long*)>(standin.resolve("standin_written"));
    ASSERT_TRUE(calls && written) << standin.errorString().toStdString();
    gpib.setAddress(5);
    dxs.ConnectMethod("GPIB");
    EXPECT_EQ(lines.last(), "Set [Configure GPIB] to DXS-4820 OK");
    // A pacing wait would let this timer run (and end the wait); GPIB must not wait at all.
    dxs.iWaiting_ms = 60000;
    bool eventsRan = false;
    QTimer::singleShot(0, [&] { eventsRan = true, dxs.shutDown(); });
    EXPECT_EQ(dxs.IDN(), "DXS-4820 Function Generator (GPIB stand-in),1.0\n");
    dxs.set(Property::MainFreq, 1000);
    EXPECT_FALSE(eventsRan);
    long length = 0;
    const char* bytes = written(&length);
    EXPECT_EQ(QByteArray(bytes, length), "*IDN?:FREQ 1000");
    EXPECT_STREQ(calls(), "ibdev(0,5);ibwrt;ibrd;ibwrt;ibrd;");
    QCoreApplication::processEvents();
}

TEST_F(InstrumentLink, BadRepliesNeverCrashOrHangAndTheLinkRecovers) {
    // clang-format off
    const struct { const char* name; SimulatedOptions options; qsizetype maxSize; } cases[] = {
        {"megabytes", {.hugeReplyBytes = 2 * 1024 * 1024}, SerialTransport::maxReplyBytes},
        {"binary junk", {.garbage = true}, 64}, {"no line end", {.hugeReplyBytes = 20}, 20}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        connect(c.options, 50);
        const QString reply = dxs.IDN();
        EXPECT_TRUE(!reply.isEmpty() && reply.size() <= c.maxSize) << reply.size();
        EXPECT_EQ(dxs.check(Property::SourceState), 0);
        EXPECT_EQ(lines.last(), "Check [Source State] from DXS-4820 FAILURE");
        // Once the instrument behaves again, what is left of its bad output is discarded before each
        // command, so the replies come clean again.
        instrument->options() = {};
        QString last;
        for (int exchanges = 0; exchanges < 200 && (last = dxs.IDN()) != kIdentification;)
            ++exchanges;
        EXPECT_EQ(last, kIdentification);
    }
}

TEST_F(InstrumentTable, EveryRowSendsItsCommandAndWritesItsLines) {
    // Lines are <stem>..., <stem> OK and <stem> FAILURE, a set's stem "Set [setName] to DXS-4820";
    // checkEnd is the stem of a check's OK / FAILURE line where it differs. Integer rows can fail. The
    // rows are those a send cannot show: queries, odd headers and lines, number forms at their edges.
    // clang-format off
    const struct { P property; double value; const char *command, *query, *setName, *checkStem; bool integer;
                   const char* checkEnd = nullptr; } rows[] = {
        {P::MainFreqWaveForm, 1, ":FUNC:WAV 1", ":FUNC:WAV ?", "Main Func Freq. Wave Form: (Sin)", "Check [Main Func Freq. Wave Form] from DXS-4820", true},
        {P::MainFreq, 1e-5, ":FREQ 1E-05", ":FREQ ?", "Main Func Freq", "Check [Main Func Freq.] from DXS-4820", false},
        {P::SourceSource, 1, ":SOURCE:SOURCE 1", ":SOUR:SOUR ?", "Source Source", "Check [Source Source] from DXS-4820", true, "Get [Source Source] to DXS-4820"},
        {P::SourceModFMRate, 1e15, ":SOUR:MODFM:RAT 1E+15", ":SOUR:MODFM:RAT ?", "Source FM Rate", "Check [Source FM Rate] from DXS-4820", false},
        {P::SourceSweepCenter, 0.0001, ":SOUR:SWE:CENT 0.0001", ":SOUR:SWE:CENT ?", "Source Sweep Center Frequence", "Check [Source Sweep Center Frequence] from DXS-4820", false},
        {P::SourceSweepSpan, 123.456, ":SOUR:SWE:SPAN 123.456", ":SOUR:SWE:SPAN ?", "Source Sweep Span Frequence", "Check [Source Sweep Span Frequence] from DXS-4820", false},
        {P::SourceSweepSym, -32768, ":SOUR:SWE:SYM -32768", ":SOUR:SWE:SYM ?", "Source Sweep SYM", "Check [Source Sweep SYM] from DXS-4820", true},
        {P::SourceTriggerState, 1, ":SOUR:TRIG:STAT 1", ":SOUR:TRIG:STAT ?", "Source Trigger Rate", "Check [Source Trigger Rate] from DXS-4820", true},
        {P::SourceTriggerSource, 1, ":SOUR:TRIG:SOUR 1", ":SOUR:TRIG:SOUR ?", "Source Trigger Souce", "Check [Source Trigger Source] from DXS-4820", true},
        {P::SourceCounterSource, 1, ":SOUR:COUN:SOUR 1", ":SOUR:COUN:SOUR ?", "Source Counter Source", "Set [Source Counter Source] from DXS-4820", true}};
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.command);
        const QString set = QString("Set [%1] to DXS-4820").arg(row.setName);
        const QString checkEnd = row.checkEnd ? row.checkEnd : row.checkStem;
        run([&] { dxs.set(row.property, row.value); });
        EXPECT_EQ(link.writes, QByteArrayList{row.command});
        EXPECT_EQ(lines, progress(set, set, " OK"));
        if (row.integer) { // a value beyond 16 bits is refused before anything is sent
            run([&] { dxs.set(row.property, 40000); });
            EXPECT_TRUE(link.writes.isEmpty());
            EXPECT_EQ(lines,
                      row.property == P::MainFreqWaveForm ? QStringList() : progress(set, set, " FAILURE"));
        }
        EXPECT_EQ(run([&] { return dxs.check(row.property); }, "7\n"), 7);
        EXPECT_EQ(link.writes, QByteArrayList{row.query});
        EXPECT_EQ(lines, progress(row.checkStem, checkEnd, " OK"));
        EXPECT_EQ(run([&] { return dxs.check(row.property); }), 0);
        EXPECT_EQ(lines, progress(row.checkStem, checkEnd, row.integer ? " FAILURE" : " OK"));
    }
}

TEST_F(InstrumentTable, SetRoundsIntegersAndNamesTheMainWaveform) {
    // Integers round halves to even; waveform codes other than 1 to 3 are sent without lines.
    // clang-format off
    const struct { P property; double value; const char *command, *wave; } cases[] = {
        {P::MainFreqWaveForm, 2, ":FUNC:WAV 2", "Triangle"}, {P::MainFreqWaveForm, 3, ":FUNC:WAV 3", "Square"},
        {P::MainFreqWaveForm, 4, ":FUNC:WAV 4", nullptr}, {P::MainFreqWaveForm, 0, ":FUNC:WAV 0", nullptr},
        {P::DUTY, 50.5, ":DUTY 50", nullptr}, {P::DUTY, 51.5, ":DUTY 52", nullptr}, {P::DUTY, -0.4, ":DUTY 0", nullptr}};
    // clang-format on
    for (const auto& c : cases) {
        run([&] { dxs.set(c.property, c.value); });
        EXPECT_EQ(link.writes, QByteArrayList{c.command});
        const QString set = QString("Set [Main Func Freq. Wave Form: (%1)] to DXS-4820").arg(c.wave);
        if (c.property == P::MainFreqWaveForm) {
            EXPECT_EQ(lines, c.wave ? progress(set, set, " OK") : QStringList());
        }
    }
}

TEST_F(InstrumentTable, ChecksConvertRepliesByTheirRule) {
    // clang-format off
    const struct { P property; const char* reply; double value; bool ok; } cases[] = {
        {P::MainFreq, "1.000000E+03\n", 1000, true}, {P::MainFreq, "  -2.5E-3 V\r\n", -0.0025, true},
        {P::MainFreq, "garbage", 0, true}, {P::DUTY, "50.5", 50, true}, {P::DUTY, "51.5", 52, true},
        {P::DUTY, "49.7%\n", 50, true}, {P::DUTY, "", 0, false}, {P::DUTY, "abc", 0, false},
        {P::SourceState, "2\r\n", 2, true}, {P::SourceSweepSym, "-2.5", -3, true},
        {P::SourceSweepSym, "1.000000E+01\n", 10, true}, {P::SourceSweepSym, "32768", 0, false},
        {P::SourceSweepSym, "-32768.5", 0, false}, {P::SourceSweepSym, "12abc", 0, false}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        EXPECT_DOUBLE_EQ(run([&] { return dxs.check(c.property); }, c.reply), c.value);
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[1].endsWith(" OK"), c.ok) << lines[1].toStdString();
    }
}

TEST(Pacing, ElapsedTimeAcrossTheCounterWrap) {
    // clang-format off
    const struct { int32_t start, now; double elapsed; } cases[] = {
        {0, 200, 200}, {-500, -300, 200}, {5, 5, 0},
        {2147483647 - 99, -2147483648 + 100, 200}, {2147483647, -2147483648, 1}, // signed overflow
        {-100, 100, 200}, {-1, 0, 1}};                                             // -1 -> 0
    // clang-format on
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(elapsedMilliseconds(c.start, c.now), c.elapsed) << c.start << " " << c.now;
}

TEST(Pacing, WaitsAtLeastTheIntervalWhileEventsRunAndNotAtAllForZero) {
    for (double ms : {0.0, -5.0, 40.5}) {
        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        const qint64 start = steadyNowNs();
        Delay(ms);
        EXPECT_EQ(ran, ms > 0) << ms;
        EXPECT_GE(steadyNowNs() - start, qint64(ms * 1e6));
        QCoreApplication::processEvents();
    }
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
