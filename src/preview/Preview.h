#pragma once
// The picture of what the generator puts out for a setting: samples of volts (and, for sweep and
// FM, of frequency) against time, and the same setting said in one line of words. Widget-free, so
// it is computed and checked without a window; the preview window only draws what this returns.
#include <QString>
#include <QStringList>
#include <vector>

namespace preview {

enum class Shape { Sine, Triangle, Square };
enum class Function { Main, Sweep, AM, FM, Trigger, Burst, Gate, Counter };

// The panel's confirmed values, as numbers. Rates are in Hz, shares in percent, volts peak to peak
// for the amplitude.
struct Setting {
    Shape shape = Shape::Sine;
    double frequency = 10000;
    double amplitude = 5;
    double offset = 0;
    double duty = 50; // square only
    Function function = Function::Main;

    bool sweepLog = false;
    double sweepStart = 1000, sweepStop = 2000, sweepRate = 1000, sweepSymmetry = 90;

    Shape modShape = Shape::Sine;
    bool modExternal = false;
    double modRate = 1000, modDepthOrSpan = 50, modSymmetry = 50;

    // Trigger, burst and gate reach the instrument through these.
    bool triggerExternal = false;
    bool triggerMulti = false;
    double triggerRate = 1000, triggerSymmetry = 50, triggerPhase = 0;
    double burstCount = 0; // 0: not given
    double gateRate = 0;   // the gate box (Hz); 0: not given

    int counterGateTime = 0; // 0: 0.01 s, 1: 0.1 s, 2: 1 s, 3: 10 s
};

enum class Quantity { Volts, Hertz };

struct Trace {
    enum class Style {
        Signal,   // the output, cycle by cycle
        Envelope, // a guide line (the AM envelope)
        Band,     // the output's extent where its cycles are too close to tell apart
    };
    Style style = Style::Signal;
    std::vector<double> time;  // seconds
    std::vector<double> value; // the band's upper edge
    std::vector<double> lower; // band only
};

// One plot strip; the strips of a picture share the time axis.
struct Track {
    Quantity quantity = Quantity::Volts;
    double low = 0, high = 0; // axis range
    bool outputRange = false; // shade the instrument's output range
    std::vector<Trace> traces;
};

struct Picture {
    double duration = 0; // the time axis runs from 0 to here
    std::vector<Track> tracks;
    QString words;     // the setting in one line
    QStringList notes; // what the picture leaves out or simplifies
};

inline constexpr double OutputPeak = 5.0; // volts: amplitude plus twice the offset at most 10
// More carrier cycles than this across the time axis are drawn as their envelope.
inline constexpr double MostCyclesDrawn = 100;

Picture computePicture(const Setting& setting);
QString describe(const Setting& setting);

// The pieces, each for one instant.
// A waveform of unit height at a phase in cycles; symmetry is the rising share (triangle) or the
// high share (square) in percent.
double shapeValue(Shape shape, double phase, double symmetry);
// The sweep's frequency at a time within its period.
double sweepFrequency(const Setting& setting, double time);
// The AM envelope (volts from the offset to the peak) at a time.
double amEnvelope(const Setting& setting, double time);
// The FM instantaneous frequency at a time.
double fmFrequency(const Setting& setting, double time);

// A value with its unit and an SI prefix: "1 kHz", "2.5 ms", "200 µs". Hertz take k and M, seconds
// m, µ and n; other units none.
QString siText(double value, const QString& unit);
// The prefix and its factor that suit values up to `magnitude` ("k", 1e3).
struct Prefix {
    QString symbol;
    double factor = 1;
};
Prefix prefixFor(double magnitude, const QString& unit);

} // namespace preview
