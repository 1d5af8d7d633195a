#include "core/NumberText.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace numtext {

namespace {

bool isSkippedBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Whether a decimal text that no double can hold is too large rather than too small: the power of
// ten of its first non-zero digit, exponent included, is positive.
bool tooLarge(std::string_view ascii) {
    long long wholeDigits = 0;   // digits from the first non-zero one up to the point
    long long firstFraction = 0; // position after the point of the first non-zero digit
    bool pointSeen = false;
    size_t i = 0;
    for (long long position = 0; i < ascii.size() && ascii[i] != 'e'; ++i) {
        const char c = ascii[i];
        if (c == '.') {
            pointSeen = true;
        } else if (!pointSeen) {
            if (wholeDigits > 0 || c != '0') ++wholeDigits;
        } else if (++position; wholeDigits == 0 && firstFraction == 0 && c != '0') {
            firstFraction = position;
        }
    }
    if (wholeDigits == 0 && firstFraction == 0) return false; // zero fits any double
    long long exponent = 0;
    bool negativeExponent = false;
    if (i < ascii.size()) ++i; // the 'e'
    if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) negativeExponent = ascii[i++] == '-';
    for (; i < ascii.size(); ++i)
        exponent = std::min(exponent * 10 + (ascii[i] - '0'), 1'000'000'000LL);
    const long long order = wholeDigits > 0 ? wholeDigits - 1 : -firstFraction;
    return order + (negativeExponent ? -exponent : exponent) > 0;
}

// The text "[sign] digits [. digits] [e [sign] digits]" as a double, read with the decimal point
// whatever the C library's locale says: too large gives an infinity, too small 0.
double parseDecimal(std::string_view ascii) {
    const bool negative = !ascii.empty() && ascii.front() == '-';
    if (!ascii.empty() && (negative || ascii.front() == '+')) ascii.remove_prefix(1);
    double value = 0.0;
    if (std::from_chars(ascii.data(), ascii.data() + ascii.size(), value).ec ==
        std::errc::result_out_of_range)
        value = tooLarge(ascii) ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

double toDouble(const std::string& ascii) {
    if (ascii.empty()) return 0.0;
    double value = parseDecimal(ascii);
    if (std::isinf(value)) return value > 0 ? DBL_MAX : -DBL_MAX;
    if (std::isnan(value)) return 0.0;
    return value;
}

// Decimal digits d0.d1d2... times 10^exponent, sign apart: the value's 15-significant-digit text.
struct DecimalText {
    bool negative = false;
    std::string digits; // exactly 15 digits, first non-zero unless the value is 0
    int exponent = 0;   // decimal exponent of digits[0]
};

DecimalText decimalText(double value) {
    DecimalText d;
    char buffer[64];
    const char* end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14).ptr;
    const char* p = buffer;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; p != end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') d.digits.push_back(*p);
    if (p != end && *++p == '+') ++p; // "e+03" or "e-05"; the reading below takes no plus sign
    std::from_chars(p, end, d.exponent);
    return d;
}

} // namespace

double lenientValue(QStringView text) {
    std::string number;
    enum class State { Start, Mantissa, Exponent } state = State::Start;
    bool seenPoint = false;
    bool seenMantissaDigit = false;
    std::string exponentPart; // "e", "e-", "e-12": kept apart until it has a digit
    for (QChar c : text) {
        if (isSkippedBlank(c)) continue;
        if (state == State::Start) {
            state = State::Mantissa;
            if (c == u'+' || c == u'-') {
                number.push_back(char(c.unicode()));
                continue;
            }
        }
        if (state == State::Mantissa) {
            if (isDigit(c)) {
                number.push_back(char(c.unicode()));
                seenMantissaDigit = true;
            } else if (c == u'.' && !seenPoint) {
                number.push_back('.');
                seenPoint = true;
            } else if ((c == u'e' || c == u'E') && seenMantissaDigit) {
                exponentPart = "e";
                state = State::Exponent;
            } else {
                break;
            }
        } else { // exponent
            if (isDigit(c)) {
                exponentPart.push_back(char(c.unicode()));
            } else if ((c == u'+' || c == u'-') && exponentPart == "e") {
                exponentPart.push_back(char(c.unicode()));
            } else {
                break;
            }
        }
    }
    if (!seenMantissaDigit) return 0.0;
    if (!exponentPart.empty() && isDigit(QChar(exponentPart.back()))) number += exponentPart;
    return toDouble(number);
}

std::optional<double> strictNumber(QStringView text) {
    const QString trimmed = text.toString().trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    qsizetype i = 0;
    const qsizetype n = trimmed.size();
    std::string ascii;
    if (trimmed[i] == u'+' || trimmed[i] == u'-') ascii.push_back(char(trimmed[i++].unicode()));
    bool digits = false;
    while (i < n && isDigit(trimmed[i])) {
        ascii.push_back(char(trimmed[i++].unicode()));
        digits = true;
    }
    if (i < n && trimmed[i] == u'.') {
        ascii.push_back('.');
        ++i;
        while (i < n && isDigit(trimmed[i])) {
            ascii.push_back(char(trimmed[i++].unicode()));
            digits = true;
        }
    }
    if (!digits) return std::nullopt;
    if (i < n && (trimmed[i] == u'e' || trimmed[i] == u'E')) {
        ascii.push_back('e');
        ++i;
        if (i < n && (trimmed[i] == u'+' || trimmed[i] == u'-'))
            ascii.push_back(char(trimmed[i++].unicode()));
        bool exponentDigits = false;
        while (i < n && isDigit(trimmed[i])) {
            ascii.push_back(char(trimmed[i++].unicode()));
            exponentDigits = true;
        }
        if (!exponentDigits) return std::nullopt;
    }
    if (i != n) return std::nullopt;
    const double value = parseDecimal(ascii);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int16_t> roundToInteger(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = std::nearbyint(value); // default rounding mode: halves to even
    if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
    return static_cast<int16_t>(rounded);
}

std::optional<int16_t> floorToInteger(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double whole = std::floor(value);
    if (whole < -32768.0 || whole > 32767.0) return std::nullopt;
    return static_cast<int16_t>(whole);
}

std::optional<int16_t> strictIntegerRounded(QStringView text) {
    const auto value = strictNumber(text);
    return value ? roundToInteger(*value) : std::nullopt;
}

std::optional<int16_t> strictIntegerFloor(QStringView text) {
    const auto value = strictNumber(text);
    return value ? floorToInteger(*value) : std::nullopt;
}

QString formatFixed(double value, int decimals) {
    if (decimals < 0) decimals = 0;
    if (!std::isfinite(value)) value = 0.0;
    DecimalText d = decimalText(value);
    // Digits of the integer part and `decimals` fraction digits, as one whole number in `kept`,
    // with the first dropped digit deciding the rounding (half away from zero).
    std::string all; // digit string with an implied point after `pointAt` digits
    int pointAt = d.exponent + 1;
    all = d.digits;
    if (pointAt <= 0) {
        all.insert(0, std::string(size_t(1 - pointAt), '0'));
        pointAt = 1;
    }
    const size_t keep = size_t(pointAt + decimals);
    if (all.size() < keep + 1) all.append(keep + 1 - all.size(), '0');
    std::string kept = all.substr(0, keep);
    if (all[keep] >= '5') {
        int i = int(kept.size()) - 1;
        while (i >= 0 && kept[size_t(i)] == '9')
            kept[size_t(i--)] = '0';
        if (i >= 0)
            ++kept[size_t(i)];
        else {
            kept.insert(0, "1");
            ++pointAt;
        }
    }
    std::string integerPart = kept.substr(0, size_t(pointAt));
    const std::string fraction = kept.substr(size_t(pointAt));
    const size_t firstNonZero = integerPart.find_first_not_of('0');
    integerPart = firstNonZero == std::string::npos ? "0" : integerPart.substr(firstNonZero);
    const bool isZero = integerPart == "0" && fraction.find_first_not_of('0') == std::string::npos;
    std::string result = (d.negative && !isZero) ? "-" : "";
    result += integerPart;
    if (decimals > 0) result += "." + fraction;
    return QString::fromLatin1(result.c_str());
}

QString formatFixed(QStringView text, int decimals) {
    const auto value = strictNumber(text);
    return value ? formatFixed(*value, decimals) : text.toString();
}

QString generalForm(double value) {
    if (!std::isfinite(value)) value = 0.0;
    if (value == 0.0) return QStringLiteral("0");
    char buffer[64];
    const char* end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    QString text = QString::fromLatin1(buffer, end - buffer);
    const qsizetype e = text.indexOf(u'e');
    if (e >= 0) text[e] = u'E';
    return text;
}

} // namespace numtext
