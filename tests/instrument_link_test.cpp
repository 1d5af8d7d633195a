// The instrument object on the real wire: a SerialTransport on a pseudo-terminal with the simulated
// instrument at the other end, and GPIB through a stand-in library.
#include "core/ProgramFolder.h"
#include "instrument/GpibTransport.h"
#include "instrument/SerialTransport.h"
#include "instrument/clsDXS4820.h"
#include "support/PtyInstrument.h"
#include "support/QtPrint.h"
#include "support/RecordingTransport.h"

#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kIdentification = "DXS-4820 Function Generator (simulated),1.0\n";
const QStringList kFailure{"DXS-4820 <--> PC: [Failure]"};

QStringList configureLines(const QString& method, const char* outcome) {
    return {"Set [Configure " + method + "] to DXS-4820...",
            "Set [Configure " + method + "] to DXS-4820" + outcome};
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
    EXPECT_EQ(dxs.IDN(), kIdentification);
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

TEST_F(InstrumentLink, FailedWriteSkipsWaitAndReadAndKeepsTheLastReply) {
    for (const bool hangUp : {false, true}) { // a refused write, or the far end gone
        connect();
        ASSERT_EQ(dxs.IDN(), kIdentification);
        const int reads = serialRecorder.reads;
        dxs.iWaiting_ms = 1e9; // a wait that ran would never end
        if (hangUp) instrument.reset();
        serialRecorder.failWrite = !hangUp;
        EXPECT_EQ(dxs.IDN(), "");
        EXPECT_EQ(serialRecorder.reads, reads);
        EXPECT_EQ(dxs.lastSerialReply(), kIdentification);
        // Nothing unsent is left behind for the port to retry endlessly from the event loop.
        EXPECT_EQ(serial.unsentBytes(), 0);
        serialRecorder.failWrite = false;
    }
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

TEST_F(InstrumentLink, ASecondExchangeDuringTheWaitIsRefusedAndShutDownEndsTheWait) {
    connect({}, 200);
    QString secondReply = "not run";
    QTimer::singleShot(20, [&] { secondReply = dxs.IDN(); });
    EXPECT_EQ(dxs.IDN(), kIdentification); // the first exchange keeps its own reply
    EXPECT_EQ(secondReply, "");
    EXPECT_EQ(instrument->lines(), QByteArrayList{"*IDN?"});
    dxs.iWaiting_ms = 1e9;
    QTimer::singleShot(20, [&] { dxs.shutDown(); });
    const int reads = serialRecorder.reads;
    EXPECT_EQ(dxs.IDN(), ""); // without its read
    EXPECT_EQ(serialRecorder.reads, reads);
    const qsizetype writes = serialRecorder.writes.size();
    dxs.set(Property::MainFreq, 5);
    EXPECT_FALSE(dxs.Ready());
    EXPECT_EQ(serialRecorder.writes.size(), writes); // and nothing more is sent
}
