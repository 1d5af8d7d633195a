#include "rules_window.h"

using MainSettingWindow = RulesWindow;

TEST_F(MainSettingWindow, FrequencyFormatsStepsAndStores) {
    NumericBox* box = panel().txtMainFreq;
    const struct {
        const char *typed, *state;
    } cases[] = {
        {"1500", "1500.00/0.01"},     {"1500.04", "1500.1/0.1"},       {"15000.3", "15001/1"},
        {"150004", "150010/10"},      {"1500049", "1500100/100"},      {"12345678", "12345700/100"},
        {"20000000", "15000000/100"}, {"0.005", "0.01/0.01"},          {"-3", "0.01/0.01"},
        {"15000", "15000.0/0.1"},     {"14999999.99", "15000000/100"}, {"abc", "0.01/0.01"},
        {"1234.567", "1234.57/0.01"}, {"150015", "150020/10"},         {"150000", "150000/1"},
        {"1500000", "1500000/10"},    {"15000000", "15000000/100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        type(box, c.typed);
        EXPECT_EQ(box->BackColor(), ColorOrange);
        press(box, Qt::Key_Return);
        EXPECT_EQ(state(box), QString(c.state));
        EXPECT_EQ(window().record.text(RecordField::MainFreq), box->text().leftJustified(10));
    }
    // a stepped value waits for Enter to be formatted
    enter(box, "1500");
    press(box, Qt::Key_Up);
    EXPECT_EQ(state(box), "1500.01/0.01 orange");
    press(box, Qt::Key_Up);
    press(box, Qt::Key_Return);
    EXPECT_EQ(state(box), "1500.1/0.1");
}

// Each box looks at the other only when its own rule runs; the other box is not re-checked.
TEST_F(MainSettingWindow, AmplitudeAndOffsetLimitEachOther) {
    Panel& p = panel();
    const struct {
        bool amplitude; // else the offset is typed
        const char *other, *typed, *text;
    } cases[] = {
        {true, "0.00", "12", "10.00"},
        {true, "3", "5", "4.00"},
        {true, "1", "0", "8.00"},
        {true, "0", "-1", "10.00"},
        {true, "-2.5", "5", "5.00"},
        {true, "7", "5", "0.00"}, // an unaccepted offset beyond 5 V: no amplitude, never a negative one
        {false, "5.00", "7", "2.50"},
        {false, "5.00", "-4", "-2.50"},
        {false, "0", "5", "5.00"},
        {false, "0.01", "5", "4.99"},
        {false, "0.01", "3", "3.00"},
        {false, "5.00", "abc", "abc"},
        {false, "12", "-3", "0.00"}, // an unaccepted amplitude above 10: no offset, never "--1"
        {false, "12", "1", "0.00"},
        {false, "11", "0", "0.00"},
    };
    for (const auto& c : cases) {
        NumericBox* box = c.amplitude ? p.txtMainAmp : p.txtMainDCOffset;
        NumericBox* other = c.amplitude ? p.txtMainDCOffset : p.txtMainAmp;
        preset(other, c.other);
        enter(box, c.typed);
        EXPECT_EQ(look(box), QString(c.text)) << c.typed << " with " << c.other;
        EXPECT_EQ(look(other), QString(c.other)) << c.typed;
    }
}

TEST_F(MainSettingWindow, Duty) {
    NumericBox* box = panel().txtMainDuty;
    const struct {
        const char *typed, *text;
    } cases[] = {{"10", "20"},   {"85", "80"},  {"49.5", "50"},
                 {"80.5", "80"}, {"abc", "20"}, {"50abc", "50abc"}};
    for (const auto& c : cases) {
        enter(box, c.typed);
        EXPECT_EQ(look(box), QString(c.text)) << c.typed;
    }
}
