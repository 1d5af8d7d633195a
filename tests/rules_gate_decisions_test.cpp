#include "panel/rules/RateBand.h"
#include "support/QtPrint.h"

#include <gtest/gtest.h>

TEST(GateDecisions, OpenGateBands) {
    const struct {
        const char* typed;
        const char* shown;
        const char* step; // empty: the box keeps its step
    } cases[] = {
        {"12345", "10000", "100"},
        {"100", "100", "100"},
        {"99.6", "100", "1"},
        {"1", "1", "1"},
        {"0.5", "0.50", "0.01"},
        {"0.01", "0.01", "0.01"},
        {"0.005", "0.005", "0.001"},
        {"0.0015", "0.002", "0.001"},
        {"0.0005", "0.0005", ""},
        {"", "", ""},
        {"-5", "-5", ""},
        {"abc", "abc", ""},
    };
    for (const auto& c : cases) {
        const RateBandResult result = rateBand(QString(c.typed), kOpenGateRate);
        EXPECT_EQ(result.text, QString(c.shown)) << c.typed;
        EXPECT_EQ(result.step.value_or(QString()), QString(c.step)) << c.typed;
    }
}
