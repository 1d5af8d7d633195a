// Send: validates the panel, asks whether the instrument answers, then walks the groups and
// reports the result in the message line and, for missing values or a failed conversion, in a box.
#include "operations/InstrumentOperation.h"
#include "operations/OperationContext.h"
#include "operations/Operations.h"
#include "operations/SendSequence.h"
#include "panel/BoxTable.h"
#include "panel/NumericBox.h"
#include "panel/OptionGroup.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QProgressBar>
#include <QRadioButton>

namespace {

SendPanel readPanel(const Panel& p) {
    SendPanel s;
    s.mainWaveform = checkedIndex(p.optMainFunc) + 1;
    s.mainFreq = p.txtMainFreq->text();
    s.mainAmp = p.txtMainAmp->text();
    s.mainDCOffset = p.txtMainDCOffset->text();
    s.mainDuty = p.txtMainDuty->text();

    s.sweepOn = p.optSweep[0]->isChecked();
    s.sweepLog = !p.optSweepModel[0]->isChecked();
    s.sweepStart = p.txtSweepStartFreq->text();
    s.sweepStop = p.txtSweepStopFreq->text();
    s.sweepSymmetry = p.txtSweepSymmetry->text();
    s.sweepRate = p.txtSweepRate->text();

    s.modulationOn = p.optModulation[0]->isChecked();
    const int source = checkedIndex(p.optModSource);
    s.modSource = source == 3 ? 3 : source == 0 ? 0 : source == 1 ? 1 : 2;
    s.modAM = p.optModAM->isChecked();
    s.modRate = p.txtModRate->text();
    s.modSymmetry = p.txtModSymmetry->text();
    s.modSpanDepth = p.txtModSpanDepth->text();

    s.triggerOn = p.optTrigger[0]->isChecked();
    s.burstOn = p.optBurst[0]->isChecked();
    s.gateOn = p.optGate[0]->isChecked();
    s.externalOn = p.optExternal[0]->isChecked();
    s.triggerExt = p.optTriggerExt->isChecked();
    s.triggerMulti = !p.optTriggerType[0]->isChecked();
    s.trgRate = p.txtTrgRate->text();
    s.trgSymmetry = p.txtTrgSymmetry->text();
    s.trgPhase = p.txtTrgPhase->text();
    const int gateTime = checkedIndex(p.optGateTimeExt);
    s.counterGateTime = gateTime >= 0 && gateTime <= 2 ? gateTime : 3;
    return s;
}

// Walks a send without the wire, counting the exchanges it would make (each as if it went through).
class CountingTarget : public SendTarget {
public:
    bool Ready() override { return ++exchanges, true; }
    QString IDN() override { return ++exchanges, QStringLiteral("counting"); }
    bool set(Property, double) override { return ++exchanges, true; }
    bool check(Property) override { return ++exchanges, true; }
    int exchanges = 0;
};

int countExchanges(const SendPanel& shown, const LastSentMemory& memory, bool sendAll) {
    LastSentMemory copy = memory;
    CountingTarget counter;
    runSend(shown, copy, sendAll, counter);
    return counter.exchanges;
}

// The steps of the send under way, shown beside the message line ("12 / 27") while it runs.
class SendProgress {
public:
    SendProgress(QProgressBar* bar, int steps) : m_bar(bar) {
        if (!m_bar) return;
        m_bar->setRange(0, std::max(1, steps));
        m_bar->setValue(0);
        m_bar->show();
    }
    ~SendProgress() {
        if (m_bar) m_bar->hide();
    }
    void step() {
        if (m_bar) m_bar->setValue(std::min(m_bar->value() + 1, m_bar->maximum()));
    }
    QString shown() const { return m_bar ? m_bar->text() : QString(); }

private:
    QProgressBar* m_bar;
};

// The send's exchanges go to the window's instrument; the busy pointer shows once it answered.
class WindowTarget : public SendTarget {
public:
    WindowTarget(OperationContext& ctx, SendProgress& progress, const bool& stopAsked)
        : m_ctx(ctx), m_progress(progress), m_stopAsked(stopAsked) {}
    ~WindowTarget() override { restorePointer(); }

    bool Ready() override {
        m_progress.step();
        return m_ctx.instrument.Ready();
    }
    QString IDN() override {
        m_progress.step();
        return m_ctx.instrument.IDN();
    }
    bool set(Property property, double value) override {
        m_progress.step();
        m_ctx.instrument.set(property, value);
        return !m_ctx.instrument.lastFailure();
    }
    bool check(Property property) override {
        m_progress.step();
        m_ctx.instrument.check(property);
        return !m_ctx.instrument.lastFailure();
    }
    void beginSending() override {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_busyPointer = true;
    }
    void resetTriggerPhase() override {
        m_ctx.panel.txtTrgPhase->setText("0");
        m_ctx.panel.txtTrgPhase->setBackColor(ColorWhite);
    }
    // Closing the window, or Escape between two exchanges.
    bool stopRequested() override { return m_ctx.isClosing() || m_stopAsked; }

    void restorePointer() {
        if (m_busyPointer) QApplication::restoreOverrideCursor();
        m_busyPointer = false;
    }

private:
    OperationContext& m_ctx;
    SendProgress& m_progress;
    const bool& m_stopAsked;
    bool m_busyPointer = false;
};

// The Send command; what it sent is remembered in the context, which Read also fills.
class SendOperation : public QObject {
public:
    explicit SendOperation(OperationContext& ctx) : QObject(&ctx.window), m_ctx(ctx) {
        setObjectName("SendOperation");
        // Escape stops a send between two exchanges; the key is the window's only while one runs.
        m_stop = new QAction(QStringLiteral("Stop sending"), this);
        m_stop->setObjectName("StopSend");
        m_stop->setShortcut(QKeySequence(Qt::Key_Escape));
        m_stop->setEnabled(false);
        ctx.window.addAction(m_stop);
        connect(m_stop, &QAction::triggered, this, [this] { m_stopAsked = true; });
    }

    void run() {
        if (InstrumentOperation::busy(m_ctx) || m_ctx.isClosing()) return;
        const QString unconfirmed = ValidateInputItem(m_ctx);
        if (!unconfirmed.isEmpty()) {
            m_ctx.dialogs().message(unconfirmed);
            return;
        }
        if (!m_ctx.panel.chkSkipCommand->isChecked()) m_ctx.sendAll = true;

        InstrumentOperation operation(m_ctx);
        const SendPanel shown = readPanel(m_ctx.panel);
        SendProgress progress(m_ctx.panel.sendProgress, countExchanges(shown, m_ctx.lastSent, m_ctx.sendAll));
        m_stopAsked = false;
        m_stop->setEnabled(true);
        WindowTarget target(m_ctx, progress, m_stopAsked);
        const SendOutcome outcome = runSend(shown, m_ctx.lastSent, m_ctx.sendAll, target);
        m_stop->setEnabled(false);
        switch (outcome.end) {
        case SendOutcome::End::NotReady:
            // Nothing was sent: the send-all flag stays, so the send once the instrument is back
            // transmits every value, also those equal to what the window remembers from its start.
            m_ctx.setMessage(
                "The Connection between DXS-4820 and PC is not Ready, Please check and try agagin.");
            return;
        case SendOutcome::End::NoIdentification:
            m_ctx.dialogs().message("DXS-4820 <--> PC: [Failure]");
            return;
        case SendOutcome::End::Done:
            // Only a send that walked every group clears the send-all flag.
            m_ctx.setMessage(outcome.summary);
            if (!outcome.errorText.isEmpty())
                m_ctx.dialogs().message("System check the input data and find errors as follows \r\n" +
                                            outcome.errorText,
                                        UserDialogs::Buttons::Ok, UserDialogs::Icon::Information);
            target.restorePointer();
            m_ctx.sendAll = false;
            return;
        case SendOutcome::End::ConversionFailed:
            // What was sent stays sent; the send-all flag stays so the next send repeats it all.
            // The box names the value that could not be converted: without it the box would often
            // list nothing at all after "as follows".
            m_ctx.dialogs().message("DXS-4820 Application System causes errors as follows \r\n" +
                                        outcome.errorText + outcome.failure,
                                    UserDialogs::Buttons::Ok, UserDialogs::Icon::Information);
            target.restorePointer();
            return;
        case SendOutcome::End::ExchangeFailed:
            // The step's FAILURE line stays in the message line; the send-all flag stays set so the
            // next send, once the link is back, repeats everything.
            target.restorePointer();
            return;
        case SendOutcome::End::Stopped:
            if (m_ctx.isClosing()) return;
            // Stopped from the keyboard: what was sent stays sent, and the next send sends it all.
            m_ctx.setMessage("Send stopped at step " + progress.shown() +
                             "; the next Send sends every value.");
            m_ctx.sendAll = true;
            return;
        }
    }

private:
    OperationContext& m_ctx;
    QAction* m_stop = nullptr;
    bool m_stopAsked = false;
};

} // namespace

QString ValidateInputItem(OperationContext& ctx) {
    for (const BoxSpec& spec : kBoxTable)
        if (spec.confirmedBeforeSend && (ctx.panel.*spec.box)->isEdited())
            return "Please validate the items with orange BackColor color.";
    return {};
}

void installSend(OperationContext& ctx) {
    if (!ctx.mnuSend) return;
    auto* send = new SendOperation(ctx);
    QObject::connect(ctx.mnuSend, &QAction::triggered, send, [send] { send->run(); });
}
