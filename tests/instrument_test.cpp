// The instrument object on the real wire (the simulated instrument on a pseudo-terminal, GPIB through
// a stand-in library) and on a recording transport; the pacing counter's wrap.
#include "core/ProgramFolder.h"
#include "instrument/GpibTransport.h"
#include "instrument/Pacing.h"
#include "instrument/SerialTransport.h"
#include "instrument/clsDXS4820.h"
#include "support/PtyInstrument.h"
#include "support/QtPrint.h"
#include "support/RecordingTransport.h"

#include <gtest/gtest.h>

namespace {

const QString kIdentification = "DXS-4820 Function Generator (simulated),1.0\n";
const QStringList kFailure{"DXS-4820 <--> PC: [Failure]"};

using P = Property;

QStringList progress(const QString& start, const QString& end, const char* outcome) {
    return {start + "...", end + outcome};
}

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
    void connect(SimulatedOptions options = {}, double pacingMs = 30) {
        instrument = std::make_unique<PtyInstrument>(folder.path(), 1, options);
        ASSERT_TRUE(instrument->isRunning()) << instrument->errorText();
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

// On a recording transport selected as GPIB, which has no pacing.
class InstrumentTable : public InstrumentLink {
protected:
    void SetUp() override {
        InstrumentLink::SetUp();
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
    // The command arrived before the read began, which came at least the pacing interval after the write.
    EXPECT_LE(instrument->arrivalTimes().last(), serialRecorder.lastReadStartNs);
    EXPECT_GE(serialRecorder.lastReadStartNs - serialRecorder.lastWriteEndNs, qint64(120) * 1000000);
    EXPECT_TRUE(dxs.Ready());
    instrument->options().silent = true;
    lines.clear();
    EXPECT_FALSE(dxs.Ready()); // any answer is Ready, none is not
    EXPECT_EQ(lines, kFailure);
}

// Each case is set up by configuring again, which opens a vanished device once it is back.
TEST_F(InstrumentLink, AFailedWriteOrShutDownSkipsTheReadAndKeepsTheLastReply) {
    for (const QString how : {"refused", "hung up", "shut down"}) {
        SCOPED_TRACE(how);
        connect();
        ASSERT_EQ(dxs.IDN(), kIdentification);
        const int reads = serialRecorder.reads;
        dxs.iWaiting_ms = 1e9; // a wait that ran would never end, unless shut down
        serialRecorder.failWrite = how == "refused";
        if (how == "hung up") {
            instrument.reset(); // while idle: the port is let go, no longer reporting unreadable data
            EXPECT_TRUE(QTest::qWaitFor([&] { return !serial.isOpen(); }, 5000));
        }
        if (how == "shut down") QTimer::singleShot(20, [&] { dxs.shutDown(); });
        EXPECT_EQ(dxs.IDN(), "");
        EXPECT_EQ(serialRecorder.reads, reads);
        EXPECT_EQ(dxs.lastSerialReply(), kIdentification);
        EXPECT_EQ(serial.unsentBytes(), 0); // else the port retries endlessly from the event loop
        serialRecorder.failWrite = false;
    }
    const qsizetype writes = serialRecorder.writes.size(); // once shut down, nothing more is sent
    dxs.set(Property::MainFreq, 5);
    EXPECT_FALSE(dxs.Ready());
    EXPECT_EQ(serialRecorder.writes.size(), writes);
}

TEST_F(InstrumentLink, ConfiguringWritesItsLinesAndOtherNamesSelectNothing) {
    EXPECT_FALSE(dxs.Ready()); // nothing selected yet
    EXPECT_EQ(lines, kFailure);
    gpib.setAddress(31);
    // Each after a working RS232: names of no method, a missing port, a refused address, a missing library.
    // clang-format off
    const struct { const char *method, *library; int port; const char* outcome; } cases[] = {{"rs232", "", 1, " OK"}, {"Gpib", GPIB_STANDIN_PATH, 1, " OK"},
        {"", "", 1, " OK"}, {"USB", "", 1, " OK"}, {"RS232", "", 2, " FAILURE"}, {"GPIB", GPIB_STANDIN_PATH, 1, " FAILURE"}, {"GPIB", "/nonexistent/libgpib.so.0", 1, " FAILURE"}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method + std::string(" ") + c.library);
        connect();
        serial.setPortNumber(c.port);
        GpibTransport::setLibraryPath(c.library);
        dxs.ConnectMethod(c.method);
        const QString configure = QString("Set [Configure %1] to DXS-4820").arg(c.method);
        EXPECT_EQ(lines, progress(configure, configure, c.outcome));
        EXPECT_FALSE(dxs.Ready());
        serial.setPortNumber(1);
    }
}

TEST_F(InstrumentLink, GpibWritesTheCommandUnterminatedAndReadsAtOnce) {
    GpibTransport::setLibraryPath(GPIB_STANDIN_PATH);
    QLibrary standin(GPIB_STANDIN_PATH);
    const auto calls = reinterpret_cast<const char* (*)()>(standin.resolve("standin_calls"));
    const auto written = reinterpret_cast<const char* (*)(long*)>(standin.resolve("standin_written"));
    ASSERT_TRUE(calls && written) << standin.errorString();
    gpib.setAddress(5);
    dxs.ConnectMethod("GPIB");
    EXPECT_EQ(lines.last(), "Set [Configure GPIB] to DXS-4820 OK");
    dxs.iWaiting_ms = 60000; // a pacing wait would let this timer run (and end the wait): GPIB must not wait
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
    const struct { const char* name; SimulatedOptions options; qsizetype maxSize; } cases[] = {{"megabytes", {.hugeReplyBytes = 2 * 1024 * 1024}, SerialTransport::maxReplyBytes},
        {"binary junk", {.garbage = true}, 64}, {"no line end", {.hugeReplyBytes = 20}, 20}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        connect(c.options, 50);
        const QString reply = dxs.IDN();
        EXPECT_TRUE(!reply.isEmpty() && reply.size() <= c.maxSize) << reply.size();
        EXPECT_EQ(dxs.check(Property::SourceState), 0);
        EXPECT_EQ(lines.last(), "Check [Source State] from DXS-4820 FAILURE");
        // Once the instrument behaves again, its bad output left over is discarded before each command.
        instrument->options() = {};
        EXPECT_TRUE(QTest::qWaitFor([&] { return dxs.IDN() == kIdentification; }, 20000));
    }
}

TEST_F(InstrumentTable, EveryRowSendsItsCommandAndWritesItsLines) {
    // Lines are <stem>... and <stem> OK / FAILURE; checkEnd: a check's end stem where it differs.
    // clang-format off
    const struct { P property; double value; const char *command, *query, *setName, *checkStem; bool integer; const char* checkEnd = nullptr; } rows[] = {
        {P::MainFreqWaveForm, 1, ":FUNC:WAV 1", ":FUNC:WAV ?", "Main Func Freq. Wave Form: (Sin)", "Check [Main Func Freq. Wave Form] from DXS-4820", true},
        {P::MainFreq, 1e-5, ":FREQ 1E-05", ":FREQ ?", "Main Func Freq", "Check [Main Func Freq.] from DXS-4820", false},
        {P::SourceSource, 1, ":SOURCE:SOURCE 1", ":SOUR:SOUR ?", "Source Source", "Check [Source Source] from DXS-4820", true, "Get [Source Source] to DXS-4820"},
        {P::SourceModFMRate, 1e15, ":SOUR:MODFM:RAT 1E+15", ":SOUR:MODFM:RAT ?", "Source FM Rate", "Check [Source FM Rate] from DXS-4820", false},
        {P::SourceSweepCenter, 0.0001, ":SOUR:SWE:CENT 0.0001", ":SOUR:SWE:CENT ?", "Source Sweep Center Frequence", "Check [Source Sweep Center Frequence] from DXS-4820", false},
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

TEST_F(InstrumentTable, SetRoundsIntegersAndChecksConvertReplies) {
    // Integers round halves to even; waveform codes other than 1 to 3 are sent without lines.
    // clang-format off
    const struct { P property; double value; const char *command, *wave = nullptr; } cases[] = { // wave "": no lines
        {P::MainFreqWaveForm, 2, ":FUNC:WAV 2", "Triangle"}, {P::MainFreqWaveForm, 3, ":FUNC:WAV 3", "Square"}, {P::MainFreqWaveForm, 4, ":FUNC:WAV 4", ""},
        {P::MainFreqWaveForm, 0, ":FUNC:WAV 0", ""}, {P::DUTY, 50.5, ":DUTY 50"}, {P::DUTY, 51.5, ":DUTY 52"}, {P::DUTY, -0.4, ":DUTY 0"}};
    // Checks convert replies by their rule.
    const struct { P property; const char* reply; double value; bool ok; } checks[] = {
        {P::MainFreq, "1.000000E+03\n", 1000, true}, {P::MainFreq, "  -2.5E-3 V\r\n", -0.0025, true}, {P::MainFreq, "garbage", 0, true},
        {P::DUTY, "50.5", 50, true}, {P::DUTY, "51.5", 52, true}, {P::DUTY, "49.7%\n", 50, true}, {P::DUTY, "", 0, false}, {P::DUTY, "abc", 0, false},
        {P::SourceState, "2\r\n", 2, true}, {P::SourceSweepSym, "-2.5", -3, true}, {P::SourceSweepSym, "1.000000E+01\n", 10, true},
        {P::SourceSweepSym, "32768", 0, false}, {P::SourceSweepSym, "-32768.5", 0, false}, {P::SourceSweepSym, "12abc", 0, false}};
    // clang-format on
    for (const auto& c : cases) {
        run([&] { dxs.set(c.property, c.value); });
        EXPECT_EQ(link.writes, QByteArrayList{c.command});
        const QString set = QString("Set [Main Func Freq. Wave Form: (%1)] to DXS-4820").arg(c.wave);
        if (c.wave) {
            EXPECT_EQ(lines, *c.wave ? progress(set, set, " OK") : QStringList());
        }
    }
    for (const auto& c : checks) {
        SCOPED_TRACE(c.reply);
        EXPECT_DOUBLE_EQ(run([&] { return dxs.check(c.property); }, c.reply), c.value);
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[1].endsWith(" OK"), c.ok) << lines[1];
    }
}

TEST(Pacing, ElapsedTimeAcrossTheCounterWrap) {
    // clang-format off
    const struct { int32_t start, now; double elapsed; } cases[] = { // the last ones across -1 -> 0 and the signed overflow
        {0, 200, 200}, {-500, -300, 200}, {5, 5, 0}, {-100, 100, 200}, {-1, 0, 1}, {2147483647 - 99, -2147483648 + 100, 200}, {2147483647, -2147483648, 1}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(elapsedMilliseconds(c.start, c.now), c.elapsed) << c.start << " " << c.now;
}

// Port numbers against the machine's serial ports: USB adapters first, then built-in ports, each in
// name order, whichever order the kernel lists them in; entries COMn in the program folder, then in
// the settings folder, take their number without shifting the others.
TEST(MachinePortMap, PortNumbersNameTheMachinesPortsInTheirOrder) {
    // clang-format off
    const struct { const char *name, *ttys, *links, *settingsLinks, *com; } cases[] = { // com: COM1 to COM4, - for none
        {"built-in listed first", "ttyS0:8250 ttyUSB0:usb", "", "", "/dev/ttyUSB0 /dev/ttyS0 - -"}, {"only a built-in port", "ttyS0:8250 ttyS1:empty", "", "", "/dev/ttyS0 - - -"},
        {"none", "tty0:console ttyS0:empty ttyS1:empty", "", "", "- - - -"}, {"nothing listed", "", "", "", "- - - -"},
        {"numbers in name order, five ports", "ttyS10:8250 ttyS2:8250 ttyUSB1:usb ttyACM0:usb rfcomm0:parentless", "", "", "/dev/ttyACM0 /dev/ttyUSB1 /dev/ttyS2 /dev/ttyS10"},
        {"many adapters", "ttyUSB10:usb ttyUSB9:usb ttyUSB1:usb", "", "", "/dev/ttyUSB1 /dev/ttyUSB9 /dev/ttyUSB10 -"},
        {"a parentless one last", "ttyS0:8250 rfcomm0:parentless ttyUSB0:usb ttyUSB1:usb", "", "", "/dev/ttyUSB0 /dev/ttyUSB1 /dev/ttyS0 /dev/rfcomm0"},
        {"entries before the machine", "ttyUSB0:usb ttyS0:8250", "COM2", "COM2 COM3", "/dev/ttyUSB0 program/COM2 settings/COM3 -"}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QString program = folder.filePath("program"), settings = folder.filePath("settings");
        ASSERT_TRUE(QDir().mkpath(program) && QDir().mkpath(settings));
        ASSERT_TRUE(makeTtyList(folder.filePath("sys/class/tty"), c.ttys));
        for (const auto& [where, names] : {std::pair{program, c.links}, {settings, c.settingsLinks}})
            for (const QString& link : QString(names).split(' ', Qt::SkipEmptyParts))
                ASSERT_TRUE(QFile::link("/dev/null", where + "/" + link));
        setProgramFolder(program);
        setSettingsFolder(settings);
        SerialTransport::setTtyListFolder(folder.filePath("sys/class/tty"));
        QStringList found;
        for (int port = 1; port <= 4; ++port) {
            const QString device = SerialTransport::deviceForPort(port);
            found << (device.isEmpty() ? "-" : device);
        }
        EXPECT_EQ(found.join(' ').replace(program, "program").replace(settings, "settings"), c.com);
        // Without the machine's ports only the entries name ports.
        SerialTransport::setMachinePortsSearched(false);
        EXPECT_EQ(SerialTransport::deviceForPort(1), QString());
        SerialTransport::setMachinePortsSearched(true);
    }
    setProgramFolder(QString());
    setSettingsFolder(QString());
    SerialTransport::setTtyListFolder(QString());
}

// The simulated instrument started without a folder places its link in the front panel's settings
// folder (the application-data folder the panel keeps its setting in), where the panel finds it.
TEST(SettingsFolderLink, SimulatorWithoutAFolderIsFoundByThePanel) {
    QTemporaryDir userData, program;
    ASSERT_TRUE(userData.isValid() && program.isValid());
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(userData.path()));
    const QString link = userData.path() + "/DXS-4820 Function Generator RS232 Interface Software/COM1";

    QProcess sim;
    sim.start(DXS_SIM_PATH, {"--log", userData.filePath("received.log")});
    ASSERT_TRUE(sim.waitForStarted());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(link).isSymLink(); }, 10000))
        << sim.readAllStandardError();
    setProgramFolder(program.path()); // no link of its own
    EXPECT_EQ(SerialTransport::deviceForPort(1), link);
    SerialTransport serial;
    serial.configure();
    serial.write("*IDN?\n");
    QByteArray reply;
    EXPECT_TRUE(QTest::qWaitFor([&] { return (reply += serial.read()).endsWith('\n'); }, 5000));
    EXPECT_EQ(reply, SimulatedInstrument::identification() + "\n");
    sim.terminate();
    EXPECT_TRUE(sim.waitForFinished(10000));
    EXPECT_FALSE(QFileInfo(link).isSymLink()); // removed on its way out
    setProgramFolder(QString());
    qputenv("XDG_DATA_HOME", dataHome);
}
