// The preview's curves, computed without a window, against values worked out by hand.
#include "preview/Preview.h"
#include "support/QtPrint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>

using namespace preview;
using std::ranges::max, std::ranges::min;

namespace {

const Trace& signalOf(const Picture& picture, Quantity quantity = Quantity::Volts) {
    for (const Track& track : picture.tracks)
        if (track.quantity == quantity)
            for (const Trace& trace : track.traces)
                if (trace.style != Trace::Style::Envelope) return trace;
    static const Trace none;
    ADD_FAILURE() << "no such trace";
    return none;
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

} // namespace

// Values at chosen times, between samples (a vertical edge jumps within 2 ps); duration 0: not checked.
TEST(PreviewCurve, HandWorkedValuesOfEveryDrawnFunction) {
    using enum Function;
    using enum Shape;
    const double e = 1e-12;
    // clang-format off
    const std::tuple<Setting, double, std::vector<std::pair<double, double>>> rows[] = { // (time, volts or Hz)
        // Two periods of a 5 Vpp sine around 1 V.
        {{.frequency = 1000, .offset = 1}, 2e-3, {{0, 1}, {0.25e-3, 3.5}, {0.5e-3, 1}, {0.75e-3, -1.5}, {1.25e-3, 3.5}, {2e-3, 1}}},
        // High for the duty's share of each period, the edges vertical.
        {{.shape = Square, .frequency = 1000, .duty = 20}, 2e-3,
         {{0, 2.5}, {0.2e-3 - e, 2.5}, {0.2e-3 + e, -2.5}, {1e-3 - e, -2.5}, {1e-3 + e, 2.5}, {1.2e-3 + e, -2.5}}},
        {{.shape = Square, .frequency = 1000, .duty = 80}, 2e-3, {{0.8e-3 - e, 2.5}, {0.8e-3 + e, -2.5}}},
        // 5 cycles of 1 kHz in each 10 ms period, quiet at the offset for the rest.
        {{.frequency = 1000, .function = Burst, .triggerRate = 100, .burstCount = 5}, 20e-3,
         {{0.25e-3, 2.5}, {4.25e-3, 2.5}, {4.75e-3, -2.5}, {5.25e-3, 0}, {9.9e-3, 0}, {10.25e-3, 2.5}, {14.25e-3, 2.5}, {15.25e-3, 0}}},
        // The phase is not sent with the gate: the carrier starts at 0, its last peak inside the 2.5 ms.
        {{.frequency = 1000, .function = Gate, .triggerRate = 100, .triggerSymmetry = 25, .triggerPhase = 90}, 0,
         {{0, 0}, {e, 0}, {1.75e-3, -2.5}, {2.25e-3, 2.5}, {3e-3, 0}, {9.9e-3, 0}}},
        // Off at the offset, then on at the sine's peak (phase 90°) at 0 and at 5 ms.
        {{.frequency = 1000, .function = Trigger, .triggerRate = 200, .triggerSymmetry = 40, .triggerPhase = 90}, 0,
         {{0, 0}, {e, 2.5}, {4.5e-3, 0}, {5e-3 + e, 2.5}}},
        // 10 Hz to 1 kHz every 1 ms, rising for 0.8 ms and falling back over 0.2, passing the middle halfway.
        {{.function = Sweep, .sweepLog = true, .sweepStart = 10, .sweepStop = 1000, .sweepSymmetry = 80}, 1e-3,
         {{0, 10}, {0.4e-3, 100}, {0.8e-3, 1000}, {0.9e-3, 100}, {1e-3, 10}}},
        {{.function = Sweep, .sweepStart = 10, .sweepStop = 1000, .sweepSymmetry = 80}, 1e-3,
         {{0, 10}, {0.4e-3, 505}, {0.8e-3, 1000}, {0.9e-3, 505}, {1e-3, 10}}},
        {{.function = FM, .modRate = 1000, .modDepthOrSpan = 5}, 0, {{0, 10000}, {0.25e-3, 10500}, {0.5e-3, 10000}, {0.75e-3, 9500}}},
    };
    // clang-format on
    for (const auto& [setting, duration, valuesAt] : rows) {
        SCOPED_TRACE(testing::Message()
                     << int(setting.function) << " " << int(setting.shape) << " " << setting.duty);
        const bool hertz = setting.function == Sweep || setting.function == FM;
        const Picture picture = computePicture(setting);
        ASSERT_EQ(picture.tracks.size(), hertz ? 2u : 1u);
        const Trace& trace = signalOf(picture, hertz ? Quantity::Hertz : Quantity::Volts);
        for (const auto& [time, value] : valuesAt)
            EXPECT_NEAR(valueAt(trace, time), value, 1e-6) << " at " << time;
        EXPECT_TRUE(duration == 0 || std::abs(picture.duration - duration) < 1e-12) << picture.duration;
        EXPECT_TRUE(setting.function != Sweep ||
                    std::abs(sweepFrequency(setting, 0.9e-3) - valuesAt[3].second) < 1e-9);
        // The volts strip always spans and shades the instrument's whole output range.
        const auto volts = std::ranges::find(picture.tracks, Quantity::Volts, &Track::quantity);
        ASSERT_TRUE(volts != picture.tracks.end());
        EXPECT_TRUE(volts->outputRange && volts->low <= -OutputPeak && volts->high >= OutputPeak)
            << volts->low << " " << volts->high;
    }
}

// Too many carrier cycles for the time axis are drawn as their envelope and said so in a note; a counter
// or a missing rate draws nothing and says why.
TEST(PreviewCurve, NotesSayWhatThePictureLeavesOut) {
    using enum Function;
    using Style = Trace::Style;
    const QString fast = "too fast to draw cycle by cycle";
    // clang-format off
    const std::tuple<Setting, std::optional<Style>, QString> rows[] = { // no style: nothing drawn; a part of the notes
        {{.frequency = 10000, .function = AM, .modRate = 1000}, Style::Signal, ""}, // 20 cycles
        {{.frequency = 10000, .function = FM, .modRate = 1000}, Style::Signal, ""},
        {{.frequency = 1e6, .function = AM, .modRate = 1000}, Style::Band, fast}, // 2000 cycles
        {{.frequency = 15e6, .function = FM, .modRate = 0.01}, Style::Band, fast},
        {{.frequency = 15e6, .function = Burst, .triggerRate = 100}, Style::Band, fast},
        {{.function = Sweep, .sweepLog = true, .sweepStart = 150000, .sweepStop = 15e6, .sweepRate = 0.01}, Style::Band, fast}, // over 100 s
        {{.function = Counter, .counterGateTime = 2}, std::nullopt,
         "External counter: it measures the frequency of the signal at its input, counting over a gate time of 1 s."},
        {{.function = Trigger, .triggerRate = 0}, std::nullopt, "The trigger rate is not set: nothing to draw."},
    };
    // clang-format on
    for (const auto& [setting, style, notes] : rows) {
        SCOPED_TRACE(int(setting.function));
        const Picture picture = computePicture(setting);
        const QString said = picture.notes.join(' ');
        EXPECT_TRUE(notes.isEmpty() ? said.isEmpty() : style ? said.contains(notes) : said == notes) << said;
        ASSERT_EQ(picture.tracks.empty(), !style);
        if (!style) continue;
        const Trace& signal = signalOf(picture);
        EXPECT_EQ(signal.style, *style);
        if (*style == Style::Band) {
            EXPECT_LE(signal.time.size(), 2000u);
            EXPECT_NEAR(max(signal.value), 2.5, 1e-9);
            EXPECT_NEAR(min(signal.lower), -2.5, 1e-9);
        }
    }
}

TEST(PreviewCurve, ShapesAndSymmetry) {
    using enum Shape;
    const std::tuple<Shape, double, double, double> rows[] = {
        // shape, phase, symmetry, value
        {Sine, 0.25, 50, 1},      {Sine, 0.75, 50, -1},   {Triangle, 0, 50, 0},    {Triangle, 0.25, 50, 1},
        {Triangle, 0.75, 50, -1}, {Triangle, 0.1, 20, 1}, {Triangle, 0.9, 20, -1}, {Triangle, 0.5, 20, 0},
        {Square, 0.19, 20, 1},    {Square, 0.21, 20, -1}, {Square, 1.1, 20, 1},
    };
    for (const auto& [shape, phase, symmetry, value] : rows)
        EXPECT_NEAR(shapeValue(shape, phase, symmetry), value, 1e-12)
            << int(shape) << " " << phase << " " << symmetry;
}

TEST(PreviewCurve, WordsForEveryFunction) {
    using enum Function;
    using enum Shape;
    // clang-format off
    const std::pair<Setting, QString> rows[] = {
        {{.shape = Square, .frequency = 1000, .offset = -1.5, .duty = 20}, "Square 1 kHz, 5 Vpp, offset -1.5 V, duty 20 %"},
        {{.shape = Square, .offset = -1.5, .duty = 20, .function = Sweep, .sweepLog = true},
         "Square, 5 Vpp, offset -1.5 V, duty 20 %; logarithmic sweep from 1 kHz to 2 kHz every 1 ms, rising for 90 % of it"},
        {{.frequency = 1000, .function = AM, .modShape = Triangle, .modRate = 200, .modSymmetry = 30},
         "Sine 1 kHz, 5 Vpp, offset 0 V; AM by a 200 Hz triangle of symmetry 30 %, depth 50 %"},
        {{.frequency = 1000, .function = Counter, .counterGateTime = 1},
         "Sine 1 kHz, 5 Vpp, offset 0 V; external counter measuring the frequency at its input, gate time 100 ms"},
        {{.function = FM, .modRate = 1000, .modDepthOrSpan = 5}, "Sine 10 kHz, 5 Vpp, offset 0 V; FM by a 1 kHz sine, span 5 % (9.5 kHz to 10.5 kHz)"},
        {{.frequency = 1000, .function = Burst, .triggerRate = 100, .burstCount = 5}, "Sine 1 kHz, 5 Vpp, offset 0 V; burst of 5 cycles every 10 ms"},
        // 1 cycle of 10 kHz in 10 ms is a share of 1 %, held at 10 %: the instrument gives 10 cycles.
        {{.function = Burst, .triggerRate = 100, .triggerSymmetry = 10, .burstCount = 1},
         "Sine 10 kHz, 5 Vpp, offset 0 V; burst of 10 cycles every 10 ms (Burst Count 1: the trigger symmetry carries 10 %)"},
        {{.frequency = 1000, .function = Gate, .triggerRate = 100, .triggerSymmetry = 25}, "Sine 1 kHz, 5 Vpp, offset 0 V; gate open 2.5 ms every 10 ms"},
        {{.frequency = 1000, .function = Trigger, .triggerRate = 200, .triggerSymmetry = 40, .triggerPhase = 90},
         "Sine 1 kHz, 5 Vpp, offset 0 V; triggered (Single) every 5 ms, on for 40 % from phase 90°"},
    };
    // clang-format on
    for (const auto& [setting, words] : rows) {
        EXPECT_EQ(describe(setting), words);
        EXPECT_EQ(computePicture(setting).words, words);
    }
}

TEST(PreviewCurve, SiPrefixes) {
    const std::tuple<double, const char*, const char*> rows[] = {
        {0.0005, "s", "500 µs"},      {2e-3, "s", "2 ms"},     {2.5, "s", "2.5 s"},
        {6.6667e-8, "s", "66.67 ns"}, {1500, "Hz", "1.5 kHz"}, {15e6, "Hz", "15 MHz"},
        {0.01, "Hz", "0.01 Hz"},      {5, "V", "5 V"},
    };
    for (const auto& [value, unit, text] : rows)
        EXPECT_EQ(siText(value, QString::fromUtf8(unit)), QString::fromUtf8(text));
}
