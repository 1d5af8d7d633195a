#include "panel/rules/MainSetting.h"
#include "support/QtPrint.h"

#include <gtest/gtest.h>

TEST(MainSettingDecisions, FrequencyRangeEdges) {
    const struct {
        const char* typed;
        const char* text;
        const char* step;
    } cases[] = {
        // range edges beyond the typed cases of the window test
        {"15000", "15000.0", "0.1"},
        {"1500000", "1500000", "10"},
        {"15000000", "15000000", "100"},
        {"abc", "0.01", "0.01"},
        {"", "0.01", "0.01"},
        {"0.01", "0.01", "0.01"},
        {"14999999.99", "15000000", "100"},
        {"150015", "150020", "10"},
        {"1234.567", "1234.57", "0.01"},
        {"1500.1", "1500.1", "0.1"},
    };
    for (const auto& c : cases) {
        const MainFrequencyResult result = mainFrequency(c.typed);
        EXPECT_EQ(result.text, QString(c.text)) << c.typed;
        EXPECT_EQ(result.step, QString(c.step)) << c.typed;
    }
}

TEST(MainSettingDecisions, AmplitudeAgainstOffset) {
    const struct {
        const char* amplitude;
        const char* offset;
        const char* text;
    } cases[] = {
        {"abc", "2", "6.00"},
        {"3.456", "1", "3.46"},
        {"6", "2", "6.00"},
        {"0.005", "0", "10.00"},
        {"5", "5.00", "0.00"},
        {"5", "-2.5", "5.00"},
        {"9.99", "0", "9.99"},
        // an offset box still holding an unaccepted value beyond 5 V leaves no amplitude, never a negative
        // one
        {"5", "7", "0.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mainAmplitude(c.amplitude, c.offset), QString(c.text)) << c.amplitude << " / " << c.offset;
}

TEST(MainSettingDecisions, OffsetAgainstAmplitude) {
    const struct {
        const char* offset;
        const char* amplitude;
        const char* text;
    } cases[] = {
        {"-7", "0", "-5.00"},
        {"2.5", "5.00", "2.50"},
        {"1.234", "5", "1.23"},
        {"-5", "0.01", "-5.00"},
        {"-6", "2", "-4.00"},
        {"0", "5", "0.00"},
        // an amplitude box still holding an unaccepted value above 10 leaves no room for an offset
        {"-1", "12", "0.00"},
        {"1", "12", "0.00"},
        {"0", "11", "0.00"},
        {"abc", "12", "0.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mainOffset(c.offset, c.amplitude), QString(c.text)) << c.offset << " / " << c.amplitude;
}

TEST(MainSettingDecisions, Duty) {
    const struct {
        const char* typed;
        const char* text;
    } cases[] = {{"85", "80"}, {"80.4", "80"}, {"80.5", "80"}, {"19.5", "20"}, {"", "20"}, {"33", "33"}};
    for (const auto& c : cases)
        EXPECT_EQ(mainDuty(c.typed), QString(c.text)) << c.typed;
}
