// Send from the real window to the simulated instrument over a pseudo-terminal.
#include "app/CommandLine.h"
#include "instrument/Transcript.h"
#include "support/RecordingTransport.h"
#include "support/SendFixture.h"

namespace {

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

// The first send transmits everything; the trigger rate and symmetry, not remembered while trigger,
// burst and gate are off, go out once the trigger is on.
TEST_F(SendWindow, SendTwice) {
    // clang-format off
    const QStringList withLongFrequency = {"*IDN?", "*IDN?", ":FREQ 10000", ":OFFS 0", ":SOUR:STAT 0", ":SOUR:TRIG:STAT 0",
        ":SOUR:COUN:SOUR 0", ":SOUR:STAT ?", ":SOURCE:SOURCE 0", ":SOUR:STAT ?", ":SOURCE:SOURCE 0", ":SOUR:WAV 1", ":SOUR:TRIG:SOUR 0", ":SOUR:TRIG:MOD 0"};
    const QStringList triggered = {"*IDN?", "*IDN?", ":OFFS 0", ":SOUR:STAT 0", ":SOUR:COUN:SOUR 0", ":SOUR:STAT ?", ":SOURCE:SOURCE 0",
        ":SOUR:STAT ?", ":SOURCE:SOURCE 0", ":SOUR:WAV 1", ":SOUR:TRIG:STAT 1", ":SOUR:TRIG:SOUR 0", ":SOUR:TRIG:MOD 0",
        ":SOUR:TRIG:RAT 1000", ":SOUR:TRIG:SYM 50"}; // the phase was sent already
    // Skipping, the frequency entered, what the second send transmits, the trigger switched on before it.
    const std::tuple<bool, QString, QStringList, bool> cases[] = {{true, "10000", kAlwaysSent, false},
        {false, "10000", kFullDefaultSend, false}, {true, "10000", triggered, true},
        {true, "10000.00000", withLongFrequency, false}}; // longer than its memory: always sent
    // clang-format on
    for (const auto& [skip, frequency, second, triggerOn] : cases) {
        SCOPED_TRACE(frequency + (skip ? " skipping" : ""));
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
        {"burst on, internal source", [](Panel& p) { p.optBurst[0]->click(); typeAndEnter(p.txtBurstPeriod, "100");
             typeAndEnter(p.txtBurstCount, "5"); p.txtTrgPhase->setText("90"); p.txtTrgPhase->markEdited(); },
         {":SOUR:TRIG:RAT 100", ":SOUR:TRIG:SYM 10", ":SOUR:TRIG:PHAS 0"}, kModOff + "Burst Setting is Done;"},
        // The gate rules fill them too; the phase goes out as 0.
        {"gate on", [](Panel& p) { p.optGate[0]->click(); typeAndEnter(p.txtGatePeriod, "100");
             typeAndEnter(p.txtOpenGatePeriod, "400"); enter(p.txtTrgPhase, "60"); },
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
        EXPECT_TRUE(w.messageLineText().endsWith(summaryEnd)) << w.messageLineText();
        EXPECT_TRUE(dialogs().messages.empty());
        EXPECT_FALSE(w.panel.optModulation[0]->isChecked() &&
                     (sent.contains(":SOUR:STAT 0") || sent.contains(":SOUR:WAV 1")));
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
    ASSERT_TRUE(makeTtyList(ttys, "ttyS0:8250:" + other.slaveName().mid(5))); // /dev/pts/N
    SerialTransport::setMachinePortsSearched(true);
    SerialTransport::setTtyListFolder(ttys);
    ASSERT_EQ(SerialTransport::machinePortDevices(), QStringList{other.slaveName()});

    QString error;
    const auto transcript = Transcript::open(folder() + "/exchanges.txt", &error);
    ASSERT_TRUE(transcript) << error;
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
    EXPECT_TRUE(other.instrument().received.isEmpty()) << other.instrument().received.join('|');

    QStringList opens;
    for (const QString& line : QString::fromUtf8(fileBytes(folder() + "/exchanges.txt")).split('\n'))
        if (line.contains(" opened") || line.contains(" open failed")) opens << line.section(' ', 1);
    const QString link = "RS232 COM1 " + folder() + "/COM1 ";
    ASSERT_GE(opens.size(), 3) << opens.join('\n');
    EXPECT_EQ(opens.first(), link + "opened, a link to " + firstDevice);
    EXPECT_EQ(opens.last(), link + "opened, a link to " + sim().port().slaveName());
    for (const QString& open : opens.mid(1, opens.size() - 2))
        EXPECT_TRUE(open.startsWith(link + "open failed: Cannot open serial port " + folder() + "/COM1"))
            << open;
}

// A second copy of the program, its port held by the first, says why the port cannot be opened.
TEST_F(SendWindow, PortHeldByAnotherProgramIsExplained) {
    SerialTransport first; // the first copy's port, COM1 of the same folder
    first.configure();
    ASSERT_TRUE(first.isOpen());
    const QStringList& shown = messageLog();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown.contains("DXS-4820 <--> PC: [Failure]"); }));
    const QString last = shown.last();
    EXPECT_TRUE(
        last.startsWith("DXS-4820 <--> PC: [Failure]: Cannot open serial port " + folder() + "/COM1: ") &&
        last.endsWith(" (the port is in use by another program)"))
        << last;
    EXPECT_TRUE(sim().lines().isEmpty());
}

// The stored port opens with the first exchange, not with the window: a never-shown window still sends.
TEST_F(SendWindow, StoredPortOpensWithTheFirstExchange) {
    frmDXS& w = window(false);
    EXPECT_FALSE(w.CWSerial1().isOpen());
    EXPECT_FALSE(w.messageLineText().startsWith("Set [Configure")) << w.messageLineText();
    QStringList lines;
    w.instrument.txtMsg = [&](const QString& line) { lines << line; };
    w.instrument.iWaiting_ms = kFastPacing;
    w.mnuSend->trigger();
    EXPECT_TRUE(w.CWSerial1().isOpen());
    EXPECT_EQ(lines.mid(0, 2),
              QStringList({"Set [Configure RS232] to DXS-4820...", "Set [Configure RS232] to DXS-4820 OK"}));
    EXPECT_EQ(sim().lineTexts(), kFullDefaultSend);
}

// While a send waits for a reply the window stays live and shows its steps, but nothing else may talk to
// the instrument; Escape stops it between exchanges, and the next send sends everything.
TEST_F(SendWindow, CommandsDuringASendAreRefusedAndEscapeStopsIt) {
    frmDXS& w = ready(20);
    activeWindow();
    w.panel.fraComm->show();
    bool busyShown = false;
    QString progress;
    qsizetype linesAtStop = 0;
    QTimer during;
    QObject::connect(&during, &QTimer::timeout, [&] { // after the identification the busy pointer shows
        if (!w.instrument.isExchanging() || sim().lines().size() < 5) return;
        during.stop();
        busyShown = !w.mnuSend->isEnabled() && !w.mnuSetting->isEnabled() && !w.panel.OKButton->isEnabled() &&
                    !w.panel.cmdTestConnect->isEnabled() && QApplication::overrideCursor() != nullptr;
        progress = w.panel.sendProgress->isVisible() ? w.panel.sendProgress->text() : "(hidden)";
        // Straight to the handlers, past the disabled controls, as a queued activation would arrive.
        emit w.mnuSend->triggered(false);
        emit w.panel.cmdTestConnect->clicked(false);
        emit w.panel.OKButton->clicked(false);
        w.checkReadiness();
        linesAtStop = sim().lines().size();
        QTest::keyClick(&w, Qt::Key_Escape);
    });
    during.start(1);
    w.mnuSend->trigger();
    EXPECT_TRUE(busyShown);
    EXPECT_TRUE(progress.endsWith(" / 26")) << progress;
    EXPECT_FALSE(w.panel.sendProgress->isVisible());
    EXPECT_LE(sim().lines().size(), linesAtStop + 1);
    EXPECT_EQ(sim().lineTexts(), kFullDefaultSend.mid(0, sim().lines().size()));
    EXPECT_TRUE(w.messageLineText().startsWith("Send stopped at step ")) << w.messageLineText();
    EXPECT_TRUE(w.sendAll && w.mnuSend->isEnabled() && dialogs().messages.empty());
    EXPECT_TRUE(w.panel.fraComm->isVisible());
    sendsEverything(w);
}

// Closing right after the readiness query, the identification query or a setting is sent: the record is
// stored, nothing more sent, the empty answer not reported.
TEST_F(SendWindow, ClosingTheWindowDuringASendEndsIt) {
    const bool quitOnClose = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    for (const qsizetype closeAt : {1, 2, 4}) {
        SCOPED_TRACE(closeAt);
        QFile::remove(folder() + "/DXS4820.Log");
        frmDXS& w = ready();
        RecordingTransport transport(w.instrument.CWSerial1);
        transport.afterWrite = [&] {
            if (transport.writes.size() == closeAt) QTimer::singleShot(0, &w, [&w] { w.close(); });
        };
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

// An instrument that does not answer, or vanishes after its n-th line (this step or the next fails, nothing
// follows): the send ends there; back on the same link, reached without Setting, it gets the next one whole.
TEST_F(SendWindow, InstrumentFailingASendGetsEverythingNext) {
    // The instrument, the line it vanishes after (0: stays), what it receives, message lines, boxes shown.
    // clang-format off
    const std::tuple<SimulatedOptions, int, QStringList, QStringList, QStringList> cases[] = {
        {{.silent = true}, 0, {"*IDN?"}, {kNotReady}, {}},
        {{.answerOnce = true}, 0, {"*IDN?", "*IDN?"}, {"DXS-4820 <--> PC: [Ready]"}, {"DXS-4820 <--> PC: [Failure]"}},
        {{}, 3, {}, {"Set [Main Func Freq. Wave Form: (Sin)] to DXS-4820 FAILURE", "Set [Main Func Freq] to DXS-4820 FAILURE"}, {}},
        {{}, 11, {}, {"Check [Source State] from DXS-4820 FAILURE", "Set [Source Source] to DXS-4820 FAILURE"}, {}}};
    // clang-format on
    for (const auto& [options, pulledAfter, received, line, boxes] : cases) {
        SCOPED_TRACE(line[0]);
        frmDXS& w = ready();
        const QStringList& shown = messageLog();
        sim().options() = options;
        QObject::connect(&sim().port(), &SimulatedInstrumentPort::lineReceived, w.txtMessage, [&, this] {
            if (sim().lines().size() == pulledAfter)
                QTimer::singleShot(0, w.txtMessage, [this] { m_sim.reset(); });
        });
        w.mnuSend->trigger();
        EXPECT_EQ(!m_sim, pulledAfter > 0);
        EXPECT_EQ(m_sim ? sim().lineTexts() : QStringList(), received);
        EXPECT_TRUE(line.contains(w.messageLineText())) << w.messageLineText();
        EXPECT_EQ(dialogs().texts(), boxes);
        EXPECT_LE(shown.filter(" FAILURE").size(), 1);
        EXPECT_FALSE(shown.join('|').contains("Setting is Done"));
        // Nothing was sent: all of it (Lin spacing, remembered from start, too) goes next.
        EXPECT_TRUE(w.sendAll && w.mnuSend->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        if (m_sim)
            sim().options() = {};
        else
            m_sim = std::make_unique<PtyInstrument>(folder(), 1);
        ASSERT_TRUE(m_sim->isRunning());
        sendsEverything(w);
        m_window.reset();
    }
}
