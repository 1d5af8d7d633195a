#include "rules_typing.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QRadioButton>

namespace {
const QString kSuggest = "Please Change a Modulation Depth. Do you need a suggest value?";
const QString kNoMainFrequency = "Please Input the Freqence value of Main Setting";
} // namespace

class ModulationWindow : public WindowFixture {};

TEST_F(ModulationWindow, RateBands) {
    frmDXS& w = window();
    w.panel.chkSyncRateSym->setChecked(false);
    NumericBox* box = w.panel.txtModRate;
    const struct {
        const char* typed;
        const char* text;
        const char* step;
    } cases[] = {
        {"12345", "10000", "100"}, {"101", "200", "100"}, {"150", "200", "100"},   {"149", "100", "100"},
        {"100", "100", "1"},       {"1.01", "2", "1"},    {"1", "1", "0.01"},      {"0.5", "0.50", "0.01"},
        {"0.005", "0.01", "0.01"}, {"", "0.01", "0.01"},  {"abc", "0.01", "0.01"},
    };
    for (const auto& c : cases) {
        typeAndEnter(box, c.typed);
        EXPECT_EQ(box->text(), QString(c.text)) << c.typed;
        EXPECT_EQ(box->Tag(), QString(c.step)) << c.typed;
        EXPECT_EQ(box->BackColor(), ColorWhite) << c.typed;
        EXPECT_EQ(w.record.text(RecordField::AMRate), QString(c.text).leftJustified(6, ' ', true)) << c.typed;
    }
    // a typed negative value is replaced at once, before Enter
    typeInto(box, "-5");
    EXPECT_EQ(box->text(), QString("0.01"));
    EXPECT_EQ(box->Tag(), QString("0.01"));
    EXPECT_EQ(box->BackColor(), ColorOrange);

    w.panel.optModFM->click();
    typeAndEnter(box, "2500");
    EXPECT_EQ(w.record.text(RecordField::FMRate), QString("2500  "));
    EXPECT_EQ(w.record.text(RecordField::AMRate), QString("0.01  "));
}

TEST_F(ModulationWindow, RateStepsAcrossBands) {
    frmDXS& w = window();
    NumericBox* box = w.panel.txtModRate;
    const struct {
        const char* from;
        const char* step;
        Qt::Key key;
        const char* text;
        const char* newStep;
    } steps[] = {
        {"100", "1", Qt::Key_Up, "200", "100"},
        {"1", "0.01", Qt::Key_Up, "2", "1"},
        {"200", "100", Qt::Key_Down, "100", "1"},
        {"0.005", "0.01", Qt::Key_Down, "0.01", "0.01"},
    };
    for (const auto& s : steps) {
        preset(box, s.from, s.step);
        press(box, s.key);
        EXPECT_EQ(box->text(), QString(s.text)) << s.from;
        EXPECT_EQ(box->Tag(), QString(s.newStep)) << s.from;
        EXPECT_EQ(box->BackColor(), ColorWhite) << s.from;
    }
}

TEST_F(ModulationWindow, DepthAndSpanClamps) {
    frmDXS& w = window();
    NumericBox* box = w.panel.txtModSpanDepth;
    const struct {
        bool fm;
        const char* typed;
        const char* text;
        const char* step;
    } cases[] = {
        {false, "0", "1", "1"},    {false, "150", "100", "1"}, {false, "33.6", "34", "1"},
        {true, "20", "15", "0.1"}, {true, "-3", "0", "0.1"},   {true, "7.46", "7.5", "0.1"},
    };
    for (const auto& c : cases) {
        (c.fm ? w.panel.optModFM : w.panel.optModAM)->click();
        typeAndEnter(box, c.typed);
        EXPECT_EQ(box->text(), QString(c.text)) << c.typed;
        EXPECT_EQ(box->Tag(), QString(c.step)) << c.typed;
        EXPECT_EQ(box->BackColor(), ColorWhite) << c.typed;
        const RecordField field = c.fm ? RecordField::FMSpan : RecordField::AMDepth;
        EXPECT_EQ(w.record.text(field), QString(c.text).leftJustified(6)) << c.typed;
    }
    EXPECT_TRUE(dialogs().messages.empty()); // main frequency 10000 holds a 15 % swing
}

TEST_F(ModulationWindow, FmSpanAgainstTheSweepSegments) {
    frmDXS& w = window();
    w.panel.optModFM->click();
    NumericBox* box = w.panel.txtModSpanDepth;
    const struct {
        const char* mainFrequency;
        const char* typed;
        UserDialogs::Answer answer;
        QStringList messages;
        const char* text;
    } cases[] = {
        {"1000", "15", UserDialogs::Answer::Yes, {}, "15.0"},
        {"1400", "10", UserDialogs::Answer::Yes, {}, "10.0"},
        {"14000000", "10", UserDialogs::Answer::Yes, {kSuggest}, "7.1"},
        {"14000000", "10", UserDialogs::Answer::No, {kSuggest}, "10.0"},
        {"0.011", "15", UserDialogs::Answer::Yes, {kSuggest}, "9.1"},
        {"20000000", "10", UserDialogs::Answer::Yes, {}, "10.0"},
        {"0.005", "10", UserDialogs::Answer::Yes, {}, "10.0"},
        {"", "20", UserDialogs::Answer::Yes, {kNoMainFrequency}, "15"},
        {"0", "5", UserDialogs::Answer::Yes, {kNoMainFrequency}, "5.0"},
    };
    for (const auto& c : cases) {
        preset(w.panel.txtMainFreq, c.mainFrequency);
        dialogs().messages.clear();
        dialogs().answers = {c.answer};
        typeAndEnter(box, c.typed);
        EXPECT_EQ(dialogs().texts(), c.messages) << c.mainFrequency;
        if (!c.messages.isEmpty()) {
            const auto expected =
                c.messages[0] == kSuggest ? UserDialogs::Buttons::YesNo : UserDialogs::Buttons::Ok;
            EXPECT_EQ(dialogs().messages[0].buttons, expected) << c.mainFrequency;
        }
        EXPECT_EQ(box->text(), QString(c.text)) << c.mainFrequency;
        EXPECT_EQ(box->BackColor(), ColorWhite) << c.mainFrequency;
        EXPECT_EQ(w.record.text(RecordField::FMSpan), QString(c.text).leftJustified(6)) << c.mainFrequency;
    }
}

TEST_F(ModulationWindow, SwitchingKindShowsTheRememberedValue) {
    frmDXS& w = window();
    NumericBox* box = w.panel.txtModSpanDepth;
    const struct {
        const char* rememberedSpan; // nullptr: never written
        const char* shown;
    } cases[] = {{"20", "15"}, {nullptr, "5"}, {"0", "5"}, {"7.5", "7.5   "}};
    for (const auto& c : cases) {
        w.panel.optModAM->click();
        w.record.clear();
        w.record.setText(RecordField::AMDepth, "40");
        if (c.rememberedSpan) w.record.setText(RecordField::FMSpan, c.rememberedSpan);
        w.panel.optModFM->click();
        EXPECT_EQ(box->text(), QString(c.shown)) << (c.rememberedSpan ? c.rememberedSpan : "none");
        EXPECT_EQ(box->BackColor(), ColorWhite);
        w.panel.optModAM->click();
        EXPECT_EQ(box->text(), QString("40    "));
        EXPECT_EQ(box->BackColor(), ColorWhite);
    }
    // the rate and symmetry keep what they show
    EXPECT_EQ(w.panel.txtModRate->text(), QString("1000.0"));
    EXPECT_EQ(w.panel.txtModSymmetry->text(), QString("50"));
}

TEST_F(ModulationWindow, SymmetryAndItsRecordEntries) {
    frmDXS& w = window();
    w.panel.chkSyncRateSym->setChecked(false);
    NumericBox* box = w.panel.txtModSymmetry;
    const struct {
        const char* typed;
        const char* text;
    } cases[] = {{"95", "90"}, {"5", "10"}, {"49.6", "50"}, {"", "10"}};
    for (const auto& c : cases) {
        typeAndEnter(box, c.typed);
        EXPECT_EQ(box->text(), QString(c.text)) << c.typed;
        EXPECT_EQ(box->BackColor(), ColorWhite) << c.typed;
        EXPECT_EQ(w.record.integer(RecordField::AMSymmetry), QString(c.text).toInt()) << c.typed;
    }
    w.panel.optModFM->click();
    typeAndEnter(box, "33");
    EXPECT_EQ(w.record.text(RecordField::FMSymmetry), QString("33 "));
    EXPECT_EQ(w.record.integer(RecordField::AMSymmetry), 10);
    EXPECT_EQ(w.panel.txtSweepSymmetry->text(), QString("90")); // synchronisation off
}

TEST_F(ModulationWindow, InternalSourceEnablesTheBoxes) {
    frmDXS& w = window();
    for (NumericBox* box : {w.panel.txtModRate, w.panel.txtModSymmetry, w.panel.txtModSpanDepth})
        box->setEnabled(false);
    w.panel.optModSource[3]->click();
    EXPECT_FALSE(w.panel.txtModRate->isEnabled()); // the external source leaves them as they are
    w.panel.optModSource[1]->click();
    for (NumericBox* box : {w.panel.txtModRate, w.panel.txtModSymmetry, w.panel.txtModSpanDepth})
        EXPECT_TRUE(box->isEnabled()) << box->objectName().toStdString();
}
