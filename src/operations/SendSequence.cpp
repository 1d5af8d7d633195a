#include "operations/SendSequence.h"

#include "core/NumberText.h"
#include "operations/StrictConversion.h"
#include "panel/rules/BoxText.h"

namespace {

struct StopRequested {};
// The link failed: nothing after it is sent, and nothing claims the groups were done.
struct ExchangeFailed {};

// A conversion that failed, with the value it failed on.
struct FailedValue {
    QString where;
    ConversionError error;
};

class SendWalk {
public:
    SendWalk(const SendPanel& panel, LastSentMemory& memory, bool sendAll, SendTarget& target)
        : p(panel), m_memory(memory), m_sendAll(sendAll), m_target(target) {}

    SendOutcome run() {
        try {
            // A window closed during either query ends the send before its empty answer is reported.
            const bool ready = m_target.Ready();
            stopIfClosing();
            if (!ready) return end(SendOutcome::End::NotReady);
            const bool identified = !m_target.IDN().isEmpty();
            stopIfClosing();
            if (!identified) return end(SendOutcome::End::NoIdentification);
            m_target.beginSending();
            mainGroup();
            sweepGroup();
            modulationGroup();
            triggerGroup();
            counterGroup();
            return end(SendOutcome::End::Done);
        } catch (const StopRequested&) {
            return end(SendOutcome::End::Stopped);
        } catch (const ExchangeFailed&) {
            return end(SendOutcome::End::ExchangeFailed);
        } catch (const FailedValue& failed) {
            SendOutcome outcome = end(SendOutcome::End::ConversionFailed);
            outcome.failure = failed.where + ": " + failed.error.description;
            return outcome;
        }
    }

private:
    SendOutcome end(SendOutcome::End how) const { return {how, m_summary, m_errorText, {}}; }

    void stopIfClosing() {
        if (m_target.stopRequested()) throw StopRequested{};
    }
    void set(Property property, double value) {
        const bool through = m_target.set(property, value);
        stopIfClosing();
        if (!through) throw ExchangeFailed{};
    }
    void check(Property property) {
        const bool through = m_target.check(property);
        stopIfClosing();
        if (!through) throw ExchangeFailed{};
    }

    // A conversion the send cannot go on without.
    template <typename Convert> static int16_t convert(const QString& where, Convert convert) {
        try {
            return convert();
        } catch (const ConversionError& error) {
            throw FailedValue{where, error};
        }
    }

    bool shouldSend(SentValue value, const QString& text) const {
        return m_sendAll || m_memory.differs(value, text);
    }
    bool shouldSend(SentValue value, int code) const { return m_sendAll || m_memory.differs(value, code); }

    // Empty or zero: not sent, and reported at the end (only the last one found).
    bool isMissing(const QString& text, const char* message) {
        if (!isEmptyOrZero(text)) return false;
        m_errorText = QString(message) + "\r\n";
        return true;
    }

    // A skippable number sent as it reads.
    void sendNumber(SentValue value, const QString& text, Property property) {
        if (!shouldSend(value, text)) return;
        set(property, numtext::lenientValue(text));
        m_memory.remember(value, text);
    }
    // A skippable number sent rounded to a whole number.
    void sendRounded(SentValue value, const QString& text, Property property, const char* where) {
        if (!shouldSend(value, text)) return;
        set(property, convert(where, [&] { return roundedNumber(text); }));
        m_memory.remember(value, text);
    }
    void sendCode(SentValue value, int code, Property property) {
        if (!shouldSend(value, code)) return;
        set(property, code);
        m_memory.remember(value, code);
    }

    void mainGroup() {
        sendCode(SentValue::MainWaveform, p.mainWaveform, Property::MainFreqWaveForm);
        if (!isMissing(p.mainFreq, "Main Setting: Frequency need a value"))
            sendNumber(SentValue::MainFreq, p.mainFreq, Property::MainFreq);
        if (!isMissing(p.mainAmp, "Main Setting: Amplitude need a value"))
            sendNumber(SentValue::MainAmp, p.mainAmp, Property::AmplitudeVoltage);
        set(Property::OFFSet, numtext::lenientValue(p.mainDCOffset));
        m_memory.remember(SentValue::MainDCOffset, p.mainDCOffset);
        if (!isMissing(p.mainDuty, "Main Setting: Duty need a value") &&
            shouldSend(SentValue::MainDuty, p.mainDuty)) {
            set(Property::DUTY, convert("Main Setting: Duty", [&] { return strictWholePart(p.mainDuty); }));
            m_memory.remember(SentValue::MainDuty, p.mainDuty);
        }
        if (!p.sweepOn && !p.modulationOn) set(Property::SourceState, 0);
        if (!anyTriggerOn()) set(Property::SourceTriggerState, 0);
        if (!p.externalOn) set(Property::SourceCounterSource, 0);
        m_summary = "Main Setting is Done;";
    }

    void sweepGroup() {
        check(Property::SourceState);
        set(Property::SourceSource, 0);
        sendCode(SentValue::SweepModel, p.sweepLog ? 1 : 0, Property::SourceSweepSpace);
        if (!isMissing(p.sweepStart, "Sweep Setting: Start Freq need a value"))
            sendNumber(SentValue::SweepStart, p.sweepStart, Property::SourceSweepStart);
        if (!isMissing(p.sweepStop, "Sweep Setting: Stop Freq need a value"))
            sendNumber(SentValue::SweepStop, p.sweepStop, Property::SourceSweepStop);
        if (!isMissing(p.sweepSymmetry, "Sweep Setting: Symmetry need a value"))
            sendRounded(SentValue::SweepSymmetry, p.sweepSymmetry, Property::SourceSweepSym,
                        "Sweep Setting: Symmetry");
        if (!isMissing(p.sweepRate, "Sweep txtSweepRate: txtSweepRate need a value"))
            sendNumber(SentValue::SweepRate, p.sweepRate, Property::SourceSweepRate);
        if (p.sweepOn) {
            set(Property::SourceState, 3);
            m_summary += "Sweep Setting is Done;";
        } else {
            m_summary += "Sweep Setting is Done under Off mode;";
        }
    }

    void modulationGroup() {
        check(Property::SourceState);
        if (p.modSource == 3) {
            // The external source carries its own waveform and depth: nothing more to send.
            set(Property::SourceSource, 1);
        } else {
            set(Property::SourceSource, 0);
            set(Property::SourceWaveForm, p.modSource == 0 ? 1 : p.modSource == 1 ? 2 : 3);
            if (p.modAM) {
                sendNumber(SentValue::AMRate, p.modRate, Property::SourceModAMRate);
                if (shouldSend(SentValue::AMSymmetry, p.modSymmetry)) {
                    set(Property::SourceMODAMSym, convert("Modulation Setting: Symmetry",
                                                          [&] { return roundedNumber(p.modSymmetry); }));
                    m_memory.remember(SentValue::AMSymmetry, convert("Modulation Setting: Symmetry", [&] {
                                          return strictInteger(p.modSymmetry);
                                      }));
                }
                sendRounded(SentValue::AMSpanDepth, p.modSpanDepth, Property::SourceMODAMSpan,
                            "Modulation Setting: SPAN(Depth)");
                if (p.modulationOn) set(Property::SourceState, 1);
            } else {
                sendNumber(SentValue::FMRate, p.modRate, Property::SourceModFMRate);
                sendRounded(SentValue::FMSymmetry, p.modSymmetry, Property::SourceMODFMSym,
                            "Modulation Setting: Symmetry");
                sendRounded(SentValue::FMSpan, p.modSpanDepth, Property::SourceMODFMSpan,
                            "Modulation Setting: SPAN(Depth)");
                if (p.modulationOn) set(Property::SourceState, 2);
            }
        }
        m_summary +=
            p.modulationOn ? "Modulation Setting is Done;" : "Modulation Setting is Done under Off mode;";
    }

    bool anyTriggerOn() const { return p.triggerOn || p.burstOn || p.gateOn; }

    void triggerGroup() {
        if (anyTriggerOn()) set(Property::SourceTriggerState, 1);
        if (p.triggerExt) {
            set(Property::SourceTriggerSource, 1);
        } else {
            set(Property::SourceTriggerSource, 0);
            set(Property::SourceTriggerMode, p.triggerMulti ? 1 : 0);
            // Rate and symmetry mean nothing to the instrument while all three functions are off.
            if (anyTriggerOn()) {
                sendNumber(SentValue::TrgRate, p.trgRate, Property::SourceTriggerRate);
                sendRounded(SentValue::TrgSymmetry, p.trgSymmetry, Property::SourceTriggerSYM,
                            "Trigger Setting: Symmetry");
            }
            QString phase = p.trgPhase;
            if (p.burstOn || p.gateOn) {
                phase = "0";
                m_target.resetTriggerPhase();
            }
            sendRounded(SentValue::TrgPhase, phase, Property::SourceTriggerPhase,
                        "Trigger Setting: Trigger Phase");
        }
        if (p.triggerOn)
            m_summary += "Trigger Setting is Done;";
        else if (p.burstOn)
            m_summary += "Burst Setting is Done;";
        else if (p.gateOn)
            m_summary += "Gate Setting is Done;";
        else
            m_summary += "Gate Setting is Done under Off mode;";
    }

    void counterGroup() {
        if (!p.externalOn) return;
        set(Property::SourceCounterSource, 1);
        set(Property::SourceCounterGATE, p.counterGateTime);
        m_summary += "Gate Setting is Done;";
    }

    const SendPanel& p;
    LastSentMemory& m_memory;
    const bool m_sendAll;
    SendTarget& m_target;
    QString m_summary;
    QString m_errorText;
};

} // namespace

SendOutcome runSend(const SendPanel& panel, LastSentMemory& memory, bool sendAll, SendTarget& target) {
    return SendWalk(panel, memory, sendAll, target).run();
}
