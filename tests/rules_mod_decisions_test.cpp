#include "panel/rules/Modulation.h"
#include "panel/rules/RateBand.h"
#include "panel/rules/Synchronisation.h"
#include "support/QtPrint.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {
QString stepOf(const RateBandResult& result) {
    return result.step.value_or("(kept)");
}
} // namespace

TEST(RateBandDecisions, ModulationAndTriggerRate) {
    const struct {
        const char* typed;
        const char* text;
        const char* step;
    } cases[] = {
        // beyond the typed cases of the window test
        {"1.0", "1.0", "0.01"},   {"-3", "0.01", "0.01"},    {"99.6", "100", "1"}, {"100.4", "100", "100"},
        {"0.01", "0.01", "0.01"}, {"10000", "10000", "100"}, {"1.5", "2", "1"},    {"2500", "2500", "100"},
    };
    for (const auto& c : cases) {
        const RateBandResult result = rateBand(c.typed, kModulationRate);
        EXPECT_EQ(result.text, QString(c.text)) << c.typed;
        EXPECT_EQ(stepOf(result), QString(c.step)) << c.typed;
    }
}

TEST(RateBandDecisions, Variants) {
    const struct {
        const char* group;
        RateBandVariant variant;
        const char* typed;
        const char* text;
        const char* step;
    } cases[] = {
        {"sweep", kSweepRate, "20000", "10000", "100"},
        {"sweep", kSweepRate, "101", "200", "100"},
        {"sweep", kSweepRate, "1.01", "2", "1"},
        {"sweep", kSweepRate, "0.005", "0.01", "0.01"},
        {"sweep", kSweepRate, "0.5", "0.50", "0.01"},
        {"sweep", kSweepRate, "", "0.01", "0.01"},
        {"sweep", kSweepRate, "0.010", "0.010", "(kept)"},
        {"burst", kBurstRate, "1", "1.00", "0.01"},
        {"burst", kBurstRate, "101", "200", "100"},
        {"gate", kGateRate, "100", "100", "100"},
        {"gate", kGateRate, "101", "100", "100"},
        {"gate", kGateRate, "1", "1", "1"},
        {"gate", kGateRate, "1.01", "1", "1"},
        {"gate", kGateRate, "99.6", "100", "1"},
        {"gate", kGateRate, "0.999", "1.00", "0.01"},
        {"trigger", kTriggerRate, "1", "1", "0.01"},
    };
    for (const auto& c : cases) {
        const RateBandResult result = rateBand(c.typed, c.variant);
        EXPECT_EQ(result.text, QString(c.text)) << c.group << " " << c.typed;
        EXPECT_EQ(stepOf(result), QString(c.step)) << c.group << " " << c.typed;
    }
}

TEST(RateBandDecisions, Symmetry) {
    const struct {
        const char* typed;
        const char* text;
    } cases[] = {{"95", "90"}, {"5", "10"},   {"49.6", "50"}, {"33.3", "33"},
                 {"", "10"},   {"abc", "10"}, {"90.4", "90"}};
    for (const auto& c : cases)
        EXPECT_EQ(symmetryText(c.typed), QString(c.text)) << c.typed;
}

TEST(ModulationDecisions, DepthAndSpanClamps) {
    const struct {
        const char* typed;
        const char* am;
        const char* fm;
    } cases[] = {
        {"0", "1", "0.0"},  {"150", "100", "15"}, {"33.6", "34", "15"},
        {"20", "20", "15"}, {"-2", "1", "0"},     {"7.46", "7", "7.5"},
        {"", "1", "0.0"},   {"15", "15", "15.0"}, {"0.5", "1", "0.5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(amDepthText(c.typed), QString(c.am)) << c.typed;
        EXPECT_EQ(fmSpanText(c.typed), QString(c.fm)) << c.typed;
    }
}

TEST(ModulationDecisions, FmSwingAgainstSegments) {
    const struct {
        double frequency, span;
        bool accepted;
        int lastContaining;
        const char* suggestion;
    } cases[] = {
        {1000, 15, true, 4, nullptr}, {1400, 10, true, 5, nullptr},     {14000000, 10, false, 8, "7.1"},
        {0.011, 15, false, 1, "9.1"}, {20000000, 5, false, 0, nullptr}, {0.005, 5, false, 0, nullptr},
        {0.01, 0, false, 0, nullptr}, // on the lowest limit: inside no segment
        {0.02, 0, true, 1, nullptr},
    };
    for (const auto& c : cases) {
        const FmSwingCheck check = checkFmSwing(c.frequency, c.span);
        EXPECT_EQ(check.accepted, c.accepted) << c.frequency;
        EXPECT_EQ(check.lastContaining, c.lastContaining) << c.frequency;
        if (c.suggestion)
            EXPECT_EQ(suggestedFmSpan(c.frequency, check.lastContaining), QString(c.suggestion));
    }
}

TEST(ModulationDecisions, SwitchingToFm) {
    const struct {
        const char* remembered;
        const char* shown;
    } cases[] = {{"20    ", "15"}, {"", "5"}, {"0     ", "5"}, {"7.5   ", "7.5   "}, {"15", "15"}};
    for (const auto& c : cases)
        EXPECT_EQ(fmSpanOnSwitch(c.remembered), QString(c.shown)) << c.remembered;
}

TEST(SynchronisationTable, CopiesInOrder) {
    const struct {
        const char* source;
        const char* copies; // receiver<-from, ...
    } cases[] = {
        {"txtModRate", "txtSweepRate<-txtModRate txtTrgRate<-txtModRate txtBurstPeriod<-txtModRate "
                       "txtGatePeriod<-txtModRate"},
        {"txtSweepRate", "txtModRate<-txtSweepRate txtTrgRate<-txtSweepRate txtBurstPeriod<-txtModRate "
                         "txtGatePeriod<-txtModRate"},
        {"txtTrgRate", "txtSweepRate<-txtTrgRate txtModRate<-txtTrgRate"},
        {"txtBurstPeriod",
         "txtModRate<-txtBurstPeriod txtTrgRate<-txtBurstPeriod txtSweepRate<-txtBurstPeriod "
         "txtGatePeriod<-txtBurstPeriod"},
        {"txtGatePeriod", "txtModRate<-txtGatePeriod txtTrgRate<-txtGatePeriod txtBurstPeriod<-txtGatePeriod "
                          "txtSweepRate<-txtGatePeriod"},
        {"txtModSymmetry", "txtSweepSymmetry<-txtModSymmetry txtTrgSymmetry<-txtModSymmetry"},
        {"txtSweepSymmetry", "txtModSymmetry<-txtSweepSymmetry txtTrgSymmetry<-txtSweepSymmetry"},
        {"txtTrgSymmetry", "txtModSymmetry<-txtTrgSymmetry txtSweepSymmetry<-txtTrgSymmetry"},
        {"txtMainFreq", ""},
    };
    for (const auto& c : cases) {
        QStringList copies;
        for (const SyncCopy& copy : synchronisedCopies(QString(c.source)))
            copies << QString("%1<-%2").arg(copy.receiver, copy.from);
        EXPECT_EQ(copies.join(' '), QString(c.copies)) << c.source;
    }
}
