#include "preview/Preview.h"

#include <algorithm>
#include <cmath>

namespace preview {
namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int SamplesPerCycle = 64;
constexpr int FewestSamples = 512;
constexpr int MostSamples = 16000;
constexpr int BandColumns = 600;
constexpr int SweepSamplesPerSlope = 256;

double cycleFraction(double phase) {
    return phase - std::floor(phase);
}
double shareOf(double percent) {
    return std::clamp(percent / 100.0, 0.0, 1.0);
}
bool positive(double value) {
    return std::isfinite(value) && value > 0;
}

// Phases within a cycle where the drawn line must have a vertex: peaks, zero crossings, edges.
std::vector<double> vertexPhases(Shape shape, double symmetry) {
    const double s = shareOf(symmetry);
    switch (shape) {
    case Shape::Sine:
        return {0, 0.25, 0.5, 0.75};
    case Shape::Triangle:
        return {0, 0.5, s / 2, 1 - s / 2};
    case Shape::Square:
        return {0, s};
    }
    return {};
}
// Edges: the square's two jumps, where the line needs a point on either side.
std::vector<double> edgePhases(Shape shape, double symmetry) {
    const double s = shareOf(symmetry);
    if (shape != Shape::Square || s <= 0 || s >= 1) return {};
    return {0, s};
}
bool isEdge(const std::vector<double>& edges, double phase) {
    const double f = cycleFraction(phase + 1e-12);
    for (double edge : edges)
        if (std::abs(f - edge) < 1e-9 || std::abs(f - 1 - edge) < 1e-9) return true;
    return false;
}

void add(Trace& trace, double time, double value) {
    trace.time.push_back(time);
    trace.value.push_back(value);
}

// The waveform at a steady frequency from t0 to t1, starting at phase0 (cycles): offset plus
// amplitude(t) times the shape, with a vertex at every peak, crossing and edge.
template <class Amplitude>
void sampleSteady(Trace& trace, Shape shape, double symmetry, double frequency, double t0, double t1,
                  double phase0, double offset, Amplitude amplitude) {
    const double cycles = frequency * (t1 - t0);
    if (!(cycles > 0)) return;
    const double phase1 = phase0 + cycles;
    const double step = std::min(1.0 / SamplesPerCycle, cycles / FewestSamples);
    std::vector<double> phases;
    phases.reserve(size_t(cycles / step) + 8 * size_t(cycles + 2));
    phases.push_back(phase0);
    for (double k = std::floor(phase0 / step) + 1; k * step < phase1; ++k)
        phases.push_back(k * step);
    for (double n = std::floor(phase0); n <= phase1; ++n)
        for (double vertex : vertexPhases(shape, symmetry))
            if (n + vertex > phase0 && n + vertex < phase1) phases.push_back(n + vertex);
    phases.push_back(phase1);
    std::sort(phases.begin(), phases.end());
    const std::vector<double> edges = edgePhases(shape, symmetry);
    double last = -1e300;
    for (double phase : phases) {
        if (phase - last < 1e-12 * std::max(1.0, std::abs(phase))) continue;
        last = phase;
        const double t = t0 + (phase - phase0) / frequency;
        const double a = amplitude(t);
        if (isEdge(edges, phase)) {
            if (phase > phase0) add(trace, t, offset + a * shapeValue(shape, phase - 1e-9, symmetry));
            if (phase < phase1) add(trace, t, offset + a * shapeValue(shape, phase + 1e-9, symmetry));
        } else {
            add(trace, t, offset + a * shapeValue(shape, phase, symmetry));
        }
    }
}

// The waveform at a changing frequency over [0, duration]: the phase is the running integral of
// the frequency, and each square edge is placed where the phase crosses it.
template <class Frequency>
Trace sampleGliding(Shape shape, double symmetry, double duration, double highest, double offset,
                    double amplitude, Frequency frequency) {
    const int count = std::clamp(int(SamplesPerCycle * highest * duration), FewestSamples, MostSamples);
    const std::vector<double> edges = edgePhases(shape, symmetry);
    Trace trace;
    double phase = 0;
    double previousTime = 0, previousFrequency = frequency(0.0);
    add(trace, 0, offset + amplitude * shapeValue(shape, 0, symmetry));
    for (int i = 1; i <= count; ++i) {
        const double t = duration * i / count;
        const double f = frequency(t);
        const double next = phase + (f + previousFrequency) / 2 * (t - previousTime);
        for (double edge : edges)
            for (double n = std::ceil(phase - edge); n + edge <= next; ++n) {
                const double at = n + edge;
                if (at <= phase) continue;
                const double crossing = previousTime + (t - previousTime) * (at - phase) / (next - phase);
                add(trace, crossing, offset + amplitude * shapeValue(shape, at - 1e-9, symmetry));
                add(trace, crossing, offset + amplitude * shapeValue(shape, at + 1e-9, symmetry));
            }
        phase = next;
        previousTime = t;
        previousFrequency = f;
        add(trace, t, offset + amplitude * shapeValue(shape, phase, symmetry));
    }
    // Edges found inside an interval were added before its end point: the times stay in order.
    return trace;
}

// The output's extent in columns: offset plus and minus the amplitude where the output is on.
template <class Amplitude> Trace band(double duration, double offset, Amplitude amplitudeBetween) {
    Trace trace;
    trace.style = Trace::Style::Band;
    for (int column = 0; column < BandColumns; ++column) {
        const double ta = duration * column / BandColumns, tb = duration * (column + 1) / BandColumns;
        const double a = amplitudeBetween(ta, tb);
        for (double t : {ta, tb}) {
            trace.time.push_back(t);
            trace.value.push_back(offset + a);
            trace.lower.push_back(offset - a);
        }
    }
    return trace;
}

// Cycles of a frequency trace over its time (the trapezoid integral).
double cyclesOf(const Trace& frequencyTrace) {
    double cycles = 0;
    for (size_t i = 1; i < frequencyTrace.time.size(); ++i)
        cycles += (frequencyTrace.value[i] + frequencyTrace.value[i - 1]) / 2 *
                  (frequencyTrace.time[i] - frequencyTrace.time[i - 1]);
    return cycles;
}
double highestOf(const Trace& trace) {
    return trace.value.empty() ? 0 : *std::max_element(trace.value.begin(), trace.value.end());
}

void fitVolts(Track& track) {
    double low = 1e300, high = -1e300;
    for (const Trace& trace : track.traces) {
        for (double v : trace.value)
            low = std::min(low, v), high = std::max(high, v);
        for (double v : trace.lower)
            low = std::min(low, v), high = std::max(high, v);
    }
    if (low > high) low = high = 0;
    if (high - low < 1) {
        // A small signal is shown at its own scale, inside the shaded range.
        const double pad = std::max(0.1 * (high - low), 0.05);
        track.low = low - pad;
        track.high = high + pad;
        return;
    }
    low = std::min(low, -OutputPeak);
    high = std::max(high, OutputPeak);
    const double pad = 0.06 * (high - low);
    track.low = low - pad;
    track.high = high + pad;
}
void fitHertz(Track& track) {
    double low = 1e300, high = -1e300;
    for (const Trace& trace : track.traces)
        for (double v : trace.value)
            low = std::min(low, v), high = std::max(high, v);
    if (low > high) low = high = 0;
    const double pad = high > low ? 0.08 * (high - low) : std::max(0.1 * std::abs(high), 1.0);
    track.low = std::max(0.0, low - pad);
    track.high = high + pad;
}

double mainSymmetry(const Setting& s) {
    return s.shape == Shape::Square ? s.duty : 50;
}

QString number(double value) {
    QString text = QString::number(value, 'g', 4);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}
QString shapeName(Shape shape) {
    switch (shape) {
    case Shape::Sine:
        return QStringLiteral("Sine");
    case Shape::Triangle:
        return QStringLiteral("Triangle");
    case Shape::Square:
        return QStringLiteral("Square");
    }
    return {};
}

QString tooFastNote(double frequency) {
    return QStringLiteral(
               "The carrier (%1) is too fast to draw cycle by cycle at this time scale: its envelope "
               "is shown.")
        .arg(siText(frequency, QStringLiteral("Hz")));
}

Track voltsTrack() {
    Track track;
    track.quantity = Quantity::Volts;
    track.outputRange = true;
    return track;
}

void drawMain(const Setting& s, Picture& picture) {
    const double duration = 2 / s.frequency;
    Track volts = voltsTrack();
    Trace signal;
    sampleSteady(signal, s.shape, mainSymmetry(s), s.frequency, 0, duration, 0, s.offset,
                 [&](double) { return s.amplitude / 2; });
    volts.traces.push_back(std::move(signal));
    fitVolts(volts);
    picture.duration = duration;
    picture.tracks.push_back(std::move(volts));
}

void drawAm(const Setting& s, Picture& picture) {
    const double duration = 2 / s.modRate;
    const double peak = s.amplitude / 2, depth = shareOf(s.modDepthOrSpan);
    Track volts = voltsTrack();
    if (s.frequency * duration <= MostCyclesDrawn) {
        Trace signal;
        sampleSteady(signal, s.shape, mainSymmetry(s), s.frequency, 0, duration, 0, s.offset,
                     [&](double t) { return amEnvelope(s, t); });
        volts.traces.push_back(std::move(signal));
    } else {
        volts.traces.push_back(band(duration, s.offset, [&](double ta, double tb) {
            return std::max({amEnvelope(s, ta), amEnvelope(s, (ta + tb) / 2), amEnvelope(s, tb)});
        }));
        picture.notes << tooFastNote(s.frequency);
    }
    // The envelope is affine in the modulating shape, so it is drawn with that shape's own vertices.
    const double middle = peak * (1 - depth / 2), swing = peak * depth / 2;
    for (double side : {1.0, -1.0}) {
        Trace envelope;
        envelope.style = Trace::Style::Envelope;
        sampleSteady(envelope, s.modShape, s.modSymmetry, s.modRate, 0, duration, 0, s.offset + side * middle,
                     [&](double) { return side * swing; });
        volts.traces.push_back(std::move(envelope));
    }
    fitVolts(volts);
    picture.duration = duration;
    picture.tracks.push_back(std::move(volts));
}

// Frequency against time, then the output it makes, for FM and sweep.
template <class Frequency>
void drawGliding(const Setting& s, Picture& picture, Trace frequencyTrace, double duration,
                 Frequency frequency) {
    Track hertz;
    hertz.quantity = Quantity::Hertz;
    const double cycles = cyclesOf(frequencyTrace), highest = highestOf(frequencyTrace);
    hertz.traces.push_back(std::move(frequencyTrace));
    fitHertz(hertz);
    Track volts = voltsTrack();
    if (cycles <= MostCyclesDrawn) {
        volts.traces.push_back(
            sampleGliding(s.shape, mainSymmetry(s), duration, highest, s.offset, s.amplitude / 2, frequency));
    } else {
        volts.traces.push_back(band(duration, s.offset, [&](double, double) { return s.amplitude / 2; }));
        picture.notes << tooFastNote(highest);
    }
    fitVolts(volts);
    picture.duration = duration;
    picture.tracks.push_back(std::move(hertz));
    picture.tracks.push_back(std::move(volts));
}

void drawFm(const Setting& s, Picture& picture) {
    const double duration = 2 / s.modRate;
    Trace frequencyTrace;
    sampleSteady(frequencyTrace, s.modShape, s.modSymmetry, s.modRate, 0, duration, 0, s.frequency,
                 [&](double) { return s.frequency * s.modDepthOrSpan / 100; });
    drawGliding(s, picture, std::move(frequencyTrace), duration, [&](double t) { return fmFrequency(s, t); });
}

void drawSweep(const Setting& s, Picture& picture) {
    const double duration = 1 / s.sweepRate, rising = shareOf(s.sweepSymmetry) * duration;
    Trace frequencyTrace;
    for (int i = 0; i <= SweepSamplesPerSlope; ++i)
        add(frequencyTrace, rising * i / SweepSamplesPerSlope,
            sweepFrequency(s, rising * i / SweepSamplesPerSlope));
    for (int i = 1; i <= SweepSamplesPerSlope; ++i) {
        const double t = rising + (duration - rising) * i / SweepSamplesPerSlope;
        add(frequencyTrace, t, sweepFrequency(s, t));
    }
    drawGliding(s, picture, std::move(frequencyTrace), duration,
                [&](double t) { return sweepFrequency(s, t); });
}

// Trigger, burst and gate: the carrier on for the trigger symmetry's share of each trigger period.
void drawSwitched(const Setting& s, Picture& picture) {
    const double period = 1 / s.triggerRate, duration = 2 * period;
    const double on = shareOf(s.triggerSymmetry) * period;
    // Burst and gate are sent with the trigger phase 0.
    const double startPhase = s.function == Function::Trigger ? s.triggerPhase / 360 : 0;
    Track volts = voltsTrack();
    if (2 * s.frequency * on <= MostCyclesDrawn) {
        Trace signal;
        for (int k = 0; k < 2; ++k) {
            const double start = k * period;
            add(signal, start, s.offset);
            sampleSteady(signal, s.shape, mainSymmetry(s), s.frequency, start, start + on, startPhase,
                         s.offset, [&](double) { return s.amplitude / 2; });
            add(signal, start + on, s.offset);
        }
        add(signal, duration, s.offset);
        volts.traces.push_back(std::move(signal));
    } else {
        volts.traces.push_back(band(duration, s.offset, [&](double ta, double tb) {
            for (int k = 0; k < 2; ++k)
                if (ta < k * period + on && tb > k * period) return s.amplitude / 2;
            return 0.0;
        }));
        picture.notes << tooFastNote(s.frequency);
    }
    fitVolts(volts);
    picture.duration = duration;
    picture.tracks.push_back(std::move(volts));
}

QString modulatingText(const Setting& s) {
    QString text = QStringLiteral("a %1 %2").arg(siText(s.modRate, QStringLiteral("Hz")),
                                                 shapeName(s.modShape).toLower());
    if (s.modShape != Shape::Sine) text += QStringLiteral(" of symmetry %1 %").arg(number(s.modSymmetry));
    return text;
}

double counterGateSeconds(int index) {
    switch (index) {
    case 0:
        return 0.01;
    case 1:
        return 0.1;
    case 2:
        return 1;
    default:
        return 10;
    }
}

} // namespace

double shapeValue(Shape shape, double phase, double symmetry) {
    const double p = cycleFraction(phase);
    const double s = shareOf(symmetry);
    switch (shape) {
    case Shape::Sine:
        return std::sin(2 * Pi * p);
    case Shape::Triangle: {
        // From the trough, rising for the share s, then falling; the cycle starts at 0 rising.
        const double q = cycleFraction(p + s / 2);
        return q < s ? -1 + 2 * q / s : 1 - 2 * (q - s) / (1 - s);
    }
    case Shape::Square:
        return p < s ? 1 : -1;
    }
    return 0;
}

double sweepFrequency(const Setting& s, double time) {
    const double period = 1 / s.sweepRate, rising = shareOf(s.sweepSymmetry);
    const double u = cycleFraction(time / period + 1e-12) - 1e-12;
    double progress = 0;
    if (u < rising)
        progress = u / rising;
    else
        progress = rising < 1 ? 1 - (u - rising) / (1 - rising) : 1;
    progress = std::clamp(progress, 0.0, 1.0);
    if (s.sweepLog && s.sweepStart > 0 && s.sweepStop > 0)
        return s.sweepStart * std::pow(s.sweepStop / s.sweepStart, progress);
    return s.sweepStart + (s.sweepStop - s.sweepStart) * progress;
}

double amEnvelope(const Setting& s, double time) {
    const double depth = shareOf(s.modDepthOrSpan);
    const double modulating = shapeValue(s.modShape, s.modRate * time, s.modSymmetry);
    return s.amplitude / 2 * (1 - depth * (1 - modulating) / 2);
}

double fmFrequency(const Setting& s, double time) {
    return s.frequency *
           (1 + s.modDepthOrSpan / 100 * shapeValue(s.modShape, s.modRate * time, s.modSymmetry));
}

Prefix prefixFor(double magnitude, const QString& unit) {
    magnitude = std::abs(magnitude);
    if (unit == QLatin1String("Hz")) {
        if (magnitude >= 1e6) return {QStringLiteral("M"), 1e6};
        if (magnitude >= 1e3) return {QStringLiteral("k"), 1e3};
    } else if (unit == QLatin1String("s") && magnitude > 0 && magnitude < 1) {
        if (magnitude >= 1e-3) return {QStringLiteral("m"), 1e-3};
        if (magnitude >= 1e-6) return {QStringLiteral("µ"), 1e-6};
        return {QStringLiteral("n"), 1e-9};
    }
    return {QString(), 1};
}

QString siText(double value, const QString& unit) {
    const Prefix prefix = prefixFor(value, unit);
    return number(value / prefix.factor) + QLatin1Char(' ') + prefix.symbol + unit;
}

QString describe(const Setting& s) {
    const QString hz = QStringLiteral("Hz"), sec = QStringLiteral("s");
    QString text = shapeName(s.shape);
    if (s.function != Function::Sweep) text += QLatin1Char(' ') + siText(s.frequency, hz);
    text += QStringLiteral(", %1 Vpp, offset %2 V").arg(number(s.amplitude), number(s.offset));
    if (s.shape == Shape::Square) text += QStringLiteral(", duty %1 %").arg(number(s.duty));
    const bool switched =
        s.function == Function::Trigger || s.function == Function::Burst || s.function == Function::Gate;
    const double period = 1 / s.triggerRate, on = shareOf(s.triggerSymmetry) * period;
    switch (s.function) {
    case Function::Main:
        break;
    case Function::Sweep:
        text += QStringLiteral("; %1 sweep from %2 to %3 every %4, rising for %5 % of it")
                    .arg(s.sweepLog ? QStringLiteral("logarithmic") : QStringLiteral("linear"),
                         siText(s.sweepStart, hz), siText(s.sweepStop, hz), siText(1 / s.sweepRate, sec),
                         number(s.sweepSymmetry));
        break;
    case Function::AM:
        if (s.modExternal)
            text += QStringLiteral("; AM from the external modulation input");
        else
            text += QStringLiteral("; AM by %1, depth %2 %").arg(modulatingText(s), number(s.modDepthOrSpan));
        break;
    case Function::FM:
        if (s.modExternal)
            text += QStringLiteral("; FM from the external modulation input");
        else
            text += QStringLiteral("; FM by %1, span %2 % (%3 to %4)")
                        .arg(modulatingText(s), number(s.modDepthOrSpan),
                             siText(s.frequency * (1 - s.modDepthOrSpan / 100), hz),
                             siText(s.frequency * (1 + s.modDepthOrSpan / 100), hz));
        break;
    case Function::Trigger:
        if (!s.triggerExternal)
            text += QStringLiteral("; triggered (%1) every %2, on for %3 % from phase %4°")
                        .arg(s.triggerMulti ? QStringLiteral("Multi") : QStringLiteral("Single"),
                             siText(period, sec), number(s.triggerSymmetry), number(s.triggerPhase));
        break;
    case Function::Burst:
        if (!s.triggerExternal) {
            const double cycles = s.frequency * on;
            text += QStringLiteral("; burst of %1 cycles every %2").arg(number(cycles), siText(period, sec));
            // The count box and what the trigger fields carry can differ (the share is held at 10 to 90 %).
            if (s.burstCount > 0 && std::abs(cycles - s.burstCount) >= 0.5)
                text += QStringLiteral(" (Burst Count %1: the trigger symmetry carries %2 %)")
                            .arg(number(s.burstCount), number(s.triggerSymmetry));
        }
        break;
    case Function::Gate:
        if (!s.triggerExternal)
            text += QStringLiteral("; gate open %1 every %2").arg(siText(on, sec), siText(period, sec));
        break;
    case Function::Counter:
        text += QStringLiteral("; external counter measuring the frequency at its input, gate time %1")
                    .arg(siText(counterGateSeconds(s.counterGateTime), sec));
        break;
    }
    if (switched && s.triggerExternal) {
        const QString name = s.function == Function::Trigger ? QStringLiteral("triggered")
                             : s.function == Function::Burst ? QStringLiteral("burst")
                                                             : QStringLiteral("gate");
        text += QStringLiteral("; %1 from the external trigger input").arg(name);
    }
    return text;
}

Picture computePicture(const Setting& s) {
    Picture picture;
    picture.words = describe(s);
    auto missing = [&](const QString& what) {
        picture.notes << QStringLiteral("%1 is not set: nothing to draw.").arg(what);
        return picture;
    };
    if (s.function != Function::Sweep && !positive(s.frequency))
        return missing(QStringLiteral("The frequency"));
    switch (s.function) {
    case Function::Main:
        drawMain(s, picture);
        break;
    case Function::Sweep:
        if (!positive(s.sweepRate)) return missing(QStringLiteral("The sweep rate"));
        if (!positive(s.sweepStart) || !positive(s.sweepStop))
            return missing(QStringLiteral("The sweep range"));
        drawSweep(s, picture);
        break;
    case Function::AM:
    case Function::FM:
        if (s.modExternal) {
            picture.notes << QStringLiteral(
                "External modulation source: the modulation follows the modulation "
                "input; the carrier is shown.");
            drawMain(s, picture);
        } else if (!positive(s.modRate)) {
            return missing(QStringLiteral("The modulation rate"));
        } else if (s.function == Function::AM) {
            drawAm(s, picture);
        } else {
            drawFm(s, picture);
        }
        break;
    case Function::Trigger:
    case Function::Burst:
    case Function::Gate:
        if (s.triggerExternal) {
            picture.notes << QStringLiteral(
                "External trigger source: the output follows the trigger input; the "
                "carrier is shown.");
            drawMain(s, picture);
        } else if (!positive(s.triggerRate)) {
            return missing(QStringLiteral("The trigger rate"));
        } else {
            drawSwitched(s, picture);
        }
        break;
    case Function::Counter:
        picture.notes << QStringLiteral(
                             "External counter: it measures the frequency of the signal at its input, "
                             "counting over a gate time of %1.")
                             .arg(siText(counterGateSeconds(s.counterGateTime), QStringLiteral("s")));
        break;
    }
    return picture;
}

} // namespace preview
