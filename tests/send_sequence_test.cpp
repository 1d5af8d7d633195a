// The send's walk through the groups and its memory of what was sent, against a recording target.
#include "core/NumberText.h"
#include "operations/SendSequence.h"
#include "support/QtPrint.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct RecordingTarget : SendTarget {
    bool ready = true;
    QString identification = "DXS-4820";
    int stopAfter = -1; // exchanges, the two queries included, before the window closes; -1 never
    int queries = 0;
    QStringList exchanges; // as the wire would carry them
    int phaseResets = 0;

    bool Ready() override {
        ++queries;
        return ready;
    }
    QString IDN() override {
        ++queries;
        return identification;
    }
    void set(Property property, double value) override {
        exchanges << commandRow(property).header + numtext::generalForm(value);
    }
    void check(Property property) override { exchanges << commandRow(property).query; }
    void resetTriggerPhase() override { ++phaseResets; }
    bool stopRequested() override { return stopAfter >= 0 && queries + int(exchanges.size()) >= stopAfter; }
};

SendPanel designDefaults() {
    SendPanel p;
    p.mainFreq = "10000";
    p.mainAmp = "5.00";
    p.mainDCOffset = "0.00";
    p.mainDuty = "50";
    p.sweepStart = "1000.00";
    p.sweepStop = "2000.00";
    p.sweepSymmetry = "90";
    p.sweepRate = "1000.0";
    p.modRate = "1000.0";
    p.modSymmetry = "50";
    p.modSpanDepth = "50";
    p.trgRate = "1000.0";
    p.trgSymmetry = "50";
    p.trgPhase = "0";
    return p;
}

// The exchanges from the first one starting with `text` on.
QStringList from(const QStringList& list, const QString& text) {
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list[i].startsWith(text)) return list.mid(i);
    return {};
}

bool contains(const QStringList& list, const QString& header) {
    return !from(list, header).isEmpty();
}

} // namespace

// Branches of the groups that the window tests do not walk.
TEST(SendSequence, GroupBranches) {
    struct Case {
        const char* name;
        void (*prepare)(SendPanel&);
        QStringList tail; // from the first line that starts like its first one
        QString summary;
    };
    const QString offSummary =
        "Main Setting is Done;Sweep Setting is Done under Off mode;"
        "Modulation Setting is Done under Off mode;Gate Setting is Done under Off mode;";
    const std::vector<Case> cases = {
        {"sweep on, log spacing",
         [](SendPanel& p) {
             p.sweepOn = true;
             p.sweepLog = true;
         },
         {":SOUR:SWE:SPAC 1", ":SOUR:SWE:STAR 1000", ":SOUR:SWE:STOP 2000", ":SOUR:SWE:SYM 90",
          ":SOUR:SWE:RAT 1000", ":SOUR:STAT 3", ":SOUR:STAT ?", ":SOURCE:SOURCE 0", ":SOUR:WAV 1",
          ":SOUR:MODAM:RAT 1000", ":SOUR:MODAM:SYM 50", ":SOUR:MODAM:SPAN 50", ":SOUR:TRIG:SOUR 0",
          ":SOUR:TRIG:MOD 0", ":SOUR:TRIG:PHAS 0"},
         QString(offSummary).replace("Sweep Setting is Done under Off mode;", "Sweep Setting is Done;")},
        {"FM on with triangle source",
         [](SendPanel& p) {
             p.modulationOn = true;
             p.modAM = false;
             p.modSource = 1;
             p.modSymmetry = "40.5";
             p.modSpanDepth = "7.5";
         },
         {":SOUR:WAV 2", ":SOUR:MODFM:RAT 1000", ":SOUR:MODFM:SYM 40", ":SOUR:MODFM:SPAN 8", ":SOUR:STAT 2",
          ":SOUR:TRIG:SOUR 0", ":SOUR:TRIG:MOD 0", ":SOUR:TRIG:PHAS 0"},
         QString(offSummary)
             .replace("Modulation Setting is Done under Off mode;", "Modulation Setting is Done;")},
        {"trigger on, external source: no rate, symmetry or phase",
         [](SendPanel& p) {
             p.triggerOn = true;
             p.triggerExt = true;
         },
         {":SOUR:TRIG:STAT 1", ":SOUR:TRIG:SOUR 1"},
         QString(offSummary).replace("Gate Setting is Done under Off mode;", "Trigger Setting is Done;")},
        {"trigger on, multi: rate and symmetry sent",
         [](SendPanel& p) {
             p.triggerOn = true;
             p.triggerMulti = true;
             p.trgPhase = "90";
         },
         {":SOUR:TRIG:STAT 1", ":SOUR:TRIG:SOUR 0", ":SOUR:TRIG:MOD 1", ":SOUR:TRIG:RAT 1000",
          ":SOUR:TRIG:SYM 50", ":SOUR:TRIG:PHAS 90"},
         QString(offSummary).replace("Gate Setting is Done under Off mode;", "Trigger Setting is Done;")},
        {"gate on: phase 0",
         [](SendPanel& p) {
             p.gateOn = true;
             p.trgPhase = "180";
         },
         {":SOUR:TRIG:PHAS 0"},
         QString(offSummary).replace("Gate Setting is Done under Off mode;", "Gate Setting is Done;")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SendPanel panel = designDefaults();
        c.prepare(panel);
        LastSentMemory memory;
        RecordingTarget target;
        const SendOutcome outcome = runSend(panel, memory, true, target);
        EXPECT_EQ(outcome.end, SendOutcome::End::Done);
        EXPECT_EQ(from(target.exchanges, c.tail[0]), c.tail);
        EXPECT_EQ(outcome.summary, c.summary);
        EXPECT_TRUE(outcome.errorText.isEmpty());
    }
}

// Trigger rate and symmetry are neither sent nor remembered while trigger, burst and gate are off, so
// turning one on later sends them even with skipping on.
TEST(SendSequence, TriggerValuesWaitForTheirFunction) {
    SendPanel panel = designDefaults();
    LastSentMemory memory;
    RecordingTarget first;
    runSend(panel, memory, true, first);
    EXPECT_FALSE(contains(first.exchanges, ":SOUR:TRIG:RAT"));
    EXPECT_FALSE(contains(first.exchanges, ":SOUR:TRIG:SYM"));

    panel.burstOn = true;
    RecordingTarget second;
    runSend(panel, memory, false, second);
    EXPECT_TRUE(contains(second.exchanges, ":SOUR:TRIG:RAT"));
    EXPECT_TRUE(contains(second.exchanges, ":SOUR:TRIG:SYM"));
    EXPECT_EQ(second.phaseResets, 1);
    EXPECT_FALSE(contains(second.exchanges, ":SOUR:TRIG:PHAS")) << "phase 0 was sent already";
}

// The AM symmetry is sent rounded, then remembered as a strict Integer: a text that is not a number
// as a whole is sent once and then ends the send.
TEST(SendSequence, ConversionFailuresEndTheSendWhereTheyHappen) {
    struct Case {
        const char* name;
        void (*prepare)(SendPanel&);
        QString last; // the last line sent
        QString failure;
    };
    const std::vector<Case> cases = {
        {"AM symmetry with a unit", [](SendPanel& p) { p.modSymmetry = "50 %"; }, ":SOUR:MODAM:SYM 50",
         "Modulation Setting: Symmetry: Type mismatch"},
        {"sweep symmetry out of range", [](SendPanel& p) { p.sweepSymmetry = "99999"; },
         ":SOUR:SWE:STOP 2000", "Sweep Setting: Symmetry: Overflow"},
        {"duty beyond an Integer", [](SendPanel& p) { p.mainDuty = "40000"; }, ":OFFS 0",
         "Main Setting: Duty: Overflow"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SendPanel panel = designDefaults();
        panel.mainAmp = "";
        c.prepare(panel);
        LastSentMemory memory;
        RecordingTarget target;
        const SendOutcome outcome = runSend(panel, memory, true, target);
        EXPECT_EQ(outcome.end, SendOutcome::End::ConversionFailed);
        ASSERT_FALSE(target.exchanges.empty());
        EXPECT_EQ(target.exchanges.back(), c.last);
        EXPECT_EQ(outcome.failure, c.failure);
        EXPECT_EQ(outcome.errorText, "Main Setting: Amplitude need a value\r\n");
    }
}

// A window closed while a query waits gets no report of the empty answer the closing caused.
TEST(SendSequence, ClosingWindowEndsTheSendWithoutMoreTraffic) {
    struct Case {
        int stopAfter;
        bool ready;
        QString identification;
        int sets;
    };
    const std::vector<Case> cases = {
        {1, false, "", 0},
        {2, true, "", 0},
        {3, true, "DXS-4820", 1},
        {22, true, "DXS-4820", 20},
    };
    for (const Case& c : cases) {
        RecordingTarget target;
        target.stopAfter = c.stopAfter;
        target.ready = c.ready;
        target.identification = c.identification;
        LastSentMemory memory;
        const SendOutcome outcome = runSend(designDefaults(), memory, true, target);
        EXPECT_EQ(outcome.end, SendOutcome::End::Stopped) << c.stopAfter;
        EXPECT_EQ(int(target.exchanges.size()), c.sets) << c.stopAfter;
    }
}
