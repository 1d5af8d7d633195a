#pragma once
// The walk of one send through the groups, in their fixed order, over a copy of what the panel
// showed when the send began (edits made while an exchange waits do not reach a send under way).
#include "instrument/CommandTable.h"
#include "record/LastSentMemory.h"

#include <QString>

// What the send reads from the panel.
struct SendPanel {
    int mainWaveform = 1; // 1 sine, 2 triangle, 3 square
    QString mainFreq, mainAmp, mainDCOffset, mainDuty;

    bool sweepOn = false;
    bool sweepLog = false;
    QString sweepStart, sweepStop, sweepSymmetry, sweepRate;

    bool modulationOn = false;
    int modSource = 0; // 0 sine, 1 triangle, 2 square, 3 external
    bool modAM = true;
    QString modRate, modSymmetry, modSpanDepth;

    bool triggerOn = false, burstOn = false, gateOn = false, externalOn = false;
    bool triggerExt = false;
    bool triggerMulti = false;
    QString trgRate, trgSymmetry, trgPhase;
    int counterGateTime = 0; // 0 for 0.01 s .. 3 for 10 s
};

// Where the send's exchanges go, and how it learns that it must stop.
class SendTarget {
public:
    virtual ~SendTarget() = default;
    virtual bool Ready() = 0;
    virtual QString IDN() = 0;
    // Both return false when the exchange did not go through (the link failed).
    virtual bool set(Property property, double value) = 0;
    virtual bool check(Property property) = 0;
    // The instrument answered: from here on the send is under way.
    virtual void beginSending() {}
    // Burst and gate run with the trigger phase at 0: the phase box is to show it.
    virtual void resetTriggerPhase() {}
    // True once the window is closing; the send then ends without further traffic.
    virtual bool stopRequested() { return false; }
};

struct SendOutcome {
    enum class End {
        Done,             // every group walked
        NotReady,         // the readiness query got no reply
        NoIdentification, // ready, but the identification came back empty
        ConversionFailed, // a text that had to be a number was not one
        ExchangeFailed,   // a command did not reach the instrument: its FAILURE line ends the send
        Stopped,          // the window closed while the send was under way
    } end = End::Done;
    QString summary;   // the group results, joined
    QString errorText; // the last missing value's message, with its line break
    QString failure;   // ConversionFailed: which value and why
};

SendOutcome runSend(const SendPanel& panel, LastSentMemory& memory, bool sendAll, SendTarget& target);
