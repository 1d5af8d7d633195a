#include "panel/rules/SweepSegments.h"
#include "support/QtPrint.h"

#include <gtest/gtest.h>

TEST(SweepDecisions, SegmentTableOverlapsByATenth) {
    ASSERT_EQ(kSweepSegments.size(), 8u);
    EXPECT_DOUBLE_EQ(kSweepSegments[0].lower, 0.01);
    EXPECT_DOUBLE_EQ(kSweepSegments[0].upper, 1.5);
    for (std::size_t i = 1; i < kSweepSegments.size(); ++i) {
        EXPECT_DOUBLE_EQ(kSweepSegments[i].lower, kSweepSegments[i - 1].upper / 10) << i + 1;
        EXPECT_DOUBLE_EQ(kSweepSegments[i].upper, kSweepSegments[i].lower * 100) << i + 1;
    }
}

TEST(SweepDecisions, ChoosingASegment) {
    const struct {
        int number;
        const char *start, *stop, *span, *center;
    } cases[] = {
        {1, "0.01", "1.5", "1.49", "0.76"},
        {2, "0.15", "15", "14.85", "7.58"},
        {3, "1.5", "150", "148.50", "75.75"},
        {4, "15", "1500", "1485", "758"},
        {5, "150", "15000", "14850", "7575"},
        {6, "1500", "150000", "148500", "75800"},
        {8, "150000", "15000000", "14850000", "7575000"},
    };
    for (const auto& c : cases) {
        const SegmentTexts texts = segmentTexts(c.number);
        EXPECT_EQ(texts.start, QString(c.start)) << c.number;
        EXPECT_EQ(texts.stop, QString(c.stop)) << c.number;
        EXPECT_EQ(texts.span, QString(c.span)) << c.number;
        EXPECT_EQ(texts.center, QString(c.center)) << c.number;
    }
}

TEST(SweepDecisions, StartAgainstSegment) {
    const struct {
        double start;
        const char* stop;
        int segment;
        std::optional<SegmentMessage> message;
        const char *text, *step, *span, *center;
    } cases[] = {
        {1000, "2000", 5, {}, "1000.00", "0.01", "1000.00", "1500.00"},
        {1500050, "15000000", 8, {}, "1500100", "100", "13499900", "8250100"},
        {200000, "150000", 6, SegmentMessage::StartAbove, "1500.00", "0.01", "148500.00", "75750.00"},
        {150000, "", 6, SegmentMessage::StartAbove, "1500.00", "0.01", nullptr, nullptr},
        {100, "15000", 5, SegmentMessage::StartBelow, "150.00", "0.01", "14850.00", "7575.00"},
        {150, "15000", 5, {}, "150.00", "0.01", "14850.00", "7575.00"},
        {1500.04, "15000", 5, {}, "1500.1", "0.1", "13499.9", "8250.1"},
        {150004, "1500000", 7, {}, "150010", "10", "1349990", "825010"},
        {3000, "2000", 5, {}, "3000.0", "0.1", "-1000.0", "2500.0"},
    };
    for (const auto& c : cases) {
        const SweepEdgeResult result = sweepStart(c.start, c.stop, sweepSegment(c.segment));
        EXPECT_EQ(result.message, c.message) << c.start;
        EXPECT_EQ(result.text, QString(c.text)) << c.start;
        EXPECT_EQ(result.step, QString(c.step)) << c.start;
        EXPECT_EQ(result.span, c.span ? std::optional<QString>(c.span) : std::nullopt) << c.start;
        EXPECT_EQ(result.center, c.center ? std::optional<QString>(c.center) : std::nullopt) << c.start;
    }
}

TEST(SweepDecisions, StopAgainstSegment) {
    const struct {
        double stop;
        const char* start;
        int segment;
        std::optional<SegmentMessage> message;
        const char *text, *step, *span, *center;
    } cases[] = {
        {150, "1000", 5, SegmentMessage::StopBelow, "15000.0", "0.1", "14000.0", "8000.0"},
        {15000, "1000", 5, {}, "15000.0", "0.1", "14000.0", "8000.0"},
        {15001, "1000", 5, SegmentMessage::StopAbove, "15000.0", "0.1", "14000.0", "8000.0"},
        {2000, "1000.00", 5, {}, "2000.0", "0.1", "1000.0", "1500.0"},
        {1500049, "150000", 8, {}, "1500100", "100", "1350100", "825100"},
        {1200, "", 5, {}, "1200.00", "0.01", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const SweepEdgeResult result = sweepStop(c.stop, c.start, sweepSegment(c.segment));
        EXPECT_EQ(result.message, c.message) << c.stop;
        EXPECT_EQ(result.text, QString(c.text)) << c.stop;
        EXPECT_EQ(result.step, QString(c.step)) << c.stop;
        EXPECT_EQ(result.span, c.span ? std::optional<QString>(c.span) : std::nullopt) << c.stop;
        EXPECT_EQ(result.center, c.center ? std::optional<QString>(c.center) : std::nullopt) << c.stop;
    }
}

TEST(SweepDecisions, SpanAndCenterDeriveStartAndStop) {
    const struct {
        double span, center;
        int segment;
        const char* step;
        bool accepted;
        const char *start, *stop;
    } cases[] = {
        {1000, 1500, 5, "0.01", true, "1000.00", "2000.00"},
        {1000, 100, 5, "0.01", false, "", ""},
        {14850, 7575, 5, "1", true, "150", "15000"},
        {14852, 7575, 5, "1", false, "", ""},
        {1000000, 2000000, 8, "100", true, "1500000", "2500000"},
        {1005, 2000, 5, "10", true, "1500", "2500"},
        {1001, 2000, 5, "0.1", true, "1499.5", "2500.5"},
    };
    for (const auto& c : cases) {
        const SpanCenterResult result = sweepSpanCenter(c.span, c.center, sweepSegment(c.segment), c.step);
        EXPECT_EQ(result.accepted, c.accepted) << c.span << " " << c.center;
        EXPECT_EQ(result.start, QString(c.start)) << c.span << " " << c.center;
        EXPECT_EQ(result.stop, QString(c.stop)) << c.span << " " << c.center;
    }
}

TEST(SweepDecisions, SegmentMessagesHaveThreeLines) {
    EXPECT_EQ(segmentMessageText(SegmentMessage::StopAbove),
              QString("Sweep Stop Freq. is over than the upper bound the Current Sweep Segment.\r\n"
                      "Please switch Segment.\r\nDo you need help?"));
    EXPECT_TRUE(
        segmentMessageText(SegmentMessage::StartBelow)
            .startsWith("Sweep Start Freq. is less than the lower bound the Current Sweep Segment.\r\n"));
}
