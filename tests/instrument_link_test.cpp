// The instrument object on the real wire: a SerialTransport on a pseudo-terminal with the simulated
// instrument at the other end, and GPIB through a stand-in library.
#include "core/ProgramFolder.h"
#include "instrument/GpibTransport.h"
#include "instrument/SerialTransport.h"
#include "instrument/clsDXS4820.h"
#include "support/PtyInstrument.h"
#include "support/QtPrint.h"
#include "support/RecordingTransport.h"
#include "support/WindowFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

class InstrumentLink : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        setProgramFolder(folder.path());
        dxs.txtMsg = [this](const QString& line) { lines << line; };
        dxs.CWSerial1 = &serialRecorder;
        dxs.CWGPIB1 = &gpib;
    }
    void TearDown() override { setProgramFolder(QString()); }

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
    dxs.set(Property::OFFSet, -2.5);
    dxs.set(Property::SourceSource, 1);
    EXPECT_EQ(dxs.check(Property::SourceSource), 1);
    EXPECT_EQ(dxs.check(Property::MainFreq), 1000);
    EXPECT_EQ(dxs.IDN(), "DXS-4820 Function Generator (simulated),1.0\n");
    // Line by line as received: no carriage return, no empty line from a second line feed.
    EXPECT_EQ(instrument->lines(), QByteArrayList({":FREQ 1000", ":OFFS -2.5", ":SOURCE:SOURCE 1",
                                                   ":SOUR:SOUR ?", ":FREQ ?", "*IDN?"}));
    EXPECT_EQ(serialRecorder.writes.last(), "*IDN?\n");

    // The command reached the instrument after the write began, and the read came at least the
    // pacing interval after the write ended.
    const qint64 arrival = instrument->arrivalTimes().last();
    EXPECT_LE(arrival, serialRecorder.lastReadStartNs);
    EXPECT_GE(serialRecorder.lastReadStartNs - serialRecorder.lastWriteEndNs, qint64(120) * 1000000);
}

TEST_F(InstrumentLink, ReadyReportsAnyNonEmptyAnswer) {
    connect();
    EXPECT_TRUE(dxs.Ready());
    EXPECT_TRUE(dxs.bReady);
    EXPECT_EQ(lines, QStringList{"DXS-4820 <--> PC: [Ready]"});

    instrument->options().silent = true;
    lines.clear();
    EXPECT_FALSE(dxs.Ready());
    EXPECT_EQ(lines, QStringList{"DXS-4820 <--> PC: [Failure]"});
    EXPECT_EQ(dxs.IDN(), "");
}

TEST_F(InstrumentLink, ReadyWithoutTransportDoesNoIo) {
    RecordingTransport gpibRecorder;
    dxs.CWGPIB1 = &gpibRecorder;
    EXPECT_FALSE(dxs.Ready());
    EXPECT_EQ(lines, QStringList{"DXS-4820 <--> PC: [Failure]"});
    EXPECT_TRUE(serialRecorder.writes.isEmpty());
    EXPECT_TRUE(gpibRecorder.writes.isEmpty());
    EXPECT_EQ(serialRecorder.reads + gpibRecorder.reads, 0);
}

TEST_F(InstrumentLink, OtherTransportNamesSelectNothing) {
    connect();
    for (const QString name : {"rs232", "Gpib", "", "USB"}) {
        lines.clear();
        serialRecorder.writes.clear();
        const int configures = serialRecorder.configures;
        dxs.ConnectMethod(name);
        EXPECT_EQ(lines, QStringList({"Set [Configure " + name + "] to DXS-4820...",
                                      "Set [Configure " + name + "] to DXS-4820 OK"}));
        EXPECT_EQ(serialRecorder.configures, configures);
        EXPECT_FALSE(dxs.Ready());
        EXPECT_EQ(dxs.check(Property::MainFreq), 0);
        EXPECT_TRUE(serialRecorder.writes.isEmpty());
    }
    EXPECT_TRUE(instrument->lines().isEmpty());
}

TEST_F(InstrumentLink, FailedWriteSkipsWaitAndReadAndKeepsTheLastReply) {
    connect();
    ASSERT_EQ(dxs.IDN(), "DXS-4820 Function Generator (simulated),1.0\n");
    const QString kept = dxs.lastSerialReply();
    serialRecorder.failWrite = true;
    const int reads = serialRecorder.reads;
    dxs.iWaiting_ms = 1e9; // a wait that ran would never end
    EXPECT_EQ(dxs.IDN(), "");
    EXPECT_EQ(serialRecorder.reads, reads);
    EXPECT_EQ(dxs.lastSerialReply(), kept);
}

TEST_F(InstrumentLink, WriteToAVanishedInstrumentFailsWithoutWaiting) {
    connect();
    ASSERT_TRUE(dxs.Ready());
    const QString kept = dxs.lastSerialReply();
    instrument.reset(); // the far end is gone: the pseudo-terminal hangs up
    const int reads = serialRecorder.reads;
    dxs.iWaiting_ms = 1e9;
    EXPECT_FALSE(dxs.Ready());
    EXPECT_EQ(serialRecorder.reads, reads);
    EXPECT_EQ(dxs.lastSerialReply(), kept);
}

TEST_F(InstrumentLink, ConfigureFailuresWriteTheFailureLine) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        const char* method;
        const char* detail; // part of the transport's error text
    };
    const QString missingLink = folder.path() + "/COM3";
    gpib.setAddress(31);
    const Case cases[] = {
        {"dangling COM3 link",
         [&] {
             QFile::link(folder.path() + "/no-such-device", missingLink);
             serial.setPortNumber(3);
         },
         "RS232", "COM3"},
        {"GPIB address the bus refuses", [] { GpibTransport::setLibraryPath(GPIB_STANDIN_PATH); }, "GPIB",
         "address 31"},
        {"absent GPIB library", [] { GpibTransport::setLibraryPath("/nonexistent/libgpib.so.0"); }, "GPIB",
         "libgpib.so.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        lines.clear();
        dxs.ConnectMethod(c.method);
        EXPECT_EQ(lines, QStringList({QString("Set [Configure %1] to DXS-4820...").arg(c.method),
                                      QString("Set [Configure %1] to DXS-4820 FAILURE").arg(c.method)}));
        EXPECT_EQ(dxs.connectMethod(), c.method);
        EXPECT_FALSE(dxs.bReady);
        EXPECT_FALSE(dxs.Ready());
        Transport& transport = QString(c.method) == "GPIB" ? static_cast<Transport&>(gpib) : serial;
        try {
            transport.configure();
            ADD_FAILURE() << "configure succeeded";
        } catch (const TransportError& error) {
            EXPECT_TRUE(error.description().contains(c.detail)) << error.description().toStdString();
        }
    }
    GpibTransport::setLibraryPath(QString());
}

TEST_F(InstrumentLink, GpibWritesTheCommandUnterminatedAndReadsAtOnce) {
    GpibTransport::setLibraryPath(GPIB_STANDIN_PATH);
    QLibrary standin(GPIB_STANDIN_PATH);
    ASSERT_TRUE(standin.load()) << standin.errorString().toStdString();
    const auto calls = reinterpret_cast<const char* (*)()>(standin.resolve("standin_calls"));
    const auto written = reinterpret_cast<const char* (*)(long*)>(standin.resolve("standin_written"));
    const auto resetStandin = reinterpret_cast<void (*)()>(standin.resolve("standin_reset"));
    ASSERT_TRUE(calls && written && resetStandin);
    resetStandin();

    gpib.setAddress(5);
    dxs.ConnectMethod("GPIB");
    EXPECT_EQ(lines.last(), "Set [Configure GPIB] to DXS-4820 OK");

    // A pacing wait would let this timer run (and end the wait); GPIB must not wait at all.
    dxs.iWaiting_ms = 60000;
    bool eventsRan = false;
    QTimer::singleShot(0, [&] {
        eventsRan = true;
        dxs.shutDown();
    });
    EXPECT_EQ(dxs.IDN(), "DXS-4820 Function Generator (GPIB stand-in),1.0\n");
    dxs.set(Property::MainFreq, 1000);
    EXPECT_FALSE(eventsRan);
    long length = 0;
    const char* bytes = written(&length);
    EXPECT_EQ(QByteArray(bytes, length), "*IDN?:FREQ 1000");
    EXPECT_STREQ(calls(), "ibdev(0,5);ibwrt;ibrd;ibwrt;ibrd;");
    QCoreApplication::processEvents();
    GpibTransport::setLibraryPath(QString());
}

TEST_F(InstrumentLink, BadRepliesNeverCrashOrHangAndTheLinkRecovers) {
    const QString identification = "DXS-4820 Function Generator (simulated),1.0\n";
    const struct {
        const char* name;
        SimulatedOptions options;
        qsizetype maxSize;
    } cases[] = {
        {"megabytes", {.hugeReplyBytes = 2 * 1024 * 1024}, SerialTransport::maxReplyBytes},
        {"binary junk", {.garbage = true}, 64},
        {"no line end", {.hugeReplyBytes = 20}, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        connect(c.options, 50);
        const QString reply = dxs.IDN();
        EXPECT_FALSE(reply.isEmpty());
        EXPECT_LE(reply.size(), c.maxSize);
        EXPECT_EQ(dxs.check(Property::SourceState), 0);
        EXPECT_EQ(lines.last(), "Check [Source State] from DXS-4820 FAILURE");
        // Once the instrument behaves again, whatever is left of its bad output is discarded before
        // each command, so the replies come clean again.
        instrument->options() = {};
        int exchanges = 0;
        QString last;
        while (exchanges < 200 && (last = dxs.IDN()) != identification)
            ++exchanges;
        EXPECT_TRUE(last == identification) << "still " << last.left(40).toStdString();
        instrument.reset();
    }
}

TEST_F(InstrumentLink, AnswerOnceAnswersTheFirstIdentificationOnly) {
    connect({.answerOnce = true});
    EXPECT_TRUE(dxs.Ready());
    EXPECT_FALSE(dxs.Ready());
    EXPECT_EQ(instrument->lines(), QByteArrayList({"*IDN?", "*IDN?"}));
}

TEST_F(InstrumentLink, ASecondExchangeDuringTheWaitIsRefused) {
    connect({}, 200);
    QString secondReply = "not run";
    bool exchangingDuringWait = false;
    QTimer::singleShot(20, [&] {
        exchangingDuringWait = dxs.isExchanging();
        secondReply = dxs.IDN();
    });
    EXPECT_EQ(dxs.check(Property::MainFreq), 0);
    EXPECT_TRUE(exchangingDuringWait);
    EXPECT_EQ(secondReply, "");
    EXPECT_FALSE(dxs.isExchanging());
    EXPECT_EQ(instrument->lines(), QByteArrayList{":FREQ ?"});
}

TEST_F(InstrumentLink, ShutDownEndsTheWaitWithoutItsReadAndStopsSending) {
    connect({}, 1e9);
    QTimer::singleShot(20, [&] { dxs.shutDown(); });
    const int reads = serialRecorder.reads;
    EXPECT_EQ(dxs.IDN(), "");
    EXPECT_EQ(serialRecorder.reads, reads);
    const qsizetype writes = serialRecorder.writes.size();
    dxs.set(Property::MainFreq, 5);
    EXPECT_FALSE(dxs.Ready());
    EXPECT_EQ(serialRecorder.writes.size(), writes);
}

namespace {
class InstrumentWindow : public WindowFixture {};
} // namespace

TEST_F(InstrumentWindow, TheWindowReachesTheSimulatedInstrumentOnItsCom1) {
    PtyInstrument sim(folder());
    ASSERT_TRUE(sim.isRunning()) << sim.errorText().toStdString();
    frmDXS& w = window();
    w.instrument.iWaiting_ms = 20;
    w.instrument.ConnectMethod("RS232");
    EXPECT_EQ(w.message(), "Set [Configure RS232] to DXS-4820 OK");
    w.checkReadiness();
    EXPECT_EQ(w.message(), "DXS-4820 <--> PC: [Ready]");
    EXPECT_TRUE(sim.lines().contains("*IDN?"));
    w.instrument.set(Property::MainFreq, 2500);
    EXPECT_EQ(w.message(), "Set [Main Func Freq] to DXS-4820 OK");
    EXPECT_EQ(sim.value(int(Property::MainFreq)), 2500);
}
