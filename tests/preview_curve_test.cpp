// The preview's curves, computed without a window, against values worked out by hand.
#include "preview/Preview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace preview;

namespace {

Setting sine1k() {
    Setting s;
    s.frequency = 1000;
    s.amplitude = 5;
    s.offset = 0;
    return s;
}
const Trace& signalOf(const Picture& picture, Quantity quantity = Quantity::Volts) {
    for (const Track& track : picture.tracks)
        if (track.quantity == quantity)
            for (const Trace& trace : track.traces)
                if (trace.style != Trace::Style::Envelope) return trace;
    static const Trace none;
    ADD_FAILURE() << "no such trace";
    return none;
}
std::vector<double> timesAt(const Trace& trace, double value) {
    std::vector<double> times;
    for (size_t i = 0; i < trace.time.size(); ++i)
        if (std::abs(trace.value[i] - value) < 1e-9) times.push_back(trace.time[i]);
    return times;
}
// The trace's value at a time, between its samples.
double valueAt(const Trace& trace, double t) {
    const auto after = std::lower_bound(trace.time.begin(), trace.time.end(), t);
    if (after == trace.time.begin()) return trace.value.front();
    if (after == trace.time.end()) return trace.value.back();
    const size_t i = size_t(after - trace.time.begin());
    const double share = (t - trace.time[i - 1]) / (trace.time[i] - trace.time[i - 1]);
    return trace.value[i - 1] + share * (trace.value[i] - trace.value[i - 1]);
}
double highest(const std::vector<double>& values) {
    return *std::max_element(values.begin(), values.end());
}
double lowest(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

} // namespace

TEST(PreviewCurve, SineOfFiveVoltsPeakToPeakAroundOneVolt) {
    Setting s = sine1k();
    s.offset = 1;
    const Picture picture = computePicture(s);
    ASSERT_EQ(picture.tracks.size(), 1u);
    EXPECT_DOUBLE_EQ(picture.duration, 2e-3); // two periods
    const Trace& signal = signalOf(picture);
    EXPECT_NEAR(highest(signal.value), 3.5, 1e-12);
    EXPECT_NEAR(lowest(signal.value), -1.5, 1e-12);
    const std::vector<double> crossings = timesAt(signal, 1.0);
    const std::vector<double> expected = {0, 0.5e-3, 1e-3, 1.5e-3, 2e-3};
    ASSERT_EQ(crossings.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(crossings[i], expected[i], 1e-12);
    // The output range is drawn around the signal.
    EXPECT_LE(picture.tracks[0].low, -OutputPeak);
    EXPECT_GE(picture.tracks[0].high, OutputPeak);
    EXPECT_TRUE(picture.tracks[0].outputRange);
}

TEST(PreviewCurve, SquareIsHighForItsDutyOfEachPeriod) {
    struct Row {
        double duty, highShare;
    };
    for (const Row row : {Row{20, 0.2}, Row{50, 0.5}, Row{80, 0.8}}) {
        Setting s = sine1k();
        s.shape = Shape::Square;
        s.duty = row.duty;
        const Picture picture = computePicture(s);
        const Trace& signal = signalOf(picture);
        double high = 0, low = 0;
        for (size_t i = 1; i < signal.time.size(); ++i) {
            const double span = signal.time[i] - signal.time[i - 1];
            if (signal.value[i] == 2.5 && signal.value[i - 1] == 2.5) high += span;
            if (signal.value[i] == -2.5 && signal.value[i - 1] == -2.5) low += span;
        }
        EXPECT_NEAR(high / 2e-3, row.highShare, 1e-9) << row.duty;
        EXPECT_NEAR(low / 2e-3, 1 - row.highShare, 1e-9) << row.duty;
        // Edges are vertical: two points at the edge's time, one at each level.
        EXPECT_EQ(timesAt(signal, 2.5).front(), 0.0);
        EXPECT_NEAR(timesAt(signal, -2.5).front(), row.highShare * 1e-3, 1e-12);
    }
}

TEST(PreviewCurve, BurstOfFiveCyclesInTenMillisecondsIsOnForFive) {
    // 5 cycles of 1 kHz last 5 ms of the 10 ms period: the trigger symmetry carries 50 %.
    Setting s = sine1k();
    s.function = Function::Burst;
    s.triggerRate = 100;
    s.triggerSymmetry = 50;
    s.burstCount = 5;
    const Picture picture = computePicture(s);
    EXPECT_DOUBLE_EQ(picture.duration, 20e-3);
    const Trace& signal = signalOf(picture);
    for (double period : {0.0, 10e-3}) {
        int peaks = 0;
        bool quietAfter = true;
        for (size_t i = 0; i < signal.time.size(); ++i) {
            const double t = signal.time[i] - period;
            if (t >= 0 && t < 5e-3 && signal.value[i] == 2.5) ++peaks;
            if (t > 5e-3 + 1e-9 && t <= 10e-3 && std::abs(signal.value[i]) > 1e-9) quietAfter = false;
        }
        EXPECT_EQ(peaks, 5) << period;
        EXPECT_TRUE(quietAfter) << period;
    }
    EXPECT_EQ(picture.words, "Sine 1 kHz, 5 Vpp, offset 0 V; burst of 5 cycles every 10 ms");
}

TEST(PreviewCurve, BurstCountThatTheSymmetryCannotCarryIsSaid) {
    // 1 cycle of 10 kHz in 10 ms is a share of 1 %, held at 10 %: the instrument gives 10 cycles.
    Setting s = sine1k();
    s.frequency = 10000;
    s.function = Function::Burst;
    s.triggerRate = 100;
    s.triggerSymmetry = 10;
    s.burstCount = 1;
    EXPECT_EQ(describe(s),
              "Sine 10 kHz, 5 Vpp, offset 0 V; burst of 10 cycles every 10 ms (Burst Count 1: the "
              "trigger symmetry carries 10 %)");
}

TEST(PreviewCurve, GateIsOpenForTheTriggerSymmetrysShare) {
    Setting s = sine1k();
    s.function = Function::Gate;
    s.triggerRate = 100;
    s.triggerSymmetry = 25;
    s.triggerPhase = 45; // not sent with the gate: the carrier starts at 0
    const Picture picture = computePicture(s);
    const Trace& signal = signalOf(picture);
    EXPECT_EQ(signal.value.front(), 0.0);
    EXPECT_EQ(signal.value[1], 0.0);
    EXPECT_NEAR(valueAt(signal, 1.75e-3), -2.5, 1e-9);
    EXPECT_NEAR(valueAt(signal, 2.25e-3), 2.5, 1e-9); // the last peak inside the 2.5 ms
    EXPECT_EQ(valueAt(signal, 3e-3), 0.0);
    EXPECT_EQ(valueAt(signal, 9.9e-3), 0.0);
    EXPECT_EQ(picture.words, "Sine 1 kHz, 5 Vpp, offset 0 V; gate open 2.5 ms every 10 ms");
}

TEST(PreviewCurve, TriggerStartsEachBurstAtItsPhase) {
    Setting s = sine1k();
    s.function = Function::Trigger;
    s.triggerRate = 200;
    s.triggerSymmetry = 40;
    s.triggerPhase = 90;
    const Picture picture = computePicture(s);
    const Trace& signal = signalOf(picture);
    // Off at the offset, then on at the sine's peak (phase 90°) at 0 and at 5 ms.
    EXPECT_EQ(signal.value[0], 0.0);
    EXPECT_NEAR(signal.value[1], 2.5, 1e-12);
    EXPECT_NEAR(valueAt(signal, 5e-3 + 1e-12), 2.5, 1e-6);
    EXPECT_EQ(valueAt(signal, 4.5e-3), 0.0);
    EXPECT_EQ(describe(s),
              "Sine 1 kHz, 5 Vpp, offset 0 V; triggered (Single) every 5 ms, on for 40 % from phase 90°");
}

TEST(PreviewCurve, AmEnvelopeTroughIsTheRestOfTheDepth) {
    struct Row {
        double depth, trough; // peak 2 V (4 Vpp) around 1 V
    };
    for (const Row row : {Row{30, 1.4}, Row{50, 1.0}, Row{100, 0.0}}) {
        Setting s = sine1k();
        s.amplitude = 4;
        s.offset = 1;
        s.function = Function::AM;
        s.modRate = 100;
        s.modDepthOrSpan = row.depth;
        const Picture picture = computePicture(s);
        EXPECT_DOUBLE_EQ(picture.duration, 20e-3); // two modulation periods
        std::vector<const Trace*> envelopes;
        for (const Trace& trace : picture.tracks[0].traces)
            if (trace.style == Trace::Style::Envelope) envelopes.push_back(&trace);
        ASSERT_EQ(envelopes.size(), 2u);
        EXPECT_NEAR(highest(envelopes[0]->value), 1 + 2, 1e-12) << row.depth;
        EXPECT_NEAR(lowest(envelopes[0]->value), 1 + row.trough, 1e-12) << row.depth;
        EXPECT_NEAR(lowest(envelopes[1]->value), 1 - 2, 1e-12) << row.depth;
        EXPECT_NEAR(highest(envelopes[1]->value), 1 - row.trough, 1e-12) << row.depth;
        // The carrier stays under its envelope and reaches it.
        const Trace& signal = signalOf(picture);
        for (size_t i = 0; i < signal.time.size(); ++i)
            EXPECT_LE(std::abs(signal.value[i] - 1), amEnvelope(s, signal.time[i]) + 1e-12);
        EXPECT_NEAR(highest(signal.value), 3, 0.02);
    }
}

TEST(PreviewCurve, SweepPassesTheMiddleOfItsRange) {
    struct Row {
        bool log;
        double halfway;
    };
    for (const Row row : {Row{true, 100}, Row{false, 505}}) {
        Setting s;
        s.function = Function::Sweep;
        s.sweepLog = row.log;
        s.sweepStart = 10;
        s.sweepStop = 1000;
        s.sweepRate = 10;     // 100 ms
        s.sweepSymmetry = 80; // rising for 80 ms
        const Picture picture = computePicture(s);
        EXPECT_DOUBLE_EQ(picture.duration, 0.1);
        ASSERT_EQ(picture.tracks.size(), 2u);
        const Trace& frequency = signalOf(picture, Quantity::Hertz);
        EXPECT_NEAR(valueAt(frequency, 0.04), row.halfway, 1e-9) << row.log;
        EXPECT_NEAR(sweepFrequency(s, 0.04), row.halfway, 1e-9);
        EXPECT_NEAR(valueAt(frequency, 0.0), 10, 1e-9);
        EXPECT_NEAR(valueAt(frequency, 0.08), 1000, 1e-9);
        // Falling back over the remaining 20 ms, passing the middle halfway.
        EXPECT_NEAR(sweepFrequency(s, 0.09), row.halfway, 1e-9);
        EXPECT_NEAR(frequency.value.back(), 10, 1e-9);
    }
}

TEST(PreviewCurve, FmFrequencySwingsByItsSpan) {
    Setting s = sine1k();
    s.frequency = 10000;
    s.function = Function::FM;
    s.modRate = 1000;
    s.modDepthOrSpan = 5;
    const Picture picture = computePicture(s);
    ASSERT_EQ(picture.tracks.size(), 2u);
    const Trace& frequency = signalOf(picture, Quantity::Hertz);
    EXPECT_NEAR(highest(frequency.value), 10500, 1e-9);
    EXPECT_NEAR(lowest(frequency.value), 9500, 1e-9);
    EXPECT_NEAR(valueAt(frequency, 0.25e-3), 10500, 1e-9);
    // 20 carrier cycles over 2 ms: drawn cycle by cycle.
    EXPECT_EQ(signalOf(picture).style, Trace::Style::Signal);
    EXPECT_TRUE(picture.notes.isEmpty());
    EXPECT_EQ(picture.words,
              "Sine 10 kHz, 5 Vpp, offset 0 V; FM by a 1 kHz sine, span 5 % (9.5 kHz to 10.5 kHz)");
}

TEST(PreviewCurve, CarrierTooFastForTheTimeScaleIsDrawnAsItsEnvelope) {
    struct Row {
        Function function;
        double frequency, rate;
        Trace::Style style;
    };
    const Row rows[] = {
        {Function::AM, 10000, 1000, Trace::Style::Signal}, // 20 cycles
        {Function::AM, 1e6, 1000, Trace::Style::Band},     // 2000 cycles
        {Function::FM, 15e6, 0.01, Trace::Style::Band},    {Function::Burst, 15e6, 100, Trace::Style::Band},
        {Function::Sweep, 0, 0.01, Trace::Style::Band}, // 150 kHz to 15 MHz over 100 s
    };
    for (const Row& row : rows) {
        Setting s = sine1k();
        s.function = row.function;
        s.frequency = row.frequency > 0 ? row.frequency : 1000;
        s.modRate = row.rate;
        s.triggerRate = row.rate;
        s.sweepRate = row.rate;
        s.sweepStart = 150000;
        s.sweepStop = 15e6;
        s.sweepLog = true;
        const Picture picture = computePicture(s);
        const Trace& signal = signalOf(picture);
        EXPECT_EQ(signal.style, row.style) << int(row.function);
        const bool said = picture.notes.join(' ').contains("too fast to draw cycle by cycle");
        EXPECT_EQ(said, row.style == Trace::Style::Band) << int(row.function);
        if (row.style == Trace::Style::Band) {
            EXPECT_LE(signal.time.size(), 2000u);
            EXPECT_NEAR(highest(signal.value), 2.5, 1e-9);
            EXPECT_NEAR(lowest(signal.lower), -2.5, 1e-9);
        }
    }
}

TEST(PreviewCurve, ShapesAndSymmetry) {
    struct Row {
        Shape shape;
        double phase, symmetry, value;
    };
    const Row rows[] = {
        {Shape::Sine, 0.25, 50, 1},     {Shape::Sine, 0.75, 50, -1},     {Shape::Triangle, 0, 50, 0},
        {Shape::Triangle, 0.25, 50, 1}, {Shape::Triangle, 0.75, 50, -1}, {Shape::Triangle, 0.1, 20, 1},
        {Shape::Triangle, 0.9, 20, -1}, {Shape::Triangle, 0.5, 20, 0},   {Shape::Square, 0.19, 20, 1},
        {Shape::Square, 0.21, 20, -1},  {Shape::Square, 1.1, 20, 1},
    };
    for (const Row& row : rows)
        EXPECT_NEAR(shapeValue(row.shape, row.phase, row.symmetry), row.value, 1e-12)
            << int(row.shape) << " " << row.phase << " " << row.symmetry;
}

TEST(PreviewCurve, WordsForEveryFunction) {
    struct Row {
        Function function;
        QString words;
    };
    const Row rows[] = {
        {Function::Main, "Square 1 kHz, 5 Vpp, offset -1.5 V, duty 20 %"},
        {Function::Sweep,
         "Square, 5 Vpp, offset -1.5 V, duty 20 %; logarithmic sweep from 1 kHz to 2 kHz every "
         "1 ms, rising for 90 % of it"},
        {Function::AM,
         "Square 1 kHz, 5 Vpp, offset -1.5 V, duty 20 %; AM by a 200 Hz triangle of symmetry 30 %, "
         "depth 40 %"},
        {Function::Counter, "Square 1 kHz, 5 Vpp, offset -1.5 V, duty 20 %; external counter measuring the "
                            "frequency at its input, gate time 100 ms"},
    };
    for (const Row& row : rows) {
        Setting s = sine1k();
        s.shape = Shape::Square;
        s.duty = 20;
        s.offset = -1.5;
        s.function = row.function;
        s.sweepLog = true;
        s.modShape = Shape::Triangle;
        s.modRate = 200;
        s.modSymmetry = 30;
        s.modDepthOrSpan = 40;
        s.counterGateTime = 1;
        EXPECT_EQ(describe(s), row.words);
    }
}

TEST(PreviewCurve, CounterAndMissingValuesDrawNothingAndSaySo) {
    Setting counter = sine1k();
    counter.function = Function::Counter;
    counter.counterGateTime = 2;
    Picture picture = computePicture(counter);
    EXPECT_TRUE(picture.tracks.empty());
    EXPECT_EQ(
        picture.notes.join(' '),
        "External counter: it measures the frequency of the signal at its input, counting over a gate time "
        "of 1 s.");

    Setting empty = sine1k();
    empty.function = Function::Trigger;
    empty.triggerRate = 0; // an empty box
    picture = computePicture(empty);
    EXPECT_TRUE(picture.tracks.empty());
    EXPECT_EQ(picture.notes.join(' '), "The trigger rate is not set: nothing to draw.");
}

TEST(PreviewCurve, SiPrefixes) {
    struct Row {
        double value;
        const char* unit;
        const char* text;
    };
    const Row rows[] = {
        {0.0005, "s", "500 µs"},      {2e-3, "s", "2 ms"},     {2.5, "s", "2.5 s"},
        {6.6667e-8, "s", "66.67 ns"}, {1500, "Hz", "1.5 kHz"}, {15e6, "Hz", "15 MHz"},
        {0.01, "Hz", "0.01 Hz"},      {5, "V", "5 V"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(siText(row.value, QString::fromUtf8(row.unit)), QString::fromUtf8(row.text));
}
