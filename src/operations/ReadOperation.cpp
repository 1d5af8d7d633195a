// Read: asks the instrument for its whole setting and shows it in the panel as confirmed entries,
// then remembers it as sent, so the next Send transmits only what the user changes afterwards.
#include "core/NumberText.h"
#include "operations/InstrumentOperation.h"
#include "operations/OperationContext.h"
#include "operations/Operations.h"
#include "operations/ReadSequence.h"
#include "panel/BoxTable.h"
#include "panel/NumericBox.h"
#include "panel/OptionGroup.h"

#include <QAction>
#include <QApplication>
#include <QRadioButton>
#include <QScrollBar>
#include <cmath>

namespace {

using P = Property;
using numtext::generalForm;

constexpr char kDiscardQuestion[] = "Some items have an orange BackColor color and are not validated yet.\r\n"
                                    "Discard them and read the setting from DXS-4820?";

// How many changed items the summary names before it says "...".
constexpr int kNamedChanges = 3;

// The read's queries go to the window's instrument; the busy pointer shows once it answered.
class WindowReadTarget : public ReadTarget {
public:
    explicit WindowReadTarget(OperationContext& ctx) : m_ctx(ctx) {}
    ~WindowReadTarget() override {
        if (m_busyPointer) QApplication::restoreOverrideCursor();
    }
    bool Ready() override { return m_ctx.instrument.Ready(); }
    QString IDN() override { return m_ctx.instrument.IDN(); }
    std::optional<double> read(Property property) override { return m_ctx.instrument.read(property); }
    bool linkFailed() override { return m_ctx.instrument.lastFailure().has_value(); }
    void beginReading() override {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_busyPointer = true;
    }
    bool stopRequested() override { return m_ctx.isClosing(); }

private:
    OperationContext& m_ctx;
    bool m_busyPointer = false;
};

// Puts a reading into the panel, the settings record and the last-sent memory, counting what
// differs from what the panel showed before.
class PanelWriter {
public:
    PanelWriter(OperationContext& ctx, const Reading& reading) : m_ctx(ctx), p(ctx.panel), r(reading) {}

    void run() {
        mainGroup();
        modes();
        sweepGroup();
        modulationGroup();
        triggerGroup();
        counterGroup();
    }

    int changedCount() const { return int(m_changed.size()); }
    QString changedNames() const {
        QStringList named = m_changed.mid(0, kNamedChanges);
        if (m_changed.size() > kNamedChanges) named << "...";
        return named.join(", ");
    }

private:
    void note(bool changed, const char* name) {
        if (changed && !m_changed.contains(name)) m_changed << name;
    }

    // A box shows its reading as a confirmed entry does, and its record field takes the text as
    // when the box is left.
    void showBox(NumericBox* box, const BoxReading& reading, const char* name) {
        const QString before = box->text();
        box->setText(reading.text);
        if (reading.step) box->setTag(*reading.step);
        box->markAccepted();
        if (box->focusLostStore) box->focusLostStore();
        note(reading.clamped || box->text() != before, name);
    }
    // What the memory holds for a value: the text shown, or, when the box could not hold the value,
    // the value itself, so the next Send puts the shown one in its place.
    static QString remembered(const BoxReading& reading, double value) {
        return reading.clamped ? generalForm(value) : reading.text;
    }
    void remember(SentValue value, const BoxReading& reading, double read) {
        m_ctx.lastSent.remember(value, remembered(reading, read));
    }

    template <size_t N>
    void chooseOption(const std::array<QRadioButton*, N>& group, const CodeReading& code, int index,
                      const char* name) {
        const int before = checkedIndex(group);
        group[size_t(index)]->setChecked(true);
        note(code.clamped || before != index, name);
    }

    void mainGroup() {
        if (const auto v = r[P::MainFreqWaveForm]) {
            const CodeReading code = readCode(*v, 1, 3);
            chooseOption(p.optMainFunc, code, code.code - 1, "Function");
            m_ctx.lastSent.remember(SentValue::MainWaveform, int(std::floor(*v)));
        }
        if (const auto v = r[P::MainFreq]) {
            const BoxReading reading = readMainFrequency(*v);
            showBox(p.txtMainFreq, reading, "Frequency");
            remember(SentValue::MainFreq, reading, *v);
        }
        // The amplitude rule looks at the offset, and the offset rule at the amplitude: each sees
        // the other as read.
        const auto amplitude = r[P::AmplitudeVoltage];
        const auto offset = r[P::OFFSet];
        if (amplitude) {
            const QString offsetText = offset ? generalForm(*offset) : p.txtMainDCOffset->text();
            const BoxReading reading = readAmplitude(*amplitude, offsetText);
            showBox(p.txtMainAmp, reading, "Amplitude");
            remember(SentValue::MainAmp, reading, *amplitude);
        }
        if (offset) {
            const BoxReading reading = readOffset(*offset, p.txtMainAmp->text());
            showBox(p.txtMainDCOffset, reading, "DC OFFSET");
            remember(SentValue::MainDCOffset, reading, *offset);
        }
        if (const auto v = r[P::DUTY]) {
            const BoxReading reading = readDuty(*v);
            showBox(p.txtMainDuty, reading, "DUTY");
            remember(SentValue::MainDuty, reading, *v);
        }
    }

    void modes() {
        const PanelModes before{p.optSweep[0]->isChecked(),   p.optModulation[0]->isChecked(),
                                p.optTrigger[0]->isChecked(), p.optBurst[0]->isChecked(),
                                p.optGate[0]->isChecked(),    p.optExternal[0]->isChecked(),
                                p.optModAM->isChecked()};
        bool conflicting = false;
        const PanelModes modes = readModes(r, before, &conflicting);
        // The kind first: choosing it puts its remembered span or depth into the box, which the
        // modulation group then overwrites with the value read.
        if (modes.am != before.am) (modes.am ? p.optModAM : p.optModFM)->setChecked(true);
        note(modes.am != before.am, "AM/FM");
        // Turning one mode on switches the others off through the mode rule.
        const std::array<std::pair<bool, const std::array<QRadioButton*, 2>*>, 6> switches = {{
            {modes.sweep, &p.optSweep},
            {modes.modulation, &p.optModulation},
            {modes.trigger, &p.optTrigger},
            {modes.burst, &p.optBurst},
            {modes.gate, &p.optGate},
            {modes.external, &p.optExternal},
        }};
        for (const auto& [on, group] : switches)
            if (!on) (*group)[1]->setChecked(true);
        for (const auto& [on, group] : switches)
            if (on) (*group)[0]->setChecked(true);
        PanelModes modesOnly = modes;
        modesOnly.am = before.am;
        note(conflicting || !(modesOnly == before), "Function mode");
    }

    void sweepGroup() {
        if (const auto v = r[P::SourceSweepSpace]) {
            const CodeReading code = readCode(*v, 0, 1);
            chooseOption(p.optSweepModel, code, code.code, "Sweep Model");
            m_ctx.lastSent.remember(SentValue::SweepModel, int(std::floor(*v)));
            m_ctx.record.setInteger(RecordField::SweepModel, int16_t(code.code));
        }
        const auto start = r[P::SourceSweepStart];
        const auto stop = r[P::SourceSweepStop];
        if (start && stop) {
            const SweepReading reading = readSweepEdges(*start, *stop, p.HScrollSweep->value());
            // A new segment rewrites the four frequency boxes; the values read then take their place.
            const int segmentBefore = p.HScrollSweep->value();
            p.HScrollSweep->setValue(reading.segment);
            note(segmentBefore != reading.segment, "Segment");
            m_ctx.record.setInteger(RecordField::SweepSegment, int16_t(reading.segment));
            const QString spanBefore = p.txtSweepSpan->text();
            const QString centerBefore = p.txtSweepCenterFreq->text();
            showBox(p.txtSweepStartFreq, reading.start, "Start Freq");
            showBox(p.txtSweepStopFreq, reading.stop, "Stop Freq");
            p.txtSweepSpan->setText(reading.span);
            p.txtSweepCenterFreq->setText(reading.center);
            for (NumericBox* box : {p.txtSweepSpan, p.txtSweepCenterFreq}) {
                box->setTag(*reading.stop.step);
                box->markAccepted();
            }
            note(spanBefore != reading.span || centerBefore != reading.center, "SPAN");
            remember(SentValue::SweepStart, reading.start, *start);
            remember(SentValue::SweepStop, reading.stop, *stop);
        } else if (start || stop) {
            // One edge alone keeps the other as the panel shows it, and the segment as it is.
            const SweepReading reading = readSweepEdges(
                start ? *start : numtext::lenientValue(p.txtSweepStartFreq->text()),
                stop ? *stop : numtext::lenientValue(p.txtSweepStopFreq->text()), p.HScrollSweep->value());
            if (reading.segment == p.HScrollSweep->value()) {
                if (start) showBox(p.txtSweepStartFreq, reading.start, "Start Freq");
                if (start) remember(SentValue::SweepStart, reading.start, *start);
                if (stop) showBox(p.txtSweepStopFreq, reading.stop, "Stop Freq");
                if (stop) remember(SentValue::SweepStop, reading.stop, *stop);
            }
        }
        if (const auto v = r[P::SourceSweepSym]) {
            const BoxReading reading = readSymmetry(*v);
            showBox(p.txtSweepSymmetry, reading, "Sweep Symmetry");
            remember(SentValue::SweepSymmetry, reading, *v);
        }
        if (const auto v = r[P::SourceSweepRate]) {
            const BoxReading reading = readRate(*v, kSweepRate);
            showBox(p.txtSweepRate, reading, "Sweep Rate");
            remember(SentValue::SweepRate, reading, *v);
        }
    }

    void modulationGroup() {
        const auto source = r[P::SourceSource];
        const auto waveform = r[P::SourceWaveForm];
        const CodeReading sourceCode = source ? readCode(*source, 0, 1) : CodeReading{};
        const bool external = source ? sourceCode.code == 1 : p.optModSource[3]->isChecked();
        if (source && external) {
            chooseOption(p.optModSource, sourceCode, 3, "Source");
        } else if (waveform && !external) {
            const CodeReading code = readCode(*waveform, 1, 3);
            chooseOption(p.optModSource, {code.code, code.clamped || sourceCode.clamped}, code.code - 1,
                         "Source");
            m_ctx.record.setInteger(RecordField::ModSource, int16_t(code.code));
        }

        // The box shows the kind chosen; the record and the memory take both kinds.
        const bool am = p.optModAM->isChecked();
        if (const auto v = r[P::SourceModAMRate]) {
            const BoxReading reading = readRate(*v, kModulationRate);
            if (am) showBox(p.txtModRate, reading, "Modulation Rate");
            m_ctx.record.setText(RecordField::AMRate, reading.text);
            remember(SentValue::AMRate, reading, *v);
        }
        if (const auto v = r[P::SourceMODAMSym]) {
            const BoxReading reading = readSymmetry(*v);
            if (am) showBox(p.txtModSymmetry, reading, "Modulation Symmetry");
            const int whole = int(numtext::lenientValue(reading.text));
            m_ctx.record.setInteger(RecordField::AMSymmetry, int16_t(whole));
            m_ctx.lastSent.remember(SentValue::AMSymmetry, reading.clamped ? int(std::floor(*v)) : whole);
        }
        if (const auto v = r[P::SourceMODAMSpan]) {
            const BoxReading reading = readAmDepth(*v);
            if (am) showBox(p.txtModSpanDepth, reading, "SPAN(Depth)");
            m_ctx.record.setText(RecordField::AMDepth, reading.text);
            remember(SentValue::AMSpanDepth, reading, *v);
        }
        if (const auto v = r[P::SourceModFMRate]) {
            const BoxReading reading = readRate(*v, kModulationRate);
            if (!am) showBox(p.txtModRate, reading, "Modulation Rate");
            m_ctx.record.setText(RecordField::FMRate, reading.text);
            remember(SentValue::FMRate, reading, *v);
        }
        if (const auto v = r[P::SourceMODFMSym]) {
            const BoxReading reading = readSymmetry(*v);
            if (!am) showBox(p.txtModSymmetry, reading, "Modulation Symmetry");
            m_ctx.record.setText(RecordField::FMSymmetry, reading.text);
            remember(SentValue::FMSymmetry, reading, *v);
        }
        if (const auto v = r[P::SourceMODFMSpan]) {
            const BoxReading reading = readFmSpan(*v);
            if (!am) showBox(p.txtModSpanDepth, reading, "SPAN(Depth)");
            m_ctx.record.setText(RecordField::FMSpan, reading.text);
            remember(SentValue::FMSpan, reading, *v);
        }
    }

    void triggerGroup() {
        if (const auto v = r[P::SourceTriggerSource]) {
            const CodeReading code = readCode(*v, 0, 1);
            const bool before = p.optTriggerExt->isChecked();
            // The trigger source brings the burst and gate sources with it, as when the user chooses it.
            (code.code == 1 ? p.optTriggerExt : p.optTriggerInt)->setChecked(true);
            note(code.clamped || before != (code.code == 1), "Trigger Source");
        }
        if (const auto v = r[P::SourceTriggerMode]) {
            const CodeReading code = readCode(*v, 0, 1);
            chooseOption(p.optTriggerType, code, code.code, "Trigger Type");
            m_ctx.record.setInteger(RecordField::TriggerType, int16_t(code.code));
        }
        if (const auto v = r[P::SourceTriggerRate]) {
            const BoxReading reading = readRate(*v, kTriggerRate);
            showBox(p.txtTrgRate, reading, "Trigger Rate");
            remember(SentValue::TrgRate, reading, *v);
        }
        if (const auto v = r[P::SourceTriggerSYM]) {
            const BoxReading reading = readSymmetry(*v);
            showBox(p.txtTrgSymmetry, reading, "Trigger Symmetry");
            remember(SentValue::TrgSymmetry, reading, *v);
        }
        if (const auto v = r[P::SourceTriggerPhase]) {
            const BoxReading reading = readTriggerPhase(*v);
            showBox(p.txtTrgPhase, reading, "Trigger Phase");
            remember(SentValue::TrgPhase, reading, *v);
        }
    }

    void counterGroup() {
        if (const auto v = r[P::SourceCounterGATE]) {
            const CodeReading code = readCode(*v, 0, 3);
            chooseOption(p.optGateTimeExt, code, code.code, "Gate Time");
        }
    }

    OperationContext& m_ctx;
    Panel& p;
    const Reading& r;
    QStringList m_changed;
};

QString summaryLine(const ReadOutcome& outcome, const PanelWriter& writer) {
    QString line = QString("Read from DXS-4820: %1 values read, %2 differed")
                       .arg(outcome.read)
                       .arg(writer.changedCount());
    if (writer.changedCount() > 0) line += " (" + writer.changedNames() + ")";
    return line + QString(", %1 failed.").arg(outcome.failed);
}

// The boxes a read writes: an unconfirmed entry in one of them is lost unless the user agrees.
bool anyReadBoxEdited(const Panel& panel) {
    for (const BoxSpec& spec : kBoxTable)
        if (spec.filledByRead && (panel.*spec.box)->isEdited()) return true;
    return false;
}

} // namespace

ReadResult ReadOperation(OperationContext& ctx) {
    if (InstrumentOperation::busy(ctx) || ctx.isClosing()) return ReadResult::NotStarted;
    if (anyReadBoxEdited(ctx.panel) &&
        ctx.dialogs().message(kDiscardQuestion, UserDialogs::Buttons::YesNo) != UserDialogs::Answer::Yes)
        return ReadResult::NotStarted;

    InstrumentOperation operation(ctx);
    WindowReadTarget target(ctx);
    const ReadOutcome outcome = runRead(target);
    switch (outcome.end) {
    case ReadOutcome::End::NotReady:
        ctx.setMessage("The Connection between DXS-4820 and PC is not Ready, Please check and try agagin.");
        return ReadResult::NotReady;
    case ReadOutcome::End::NoIdentification:
        ctx.dialogs().message("DXS-4820 <--> PC: [Failure]");
        return ReadResult::NoIdentification;
    case ReadOutcome::End::Stopped:
        return ReadResult::NotStarted;
    case ReadOutcome::End::Done:
    case ReadOutcome::End::ExchangeFailed:
        break;
    }
    PanelWriter writer(ctx, outcome.reading);
    writer.run();
    ctx.setMessage(summaryLine(outcome, writer));
    // Anything not read may differ from what the memory holds: the next Send then sends it all.
    ctx.sendAll = !outcome.complete();
    return outcome.complete() ? ReadResult::Complete : ReadResult::Incomplete;
}

void installRead(OperationContext& ctx) {
    if (!ctx.mnuRead) return;
    QObject::connect(ctx.mnuRead, &QAction::triggered, &ctx.window, [&ctx] { ReadOperation(ctx); });
}
