// Read: the instrument's setting back into the real window over the pseudo-terminal, and the
// scripts --send and --read.
#include "app/ScriptMode.h"
#include "operations/ReadSequence.h"
#include "record/RecordFile.h"
#include "support/SendFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <tuple>

namespace {

// Typed and confirmed with Return, so the box's rules run.
void type(NumericBox* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

// Everything a read shows: the texts of the boxes it fills and the choice of every option group.
QStringList shown(const Panel& p) {
    QStringList texts;
    for (NumericBox* box :
         {p.txtMainFreq, p.txtMainAmp, p.txtMainDCOffset, p.txtMainDuty, p.txtSweepStartFreq,
          p.txtSweepStopFreq, p.txtSweepCenterFreq, p.txtSweepSpan, p.txtSweepSymmetry, p.txtSweepRate,
          p.txtModRate, p.txtModSymmetry, p.txtModSpanDepth, p.txtTrgRate, p.txtTrgSymmetry, p.txtTrgPhase})
        texts << box->objectName() + "=" + box->text() + (box->isEdited() ? " (orange)" : "");
    for (QRadioButton* option :
         {p.optMainFunc[0],   p.optMainFunc[1], p.optMainFunc[2],    p.optSweep[0],       p.optSweepModel[1],
          p.optModulation[0], p.optModAM,       p.optModSource[0],   p.optModSource[1],   p.optModSource[2],
          p.optModSource[3],  p.optTrigger[0],  p.optTriggerType[1], p.optTriggerExt,     p.optBurst[0],
          p.optGate[0],       p.optExternal[0], p.optGateTimeExt[0], p.optGateTimeExt[1], p.optGateTimeExt[2],
          p.optGateTimeExt[3]})
        if (option->isChecked()) texts << option->objectName() + " " + option->text();
    texts << "segment " + QString::number(p.HScrollSweep->value());
    return texts;
}

bool onlyQueries(const QStringList& lines) {
    for (const QString& line : lines)
        if (line != "*IDN?" && !line.endsWith(" ?")) return false;
    return true;
}

} // namespace

using ReadWindow = SendFixture;

// A setting sent from one window and read into a second one, started with design defaults, shows
// the same; a send right after it writes only what every send writes.
TEST_F(ReadWindow, RoundTripThroughTheInstrument) {
    frmDXS& first = ready();
    Panel& p = first.panel;
    p.chkSyncRateSym->setChecked(false);
    p.optMainFunc[1]->click();
    type(p.txtMainFreq, "2500");
    type(p.txtMainAmp, "4");
    type(p.txtMainDCOffset, "1.5");
    type(p.txtMainDuty, "40");
    p.optSweepModel[1]->click();
    type(p.txtSweepStartFreq, "2000");
    type(p.txtSweepStopFreq, "8000");
    type(p.txtSweepSymmetry, "70");
    type(p.txtSweepRate, "50");
    p.optModSource[2]->click();
    type(p.txtModRate, "200");
    type(p.txtModSymmetry, "30");
    type(p.txtModSpanDepth, "80");
    p.optTrigger[0]->click();
    p.optTriggerType[1]->click();
    type(p.txtTrgRate, "500");
    type(p.txtTrgSymmetry, "40");
    type(p.txtTrgPhase, "45");
    first.mnuSend->trigger();
    ASSERT_FALSE(first.sendAll);
    const QStringList sent = shown(p);
    ASSERT_TRUE(sent.contains("txtMainFreq=2500.0") && sent.contains("txtTrgRate=500"))
        << sent.join('\n').toStdString();
    m_window.reset();

    frmDXS& second = ready();
    QStringList lines;
    second.messageEcho = [&lines](const QString& line) { lines << line; };
    second.mnuRead->trigger();
    EXPECT_EQ(sim().lines().size(), 2 + 27);
    EXPECT_TRUE(onlyQueries(sim().lineTexts())) << sim().lineTexts().join('\n').toStdString();
    EXPECT_EQ(shown(second.panel), sent);
    EXPECT_TRUE(lines.contains("Check [Main Func Freq.] from DXS-4820..."));
    EXPECT_TRUE(lines.contains("Check [Main Func Freq.] from DXS-4820 OK"));
    EXPECT_TRUE(second.messageLineText().startsWith("Read from DXS-4820: 27 values read, "))
        << second.messageLineText().toStdString();
    EXPECT_TRUE(second.messageLineText().endsWith(", 0 failed.")) << second.messageLineText().toStdString();
    EXPECT_FALSE(second.sendAll);
    EXPECT_TRUE(dialogs().messages.empty());
    // The record holds what was read, as if each box had been confirmed.
    EXPECT_EQ(second.record.text(RecordField::MainFreq), "2500.0    ");
    EXPECT_EQ(second.record.text(RecordField::TriggerRate), "500   ");
    EXPECT_EQ(second.record.integer(RecordField::AMSymmetry), 30);
    EXPECT_EQ(second.record.integer(RecordField::MainWaveform), 2);

    sim().clear();
    second.mnuSend->trigger();
    const QStringList alwaysSent = {"*IDN?",
                                    "*IDN?",
                                    ":OFFS 1.5",
                                    ":SOUR:STAT 0",
                                    ":SOUR:COUN:SOUR 0",
                                    ":SOUR:STAT ?",
                                    ":SOURCE:SOURCE 0",
                                    ":SOUR:STAT ?",
                                    ":SOURCE:SOURCE 0",
                                    ":SOUR:WAV 3",
                                    ":SOUR:TRIG:STAT 1",
                                    ":SOUR:TRIG:SOUR 0",
                                    ":SOUR:TRIG:MOD 1"};
    EXPECT_EQ(sim().lineTexts(), alwaysSent);
}

// One reply changed after a first read: what the box or option shows, how many checks failed, what the
// summary names, and whether the next send must send everything.
TEST_F(ReadWindow, RepliesIntoTheBoxes) {
    // clang-format off
    const struct { QByteArray query; std::optional<QByteArray> reply; QString shows; int failed; QString names; } cases[] = {
        {":FREQ ?", "1.000000E+03", "txtMainFreq=1000.00", 0, "(Frequency)"},
        {":FREQ ?", std::nullopt, "txtMainFreq=10000.0", 1, ", 0 differed, 1 failed."},   // empty reply: box kept
        {":FREQ ?", "abc", "txtMainFreq=10000.0", 1, ", 0 differed, 1 failed."},         // does not convert
        {":FREQ ?", "2.000000E+07", "txtMainFreq=15000000", 0, "(Frequency)"},           // clamped
        {":DUTY ?", "50.5", "txtMainDuty=50", 0, ", 0 differed, 0 failed."},            // rounds to even
        {":DUTY ?", "90", "txtMainDuty=80", 0, "(DUTY)"},
        {":SOUR:SWE:SYM ?", "", "txtSweepSymmetry=90", 1, ", 0 differed, 1 failed."},
        {":SOUR:TRIG:RAT ?", "1.500000E+02", "txtTrgRate=200", 0, "(Trigger Rate)"},
        {":FUNC:WAV ?", "7", "optMainFunc_2 Square", 0, "(Function)"},                    // unknown code: clamped
        {":SOUR:STAT ?", "2", "optModulation_0 On", 0, "(AM/FM, Function mode, SPAN(Depth))"},
        {":SOUR:STAT ?", "3", "optSweep_0 On", 0, "(Function mode)"},
        {":SOUR:TRIG:STAT ?", "1", "optTrigger_0 On", 0, "(Function mode)"},
        {":SOUR:COUN:GAT ?", "2", "optGateTimeExt_2 1S", 0, "(Gate Time)"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query.toStdString() + " " + c.reply.value_or("(none)").toStdString());
        frmDXS& w = ready();
        w.mnuRead->trigger(); // the panel then shows what the instrument holds
        if (c.reply)
            sim().options().replies.insert(c.query, *c.reply);
        else
            sim().options().unanswered << c.query;
        w.mnuRead->trigger();
        EXPECT_TRUE(shown(w.panel).contains(c.shows)) << shown(w.panel).join('\n').toStdString();
        EXPECT_TRUE(w.messageLineText().contains(c.names)) << w.messageLineText().toStdString();
        EXPECT_TRUE(w.messageLineText().endsWith(QString(", %1 failed.").arg(c.failed))) << w.messageLineText().toStdString();
        EXPECT_EQ(w.sendAll, c.failed > 0);
        sim().options().replies.clear();
        sim().options().unanswered.clear();
        m_window.reset();
    }
}

// An empty reply shows the check's FAILURE line; a clamped value is sent by the next Send.
TEST_F(ReadWindow, FailureLineAndClampedValueSentNext) {
    frmDXS& w = ready();
    QStringList lines;
    w.messageEcho = [&lines](const QString& line) { lines << line; };
    sim().options().unanswered << ":SOUR:STAT ?";
    sim().options().replies.insert(":FREQ ?", "2.000000E+07");
    w.mnuRead->trigger();
    EXPECT_TRUE(lines.contains("Check [Source State] from DXS-4820 FAILURE"));
    // The failure sets the send-all flag; without it the memory would still hold 2E+07.
    w.sendAll = false;
    sim().options().unanswered.clear();
    sim().clear();
    w.mnuSend->trigger();
    EXPECT_TRUE(sim().lineTexts().contains(":FREQ 15000000")) << sim().lineTexts().join('\n').toStdString();
    EXPECT_FALSE(sim().lineTexts().contains(":AMPL:VOLT 5"));
}

// Unconfirmed entries are never lost silently; an instrument that does not answer changes nothing.
TEST_F(ReadWindow, AsksBeforeDiscardingAndChangesNothingWhenNotReady) {
    const struct {
        UserDialogs::Answer answer;
        bool silent;
        bool reads;
    } cases[] = {
        {UserDialogs::Answer::No, false, false},
        {UserDialogs::Answer::Yes, false, true},
        {UserDialogs::Answer::Yes, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.answer) * 10 + c.silent);
        frmDXS& w = ready();
        w.panel.txtMainAmp->setText("7");
        ASSERT_TRUE(w.panel.txtMainAmp->isEdited());
        sim().options().silent = c.silent;
        dialogs().answers.push_back(c.answer);
        w.mnuRead->trigger();
        ASSERT_EQ(dialogs().messages.size(), 1u);
        EXPECT_EQ(dialogs().messages[0].buttons, UserDialogs::Buttons::YesNo);
        EXPECT_EQ(w.panel.txtMainAmp->text(), c.reads ? "5.00" : "7");
        EXPECT_EQ(w.panel.txtMainAmp->isEdited(), !c.reads);
        EXPECT_EQ(sim().lines().isEmpty(), c.answer == UserDialogs::Answer::No);
        if (c.silent) {
            EXPECT_EQ(w.messageLineText(),
                      "The Connection between DXS-4820 and PC is not Ready, Please check and try agagin.");
        }
        EXPECT_EQ(w.sendAll, !c.reads); // start-up set it; only a complete read clears it
        sim().options().silent = false;
        m_window.reset();
    }
}

// Burst and gate cannot be told from trigger by the instrument: the panel's choice among them stays.
TEST(ReadModes, StatesChooseAtMostOneMode) {
    const auto reading = [](std::optional<double> state, std::optional<double> trigger,
                            std::optional<double> counter) {
        Reading r;
        r.values[size_t(Property::SourceState)] = state;
        r.values[size_t(Property::SourceTriggerState)] = trigger;
        r.values[size_t(Property::SourceCounterSource)] = counter;
        return r;
    };
    PanelModes burst;
    burst.burst = true;
    PanelModes sweepFm;
    sweepFm.sweep = true;
    sweepFm.am = false;
    // clang-format off
    const struct { Reading r; PanelModes before; const char* on; bool am; bool conflicting; } cases[] = {
        {reading(0, 1, 0), burst, "burst", true, false},
        {reading(0, 1, 0), PanelModes{}, "trigger", true, false},
        {reading(0, 0, 0), burst, "", true, false},
        {reading(1, 0, 0), sweepFm, "modulation", true, false},
        {reading(2, 0, 0), PanelModes{}, "modulation", false, false},
        {reading(3, 1, 1), PanelModes{}, "sweep", true, true},      // several on: the first in group order
        {reading(9, 0, 0), PanelModes{}, "sweep", true, true},      // unknown state code: pulled to 3
        {reading(std::nullopt, 0, 0), sweepFm, "sweep", false, false}, // not read: kept
        {reading(std::nullopt, 0, 1), sweepFm, "external", false, false}, // read on goes before kept
    };
    // clang-format on
    for (const auto& c : cases) {
        bool conflicting = false;
        const PanelModes m = readModes(c.r, c.before, &conflicting);
        const QString on = m.sweep        ? "sweep"
                           : m.modulation ? "modulation"
                           : m.trigger    ? "trigger"
                           : m.burst      ? "burst"
                           : m.gate       ? "gate"
                           : m.external   ? "external"
                                          : "";
        SCOPED_TRACE(c.on);
        EXPECT_EQ(on, c.on);
        EXPECT_EQ(m.am, c.am);
        EXPECT_EQ(conflicting, c.conflicting);
        EXPECT_EQ(int(m.sweep) + m.modulation + m.trigger + m.burst + m.gate + m.external,
                  on.isEmpty() ? 0 : 1);
    }
}

// Each box's text as its Enter rule gives the number read, and whether the box could hold it.
TEST(ReadBoxes, TextsStepsAndClamping) {
    // clang-format off
    const struct { BoxReading got; QString text; QString step; bool clamped; } cases[] = {
        {readMainFrequency(2500), "2500.0", "0.1", false},
        {readMainFrequency(1500000), "1500000", "10", false},
        {readMainFrequency(0), "0.01", "0.01", true},
        {readAmplitude(5, "3"), "4.00", "", true},
        {readOffset(-2.5, "5.00"), "-2.50", "", false},
        {readRate(1000, kModulationRate), "1000", "100", false},
        {readRate(101, kModulationRate), "200", "100", true},
        {readRate(0.5, kSweepRate), "0.50", "0.01", false},
        {readSymmetry(95), "90", "", true},
        {readFmSpan(20), "15", "0.1", true},
        {readTriggerPhase(-120), "-90", "1", true},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(c.got.text, c.text);
        EXPECT_EQ(c.got.step.value_or(""), c.step);
        EXPECT_EQ(c.got.clamped, c.clamped);
    }
    // Start and stop pick the segment that holds both, the current one first.
    EXPECT_EQ(readSweepEdges(1000, 1400, 5).segment, 5);
    EXPECT_EQ(readSweepEdges(1000, 1400, 4).segment, 4);
    EXPECT_EQ(readSweepEdges(1000, 2000, 4).segment, 5);
    const SweepReading high = readSweepEdges(200000, 900000, 5);
    EXPECT_EQ(high.segment, 7);
    EXPECT_FALSE(high.start.clamped || high.stop.clamped);
    EXPECT_TRUE(readSweepEdges(1, 15000000, 5).stop.clamped);
}

namespace {

// A setting file holding only a pacing of 20 ms, so the scripts' exchanges are quick.
bool writeQuickSettingFile(const QString& path) {
    SettingsRecord record;
    record.setInteger(RecordField::CycleTime, 20);
    return recordfile::writeRecord(path, record).ok;
}

struct ProgramRun {
    int exitCode = -1;
    QString output, error;
};

// The program with no display at all; the simulated instrument in this process answers while it runs.
ProgramRun runProgram(const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    QProcess program;
    program.setProcessEnvironment(environment);
    // Our own event loop: the instrument answers the moment a query arrives.
    QEventLoop loop;
    QObject::connect(&program, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&program, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    program.start(DXS_PROGRAM_PATH, arguments);
    loop.exec();
    EXPECT_EQ(program.state(), QProcess::NotRunning);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    return {program.exitCode(), QString::fromLocal8Bit(program.readAllStandardOutput()),
            QString::fromLocal8Bit(program.readAllStandardError())};
}

} // namespace

// --read FILE, then --send FILE puts the setting back; a gone instrument and an unreadable file give
// their exit statuses.
TEST_F(ReadWindow, ScriptsReadAndSendWithoutDisplay) {
    SimulatedInstrument& instrument = sim().port().instrument();
    const std::pair<Property, double> bench[] = {
        {Property::MainFreqWaveForm, 2},
        {Property::MainFreq, 2500},
        {Property::DUTY, 40},
        {Property::SourceSweepSpace, 1},
        {Property::SourceTriggerMode, 1},
        {Property::SourceWaveForm, 3},
        {Property::SourceModAMRate, 200},
        {Property::SourceSweepStart, 2000},
        {Property::SourceTriggerPhase, 30},
    };
    for (const auto& [property, value] : bench)
        instrument.setValue(int(property), value);
    const QString file = folder() + "/bench.Log";
    ASSERT_TRUE(writeQuickSettingFile(file));

    const ProgramRun read = runProgram({"--read", file, "--port", sim().linkPath()});
    EXPECT_EQ(read.exitCode, 0) << (read.output + read.error).toStdString();
    EXPECT_TRUE(read.output.contains("\nCheck [Main Func Freq.] from DXS-4820 OK\n"))
        << read.output.toStdString();
    EXPECT_TRUE(read.output.contains("\nRead from DXS-4820: 27 values read, ")) << read.output.toStdString();
    EXPECT_TRUE(onlyQueries(sim().lineTexts()));
    SettingsRecord stored;
    ASSERT_EQ(recordfile::readRecord(file, stored), recordfile::ReadStatus::Read);
    EXPECT_EQ(stored.text(RecordField::MainFreq), "2500.0    ");
    EXPECT_EQ(stored.integer(RecordField::CycleTime), 20);

    for (const auto& [property, value] : bench)
        instrument.setValue(int(property), 1);
    const ProgramRun send = runProgram({"--send", file, "--port", sim().linkPath()});
    EXPECT_EQ(send.exitCode, 0) << (send.output + send.error).toStdString();
    EXPECT_TRUE(send.output.contains("\nSet [Main Func Freq] to DXS-4820 OK\n")) << send.output.toStdString();
    for (const auto& [property, value] : bench)
        EXPECT_EQ(instrument.value(int(property)), value) << commandRow(property).name;

    const QString link = sim().linkPath();
    m_sim.reset(); // the instrument is gone
    const ProgramRun gone = runProgram({"--send", file, "--port", link});
    EXPECT_EQ(gone.exitCode, 1) << (gone.output + gone.error).toStdString();
    EXPECT_TRUE(gone.output.contains("FAILURE")) << gone.output.toStdString();
    const ProgramRun readGone = runProgram({"--read", file, "--port", link});
    EXPECT_EQ(readGone.exitCode, 1);
    EXPECT_EQ(recordfile::readRecord(file, stored), recordfile::ReadStatus::Read);
    EXPECT_EQ(stored.text(RecordField::MainFreq), "2500.0    "); // an incomplete read writes nothing

    for (const QStringList& arguments : {QStringList{"--send", folder() + "/missing.Log"},
                                         QStringList{"--send", folder()}, QStringList{"--read", folder()}}) {
        const ProgramRun unusable = runProgram(arguments);
        EXPECT_EQ(unusable.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_FALSE(unusable.error.isEmpty());
    }
}

// The scripts neither read nor write the default setting file: its connection (a port with no
// instrument) is not used, and it stays as it was.
TEST_F(ReadWindow, ScriptsLeaveTheDefaultSettingFileAlone) {
    SettingsRecord stored;
    stored.setInteger(RecordField::ComPort, 2);
    stored.setText(RecordField::MainFreq, "1234");
    const QString defaultFile = folder() + "/" + recordfile::DefaultFileName;
    ASSERT_TRUE(recordfile::writeRecord(defaultFile, stored).ok);
    QFile before(defaultFile);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();

    const QString file = folder() + "/bench.Log";
    ASSERT_TRUE(writeQuickSettingFile(file));
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(runScript({ScriptRequest::Kind::Read, file}, nullptr, out, err), ScriptOk);
    EXPECT_EQ(runScript({ScriptRequest::Kind::Send, file}, nullptr, out, err), ScriptOk);
    std::fclose(out);
    std::fclose(err);
    EXPECT_EQ(sim().port().instrument().value(int(Property::MainFreq)), 10000);
    QFile after(defaultFile);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
}
