#include "core/FormatByStep.h"
#include "core/NumberText.h"
#include "support/QtPrint.h"

#include <gtest/gtest.h>

using namespace numtext;
using Int = std::optional<int16_t>;

// clang-format off
TEST(NumberText, LenientReading) {
    const struct { const char* text; double value; } cases[] = {
        {"  12abc", 12}, {"1 2 3", 123}, {"-1.5e3x", -1500}, {".5", 0.5}, {"1e", 1}, {"1.2.3", 1.2}, {"abc", 0},
        {"", 0}, {"\t-\n7", -7}, {"+4.25", 4.25}, {"1e+", 1}, {"-", 0}, {"- 2", -2}, {"e5", 0}, {"--5", 0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(lenientValue(QString(c.text)), c.value) << c.text;
    EXPECT_GT(lenientValue(u"1e999"), 1e300); // saturates, never infinite
}

TEST(NumberText, StrictConversion) {
    const struct { const char* text; Int rounded, floor; } cases[] = {
        {"12", 12, 12}, {" 12 ", 12, 12}, {"2.5", 2, 2}, {"3.5", 4, 3}, {"-2.5", -2, -3}, {"2.7", 3, 2},
        {"32767", 32767, 32767}, {"32768", {}, {}}, {"-32768", -32768, -32768}, {"-32769", {}, {}},
        {"", {}, {}}, {"50%", {}, {}}, {"abc", {}, {}}, {"1e2", 100, 100}, {".", {}, {}}, {"32767.4", 32767, 32767}};
    for (const auto& c : cases) {
        EXPECT_EQ(strictIntegerRounded(QString(c.text)), c.rounded) << c.text;
        EXPECT_EQ(strictIntegerFloor(QString(c.text)), c.floor) << c.text;
    }
}

TEST(NumberText, FixedPatterns) {
    const struct { const char* text; int decimals; const char* expected; } cases[] = {
        {"1.005", 2, "1.01"}, {"2.675", 2, "2.68"}, {"0.125", 2, "0.13"}, {"-2.5", 0, "-3"},
        {"-0.001", 2, "0.00"}, {"-0.4", 0, "0"}, {"1000", 2, "1000.00"}, {"abc", 2, "abc"}, {"", 1, ""},
        {"12abc", 0, "12abc"}, {"9.995", 2, "10.00"}, {"0.00005", 4, "0.0001"}, {"1500.04", 1, "1500.0"},
        {"1E-05", 4, "0.0000"}, {" 7 ", 0, "7"}, {"99999.95", 1, "100000.0"}};
    for (const auto& c : cases)
        EXPECT_EQ(formatFixed(QString(c.text), c.decimals), QString(c.expected)) << c.text << " " << c.decimals;
}

TEST(NumberText, GeneralForm) {
    const struct { double value; const char* expected; } cases[] = {
        {1000, "1000"}, {0.5, "0.5"}, {1e-5, "1E-05"}, {1e15, "1E+15"}, {0.0001, "0.0001"}, {5.00 + 0.01, "5.01"},
        {0, "0"}, {1.5e-7, "1.5E-07"}, {123456789012345.0, "123456789012345"}, {0.005 - 0.01, "-0.005"}};
    for (const auto& c : cases)
        EXPECT_EQ(generalForm(c.value), QString(c.expected)) << c.value;
}

TEST(NumberText, FormatByStep) {
    // Exponent-form values are cut too, not passed through as "5E-05".
    const struct { double value; const char* step; const char* text; double corrected; } cases[] = {
        {1.499, "0.01", "1.49", 1.49}, {1.15, "0.01", "1.15", 1.15}, {1.15, "0.00", "1.15", 1.15},
        {-1.499, "0.01", "-1.49", -1.49}, {1500.04, "0.1", "1500.0", 1500}, {15000.3, "1", "15000", 15000},
        {150004, "10", "150000", 150000}, {1500050, "100", "1500100", 1500100},
        {1500049, "100", "1500000", 1500000}, {12345, "100", "12300", 12300}, {7.5, "5", "", 7.5},
        {0.00005, "1", "0", 0}, {0.0005, "10", "0", 0}, {1e-7, "0.01", "0.00", 0}};
    for (const auto& c : cases) {
        double value = c.value;
        EXPECT_EQ(FormatByStep(value, c.step), QString(c.text)) << c.value << " " << c.step;
        EXPECT_DOUBLE_EQ(value, c.corrected) << c.value << " " << c.step;
    }
}
// clang-format on
