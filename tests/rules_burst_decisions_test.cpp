#include "panel/rules/Burst.h"
#include "support/QtPrint.h"

#include <gtest/gtest.h>

using burst::CountEntry;
using burst::CountShare;

TEST(BurstDecisions, ReadingTheCount) {
    const struct {
        const char* typed;
        CountEntry::Kind kind;
        const char* whole;
    } cases[] = {
        {"", CountEntry::Kind::Nothing, ""},    {"0", CountEntry::Kind::Nothing, ""},
        {"abc", CountEntry::Kind::Nothing, ""}, {"-", CountEntry::Kind::Nothing, ""},
        {"-3", CountEntry::Kind::Negative, ""}, {"5", CountEntry::Kind::Count, "5"},
        {"5.", CountEntry::Kind::Count, "5"},   {"2.5", CountEntry::Kind::Count, "3"},
        {"007", CountEntry::Kind::Count, "7"},  {"0.4", CountEntry::Kind::Count, "0"},
    };
    for (const auto& c : cases) {
        const CountEntry entry = burst::readCount(QString(c.typed));
        EXPECT_EQ(entry.kind, c.kind) << c.typed;
        EXPECT_EQ(entry.wholeText, QString(c.whole)) << c.typed;
    }
}

TEST(BurstDecisions, ShareOfThePeriod) {
    const struct {
        double count;
        const char* mainFreq;
        const char* burstRate;
        CountShare::Kind kind;
        int share;
    } cases[] = {
        {5, "1000.0", "100", CountShare::Kind::Fits, 50},  // 5 ms of 10 ms
        {1, "10000.0", "100", CountShare::Kind::Fits, 10}, // 1 % is raised to 10
        {9.5, "1000", "100", CountShare::Kind::Fits, 90},  // 95 % is lowered to 90
        {10, "1000", "100", CountShare::Kind::Fits, 90},   // exactly the whole period still fits
        {20, "1000", "100", CountShare::Kind::TooLong, 0},
        {5, "0", "100", CountShare::Kind::NeedMainFrequency, 0},
        {5, "1000", "", CountShare::Kind::NeedBurstRate, 0},
        {5, "1000", "0.00", CountShare::Kind::NeedBurstRate, 0},
    };
    for (const auto& c : cases) {
        const CountShare result = burst::shareOfPeriod(c.count, QString(c.mainFreq), QString(c.burstRate));
        EXPECT_EQ(result.kind, c.kind) << c.count << " " << c.mainFreq << " " << c.burstRate;
        if (c.kind == CountShare::Kind::Fits) {
            EXPECT_EQ(result.share, c.share) << c.count;
            EXPECT_EQ(result.shareText, QString::number(c.share)) << c.count;
        }
    }
}
