// The pacing wait: the counter's wrap rule and a wait that keeps events flowing.
#include "instrument/Pacing.h"
#include "support/RecordingTransport.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

TEST(Pacing, ElapsedTimeAcrossTheCounterWrap) {
    // clang-format off
    const struct { int32_t start, now; double elapsed; } cases[] = {
        {0, 200, 200}, {-500, -300, 200}, {5, 5, 0},
        {2147483647 - 99, -2147483648 + 100, 200}, {2147483647, -2147483648, 1}, // signed overflow
        {-100, 100, 200}, {-1, 0, 1}};                                             // -1 -> 0
    // clang-format on
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(elapsedMilliseconds(c.start, c.now), c.elapsed) << c.start << " " << c.now;
}

TEST(Pacing, WaitsAtLeastTheIntervalWhileEventsRunAndNotAtAllForZero) {
    for (double ms : {0.0, -5.0, 40.5}) {
        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        const qint64 start = steadyNowNs();
        Delay(ms);
        EXPECT_EQ(ran, ms > 0) << ms;
        EXPECT_GE(steadyNowNs() - start, qint64(ms * 1e6));
        QCoreApplication::processEvents();
    }
}
