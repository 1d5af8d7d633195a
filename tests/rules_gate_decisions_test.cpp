#include "panel/rules/Gate.h"
#include "panel/rules/RateBand.h"
#include "support/QtPrint.h"

#include <gtest/gtest.h>

using gate::OpenGateCheck;

TEST(GateDecisions, TimeLabels) {
    EXPECT_EQ(gate::gatePeriodLabel(100), "0.010sec");
    EXPECT_EQ(gate::gatePeriodLabel(0.5), "2.000sec");
    EXPECT_EQ(gate::gatePeriodLabel(10000), "0.000sec");
    EXPECT_EQ(gate::gatePeriodLabel(0.01), "100.000sec");
    EXPECT_EQ(gate::openTimeLabel(0.001), "0.0010sec");
}

TEST(GateDecisions, OpenGateAgainstTheGatePeriod) {
    const struct {
        const char* open;
        const char* gate;
        const char* mainFreq;
        OpenGateCheck::Kind kind;
        const char* label;       // the open time, or the gate period once replaced
        const char* replacement; // the open box's new text when replaced
        const char* share;       // empty: no share written
    } cases[] = {
        {"1000", "100", "1000", OpenGateCheck::Kind::Fits, "0.0010sec", "", "10"},
        {"400", "100", "1000", OpenGateCheck::Kind::Fits, "0.0025sec", "", "25"},
        {"10000", "1", "1000", OpenGateCheck::Kind::Fits, "0.0001sec", "", "0"},
        {"1000", "100", "", OpenGateCheck::Kind::Fits, "0.0010sec", "", ""},
        {"50", "100", "1000", OpenGateCheck::Kind::NotShorter, "0.0100sec", "100", ""},
        {"100", "100", "1000", OpenGateCheck::Kind::NotShorter, "0.0100sec", "100", ""},
        {"0.0005", "100", "1000", OpenGateCheck::Kind::NotShorter, "0.0100sec", "100", ""},
        {"10", "0.50", "1000", OpenGateCheck::Kind::Fits, "0.1000sec", "", "5"},
        {"0.2", "0.50", "1000", OpenGateCheck::Kind::NotShorter, "2.0000sec", "0.5", ""},
        {"400", "", "1000", OpenGateCheck::Kind::NeedGateRate, "", "", ""},
        {"400", "0", "1000", OpenGateCheck::Kind::NeedGateRate, "", "", ""},
        {"", "100", "1000", OpenGateCheck::Kind::Skip, "", "", ""},
        {"abc", "100", "1000", OpenGateCheck::Kind::Skip, "", "", ""},
        {"-400", "100", "1000", OpenGateCheck::Kind::Skip, "", "", ""},
    };
    for (const auto& c : cases) {
        const OpenGateCheck check =
            gate::checkOpenGate(QString(c.open), QString(c.gate), QString(c.mainFreq));
        const QString where = QString("open %1 gate %2 main %3").arg(c.open, c.gate, c.mainFreq);
        EXPECT_EQ(check.kind, c.kind) << where.toStdString();
        if (check.kind == OpenGateCheck::Kind::NotShorter) {
            EXPECT_EQ(check.replacementText, QString(c.replacement)) << where.toStdString();
            EXPECT_EQ(check.replacementLabel, QString(c.label)) << where.toStdString();
        }
        if (check.kind == OpenGateCheck::Kind::Fits) {
            EXPECT_EQ(check.openLabel, QString(c.label)) << where.toStdString();
            EXPECT_EQ(check.needMainFrequency, QString(c.share).isEmpty()) << where.toStdString();
            EXPECT_EQ(check.shareText, QString(c.share)) << where.toStdString();
        }
    }
}

TEST(GateDecisions, OpenGateBands) {
    const struct {
        const char* typed;
        const char* shown;
        const char* step; // empty: the box keeps its step
    } cases[] = {
        {"12345", "10000", "100"},
        {"100", "100", "100"},
        {"99.6", "100", "1"},
        {"1", "1", "1"},
        {"0.5", "0.50", "0.01"},
        {"0.01", "0.01", "0.01"},
        {"0.005", "0.005", "0.001"},
        {"0.0015", "0.002", "0.001"},
        {"0.0005", "0.0005", ""},
        {"", "", ""},
        {"-5", "-5", ""},
        {"abc", "abc", ""},
    };
    for (const auto& c : cases) {
        const RateBandResult result = rateBand(QString(c.typed), kOpenGateRate);
        EXPECT_EQ(result.text, QString(c.shown)) << c.typed;
        EXPECT_EQ(result.step.value_or(QString()), QString(c.step)) << c.typed;
    }
}
