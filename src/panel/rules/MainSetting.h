#pragma once
// The main setting's Enter rules as decisions: the box texts in, the new text (and step) out.
#include <QString>

struct MainFrequencyResult {
    QString text;
    QString step;
};

// Frequency: 0.01 Hz to 15 MHz, shown and stepped at the resolution of its range.
MainFrequencyResult mainFrequency(const QString& text);
// Amplitude: at most 10 Vpp together with twice the offset; below 0.01 it becomes the largest allowed.
QString mainAmplitude(const QString& amplitudeText, const QString& offsetText);
// DC offset: -5..5 V, and twice its magnitude plus the amplitude at most 10 (positive at most 4.99
// when the amplitude caps it).
QString mainOffset(const QString& offsetText, const QString& amplitudeText);
// Duty cycle: a whole number from 20 to 80.
QString mainDuty(const QString& text);
