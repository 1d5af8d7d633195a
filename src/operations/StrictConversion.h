#pragma once
// Conversions of box texts that an operation cannot go on without: they raise a numbered error,
// which the operation reports (the connection test) or ends on (Send, OK).
#include "core/NumberText.h"

#include <QString>
#include <cstdint>
#include <optional>

struct ConversionError {
    int number;
    QString description;
};

inline const ConversionError TypeMismatch{13, "Type mismatch"};
inline const ConversionError Overflow{6, "Overflow"};

// The whole text must be a number; it is rounded to an Integer, halves to even.
inline int16_t strictInteger(const QString& text) {
    const std::optional<double> value = numtext::strictNumber(text);
    if (!value) throw TypeMismatch;
    const std::optional<int16_t> rounded = numtext::roundToInteger(*value);
    if (!rounded) throw Overflow;
    return *rounded;
}

// The whole text must be a number; it is cut to the greatest Integer not above it.
inline int16_t strictWholePart(const QString& text) {
    const std::optional<double> value = numtext::strictNumber(text);
    if (!value) throw TypeMismatch;
    const std::optional<int16_t> whole = numtext::floorToInteger(*value);
    if (!whole) throw Overflow;
    return *whole;
}

// The leading number of the text, rounded to an Integer; only a value out of range fails.
inline int16_t roundedNumber(const QString& text) {
    const std::optional<int16_t> rounded = numtext::roundToInteger(numtext::lenientValue(text));
    if (!rounded) throw Overflow;
    return *rounded;
}
