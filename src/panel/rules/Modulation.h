#pragma once
// The modulation rules as decisions: AM depth and FM span clamps and the check that an FM swing
// around the main frequency stays inside one sweep segment.
#include <QString>

// AM depth: a whole percentage from 1 to 100 (step "1").
QString amDepthText(const QString& text);
// FM span: 0 to 15 percent with one decimal (step "0.1").
QString fmSpanText(const QString& text);

struct FmSwingCheck {
    bool accepted = false;
    int lastContaining = 0; // the last segment holding the main frequency strictly inside; 0: none
};
// Tries the segments in order: the first one holding f strictly inside whose limits also hold the
// swing f ± span% strictly inside accepts.
FmSwingCheck checkFmSwing(double mainFrequency, double spanPercent);
// The largest span (capped at 15, one decimal) that fits the segment around the main frequency.
QString suggestedFmSpan(double mainFrequency, int segmentNumber);

// What switching to FM shows: the remembered span capped at 15, or 5 when there is none.
QString fmSpanOnSwitch(const QString& remembered);

// The message texts of the span check.
extern const char* const kNoMainFrequencyText;
extern const char* const kSuggestSpanText;
