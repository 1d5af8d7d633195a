// The panel's input rules without a window: texts in, texts and steps out, one table per group.
#include "panel/rules/BoxText.h"
#include "panel/rules/Burst.h"
#include "panel/rules/Gate.h"
#include "panel/rules/HelpPositions.h"
#include "panel/rules/MainSetting.h"
#include "panel/rules/Modulation.h"
#include "panel/rules/RateBand.h"
#include "panel/rules/SweepSegments.h"
#include "panel/rules/Synchronisation.h"
#include "panel/rules/Trigger.h"
#include "support/QtPrint.h"

#include <QStringList>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <string_view>

namespace {
// An optional text as the tables write it: "-" for none.
QString shown(const std::optional<QString>& text) {
    return text.value_or("-");
}
} // namespace

// clang-format off
TEST(Rules, MainSetting) {
    // the rule ('f' frequency, 'a' amplitude, 'o' offset, 'd' duty), the typed text, the other box
    // (offset for the amplitude, amplitude for the offset), then "text/step" or the text
    const struct { char rule; const char *typed, *other, *expected; } rows[] = {
        {'f', "1500", "", "1500.00/0.01"}, {'f', "1500.04", "", "1500.1/0.1"}, {'f', "15000.3", "", "15001/1"},
        {'f', "150000", "", "150000/1"}, {'f', "150004", "", "150010/10"}, {'f', "150015", "", "150020/10"},
        {'f', "1500000", "", "1500000/10"}, {'f', "1500049", "", "1500100/100"}, {'f', "12345678", "", "12345700/100"},
        {'f', "20000000", "", "15000000/100"}, {'f', "0.005", "", "0.01/0.01"}, {'f', "", "", "0.01/0.01"},
        {'f', "1.125", "", "1.13/0.01"}, {'a', "12", "0.00", "10.00"}, {'a', "5", "3", "4.00"}, {'a', "0", "1", "8.00"},
        {'a', "-1", "0", "10.00"}, {'a', "5", "-2.5", "5.00"}, {'a', "3.99", "3", "3.99"}, {'a', "5", "7", "0.00"},
        {'o', "7", "5.00", "2.50"}, {'o', "-4", "5.00", "-2.50"}, {'o', "5", "0", "5.00"}, {'o', "5", "0.01", "4.99"},
        {'o', "-5", "0.01", "-5.00"}, {'o', "-5.01", "0", "-5.00"}, {'o', "abc", "5.00", "abc"}, {'o', "-3", "12", "0.00"},
        {'d', "19.4", "", "20"}, {'d', "85", "", "80"}, {'d', "80.5", "", "80"}, {'d', "62.5", "", "63"},
        {'d', "abc", "", "20"}, {'d', "50abc", "", "50abc"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(1, r.rule) + " " + r.typed + " with " + r.other);
        const MainFrequencyResult f = mainFrequency(r.typed);
        const QString result = r.rule == 'f' ? f.text + "/" + f.step : r.rule == 'a' ? mainAmplitude(r.typed, r.other)
                               : r.rule == 'o' ? mainOffset(r.typed, r.other) : mainDuty(r.typed);
        EXPECT_EQ(result, QString(r.expected));
    }
}

TEST(Rules, RateBandsAndSymmetry) {
    // modulation and trigger 'm', sweep 's', burst 'b', gate 'g', open gate 'o': "text/step", "-": step kept
    const struct { char variant; const char *typed, *expected; } rows[] = {
        {'m', "12345", "10000/100"}, {'m', "101", "200/100"}, {'m', "150", "200/100"}, {'m', "149", "100/100"},
        {'m', "100", "100/1"}, {'m', "99.6", "100/1"}, {'m', "1.01", "2/1"}, {'m', "1.4", "1/1"}, {'m', "1", "1/0.01"},
        {'m', "1.0", "1.0/0.01"}, {'m', "0.5", "0.50/0.01"}, {'m', "0.01", "0.01/0.01"}, {'m', "0.005", "0.01/0.01"},
        {'s', "0.010", "0.010/-"}, {'s', "0.005", "0.01/0.01"}, {'s', "1", "1/0.01"}, {'b', "1", "1.00/0.01"},
        {'b', "101", "200/100"}, {'b', "1.01", "2/1"}, {'g', "100", "100/100"}, {'g', "101", "100/100"},
        {'g', "99.6", "100/1"}, {'g', "1.01", "1/1"}, {'g', "1", "1/1"}, {'g', "0.995", "1.00/0.01"},
        {'g', "0.009", "0.01/0.01"}, {'o', "50", "50/1"}, {'o', "0.005", "0.005/0.001"}, {'o', "0.001", "0.001/0.001"},
        {'o', "0.0005", "0.0005/-"}, {'o', "", "/-"},
    };
    const std::map<char, RateBandVariant> variants = {
        {'m', kTriggerRate}, {'s', kSweepRate}, {'b', kBurstRate}, {'g', kGateRate}, {'o', kOpenGateRate}};
    for (const auto& r : rows) {
        const RateBandResult result = rateBand(r.typed, variants.at(r.variant));
        EXPECT_EQ(result.text + "/" + shown(result.step), QString(r.expected)) << r.variant << " " << r.typed;
    }
    EXPECT_EQ(rateBand("1.0", kModulationRate).text, "1.0");
    // the symmetry boxes: a whole number from 10 to 90, rounded before the limits
    const std::pair<const char*, const char*> symmetries[] = {
        {"95", "90"}, {"90.5", "90"}, {"5", "10"}, {"9.5", "10"}, {"10.5", "11"}, {"33.4", "33"}, {"", "10"}};
    for (const auto& [typed, expected] : symmetries)
        EXPECT_EQ(symmetryText(typed), QString(expected)) << typed;
}

TEST(Rules, SweepSegments) {
    QStringList limits;
    for (int segment = 1; segment <= 8; ++segment)
        limits << QString::number(sweepSegment(segment).lower, 'g', 15) + "-" + QString::number(sweepSegment(segment).upper, 'g', 15);
    EXPECT_EQ(limits.join(' '), "0.01-1.5 0.15-15 1.5-150 15-1500 150-15000 1500-150000 15000-1500000 150000-15000000");
    // the four boxes after choosing a segment (0 and 9: the nearest one)
    const std::pair<int, const char*> chosen[] = {
        {1, "0.01 1.5 1.49 0.76"}, {3, "1.5 150 148.50 75.75"}, {4, "15 1500 1485 758"},
        {6, "1500 150000 148500 75800"}, {0, "0.01 1.5 1.49 0.76"}, {9, "150000 15000000 14850000 7575000"}};
    for (const auto& [segment, boxes] : chosen) {
        const SegmentTexts t = segmentTexts(segment);
        EXPECT_EQ(QStringList({t.start, t.stop, t.span, t.center}).join(' '), QString(boxes)) << segment;
    }
    // the resolution bands, "-" outside 0.01..15000000
    const std::pair<double, const char*> bands[] = {{15000000, "100"}, {1500000.01, "100"}, {1500000, "10"},
        {150000, "1"}, {15000, "0.1"}, {1500, "0.01"}, {0.01, "0.01"}, {0.0099, "-"}, {15000000.1, "-"}};
    for (const auto& [value, step] : bands)
        EXPECT_EQ(frequencyBand(value) ? QString(frequencyBand(value)->step) : "-", QString(step)) << value;
    // start or stop confirmed in a segment, the other edge's text: the message (S start, T stop, < below,
    // > above), then text, step, span and center ("-" not computed)
    const struct { bool start; int segment; double value; const char *other, *message, *expected; } edges[] = {
        {true, 8, 1500050, "15000000", "", "1500100 100 13499900 8250100"},
        {true, 7, 150004, "1500000", "", "150010 10 1349990 825010"},
        {true, 6, 200000, "150000", "S>", "1500.00 0.01 148500.00 75750.00"},
        {true, 5, 149.99, "15000", "S<", "150.00 0.01 14850.00 7575.00"},
        {true, 5, 150, "15000", "", "150.00 0.01 14850.00 7575.00"},
        {true, 5, 15000, "15000", "S>", "150.00 0.01 14850.00 7575.00"},
        {true, 5, 1500.05, "2000", "", "1500.1 0.1 499.9 1750.1"}, {true, 5, 1000, "", "", "1000.00 0.01 - -"},
        {false, 5, 150, "150", "T<", "15000.0 0.1 14850.0 7575.0"},
        {false, 5, 150.02, "150", "", "150.02 0.01 0.02 150.01"},
        {false, 5, 15000, "150", "", "15000.0 0.1 14850.0 7575.0"},
        {false, 5, 15001, "150", "T>", "15000.0 0.1 14850.0 7575.0"},
        {false, 8, 1500050, "150000", "", "1500100 100 1350100 825100"}, {false, 5, 2000, "", "", "2000.0 0.1 - -"},
    };
    const std::map<SegmentMessage, QString> messages = {{SegmentMessage::StartBelow, "S<"},
        {SegmentMessage::StartAbove, "S>"}, {SegmentMessage::StopBelow, "T<"}, {SegmentMessage::StopAbove, "T>"}};
    for (const auto& e : edges) {
        SCOPED_TRACE(testing::Message() << (e.start ? "start " : "stop ") << e.value << " in " << e.segment);
        const SweepSegment& segment = sweepSegment(e.segment);
        const SweepEdgeResult r = e.start ? sweepStart(e.value, e.other, segment) : sweepStop(e.value, e.other, segment);
        EXPECT_EQ(r.message ? messages.at(*r.message) : "", QString(e.message));
        EXPECT_EQ(QStringList({r.text, r.step, shown(r.span), shown(r.center)}).join(' '), QString(e.expected));
    }
    // span and center confirmed in segment 5, shown at the span box's step: start and stop, or "-" refused
    const struct { double span, center; const char *step, *expected; } derived[] = {
        {14850, 7575, "0.01", "150.00 15000.00"}, {14850, 7576, "0.01", "-"}, {14850, 7574, "0.01", "-"},
        {1000, 5050, "100", "4600 5600"}, {100, 1005, "10", "960 1060"}, {0.5, 1000, "0.1", "999.8 1000.3"}};
    for (const auto& d : derived) {
        const SpanCenterResult r = sweepSpanCenter(d.span, d.center, sweepSegment(5), d.step);
        EXPECT_EQ(r.accepted ? r.start + " " + r.stop : "-", QString(d.expected)) << d.span << " " << d.center;
    }
    EXPECT_EQ(segmentMessageText(SegmentMessage::StopAbove), "Sweep Stop Freq. is over than the upper bound the "
              "Current Sweep Segment.\r\nPlease switch Segment.\r\nDo you need help?");
}

TEST(Rules, Modulation) {
    // 'a' AM depth, 'f' FM span, 's' the span shown on switching to FM: typed or remembered, shown
    const std::tuple<char, const char*, const char*> clamps[] = {
        {'a', "0.9", "1"}, {'a', "1.5", "2"}, {'a', "99.5", "100"}, {'a', "100.4", "100"}, {'a', "", "1"},
        {'f', "15.04", "15"}, {'f', "15", "15.0"}, {'f', "7.25", "7.3"}, {'f', "-0.01", "0"}, {'f', "", "0.0"},
        {'s', "15.01", "15"}, {'s', "15", "15"}, {'s', "7.5   ", "7.5   "}, {'s', "0.0", "5"}, {'s', "", "5"}};
    for (const auto& [rule, typed, expected] : clamps) {
        const QString result = rule == 'a' ? amDepthText(typed) : rule == 'f' ? fmSpanText(typed) : fmSpanOnSwitch(typed);
        EXPECT_EQ(result, QString(expected)) << rule << " " << typed;
    }
    // the FM swing around the main frequency: accepted, the last segment holding it (0: none), and the
    // suggestion from that segment
    const struct { double frequency, span; bool accepted; int segment; const char* suggestion; } swings[] = {
        {1000, 15, true, 4, "15.0"}, {1400, 10, true, 5, "15.0"}, {1500, 1, true, 5, "15.0"},
        {14000000, 10, false, 8, "7.1"}, {0.011, 15, false, 1, "9.1"}, {1450, 15, true, 5, "15.0"},
        {20000000, 10, false, 0, ""}, {0.01, 0, false, 0, ""}};
    for (const auto& s : swings) {
        SCOPED_TRACE(testing::Message() << s.frequency << " " << s.span);
        const FmSwingCheck check = checkFmSwing(s.frequency, s.span);
        EXPECT_EQ(check.accepted, s.accepted);
        EXPECT_EQ(check.lastContaining, s.segment);
        EXPECT_EQ(s.segment ? suggestedFmSpan(s.frequency, s.segment) : "", QString(s.suggestion));
    }
    EXPECT_EQ(suggestedFmSpan(1450, 4), "3.4");
}

TEST(Rules, TriggerPhase) {
    const std::pair<const char*, const char*> phases[] = {{"12.7", "13"}, {"2.5", "3"}, {"-100", "-90"},
        {"-90.5", "-90"}, {"-89.5", "-90"}, {"80.5", "80"}, {"-0.4", "0"}, {"4.", "4"}, {"-", "0"}, {"", "0"}};
    for (const auto& [pasted, expected] : phases)
        EXPECT_EQ(trigger::phaseText(QString(pasted)), QString(expected)) << pasted;
    // the caret noted, the new text, where the caret goes back
    const std::tuple<int, const char*, int> carets[] = {{1, "80", 1}, {3, "80", 2}, {0, "-45", 0}, {5, "0", 1}};
    for (const auto& [noted, text, caret] : carets)
        EXPECT_EQ(trigger::phaseCaret(noted, text), caret) << noted << " " << text;
}

TEST(Rules, Burst) {
    using Count = burst::CountEntry::Kind;
    // the count typed: what it asks for, its whole text, whether it needs Multi
    const std::tuple<const char*, Count, const char*, bool> counts[] = {
        {"", Count::Nothing, "", false}, {"abc", Count::Nothing, "", false}, {"-3", Count::Negative, "", false},
        {"1", Count::Count, "1", false}, {"1.4", Count::Count, "1", false}, {"1.5", Count::Count, "2", true},
        {"0.4", Count::Count, "0", false}};
    for (const auto& [typed, kind, whole, multi] : counts) {
        const burst::CountEntry entry = burst::readCount(QString(typed));
        EXPECT_EQ(entry.kind, kind) << typed;
        EXPECT_EQ(entry.wholeText, QString(whole)) << typed;
        EXPECT_EQ(kind == Count::Count && burst::needsMulti(entry.count), multi) << typed;
    }
    using Share = burst::CountShare::Kind;
    // count, main frequency, burst rate: the outcome and the share
    const std::tuple<double, const char*, const char*, Share, const char*> shares[] = {
        {5, "1000", "100", Share::Fits, "50"}, {1, "10000", "100", Share::Fits, "10"},
        {10, "1000", "100", Share::Fits, "90"}, {2, "8", "0.5", Share::Fits, "13"},
        {11, "1000", "100", Share::TooLong, ""}, {5, "0", "100", Share::NeedMainFrequency, ""},
        {5, "abc", "", Share::NeedMainFrequency, ""}, {5, "1000", "0", Share::NeedBurstRate, ""}};
    for (const auto& [count, mainFreq, rate, kind, share] : shares) {
        SCOPED_TRACE(testing::Message() << count << " at " << mainFreq << " rate " << rate);
        const burst::CountShare result = burst::shareOfPeriod(count, QString(mainFreq), QString(rate));
        EXPECT_EQ(result.kind, kind);
        EXPECT_EQ(result.shareText + "|" + QString::number(result.share), QString("%1|%2").arg(share).arg(atoi(share)));
    }
    using Tuning = burst::FineTuning; // only an empty text is missing
    const std::tuple<const char*, const char*, Tuning> tunings[] = {{"0", "0", Tuning::Apply},
        {"", "", Tuning::NeedMainFrequency}, {"1000", "", Tuning::NeedBurstRate}};
    for (const auto& [mainFreq, rate, expected] : tunings)
        EXPECT_EQ(burst::checkFineTuning(QString(mainFreq), QString(rate)), expected) << mainFreq << " " << rate;
    EXPECT_EQ(burst::periodLabel(50) + burst::periodLabel(3) + burst::periodLabel(0.01), "0.0200sec0.3333sec100.0000sec");
}

TEST(Rules, Gate) {
    using Kind = gate::OpenGateCheck::Kind;
    // open gate, gate rate, main frequency: the outcome, then the open-time label, the replacement text
    // and label, and the share ("?" when the main frequency is wanted)
    const std::tuple<const char*, const char*, const char*, Kind, const char*> rows[] = {
        {"1000", "100", "1000.0", Kind::Fits, "0.0010sec|||10"}, {"10000", "1", "1000.0", Kind::Fits, "0.0001sec|||0"},
        {"8", "1", "1000.0", Kind::Fits, "0.1250sec|||13"}, {"400", "100", "0", Kind::Fits, "0.0025sec|||?"},
        {"50", "100", "1000.0", Kind::NotShorter, "0.0200sec|100|0.0100sec|"},
        {"100", "100", "1000.0", Kind::NotShorter, "0.0100sec|100|0.0100sec|"},
        {"0.25", "0.5", "1000.0", Kind::NotShorter, "4.0000sec|0.5|2.0000sec|"},
        {"400", "0", "1000.0", Kind::NeedGateRate, "|||"}, {"-5", "100", "1000.0", Kind::Skip, "|||"},
        {"abc", "", "1000.0", Kind::Skip, "|||"},
    };
    for (const auto& [open, gateRate, mainFreq, kind, expected] : rows) {
        SCOPED_TRACE(std::string("open ") + open + " gate " + gateRate + " main " + mainFreq);
        const gate::OpenGateCheck c = gate::checkOpenGate(QString(open), QString(gateRate), QString(mainFreq));
        EXPECT_EQ(c.kind, kind);
        EXPECT_EQ(QStringList({c.openLabel, c.replacementText, c.replacementLabel,
                               c.needMainFrequency ? "?" : c.shareText}).join('|'), QString(expected));
    }
    EXPECT_EQ(gate::gatePeriodLabel(100) + gate::gatePeriodLabel(10000) + gate::gatePeriodLabel(0.01),
              "0.010sec0.000sec100.000sec");
}

TEST(Rules, BoxText) {
    // a value to work on: what a leading number reads as, spaces skipped
    const std::pair<const char*, bool> texts[] = {{"", true}, {"0", true},     {"0.000", true},  {"  0 ", true},
                                                  {"abc", true}, {"-0", true}, {"0.01", false}, {"-5", false},
                                                  {"5abc", false}, {"1e-3", false}};
    for (const auto& [text, emptyOrZero] : texts)
        EXPECT_EQ(isEmptyOrZero(QString(text)), emptyOrZero) << text;
    EXPECT_EQ(QStringList({secondsLabel(0.02, 4), secondsLabel(0.01, 3), secondsLabel(100, 3), secondsLabel(0.0001, 3)})
                  .join(' '),
              "0.0200sec 0.010sec 100.000sec 0.000sec");
}

TEST(Rules, Synchronisation) {
    // the copies in order; "receiver<box" where the text comes from another box than the source
    const std::pair<const char*, const char*> rows[] = {
        {"txtModRate", "txtSweepRate txtTrgRate txtBurstPeriod txtGatePeriod"},
        {"txtSweepRate", "txtModRate txtTrgRate txtBurstPeriod<txtModRate txtGatePeriod<txtModRate"},
        {"txtTrgRate", "txtSweepRate txtModRate"},
        {"txtBurstPeriod", "txtModRate txtTrgRate txtSweepRate txtGatePeriod"},
        {"txtGatePeriod", "txtModRate txtTrgRate txtBurstPeriod txtSweepRate"},
        {"txtModSymmetry", "txtSweepSymmetry txtTrgSymmetry"}, {"txtSweepSymmetry", "txtModSymmetry txtTrgSymmetry"},
        {"txtTrgSymmetry", "txtModSymmetry txtSweepSymmetry"}, {"txtTrgPhase", ""}, {"txtOpenGatePeriod", ""},
    };
    for (const auto& [source, expected] : rows) {
        QStringList copies;
        for (const SyncCopy& copy : synchronisedCopies(QString(source)))
            copies << (copy.from == std::string_view(source) ? QString(copy.receiver)
                                                              : QString("%1<%2").arg(copy.receiver, copy.from));
        EXPECT_EQ(copies.join(' '), QString(expected)) << source;
    }
}

TEST(Rules, HelpPositions) {
    // each caption label and caption panel by index: the caption and where its passage starts
    const char* const labels = "Function: 2278|Amplitude: 2865|DC OFFSET : 2865|Frequency : 2474|DUTY : 3265|"
        "Model : 3384|SPAN: 4205|Symmetry : 5182|Start Freq : 3571|Stop Freq : 3571|Center Freq : 4205|"
        "Sweep Rate: 4950|SPAN(Depth): 6708|Trigger Type : 7311|Rate: 8875|Symmetry : 9097|Symmetry : 6515|"
        "Rate: 6335|Model : 5664|COM Port : 0|Trigger Phase: 9236|Burst Period : 9774|Burst Count : 9977|"
        "Count Fine Tuning: 10522|Open Gate Period : 12215|Gate Period : 12013|Segment : 0";
    const char* const panels = "Sweep Function: 5359|Modulation Function: 7905|Source : 5883|"
        "Trigger Function: 9400|Source: 8460|Burst Function: 11415|Source: 10163|Gate Function: 12780|"
        "Source: 12382|Gate Time : 13832|External Counter Function: 14044";
    const auto listed = [](const auto& passages) {
        QStringList list;
        for (int i = 0; i < int(passages.size()); ++i) {
            EXPECT_EQ(passages[i].index, i) << passages[i].caption;
            list << QString("%1 %2").arg(passages[i].caption).arg(passages[i].position);
        }
        return list.join('|');
    };
    EXPECT_EQ(listed(kLabelPassages), labels);
    EXPECT_EQ(listed(kPanelPassages), panels);
    EXPECT_EQ(HelpClickOffset, 200);
}
// clang-format on

// The comma-decimal run really runs under that locale.
TEST(Rules, CommaLocaleInForceWhenAsked) {
    if (qEnvironmentVariableIsEmpty("DXS_COMMA_DECIMAL")) GTEST_SKIP() << "not the comma-decimal run";
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
}

// The user's locale in force, as in the program, where the application object sets it.
int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
