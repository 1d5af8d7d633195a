#pragma once
// The sweep segments and the sweep frequency rules as decisions. A sweep lies inside one of eight
// overlapping frequency ranges; the user chooses the segment and every start, stop, span or center
// entry is tested against it. Frequencies are shown and stepped at the resolution of their band.
#include <QString>
#include <array>
#include <optional>

struct SweepSegment {
    double lower; // Hz
    double upper;
};

// Segments 1 to 8, in ascending order: segment n is kSweepSegments[n - 1].
extern const std::array<SweepSegment, 8> kSweepSegments;
// The segment with the given number; numbers outside 1..8 are taken as the nearest segment.
const SweepSegment& sweepSegment(int number);

struct FrequencyBand {
    double above;   // lower bound, exclusive (the lowest band starts at 0.01 inclusive)
    double upper;   // inclusive
    double raiseTo; // start and stop values below this are raised to it (0: none)
    const char* step;
};
// The band of a value, or nothing outside 0.01..15000000.
std::optional<FrequencyBand> frequencyBand(double value);

// The four frequency boxes after choosing a segment.
struct SegmentTexts {
    QString start, stop, span, center;
};
SegmentTexts segmentTexts(int number);

// The three-line segment questions.
enum class SegmentMessage { StartBelow, StartAbove, StopBelow, StopAbove };
QString segmentMessageText(SegmentMessage message);

// A start or stop entry confirmed.
struct SweepEdgeResult {
    std::optional<SegmentMessage> message;
    QString text;
    QString step; // also the span and center boxes' step
    // Span and center, when the other edge box holds text.
    std::optional<QString> span;
    std::optional<QString> center;
};
SweepEdgeResult sweepStart(double start, const QString& stopText, const SweepSegment& segment);
SweepEdgeResult sweepStop(double stop, const QString& startText, const SweepSegment& segment);

// A span or center entry confirmed: the start and stop it derives, when they fit the segment.
struct SpanCenterResult {
    bool accepted = false;
    QString start, stop;
};
SpanCenterResult sweepSpanCenter(double span, double center, const SweepSegment& segment,
                                 const QString& spanStep);
