// Send: validates the panel, asks whether the instrument answers, then walks the groups and
// reports the result in the message line and, for missing values or a failed conversion, in a box.
#include "operations/InstrumentOperation.h"
#include "operations/OperationContext.h"
#include "operations/Operations.h"
#include "operations/SendSequence.h"
#include "panel/NumericBox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>

namespace {

// The boxes that must not be left unconfirmed when sending.
constexpr std::array kValidatedBoxes = {
    &Panel::txtMainFreq,       &Panel::txtMainAmp,       &Panel::txtMainDCOffset, &Panel::txtMainDuty,
    &Panel::txtSweepStartFreq, &Panel::txtSweepStopFreq, &Panel::txtSweepSpan,    &Panel::txtSweepSymmetry,
    &Panel::txtSweepRate,      &Panel::txtModRate,       &Panel::txtModSymmetry,  &Panel::txtModSpanDepth,
    &Panel::txtTrgRate,        &Panel::txtTrgSymmetry,   &Panel::txtBurstPeriod,  &Panel::txtOpenGatePeriod,
};

template <size_t N> int checkedIndex(const std::array<QRadioButton*, N>& group) {
    for (size_t i = 0; i < N; ++i)
        if (group[i]->isChecked()) return int(i);
    return -1;
}

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

// The send's exchanges go to the window's instrument; the busy pointer shows once it answered.
class WindowTarget : public SendTarget {
public:
    explicit WindowTarget(OperationContext& ctx) : m_ctx(ctx) {}
    ~WindowTarget() override { restorePointer(); }

    bool Ready() override { return m_ctx.instrument.Ready(); }
    QString IDN() override { return m_ctx.instrument.IDN(); }
    bool set(Property property, double value) override {
        m_ctx.instrument.set(property, value);
        return !m_ctx.instrument.lastFailure();
    }
    bool check(Property property) override {
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
    bool stopRequested() override { return m_ctx.isClosing(); }

    void restorePointer() {
        if (m_busyPointer) QApplication::restoreOverrideCursor();
        m_busyPointer = false;
    }

private:
    OperationContext& m_ctx;
    bool m_busyPointer = false;
};

// The Send command; what it sent is remembered in the context, which Read also fills.
class SendOperation : public QObject {
public:
    explicit SendOperation(OperationContext& ctx) : QObject(&ctx.window), m_ctx(ctx) {
        setObjectName("SendOperation");
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
        WindowTarget target(m_ctx);
        const SendOutcome outcome = runSend(readPanel(m_ctx.panel), m_ctx.lastSent, m_ctx.sendAll, target);
        switch (outcome.end) {
        case SendOutcome::End::NotReady:
            m_ctx.setMessage(
                "The Connection between DXS-4820 and PC is not Ready, Please check and try agagin.");
            m_ctx.sendAll = false;
            return;
        case SendOutcome::End::NoIdentification:
            m_ctx.dialogs().message("DXS-4820 <--> PC: [Failure]");
            return;
        case SendOutcome::End::Done:
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
            return;
        }
    }

private:
    OperationContext& m_ctx;
};

} // namespace

QString ValidateInputItem(OperationContext& ctx) {
    for (NumericBox* Panel::*box : kValidatedBoxes)
        if ((ctx.panel.*box)->isEdited()) return "Please validate the items with orange BackColor color.";
    return {};
}

void installSend(OperationContext& ctx) {
    if (!ctx.mnuSend) return;
    auto* send = new SendOperation(ctx);
    QObject::connect(ctx.mnuSend, &QAction::triggered, send, [send] { send->run(); });
}
