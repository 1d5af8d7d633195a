// The groups' Enter rules driven through the real window: typed as a user types, confirmed with Return.
#include "rules_window.h"

namespace {
const QString kSuggest = "Please Change a Modulation Depth. Do you need a suggest value?";
const QString kNoMainFrequency = "Please Input the Freqence value of Main Setting";
using F = RecordField;
const auto Yes = UserDialogs::Answer::Yes, No = UserDialogs::Answer::No;
} // namespace

// One group per box: the box, the modulation kind chosen first, the record field that keeps its text
// and the field's width, the label it drives; then what is typed and "text/step" after Enter (the text
// alone where the step is not the point), followed by the label's text. The values are the rules' own
// tests; a row here tells the box's rule (and its rate band variant) from the other groups'.
TEST_F(RulesWindow, EnterFormatsStepsAndStores) {
    Panel& p = panel();
    p.chkSyncRateSym->setChecked(false);
    using Rows = std::vector<std::pair<const char*, const char*>>;
    const std::tuple<NumericBox*, QRadioButton*, std::optional<F>, int, QLabel*, Rows> groups[] = {
        // clang-format off
        {p.txtMainFreq, nullptr, F::MainFreq, 10, nullptr, {{"1500.04", "1500.1/0.1"}, {"150015", "150020/10"}}},
        {p.txtMainDuty, nullptr, std::nullopt, 0, nullptr, {{"80.5", "80"}}},
        {p.txtModRate, p.optModAM, F::AMRate, 6, nullptr, {{"1", "1/0.01"}, {"101", "200/100"}}},
        {p.txtModRate, p.optModFM, F::FMRate, 6, nullptr, {{"2500", "2500/100"}}},
        {p.txtSweepRate, nullptr, std::nullopt, 0, nullptr, {{"0.010", "0.010/1"}}},
        {p.txtTrgRate, nullptr, F::TriggerRate, 6, nullptr, {{"1.0", "1.0/0.01"}, {"0.010", "0.01/0.01"}}},
        {p.txtBurstPeriod, nullptr, std::nullopt, 0, p.lblBurstPeriodSec, {{"1", "1.00/0.01 1.0000sec"}}},
        {p.txtGatePeriod, nullptr, std::nullopt, 0, p.lblGatePeriod, {{"1", "1/1 1.000sec"}, {"", "0.01/0.01 100.000sec"}}},
        {p.txtModSpanDepth, p.optModAM, F::AMDepth, 6, nullptr, {{"33.6", "34/1"}}},
        // the main frequency 10000 holds a 15 % swing
        {p.txtModSpanDepth, p.optModFM, F::FMSpan, 6, nullptr, {{"7.46", "7.5/0.1"}}},
        {p.txtModSymmetry, p.optModAM, std::nullopt, 0, nullptr, {{"95", "90"}}},
        {p.txtModSymmetry, p.optModFM, F::FMSymmetry, 3, nullptr, {{"33", "33"}}},
        {p.txtTrgSymmetry, nullptr, std::nullopt, 0, nullptr, {{"33.4", "33"}}}, // stored only when left
        // clang-format on
    };
    for (const auto& [box, kind, field, width, label, rows] : groups) {
        if (kind) kind->click();
        for (const auto& [typed, expected] : rows) {
            SCOPED_TRACE(box->objectName().toStdString() + " " + typed);
            type(box, typed);
            EXPECT_EQ(box->BackColor(), ColorOrange);
            confirm(box);
            const QString text = QString(expected).contains('/') ? state(box) : look(box);
            EXPECT_EQ(label ? text + " " + label->text() : text, QString(expected));
            if (field) {
                EXPECT_EQ(window().record.text(*field), box->text().leftJustified(width));
            } else if (box == p.txtModSymmetry && kind == p.optModAM) {
                EXPECT_EQ(window().record.integer(F::AMSymmetry), box->text().toInt());
            }
        }
    }
    // the other kind's entries are left as they were
    EXPECT_EQ(window().record.text(F::AMRate) + QString::number(window().record.integer(F::AMSymmetry)),
              "200   90");
    EXPECT_TRUE(dialogs().messages.empty());
}

// Each box looks at the other only when its own rule runs; the other box is not re-checked.
TEST_F(RulesWindow, AmplitudeAndOffsetLimitEachOther) {
    Panel& p = panel();
    // amplitude typed (else the offset), the other box left unformatted, typed, the typed box after Enter
    const std::tuple<bool, const char*, const char*, const char*> cases[] = {
        {true, "3", "5", "4.00"}, {false, "5", "7", "2.50"}, {false, "12", "1", "0.00"}};
    for (const auto& [amplitude, otherText, typed, text] : cases) {
        NumericBox* box = amplitude ? p.txtMainAmp : p.txtMainDCOffset;
        NumericBox* other = amplitude ? p.txtMainDCOffset : p.txtMainAmp;
        preset(other, otherText);
        enter(box, typed);
        EXPECT_EQ(looks({box, other}), QString(text) + " " + otherText) << typed << " with " << otherText;
    }
}

// The FM swing around the main frequency must stay inside a sweep segment.
TEST_F(RulesWindow, FmSpanAgainstTheSweepSegments) {
    Panel& p = panel();
    p.optModFM->click();
    // main frequency, typed span, the answer to the question, the message, the span after Enter
    const std::tuple<const char*, const char*, UserDialogs::Answer, QString, const char*> cases[] = {
        {"1000", "15", Yes, "", "15.0"},          {"14000000", "10", Yes, kSuggest, "7.1"},
        {"14000000", "10", No, kSuggest, "10.0"}, {"20000000", "10", Yes, "", "10.0"}, // inside no segment
        {"", "20", Yes, kNoMainFrequency, "15"},
    };
    for (const auto& [mainFrequency, typed, answer, message, text] : cases) {
        SCOPED_TRACE(mainFrequency);
        preset(p.txtMainFreq, mainFrequency);
        dialogs().messages.clear();
        dialogs().answers = {answer};
        enter(p.txtModSpanDepth, typed);
        expectMessages(message);
        EXPECT_EQ(look(p.txtModSpanDepth), QString(text));
        EXPECT_EQ(window().record.text(RecordField::FMSpan), QString(text).leftJustified(6));
    }
}

TEST_F(RulesWindow, SwitchingModulationKindShowsTheRememberedValue) {
    Panel& p = panel();
    // the span remembered in the record (nullptr: never written), the text shown
    const std::pair<const char*, const char*> cases[] = {{"20", "15"}, {nullptr, "5"}, {"7.5", "7.5   "}};
    for (const auto& [remembered, shown] : cases) {
        p.optModAM->click();
        window().record.clear();
        window().record.setText(RecordField::AMDepth, "40");
        if (remembered) window().record.setText(RecordField::FMSpan, remembered);
        p.optModFM->click();
        EXPECT_EQ(look(p.txtModSpanDepth), QString(shown)) << (remembered ? remembered : "none");
        p.optModAM->click();
        EXPECT_EQ(look(p.txtModSpanDepth), "40    ");
    }
    EXPECT_EQ(p.txtModRate->text() + " " + p.txtModSymmetry->text(), "1000.0 50"); // kept as they were
}

// The rate and symmetry copies between the groups: what each Enter copies where, with and without the
// tick. Rates: sweep, modulation, trigger, burst, gate; symmetries: sweep, modulation, trigger.
TEST_F(RulesWindow, AcceptedRatesAndSymmetriesAreCopiedWhileTicked) {
    Panel& p = panel();
    // ticked, the box typed into, typed, the rates and symmetries after Enter
    const std::tuple<bool, NumericBox*, const char*, const char*, const char*> cases[] = {
        {true, p.txtModRate, "2500", "2500 2500 2500 2500 2500", "90 50 50"},
        {true, p.txtSweepRate, "101", "200 200 200 200 200", "90 50 50"},
        {true, p.txtModSymmetry, "95", "200 200 200 200 200", "90 90 90"},
        {false, p.txtModRate, "7", "200 7 200 200 200", "90 90 90"},
        // the trigger rate carries sweep and modulation along, never burst and gate
        {true, p.txtTrgRate, "260", "300 300 300 200 200", "90 90 90"},
        // burst and gate rates set the trigger rate always, the others only while ticked
        {false, p.txtBurstPeriod, "50", "300 300 50 50 200", "90 90 90"},
        {true, p.txtBurstPeriod, "20", "20 20 20 20 20", "90 90 90"},
        {true, p.txtGatePeriod, "100", "100 100 100 100 100", "90 90 90"},
        {false, p.txtGatePeriod, "1", "100 100 1 orange 100 1", "90 90 90"},
        {true, p.txtTrgSymmetry, "33.4", "100 100 1 orange 100 1", "33 33 33"},
        {false, p.txtSweepSymmetry, "", "100 100 1 orange 100 1", "10 33 33"},
    };
    for (const auto& [ticked, source, typed, rates, symmetries] : cases) {
        SCOPED_TRACE(source->objectName().toStdString() + " " + typed);
        p.chkSyncRateSym->setChecked(ticked);
        source->setFocus(); // the box left stores its own entry
        settle();
        window().record.setText(RecordField::AMRate, "kept");
        enter(source, typed);
        EXPECT_EQ(looks({p.txtSweepRate, p.txtModRate, p.txtTrgRate, p.txtBurstPeriod, p.txtGatePeriod}),
                  QString(rates));
        EXPECT_EQ(looks({p.txtSweepSymmetry, p.txtModSymmetry, p.txtTrgSymmetry}), QString(symmetries));
        EXPECT_EQ(window().record.text(RecordField::AMRate),
                  source == p.txtModRate ? p.txtModRate->text().leftJustified(6) : "kept  ");
    }
    // the copies ran no Enter rule: the receivers keep their steps
    EXPECT_EQ(p.txtSweepRate->Tag() + " " + p.txtModRate->Tag(), "100 1");
}
