#pragma once
// Number text: how the panel reads numbers out of box texts and writes them back.
//  - lenient reading: the number at the start of a text, blanks/tabs/line feeds skipped anywhere, 0 when
//    there is none; never fails;
//  - strict conversion: the whole text (blanks around it aside) must be a number;
//  - fixed patterns "0" .. "0.0000" and the general number form.
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace numtext {

// Leading number of a text; 0 when the text has none. Overflow saturates at the largest double.
double lenientValue(QStringView text);

// The whole trimmed text as a number, or nothing when it is not one (an empty text included).
std::optional<double> strictNumber(QStringView text);

// A value rounded to the nearest 16-bit Integer, halves to the even neighbour; nothing outside
// -32768..32767.
std::optional<int16_t> roundToInteger(double value);
// The greatest 16-bit Integer not above the value; nothing outside -32768..32767.
std::optional<int16_t> floorToInteger(double value);

// Strict conversion of a text to an Integer: rounded (halves to even) or cut to its whole part.
std::optional<int16_t> strictIntegerRounded(QStringView text);
std::optional<int16_t> strictIntegerFloor(QStringView text);

// The value written with exactly `decimals` decimals (0..4), rounded half away from zero on its
// 15-significant-digit decimal text; never "-0".
QString formatFixed(double value, int decimals);
// The pattern applied to a text: a text that is not a number passes unchanged.
QString formatFixed(QStringView text, int decimals);

// Shortest text of at most 15 significant digits; exponent form (1E-05, 1E+15) below 0.0001 and
// from 1E15 up.
QString generalForm(double value);

} // namespace numtext
