// The pacing wait: the counter's wrap rule and a wait that keeps events flowing.
#include "instrument/Pacing.h"
#include "support/RecordingTransport.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

TEST(Pacing, ElapsedTimeAcrossTheCounterWrap) {
    const struct {
        int32_t start;
        int32_t now;
        double elapsed;
    } cases[] = {
        {0, 200, 200},
        {-500, -300, 200},
        {2147483647 - 99, -2147483648 + 100, 200}, // signed overflow
        {-100, 100, 200},                          // -1 -> 0
        {2147483647, -2147483648, 1},
        {-1, 0, 1},
        {5, 5, 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(elapsedMilliseconds(c.start, c.now), c.elapsed);
}

TEST(Pacing, ZeroOrNegativeReturnsWithoutProcessingEvents) {
    for (double ms : {0.0, -5.0}) {
        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        Delay(ms);
        EXPECT_FALSE(ran);
        QCoreApplication::processEvents();
        EXPECT_TRUE(ran);
    }
}

TEST(Pacing, WaitsAtLeastTheIntervalWhileEventsRun) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    const qint64 start = steadyNowNs();
    Delay(40.5);
    EXPECT_GE(steadyNowNs() - start, qint64(40500000));
    EXPECT_TRUE(ran);
}

TEST(Pacing, CancelEndsAWaitAtOnceAndEveryLaterOne) {
    PacingWait wait;
    QTimer::singleShot(10, [&] { wait.cancel(); });
    EXPECT_FALSE(wait.wait(1e9));
    EXPECT_FALSE(wait.wait(1e9));
}
