#pragma once
// Reading the instrument's setting back: the check of every value the send sets, in the send's group
// order, and the decisions that turn each reply into what its box or option shows. Nothing here
// touches a widget; ReadOperation puts the result into the panel.
#include "instrument/CommandTable.h"
#include "panel/rules/RateBand.h"

#include <QString>
#include <array>
#include <optional>

// The values a read asks for, in the order the send's groups set them (the sweep centre and span,
// which the send never sets, are not asked).
constexpr int ReadQueryCount = 27;
const std::array<Property, ReadQueryCount>& readOrder();

// Where the read's queries go, and how it learns that it must stop.
class ReadTarget {
public:
    virtual ~ReadTarget() = default;
    virtual bool Ready() = 0;
    virtual QString IDN() = 0;
    // The converted reply; nothing when the reply was empty or did not convert.
    virtual std::optional<double> read(Property property) = 0;
    // True when the last exchange did not go through (the link failed): the read ends there.
    virtual bool linkFailed() = 0;
    // The instrument answered: from here on the read is under way.
    virtual void beginReading() {}
    // True once the window is closing; the read then ends without further traffic.
    virtual bool stopRequested() { return false; }
};

// What the instrument reported, one entry per property; nothing where the check failed or was not
// reached.
struct Reading {
    std::array<std::optional<double>, PropertyCount> values;
    std::optional<double> operator[](Property property) const { return values[size_t(property)]; }
};

struct ReadOutcome {
    enum class End {
        Done,             // every value asked
        NotReady,         // the readiness query got no reply
        NoIdentification, // ready, but the identification came back empty
        ExchangeFailed,   // a query did not reach the instrument: the values after it are not asked
        Stopped,          // the window closed while the read was under way
    } end = End::Done;
    Reading reading{};
    int read = 0;   // values that came back and converted
    int failed = 0; // values asked that did not, and those left unasked after a link failure
    // Every value asked and every one converted.
    bool complete() const { return end == End::Done && failed == 0; }
};

ReadOutcome runRead(ReadTarget& target);

// What a box shows for a value read: the text and step its Enter rule gives the same number, and
// whether the value lay beyond what the box can hold (the text then shows it clamped).
struct BoxReading {
    QString text;
    std::optional<QString> step; // nothing: the box keeps its step
    bool clamped = false;
};

BoxReading readMainFrequency(double value);
// The amplitude and offset rules each look at the other value, as their Enter rules look at the
// other box.
BoxReading readAmplitude(double value, const QString& offsetText);
BoxReading readOffset(double value, const QString& amplitudeText);
BoxReading readDuty(double value);
BoxReading readSymmetry(double value);
BoxReading readRate(double value, const RateBandVariant& variant);
BoxReading readAmDepth(double value);
BoxReading readFmSpan(double value);
BoxReading readTriggerPhase(double value);

// The sweep's start and stop: the segment that holds both (the current one when it does, else the
// first one that does), and the four frequency boxes as the start and stop rules leave them.
struct SweepReading {
    int segment = 5;
    BoxReading start, stop;
    QString span, center;
};
SweepReading readSweepEdges(double start, double stop, int currentSegment);

// A code read for an option group: the choice it names, pulled into lowest..highest when it names
// none (clamped).
struct CodeReading {
    int code = 0;
    bool clamped = false;
};
CodeReading readCode(double value, int lowest, int highest);

// The six function modes and the modulation kind.
struct PanelModes {
    bool sweep = false, modulation = false, trigger = false, burst = false, gate = false, external = false;
    bool am = true;
    bool operator==(const PanelModes&) const = default;
};
// The modes the states read name. The trigger state cannot tell trigger, burst and gate apart: when
// it is on, the one of them on before stays on, else Trigger. A state that was not read keeps the
// panel's modes. At most one mode ends up on: a mode read as on goes before one kept, and among
// several, the first in the send's group order. `conflicting` tells that the states named more than
// one mode (or a code beyond the known ones).
PanelModes readModes(const Reading& reading, const PanelModes& before, bool* conflicting = nullptr);
