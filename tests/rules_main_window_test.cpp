#include "rules_typing.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

class MainSettingWindow : public WindowFixture {};

TEST_F(MainSettingWindow, FrequencyEnterFormatsStepsAndStores) {
    frmDXS& w = window();
    NumericBox* box = w.panel.txtMainFreq;
    const struct {
        const char* typed;
        const char* text;
        const char* step;
    } cases[] = {
        {"1500", "1500.00", "0.01"},     {"1500.04", "1500.1", "0.1"},  {"15000.3", "15001", "1"},
        {"150004", "150010", "10"},      {"1500049", "1500100", "100"}, {"12345678", "12345700", "100"},
        {"20000000", "15000000", "100"}, {"0.005", "0.01", "0.01"},     {"-3", "0.01", "0.01"},
        {"2500", "2500.0", "0.1"},       {"150000", "150000", "1"},
    };
    for (const auto& c : cases) {
        typeInto(box, c.typed);
        EXPECT_EQ(box->BackColor(), ColorOrange) << c.typed;
        press(box, Qt::Key_Return);
        EXPECT_EQ(box->text(), QString(c.text)) << c.typed;
        EXPECT_EQ(box->Tag(), QString(c.step)) << c.typed;
        EXPECT_EQ(box->BackColor(), ColorWhite) << c.typed;
        EXPECT_EQ(w.record.text(RecordField::MainFreq), QString(c.text).leftJustified(10, ' ', true))
            << c.typed;
    }
}

TEST_F(MainSettingWindow, AmplitudeAndOffsetLimitEachOther) {
    frmDXS& w = window();
    const struct {
        NumericBox* Panel::*box;
        NumericBox* Panel::*other;
        const char* typed;
        const char* otherText;
        const char* text;
    } cases[] = {
        {&Panel::txtMainAmp, &Panel::txtMainDCOffset, "12", "0.00", "10.00"},
        {&Panel::txtMainAmp, &Panel::txtMainDCOffset, "5", "3", "4.00"},
        {&Panel::txtMainAmp, &Panel::txtMainDCOffset, "0", "1", "8.00"},
        {&Panel::txtMainAmp, &Panel::txtMainDCOffset, "-1", "0", "10.00"},
        {&Panel::txtMainDCOffset, &Panel::txtMainAmp, "7", "5.00", "2.50"},
        {&Panel::txtMainDCOffset, &Panel::txtMainAmp, "-4", "5.00", "-2.50"},
        {&Panel::txtMainDCOffset, &Panel::txtMainAmp, "3", "0.01", "3.00"},
        {&Panel::txtMainDCOffset, &Panel::txtMainAmp, "5", "0", "5.00"},
        {&Panel::txtMainDCOffset, &Panel::txtMainAmp, "5", "0.01", "4.99"},
        {&Panel::txtMainDCOffset, &Panel::txtMainAmp, "abc", "5.00", "abc"},
        // an amplitude still unaccepted above 10 leaves the offset no room, never "--1"
        {&Panel::txtMainDCOffset, &Panel::txtMainAmp, "-3", "12", "0.00"},
    };
    for (const auto& c : cases) {
        NumericBox* box = w.panel.*c.box;
        NumericBox* other = w.panel.*c.other;
        preset(other, c.otherText);
        typeAndEnter(box, c.typed);
        EXPECT_EQ(box->text(), QString(c.text)) << c.typed << " with " << c.otherText;
        EXPECT_EQ(box->BackColor(), ColorWhite) << c.typed;
        // the other box is not re-checked
        EXPECT_EQ(other->text(), QString(c.otherText)) << c.typed;
    }
}

TEST_F(MainSettingWindow, Duty) {
    frmDXS& w = window();
    NumericBox* box = w.panel.txtMainDuty;
    const struct {
        const char* typed;
        const char* text;
    } cases[] = {{"10", "20"}, {"85", "80"}, {"49.5", "50"}, {"abc", "20"}, {"50abc", "50abc"}};
    for (const auto& c : cases) {
        typeAndEnter(box, c.typed);
        EXPECT_EQ(box->text(), QString(c.text)) << c.typed;
        EXPECT_EQ(box->BackColor(), ColorWhite) << c.typed;
    }
}

TEST_F(MainSettingWindow, SteppedFrequencyWaitsForEnter) {
    frmDXS& w = window();
    NumericBox* box = w.panel.txtMainFreq;
    typeAndEnter(box, "1500");
    press(box, Qt::Key_Up);
    EXPECT_EQ(box->text(), QString("1500.01"));
    EXPECT_EQ(box->BackColor(), ColorOrange);
    press(box, Qt::Key_Up);
    press(box, Qt::Key_Return);
    EXPECT_EQ(box->text(), QString("1500.1"));
    EXPECT_EQ(box->Tag(), QString("0.1"));
}
