// Send from the real window to the simulated instrument over a pseudo-terminal.
#include "app/CommandLine.h"
#include "instrument/SerialTransport.h"
#include "instrument/Transcript.h"
#include "support/QtPrint.h"
#include "support/RecordingTransport.h"
#include "support/SendFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <tuple>

namespace {

const QString kNotReady = "The Connection between DXS-4820 and PC is not Ready, Please check and try agagin.";
const QString kModOff = "Modulation Setting is Done under Off mode;";
const QString kGateOff = "Gate Setting is Done under Off mode;";
const QString kOffSummary = "Main Setting is Done;Sweep Setting is Done under Off mode;" + kModOff + kGateOff;

// clang-format off
// Everything the first send after start-up transmits with the panel at its design defaults.
const QStringList kFullDefaultSend = {
    "*IDN?", "*IDN?", ":FUNC:WAV 1", ":FREQ 10000", ":AMPL:VOLT 5", ":OFFS 0", ":DUTY 50", ":SOUR:STAT 0",
    ":SOUR:TRIG:STAT 0", ":SOUR:COUN:SOUR 0", ":SOUR:STAT ?", ":SOURCE:SOURCE 0", ":SOUR:SWE:SPAC 0",
    ":SOUR:SWE:STAR 1000", ":SOUR:SWE:STOP 2000", ":SOUR:SWE:SYM 90", ":SOUR:SWE:RAT 1000", ":SOUR:STAT ?",
    ":SOURCE:SOURCE 0", ":SOUR:WAV 1", ":SOUR:MODAM:RAT 1000", ":SOUR:MODAM:SYM 50", ":SOUR:MODAM:SPAN 50",
    ":SOUR:TRIG:SOUR 0", ":SOUR:TRIG:MOD 0", ":SOUR:TRIG:PHAS 0"};
// What an unchanged panel sends again with skipping on: the commands outside the skip rule.
const QStringList kAlwaysSent = {
    "*IDN?", "*IDN?", ":OFFS 0", ":SOUR:STAT 0", ":SOUR:TRIG:STAT 0", ":SOUR:COUN:SOUR 0", ":SOUR:STAT ?",
    ":SOURCE:SOURCE 0", ":SOUR:STAT ?", ":SOURCE:SOURCE 0", ":SOUR:WAV 1", ":SOUR:TRIG:SOUR 0", ":SOUR:TRIG:MOD 0"};
// clang-format on

// Typed and confirmed with Return, so the box's rules run.
void type(NumericBox* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

} // namespace

class SendWindow : public SendFixture {
protected:
    // The next send transmits every value, with skipping on, and clears the send-all flag.
    void sendsEverything(frmDXS& w) {
        sim().clear();
        w.mnuSend->trigger();
        EXPECT_EQ(sim().lineTexts(), kFullDefaultSend);
        EXPECT_EQ(w.messageLineText(), kOffSummary);
        EXPECT_FALSE(w.sendAll);
    }
};

// The first send transmits everything; trigger rate and symmetry, not remembered while trigger, burst
// and gate are off, go out when the trigger comes on.
TEST_F(SendWindow, SendTwice) {
    QStringList withLongFrequency = kAlwaysSent;
    withLongFrequency.insert(2, ":FREQ 10000");
    QStringList triggered = kAlwaysSent; // the phase was sent already
    triggered.removeOne(":SOUR:TRIG:STAT 0");
    triggered.insert(triggered.size() - 2, ":SOUR:TRIG:STAT 1");
    triggered << ":SOUR:TRIG:RAT 1000"
              << ":SOUR:TRIG:SYM 50";
    // Skipping, the frequency entered, what the second send transmits, the trigger switched on before it.
    const std::tuple<bool, QString, QStringList, bool> cases[] = {
        {true, "10000", kAlwaysSent, false},
        {false, "10000", kFullDefaultSend, false},
        {true, "10000.00000", withLongFrequency, false}, // longer than its memory: always sent
        {true, "10000", triggered, true}};
    for (const auto& [skip, frequency, second, triggerOn] : cases) {
        SCOPED_TRACE(frequency.toStdString() + (skip ? " skipping" : ""));
        frmDXS& w = ready();
        w.panel.chkSkipCommand->setChecked(skip);
        enter(w.panel.txtMainFreq, frequency);
        w.mnuSend->trigger();
        EXPECT_EQ(sim().lineTexts(), kFullDefaultSend);
        EXPECT_TRUE(dialogs().messages.empty() && !w.sendAll && w.mnuSend->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        sim().clear();
        if (triggerOn) w.panel.optTrigger[0]->click();
        w.mnuSend->trigger();
        EXPECT_EQ(sim().lineTexts(), second);
        EXPECT_EQ(w.messageLineText(),
                  triggerOn ? QString(kOffSummary).replace(kGateOff, "Trigger Setting is Done;")
                            : kOffSummary);
        m_window.reset();
    }
}

// A send stops before `stopBefore` (empty: runs to the end) and does not send `skipped`.
TEST_F(SendWindow, EntryProblems) {
    const QString checkBox = "System check the input data and find errors as follows \r\n";
    const QString failBox = "DXS-4820 Application System causes errors as follows \r\n";
    const std::tuple<const char*, void (*)(Panel&), QString, QStringList, QString> cases[] = {
        // clang-format off
        {"orange box", [](Panel& p) { QTest::keyClicks(p.txtMainFreq, "5"); }, "*IDN?", {},
         "Please validate the items with orange BackColor color."},
        {"frequency and duty missing", [](Panel& p) { enter(p.txtMainFreq, ""); enter(p.txtMainDuty, "0"); }, "",
         {":FREQ 10000", ":DUTY 50"}, checkBox + "Main Setting: Duty need a value\r\n"},
        {"sweep symmetry out of range", [](Panel& p) { enter(p.txtSweepSymmetry, "99999"); }, ":SOUR:SWE:SYM 90", {},
         failBox + "Sweep Setting: Symmetry: Overflow"},
        {"AM symmetry with a unit", [](Panel& p) { enter(p.txtModSymmetry, "50 %"); }, ":SOUR:MODAM:SPAN 50", {},
         failBox + "Modulation Setting: Symmetry: Type mismatch"},
        // clang-format on
    };
    for (const auto& [name, prepare, stopBefore, skipped, box] : cases) {
        SCOPED_TRACE(name);
        frmDXS& w = ready();
        const QString before = w.messageLineText();
        prepare(w.panel);
        w.mnuSend->trigger();
        QStringList expected = kFullDefaultSend.mid(0, kFullDefaultSend.indexOf(stopBefore));
        for (const QString& line : skipped)
            expected.removeAll(line);
        EXPECT_EQ(sim().lineTexts(), expected);
        ASSERT_EQ(dialogs().messages.size(), 1u);
        EXPECT_EQ(dialogs().messages[0].text, box);
        EXPECT_EQ(w.messageLineText() == kOffSummary, stopBefore.isEmpty());
        EXPECT_EQ(w.messageLineText() == before, expected.isEmpty()); // the orange box leaves the line alone
        EXPECT_EQ(w.sendAll, !stopBefore.isEmpty());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        m_window.reset();
    }
}

// What the functions switched on add: `tail` arrives as one run.
TEST_F(SendWindow, SpecialFunctions) {
    const std::tuple<const char*, void (*)(Panel&), QStringList, QString> cases[] = {
        // clang-format off
        {"sweep on, log spacing", [](Panel& p) { p.optSweep[0]->click(); p.optSweepModel[1]->click(); },
         {":SOUR:SWE:SPAC 1", ":SOUR:SWE:STAR 1000", ":SOUR:SWE:STOP 2000", ":SOUR:SWE:SYM 90", ":SOUR:SWE:RAT 1000",
          ":SOUR:STAT 3", ":SOUR:STAT ?"}, "Sweep Setting is Done;" + kModOff + kGateOff},
        {"FM on, triangle source", [](Panel& p) { p.optModulation[0]->click(); p.optModFM->click();
             p.optModSource[1]->click(); enter(p.txtModSymmetry, "40.5"); enter(p.txtModSpanDepth, "7.5"); },
         {":SOUR:WAV 2", ":SOUR:MODFM:RAT 1000", ":SOUR:MODFM:SYM 40", ":SOUR:MODFM:SPAN 8", ":SOUR:STAT 2",
          ":SOUR:TRIG:SOUR 0"}, "Modulation Setting is Done;" + kGateOff},
        {"external modulation source", [](Panel& p) { p.optModulation[0]->click(); p.optModSource[3]->click(); },
         {":SOUR:SWE:RAT 1000", ":SOUR:STAT ?", ":SOURCE:SOURCE 1", ":SOUR:TRIG:SOUR 0"},
         "Modulation Setting is Done;" + kGateOff},
        {"trigger on, external: no rate, symmetry or phase", [](Panel& p) { p.optTrigger[0]->click();
             p.optTriggerExt->click(); }, {":SOUR:TRIG:STAT 1", ":SOUR:TRIG:SOUR 1"}, kModOff + "Trigger Setting is Done;"},
        {"trigger on, multi", [](Panel& p) { p.optTrigger[0]->click(); p.optTriggerType[1]->click();
             enter(p.txtTrgPhase, "45"); }, {":SOUR:TRIG:STAT 1", ":SOUR:TRIG:SOUR 0", ":SOUR:TRIG:MOD 1",
             ":SOUR:TRIG:RAT 1000", ":SOUR:TRIG:SYM 50", ":SOUR:TRIG:PHAS 45"}, kModOff + "Trigger Setting is Done;"},
        // The burst rules fill the trigger rate and symmetry; the orange phase goes out as 0.
        {"burst on, internal source", [](Panel& p) { p.optBurst[0]->click(); type(p.txtBurstPeriod, "100");
             type(p.txtBurstCount, "5"); p.txtTrgPhase->setText("90"); p.txtTrgPhase->markEdited(); },
         {":SOUR:TRIG:RAT 100", ":SOUR:TRIG:SYM 10", ":SOUR:TRIG:PHAS 0"}, kModOff + "Burst Setting is Done;"},
        // The gate rules fill them too; the phase goes out as 0.
        {"gate on", [](Panel& p) { p.optGate[0]->click(); type(p.txtGatePeriod, "100");
             type(p.txtOpenGatePeriod, "400"); enter(p.txtTrgPhase, "60"); },
         {":SOUR:TRIG:RAT 100", ":SOUR:TRIG:SYM 25", ":SOUR:TRIG:PHAS 0"}, kModOff + "Gate Setting is Done;"},
        {"counter on, 1S", [](Panel& p) { p.optExternal[0]->click(); p.optGateTimeExt[2]->click(); },
         {":SOUR:COUN:SOUR 1", ":SOUR:COUN:GAT 2"}, kGateOff + "Gate Setting is Done;"},
        // clang-format on
    };
    for (const auto& [name, prepare, tail, summaryEnd] : cases) {
        SCOPED_TRACE(name);
        frmDXS& w = ready();
        prepare(w.panel);
        w.mnuSend->trigger();
        const QStringList sent = sim().lineTexts();
        EXPECT_EQ(sent.mid(sent.indexOf(tail[0]), tail.size()), tail);
        EXPECT_TRUE(w.messageLineText().endsWith(summaryEnd)) << w.messageLineText().toStdString();
        EXPECT_TRUE(dialogs().messages.empty());
        if (w.panel.optModulation[0]->isChecked()) {
            EXPECT_FALSE(sent.contains(":SOUR:STAT 0") || sent.contains(":SOUR:WAV 1"));
        }
        m_window.reset();
    }
}

TEST_F(SendWindow, InstrumentThatDoesNotAnswer) {
    const SimulatedOptions silent{.silent = true}, once{.answerOnce = true};
    // The instrument, what it receives, the message line, the boxes shown.
    const std::tuple<SimulatedOptions, QStringList, QString, QStringList> cases[] = {
        {silent, {"*IDN?"}, kNotReady, {}},
        {once, {"*IDN?", "*IDN?"}, "DXS-4820 <--> PC: [Ready]", {"DXS-4820 <--> PC: [Failure]"}}};
    for (const auto& [options, received, line, boxes] : cases) {
        SCOPED_TRACE(line.toStdString());
        frmDXS& w = ready();
        sim().options() = options;
        w.mnuSend->trigger();
        EXPECT_EQ(sim().lineTexts(), received);
        EXPECT_EQ(w.messageLineText(), line);
        EXPECT_EQ(dialogs().texts(), boxes);
        EXPECT_TRUE(w.sendAll); // nothing was sent: all of it (Lin spacing, remembered from start, too) next
        sim().options() = {};
        sendsEverything(w);
        m_window.reset();
    }
}

// The instrument's link is removed while the machine's ports are searched and another device sits on
// the first: sends reach nothing, never that other port; back, it gets the next send whole. The
// transcript names the device of every opening.
TEST_F(SendWindow, UnpluggedAndPluggedInAgain) {
    QTemporaryDir elsewhere;
    SimulatedInstrumentPort other(elsewhere.path(), 1);
    ASSERT_TRUE(elsewhere.isValid() && other.isRunning());
    const QString ttys = elsewhere.filePath("tty");
    ASSERT_TRUE(QDir().mkpath(ttys + "/ttyS0/device"));
    QFile uevent(ttys + "/ttyS0/uevent");
    ASSERT_TRUE(uevent.open(QIODevice::WriteOnly));
    uevent.write("DEVNAME=" + other.slaveName().mid(5).toLatin1() + "\n"); // /dev/pts/N
    uevent.close();
    SerialTransport::setMachinePortsSearched(true);
    SerialTransport::setTtyListFolder(ttys);
    ASSERT_EQ(SerialTransport::machinePortDevices(), QStringList{other.slaveName()});

    QString error;
    const auto transcript = Transcript::open(folder() + "/exchanges.txt", &error);
    ASSERT_TRUE(transcript) << error.toStdString();
    const auto recorders = recordExchanges(window(), *transcript);
    frmDXS& w = ready();
    const QString firstDevice = sim().port().slaveName();
    m_sim.reset();
    for (int away = 0; away < 2; ++away) {
        w.mnuSend->trigger();
        EXPECT_EQ(w.messageLineText(), kNotReady);
        w.checkReadiness();
        EXPECT_EQ(w.messageLineText(), "DXS-4820 <--> PC: [Failure]");
    }
    m_sim = std::make_unique<PtyInstrument>(folder(), 1);
    ASSERT_TRUE(m_sim->isRunning());
    sendsEverything(w);
    EXPECT_TRUE(other.instrument().received.isEmpty()) << other.instrument().received.join('|').toStdString();

    QFile file(folder() + "/exchanges.txt");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList opens;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n'))
        if (line.contains(" opened") || line.contains(" open failed")) opens << line.section(' ', 1);
    const QString link = "RS232 COM1 " + folder() + "/COM1 ";
    ASSERT_GE(opens.size(), 3) << opens.join('\n').toStdString();
    EXPECT_EQ(opens.first(), link + "opened, a link to " + firstDevice);
    EXPECT_EQ(opens.last(), link + "opened, a link to " + sim().port().slaveName());
    for (const QString& open : opens.mid(1, opens.size() - 2))
        EXPECT_TRUE(open.startsWith(link + "open failed: Cannot open serial port " + folder() + "/COM1"))
            << open.toStdString();
}

// A second copy of the program, its port held by the first, says why the port cannot be opened.
TEST_F(SendWindow, PortHeldByAnotherProgramIsExplained) {
    SerialTransport first; // the first copy's port, COM1 of the same folder
    first.configure();
    ASSERT_TRUE(first.isOpen());
    frmDXS& w = window();
    QStringList shown;
    QObject::connect(w.txtMessage, &QLineEdit::textChanged, w.txtMessage,
                     [&](const QString& t) { shown << t; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown.contains("DXS-4820 <--> PC: [Failure]"); }));
    const QString last = shown.last();
    EXPECT_TRUE(
        last.startsWith("DXS-4820 <--> PC: [Failure]: Cannot open serial port " + folder() + "/COM1: ") &&
        last.endsWith(" (the port is in use by another program)"))
        << last.toStdString();
    EXPECT_TRUE(sim().lines().isEmpty());
}

// The stored port opens with the first exchange, not with the window: a never-shown window still sends.
TEST_F(SendWindow, StoredPortOpensWithTheFirstExchange) {
    frmDXS& w = window(false);
    EXPECT_FALSE(w.CWSerial1().isOpen());
    EXPECT_FALSE(w.messageLineText().startsWith("Set [Configure")) << w.messageLineText().toStdString();
    QStringList lines;
    w.instrument.txtMsg = [&](const QString& line) { lines << line; };
    w.instrument.iWaiting_ms = kFastPacing;
    w.mnuSend->trigger();
    EXPECT_TRUE(w.CWSerial1().isOpen());
    EXPECT_EQ(lines.mid(0, 2),
              QStringList({"Set [Configure RS232] to DXS-4820...", "Set [Configure RS232] to DXS-4820 OK"}));
    EXPECT_EQ(sim().lineTexts(), kFullDefaultSend);
}

// While a send waits for a reply the window stays live, but nothing else may talk to the instrument.
TEST_F(SendWindow, CommandsDuringASendAreRefused) {
    frmDXS& w = ready();
    w.panel.fraComm->show();
    bool busyShown = false;
    QTimer during;
    QObject::connect(&during, &QTimer::timeout, [&] { // after the identification the busy pointer shows
        if (!w.instrument.isExchanging() || sim().lines().size() < 5) return;
        busyShown = !w.mnuSend->isEnabled() && !w.mnuSetting->isEnabled() && !w.panel.OKButton->isEnabled() &&
                    !w.panel.cmdTestConnect->isEnabled() && QApplication::overrideCursor() != nullptr;
        // Straight to the handlers, past the disabled controls, as a queued activation would arrive.
        emit w.mnuSend->triggered(false);
        emit w.panel.cmdTestConnect->clicked(false);
        emit w.panel.OKButton->clicked(false);
        w.checkReadiness();
        during.stop();
    });
    during.start(1);
    w.mnuSend->trigger();
    EXPECT_TRUE(busyShown);
    EXPECT_EQ(sim().lineTexts(), kFullDefaultSend);
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_TRUE(w.panel.fraComm->isVisible());
}

// Closing during the readiness or identification query or a setting: the record is stored, nothing more
// sent, the empty answer not reported. The transport closes the window right after its `closeAt`-th line.
TEST_F(SendWindow, ClosingTheWindowDuringASendEndsIt) {
    struct ClosingTransport : RecordingTransport {
        ClosingTransport(Transport* inner, frmDXS* w, qsizetype at)
            : RecordingTransport(inner), window(w), closeAt(at) {}
        void write(const QByteArray& data) override {
            RecordingTransport::write(data);
            if (writes.size() == closeAt) QTimer::singleShot(0, window, [w = window] { w->close(); });
        }
        frmDXS* window;
        qsizetype closeAt;
    };
    const bool quitOnClose = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    for (const qsizetype closeAt : {1, 2, 4}) {
        SCOPED_TRACE(closeAt);
        QFile::remove(folder() + "/DXS4820.Log");
        frmDXS& w = ready();
        ClosingTransport transport(w.instrument.CWSerial1, &w, closeAt);
        w.instrument.CWSerial1 = &transport;
        w.mnuSend->trigger();
        EXPECT_EQ(transport.writes.size(), closeAt);
        EXPECT_TRUE(sim().waitForLines(int(closeAt)));
        EXPECT_EQ(sim().lineTexts(), kFullDefaultSend.mid(0, closeAt));
        EXPECT_TRUE(dialogs().messages.empty());
        EXPECT_NE(w.messageLineText(), kNotReady);
        EXPECT_TRUE(QFile::exists(folder() + "/DXS4820.Log"));
        m_window.reset();
    }
    QApplication::setQuitOnLastWindowClosed(quitOnClose);
}

// The instrument vanishes after its n-th line: this step or the next ends in FAILURE, nothing follows.
// Restarted on the same link it is reached without Setting, and the next send repeats everything.
TEST_F(SendWindow, InstrumentPulledMidSendThenBack) {
    const std::pair<int, QStringList> cases[] = {
        {3,
         {"Set [Main Func Freq. Wave Form: (Sin)] to DXS-4820 FAILURE",
          "Set [Main Func Freq] to DXS-4820 FAILURE"}},
        {11, {"Check [Source State] from DXS-4820 FAILURE", "Set [Source Source] to DXS-4820 FAILURE"}},
    };
    for (const auto& [pulledAfter, failureLines] : cases) {
        SCOPED_TRACE(pulledAfter);
        frmDXS& w = ready();
        QStringList shown;
        QObject::connect(w.txtMessage, &QLineEdit::textChanged, w.txtMessage,
                         [&](const QString& t) { shown << t; });
        QObject::connect(&sim().port(), &SimulatedInstrumentPort::lineReceived, w.txtMessage, [&, this] {
            if (sim().lines().size() == pulledAfter)
                QTimer::singleShot(0, w.txtMessage, [this] { m_sim.reset(); });
        });
        w.mnuSend->trigger();
        ASSERT_FALSE(m_sim);
        EXPECT_TRUE(failureLines.contains(w.messageLineText())) << w.messageLineText().toStdString();
        EXPECT_EQ(shown.filter(" FAILURE").size(), 1);
        EXPECT_FALSE(shown.join('|').contains("Setting is Done"));
        EXPECT_TRUE(w.sendAll && dialogs().messages.empty() && w.mnuSend->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        m_sim = std::make_unique<PtyInstrument>(folder(), 1);
        ASSERT_TRUE(m_sim->isRunning());
        sendsEverything(w);
        m_window.reset();
    }
}
