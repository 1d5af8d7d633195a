// Read: the instrument's setting back into the real window over the pseudo-terminal, and the
// scripts --send and --read.
#include "app/ScriptMode.h"
#include "operations/ReadSequence.h"
#include "record/RecordFile.h"
#include "support/SendFixture.h"

#include <algorithm>

namespace {

// Everything a read shows: the texts of the boxes and the choice of every option group.
QStringList shown(const frmDXS& w) {
    QStringList texts;
    for (const NumericBox* box : w.findChildren<NumericBox*>())
        texts << box->objectName() + "=" + box->text() + (box->isEdited() ? " (orange)" : "");
    for (const QRadioButton* option : w.findChildren<QRadioButton*>())
        if (option->isChecked()) texts << option->objectName() + " " + option->text();
    texts << "segment " + QString::number(w.panel.HScrollSweep->value());
    return texts;
}

// The program with no display: exit code (-1: did not end by itself), output, errors. Waiting runs the
// event loop, so the instrument answers.
std::tuple<int, QString, QString> runProgram(const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(DXS_PROGRAM_PATH, arguments);
    const bool ended = QTest::qWaitFor([&] { return program.state() == QProcess::NotRunning; }, 60000) &&
                       program.exitStatus() == QProcess::NormalExit;
    return {ended ? program.exitCode() : -1, QString::fromLocal8Bit(program.readAllStandardOutput()),
            QString::fromLocal8Bit(program.readAllStandardError())};
}

bool isQuery(const QString& line) {
    return line == "*IDN?" || line.endsWith(" ?");
}

} // namespace

using ReadWindow = SendFixture;

// A setting sent from one window and read into a second one shows the same; a send right after it
// writes only what every send writes.
TEST_F(ReadWindow, RoundTripThroughTheInstrument) {
    frmDXS& first = ready();
    Panel& p = first.panel;
    p.chkSyncRateSym->setChecked(false);
    for (QRadioButton* option :
         {p.optMainFunc[1], p.optSweepModel[1], p.optModSource[2], p.optTrigger[0], p.optTriggerType[1]})
        option->click();
    // clang-format off
    for (const auto& [box, text] : {std::pair{p.txtMainFreq, "2500"}, {p.txtMainAmp, "4"}, {p.txtMainDCOffset, "1.5"}, {p.txtMainDuty, "40"},
             {p.txtSweepStartFreq, "2000"}, {p.txtSweepStopFreq, "8000"}, {p.txtSweepSymmetry, "70"}, {p.txtSweepRate, "50"}, {p.txtModRate, "200"},
             {p.txtModSymmetry, "30"}, {p.txtModSpanDepth, "80"}, {p.txtTrgRate, "500"}, {p.txtTrgSymmetry, "40"}, {p.txtTrgPhase, "45"}})
        typeAndEnter(box, text);
    const QStringList alwaysSent = {"*IDN?", "*IDN?", ":OFFS 1.5", ":SOUR:STAT 0", ":SOUR:COUN:SOUR 0", ":SOUR:STAT ?", ":SOURCE:SOURCE 0",
        ":SOUR:STAT ?", ":SOURCE:SOURCE 0", ":SOUR:WAV 3", ":SOUR:TRIG:STAT 1", ":SOUR:TRIG:SOUR 0", ":SOUR:TRIG:MOD 1"};
    // clang-format on
    first.mnuSend->trigger();
    ASSERT_FALSE(first.sendAll);
    const QStringList sent = shown(first);
    ASSERT_TRUE(sent.contains("txtMainFreq=2500.0") && sent.contains("txtTrgRate=500")) << sent.join('\n');
    m_window.reset();

    frmDXS& second = ready();
    QStringList lines;
    second.messageEcho = [&lines](const QString& line) { lines << line; };
    second.mnuRead->trigger();
    const QString summary = second.messageLineText();
    EXPECT_EQ(sim().lines().size(), 2 + 27);
    EXPECT_TRUE(std::ranges::all_of(sim().lineTexts(), isQuery)) << sim().lineTexts().join('\n');
    EXPECT_EQ(shown(second), sent);
    EXPECT_TRUE(lines.contains("Check [Main Func Freq.] from DXS-4820 OK"));
    EXPECT_TRUE(summary.startsWith("Read from DXS-4820: 27 values read, ") && summary.endsWith(", 0 failed."))
        << summary;
    EXPECT_FALSE(second.sendAll);
    EXPECT_TRUE(dialogs().messages.empty());
    // The record holds what was read, as if each box had been confirmed.
    EXPECT_EQ(second.record.text(RecordField::MainFreq), "2500.0    ");
    EXPECT_EQ(second.record.integer(RecordField::MainWaveform), 2);

    sim().clear();
    second.mnuSend->trigger();
    EXPECT_EQ(sim().lineTexts(), alwaysSent);
}

// One reply changed after a first read: what the box or option shows, how many checks failed, what the
// summary names, whether the next send must send everything, and what it sends of a value that was clamped.
TEST_F(ReadWindow, RepliesIntoTheBoxes) {
    // clang-format off
    const struct { QByteArray query; std::optional<QByteArray> reply; QString shows; int failed; QString names; const char* sends = nullptr; } cases[] = {
        {":FREQ ?", "1.000000E+03", "txtMainFreq=1000.00", 0, "(Frequency)"}, // then none, and one that does not convert: box kept
        {":FREQ ?", std::nullopt, "txtMainFreq=10000.0", 1, ", 0 differed, 1 failed."}, {":FREQ ?", "abc", "txtMainFreq=10000.0", 1, ", 0 differed, 1 failed."},
        {":FREQ ?", "2.000000E+07", "txtMainFreq=15000000", 0, "(Frequency)", ":FREQ 15000000"}, // the send changes the memory
        {":DUTY ?", "50.5", "txtMainDuty=50", 0, ", 0 differed, 0 failed."}, // rounds to even
        {":DUTY ?", "90", "txtMainDuty=80", 0, "(DUTY)", ":DUTY 80"},        // its send changes the memory: after 50.5
        {":SOUR:SWE:SYM ?", "", "txtSweepSymmetry=90", 1, ", 0 differed, 1 failed."}, {":SOUR:TRIG:RAT ?", "1.500000E+02", "txtTrgRate=200", 0, "(Trigger Rate)"},
        {":FUNC:WAV ?", "7", "optMainFunc_2 Square", 0, "(Function)"}, {":SOUR:STAT ?", "2", "optModulation_0 On", 0, "(AM/FM, Function mode, SPAN(Depth))"},
        {":SOUR:TRIG:STAT ?", "1", "optTrigger_0 On", 0, "(Function mode)"}, {":SOUR:COUN:GAT ?", "2", "optGateTimeExt_2 1S", 0, "(Gate Time)"}};
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
        const QString summary = w.messageLineText();
        EXPECT_TRUE(shown(w).contains(c.shows)) << shown(w).join('\n');
        EXPECT_TRUE(summary.contains(c.names) && summary.endsWith(QString(", %1 failed.").arg(c.failed)))
            << summary;
        EXPECT_EQ(w.sendAll, c.failed > 0);
        if (c.sends) { // the instrument's memory still holds the unclamped value
            sim().clear();
            w.mnuSend->trigger();
            EXPECT_TRUE(sim().lineTexts().contains(c.sends)) << sim().lineTexts().join('\n');
        }
        sim().options() = {};
        m_window.reset();
    }
}

// Unconfirmed entries are never lost silently; an instrument that does not answer changes nothing.
TEST_F(ReadWindow, AsksBeforeDiscardingAndChangesNothingWhenNotReady) {
    // clang-format off
    const struct { UserDialogs::Answer answer; bool silent, reads; } cases[] = {
        {UserDialogs::Answer::No, false, false}, {UserDialogs::Answer::Yes, false, true}, {UserDialogs::Answer::Yes, true, false}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.answer) * 10 + c.silent);
        frmDXS& w = ready();
        w.panel.txtMainAmp->setText("7");
        sim().options().silent = c.silent;
        dialogs().answers.push_back(c.answer);
        w.mnuRead->trigger();
        EXPECT_TRUE(dialogs().messages.size() == 1 &&
                    dialogs().messages[0].buttons == UserDialogs::Buttons::YesNo);
        EXPECT_EQ(w.panel.txtMainAmp->text(), c.reads ? "5.00" : "7");
        EXPECT_EQ(w.panel.txtMainAmp->isEdited(), !c.reads);
        EXPECT_EQ(sim().lines().isEmpty(), c.answer == UserDialogs::Answer::No);
        EXPECT_EQ(w.messageLineText() == kNotReady, c.silent);
        EXPECT_EQ(w.sendAll, !c.reads); // start-up set it; only a complete read clears it
        sim().options() = {};
        m_window.reset();
    }
}

// Burst and gate cannot be told from trigger by the instrument: the panel's choice among them stays.
// Several states on choose the first in group order, an unknown state code counts as 3, a state not
// read keeps the panel's mode, and a mode read as on goes before one kept.
TEST(ReadModes, StatesChooseAtMostOneMode) {
    const PanelModes burst{.burst = true}, sweepFm{.sweep = true, .am = false};
    const std::optional<double> none;
    // clang-format off
    const struct { std::optional<double> state, trigger, counter; PanelModes before, after; bool conflicting; } cases[] = {
        {0, 1, 0, burst, burst, false}, {0, 1, 0, {}, {.trigger = true}, false}, {0, 0, 0, burst, {}, false}, {1, 0, 0, sweepFm, {.modulation = true}, false},
        {2, 0, 0, {}, {.modulation = true, .am = false}, false}, {3, 1, 1, {}, {.sweep = true}, true}, {9, 0, 0, {}, {.sweep = true}, true},
        {none, 0, 0, sweepFm, sweepFm, false}, {none, 0, 1, sweepFm, {.external = true, .am = false}, false}};
    // clang-format on
    for (const auto& c : cases) {
        Reading r;
        r.values[size_t(Property::SourceState)] = c.state;
        r.values[size_t(Property::SourceTriggerState)] = c.trigger;
        r.values[size_t(Property::SourceCounterSource)] = c.counter;
        bool conflicting = false;
        EXPECT_TRUE(readModes(r, c.before, &conflicting) == c.after) << &c - cases;
        EXPECT_EQ(conflicting, c.conflicting) << &c - cases;
    }
}

// Each box's text as its Enter rule gives the number read, and whether the box could hold it.
TEST(ReadBoxes, TextsStepsAndClamping) {
    // clang-format off
    const struct { BoxReading got; QString text; QString step; bool clamped; } cases[] = {
        {readMainFrequency(2500), "2500.0", "0.1", false}, {readMainFrequency(1500000), "1500000", "10", false}, {readMainFrequency(0), "0.01", "0.01", true},
        {readAmplitude(5, "3"), "4.00", "", true}, {readOffset(-2.5, "5.00"), "-2.50", "", false}, {readRate(1000, kModulationRate), "1000", "100", false},
        {readRate(101, kModulationRate), "200", "100", true}, {readRate(0.5, kSweepRate), "0.50", "0.01", false}, {readSymmetry(95), "90", "", true},
        {readFmSpan(20), "15", "0.1", true}, {readTriggerPhase(-120), "-90", "1", true}};
    // Start and stop pick the segment that holds both, the current one first.
    const std::tuple<double, double, int, int> edges[] = {{1000, 1400, 5, 5}, {1000, 1400, 4, 4}, {1000, 2000, 4, 5}, {200000, 900000, 5, 7}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.got.text, c.text);
        EXPECT_EQ(c.got.step.value_or(""), c.step);
        EXPECT_EQ(c.got.clamped, c.clamped);
    }
    for (const auto& [start, stop, current, segment] : edges)
        EXPECT_EQ(readSweepEdges(start, stop, current).segment, segment)
            << start << " " << stop << " " << current;
    EXPECT_FALSE(readSweepEdges(200000, 900000, 5).start.clamped ||
                 readSweepEdges(200000, 900000, 5).stop.clamped);
    EXPECT_TRUE(readSweepEdges(1, 15000000, 5).stop.clamped);
}

// --read FILE, then --send FILE puts the setting back; a gone instrument and an unreadable file give
// their exit statuses. The default setting file (a port with no instrument) is neither used nor changed.
TEST_F(ReadWindow, ScriptsReadAndSendWithoutDisplay) {
    SimulatedInstrument& instrument = sim().port().instrument();
    // clang-format off
    const std::pair<Property, double> bench[] = {{Property::MainFreqWaveForm, 2}, {Property::MainFreq, 2500}, {Property::DUTY, 40}, {Property::SourceSweepSpace, 1},
        {Property::SourceTriggerMode, 1}, {Property::SourceWaveForm, 3}, {Property::SourceModAMRate, 200}, {Property::SourceSweepStart, 2000}, {Property::SourceTriggerPhase, 30}};
    // clang-format on
    for (const auto& [property, value] : bench)
        instrument.setValue(int(property), value);
    const QString file = folder() + "/bench.Log";
    SettingsRecord quick; // a pacing of 20 ms keeps the exchanges quick
    quick.setInteger(RecordField::CycleTime, 20);
    ASSERT_TRUE(recordfile::writeRecord(file, quick).ok);
    SettingsRecord defaults;
    defaults.setInteger(RecordField::ComPort, 2);
    const QString defaultFile = folder() + "/" + recordfile::DefaultFileName;
    ASSERT_TRUE(recordfile::writeRecord(defaultFile, defaults).ok);
    const QByteArray defaultBytes = fileBytes(defaultFile);

    const auto [readExit, readOutput, readErrors] = runProgram({"--read", file, "--port", sim().linkPath()});
    EXPECT_TRUE(readExit == 0 && readOutput.contains("\nCheck [Main Func Freq.] from DXS-4820 OK\n") &&
                readOutput.contains("\nRead from DXS-4820: 27 values read, "))
        << (readOutput + readErrors);
    EXPECT_TRUE(std::ranges::all_of(sim().lineTexts(), isQuery));
    SettingsRecord stored;
    ASSERT_EQ(recordfile::readRecord(file, stored), recordfile::ReadStatus::Read);
    EXPECT_EQ(stored.text(RecordField::MainFreq), "2500.0    ");
    EXPECT_EQ(stored.integer(RecordField::CycleTime), 20);
    std::FILE* sink = std::tmpfile(); // the same in this process, where the default file would be found
    EXPECT_EQ(runScript({ScriptRequest::Kind::Read, file}, nullptr, sink, sink), ScriptOk);
    EXPECT_EQ(runScript({ScriptRequest::Kind::Send, file}, nullptr, sink, sink), ScriptOk);
    std::fclose(sink);
    EXPECT_EQ(instrument.value(int(Property::MainFreq)), 2500);

    for (const auto& [property, value] : bench)
        instrument.setValue(int(property), 1);
    const auto [sendExit, sendOutput, sendErrors] = runProgram({"--send", file, "--port", sim().linkPath()});
    EXPECT_TRUE(sendExit == 0 && sendOutput.contains("\nSet [Main Func Freq] to DXS-4820 OK\n"))
        << (sendOutput + sendErrors);
    for (const auto& [property, value] : bench)
        EXPECT_EQ(instrument.value(int(property)), value) << commandRow(property).name;

    const QString link = sim().linkPath();
    m_sim.reset(); // the instrument is gone
    const auto [goneExit, goneOutput, goneErrors] = runProgram({"--send", file, "--port", link});
    EXPECT_TRUE(goneExit == 1 && goneOutput.contains("FAILURE")) << (goneOutput + goneErrors);
    EXPECT_EQ(std::get<0>(runProgram({"--read", file, "--port", link})), 1);
    EXPECT_EQ(recordfile::readRecord(file, stored), recordfile::ReadStatus::Read);
    EXPECT_EQ(stored.text(RecordField::MainFreq), "2500.0    "); // an incomplete read writes nothing

    for (const QStringList& arguments : {QStringList{"--send", folder() + "/missing.Log"},
                                         QStringList{"--send", folder()}, QStringList{"--read", folder()}}) {
        const auto [status, output, errors] = runProgram(arguments);
        EXPECT_TRUE(status == 2 && !errors.isEmpty()) << arguments.join(' ');
    }
    EXPECT_EQ(fileBytes(defaultFile), defaultBytes);
}
