#include "rules_window.h"

namespace {
const QString kSuggest = "Please Change a Modulation Depth. Do you need a suggest value?";
const QString kNoMainFrequency = "Please Input the Freqence value of Main Setting";
} // namespace

using ModulationWindow = RulesWindow;

TEST_F(ModulationWindow, RateBands) {
    Panel& p = panel();
    p.chkSyncRateSym->setChecked(false);
    const struct {
        const char *typed, *state;
    } cases[] = {
        {"12345", "10000/100"}, {"101", "200/100"},   {"150", "200/100"},  {"149", "100/100"},
        {"100", "100/1"},       {"1.01", "2/1"},      {"1", "1/0.01"},     {"0.5", "0.50/0.01"},
        {"99.6", "100/1"},      {"100.4", "100/100"}, {"1.0", "1.0/0.01"}, {"0.005", "0.01/0.01"},
        {"", "0.01/0.01"},      {"abc", "0.01/0.01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        enter(p.txtModRate, c.typed);
        EXPECT_EQ(state(p.txtModRate), QString(c.state));
        EXPECT_EQ(window().record.text(RecordField::AMRate), p.txtModRate->text().leftJustified(6));
    }
    type(p.txtModRate, "-5"); // a typed negative value is replaced at once
    EXPECT_EQ(state(p.txtModRate), "0.01/0.01 orange");
    p.optModFM->click();
    enter(p.txtModRate, "2500");
    EXPECT_EQ(window().record.text(RecordField::FMRate) + window().record.text(RecordField::AMRate),
              "2500  0.01  ");
}

TEST_F(ModulationWindow, DepthAndSpanClamps) {
    Panel& p = panel(); // main frequency 10000 holds a 15 % swing
    const struct {
        bool fm;
        const char *typed, *state;
    } cases[] = {
        {false, "0", "1/1"},       {false, "150", "100/1"},  {false, "33.6", "34/1"},
        {false, "", "1/1"},        {true, "20", "15/0.1"},   {true, "-3", "0/0.1"},
        {true, "7.46", "7.5/0.1"}, {true, "15", "15.0/0.1"}, {true, "0.5", "0.5/0.1"},
        {true, "", "0.0/0.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        (c.fm ? p.optModFM : p.optModAM)->click();
        enter(p.txtModSpanDepth, c.typed);
        EXPECT_EQ(state(p.txtModSpanDepth), QString(c.state));
        const RecordField field = c.fm ? RecordField::FMSpan : RecordField::AMDepth;
        EXPECT_EQ(window().record.text(field), p.txtModSpanDepth->text().leftJustified(6));
    }
    EXPECT_TRUE(dialogs().messages.empty());
}

// The FM swing around the main frequency must stay inside a sweep segment.
TEST_F(ModulationWindow, FmSpanAgainstTheSweepSegments) {
    Panel& p = panel();
    p.optModFM->click();
    const struct {
        const char *mainFrequency, *typed;
        UserDialogs::Answer answer;
        QString message;
        const char* text;
    } cases[] = {
        {"1000", "15", UserDialogs::Answer::Yes, "", "15.0"},
        {"1400", "10", UserDialogs::Answer::Yes, "", "10.0"},
        {"14000000", "10", UserDialogs::Answer::Yes, kSuggest, "7.1"},
        {"14000000", "10", UserDialogs::Answer::No, kSuggest, "10.0"},
        {"0.011", "15", UserDialogs::Answer::Yes, kSuggest, "9.1"},
        {"20000000", "10", UserDialogs::Answer::Yes, "", "10.0"},
        {"0.005", "10", UserDialogs::Answer::Yes, "", "10.0"},
        {"0.01", "0", UserDialogs::Answer::Yes, "", "0.0"}, // on the lowest limit: inside no segment
        {"", "20", UserDialogs::Answer::Yes, kNoMainFrequency, "15"},
        {"0", "5", UserDialogs::Answer::Yes, kNoMainFrequency, "5.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mainFrequency);
        preset(p.txtMainFreq, c.mainFrequency);
        dialogs().messages.clear();
        dialogs().answers = {c.answer};
        enter(p.txtModSpanDepth, c.typed);
        EXPECT_EQ(dialogs().texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(look(p.txtModSpanDepth), QString(c.text));
        EXPECT_EQ(window().record.text(RecordField::FMSpan), QString(c.text).leftJustified(6));
    }
}

TEST_F(ModulationWindow, SwitchingKindShowsTheRememberedValue) {
    Panel& p = panel();
    const struct {
        const char *rememberedSpan, *shown; // nullptr: never written
    } cases[] = {{"20", "15"}, {nullptr, "5"}, {"0", "5"}, {"7.5", "7.5   "}};
    for (const auto& c : cases) {
        p.optModAM->click();
        window().record.clear();
        window().record.setText(RecordField::AMDepth, "40");
        if (c.rememberedSpan) window().record.setText(RecordField::FMSpan, c.rememberedSpan);
        p.optModFM->click();
        EXPECT_EQ(look(p.txtModSpanDepth), QString(c.shown))
            << (c.rememberedSpan ? c.rememberedSpan : "none");
        p.optModAM->click();
        EXPECT_EQ(look(p.txtModSpanDepth), "40    ");
    }
    EXPECT_EQ(p.txtModRate->text() + " " + p.txtModSymmetry->text(), "1000.0 50"); // kept as they were
}

TEST_F(ModulationWindow, SymmetryAndItsRecordEntries) {
    Panel& p = panel();
    p.chkSyncRateSym->setChecked(false);
    const struct {
        const char *typed, *text;
    } cases[] = {{"95", "90"}, {"5", "10"}, {"49.6", "50"}, {"", "10"}};
    for (const auto& c : cases) {
        enter(p.txtModSymmetry, c.typed);
        const int stored = window().record.integer(RecordField::AMSymmetry);
        EXPECT_EQ(look(p.txtModSymmetry) + " " + QString::number(stored), QString("%1 %1").arg(c.text))
            << c.typed;
    }
    p.optModFM->click();
    enter(p.txtModSymmetry, "33");
    EXPECT_EQ(window().record.text(RecordField::FMSymmetry), "33 ");
    EXPECT_EQ(window().record.integer(RecordField::AMSymmetry), 10);
}

TEST_F(ModulationWindow, InternalSourceEnablesTheBoxes) {
    Panel& p = panel();
    const auto boxes = {p.txtModRate, p.txtModSymmetry, p.txtModSpanDepth};
    for (NumericBox* box : boxes)
        box->setEnabled(false);
    p.optModSource[3]->click();
    EXPECT_FALSE(p.txtModRate->isEnabled()); // the external source leaves them as they are
    p.optModSource[1]->click();
    for (NumericBox* box : boxes)
        EXPECT_TRUE(box->isEnabled()) << box->objectName().toStdString();
}
