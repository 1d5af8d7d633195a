#include "rules_typing.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>

namespace {
const QString kStartAbove = "Sweep Start Freq. is over than the upper bound the Current Sweep Segment.\r\n"
                            "Please switch Segment.\r\nDo you need help?";
const QString kStartBelow = "Sweep Start Freq. is less than the lower bound the Current Sweep Segment.\r\n"
                            "Please switch Segment.\r\nDo you need help?";
const QString kStopBelow = "Sweep Stop Freq. is less than the lower bound the Current Sweep Segment.\r\n"
                           "Please switch Segment.\r\nDo you need help?";
constexpr int kStartFreqHelp = 3571 + 200;
constexpr int kSpanHelp = 4205 + 200;
} // namespace

class SweepWindow : public WindowFixture {
protected:
    void chooseSegment(int number) {
        // moving away first makes the chooser run even for the segment already shown
        window().panel.HScrollSweep->setValue(number == 1 ? 2 : 1);
        window().panel.HScrollSweep->setValue(number);
    }
    QStringList frequencies() {
        const Panel& p = window().panel;
        return {p.txtSweepStartFreq->text(), p.txtSweepStopFreq->text(), p.txtSweepSpan->text(),
                p.txtSweepCenterFreq->text()};
    }
};

TEST_F(SweepWindow, SegmentChooserRewritesTheFourBoxes) {
    frmDXS& w = window();
    const struct {
        int segment;
        QStringList texts; // start, stop, span, center
    } cases[] = {
        {5, {"150", "15000", "14850", "7575"}},
        {8, {"150000", "15000000", "14850000", "7575000"}},
        {1, {"0.01", "1.5", "1.49", "0.76"}},
    };
    for (const auto& c : cases) {
        chooseSegment(c.segment);
        EXPECT_EQ(w.panel.lblSweepSegNo->text(), QString::number(c.segment));
        EXPECT_EQ(frequencies(), c.texts) << c.segment;
    }
    // the chooser changes no steps and no colours
    EXPECT_EQ(w.panel.txtSweepStartFreq->Tag(), QString("0.01"));
    EXPECT_EQ(w.panel.txtSweepSpan->BackColor(), ColorWhite);
}

TEST_F(SweepWindow, StartAndStopAgainstTheSegment) {
    frmDXS& w = window();
    const struct {
        const char* name;
        int segment;
        bool start; // else stop
        const char* typed;
        QString question;
        const char* text;
        const char* step;
        QStringList after; // start, stop, span, center
    } cases[] = {
        {"start in band 100",
         8,
         true,
         "1500050",
         {},
         "1500100",
         "100",
         {"1500100", "15000000", "13499900", "8250100"}},
        {"start over segment 6",
         6,
         true,
         "200000",
         kStartAbove,
         "1500.00",
         "0.01",
         {"1500.00", "150000", "148500.00", "75750.00"}},
        {"start below segment 5",
         5,
         true,
         "100",
         kStartBelow,
         "150.00",
         "0.01",
         {"150.00", "15000", "14850.00", "7575.00"}},
        {"stop on the lower limit",
         5,
         false,
         "150",
         kStopBelow,
         "15000.0",
         "0.1",
         {"150", "15000.0", "14850.0", "7575.0"}},
        {"stop on the upper limit",
         5,
         false,
         "15000",
         {},
         "15000.0",
         "0.1",
         {"150", "15000.0", "14850.0", "7575.0"}},
    };
    for (const auto& c : cases) {
        chooseSegment(c.segment);
        dialogs().messages.clear();
        NumericBox* box = c.start ? w.panel.txtSweepStartFreq : w.panel.txtSweepStopFreq;
        typeInto(box, c.typed);
        EXPECT_EQ(w.panel.txtSweepStartFreq->BackColor(), ColorOrange) << c.name;
        EXPECT_EQ(w.panel.txtSweepStopFreq->BackColor(), ColorOrange) << c.name;
        press(box, Qt::Key_Return);
        EXPECT_EQ(dialogs().texts(), c.question.isEmpty() ? QStringList() : QStringList{c.question})
            << c.name;
        if (!c.question.isEmpty()) EXPECT_EQ(dialogs().messages[0].buttons, UserDialogs::Buttons::YesNo);
        EXPECT_EQ(box->text(), QString(c.text)) << c.name;
        EXPECT_EQ(box->Tag(), QString(c.step)) << c.name;
        EXPECT_EQ(w.panel.txtSweepSpan->Tag(), QString(c.step)) << c.name;
        EXPECT_EQ(w.panel.txtSweepCenterFreq->Tag(), QString(c.step)) << c.name;
        EXPECT_EQ(frequencies(), c.after) << c.name;
        EXPECT_EQ(w.panel.txtSweepStartFreq->BackColor(), ColorWhite) << c.name;
        EXPECT_EQ(w.panel.txtSweepStopFreq->BackColor(), ColorWhite) << c.name;
        const RecordField field = c.start ? RecordField::SweepStart : RecordField::SweepStop;
        EXPECT_EQ(w.record.text(field), QString(c.text).leftJustified(10)) << c.name;
        EXPECT_EQ(w.sweepCheckState, 0);
    }
    EXPECT_TRUE(dialogs().helpRequests.empty()); // every question answered No
}

TEST_F(SweepWindow, StartAndStopFromTheDesignDefaults) {
    frmDXS& w = window();
    typeAndEnter(w.panel.txtSweepStartFreq, "1000");
    EXPECT_EQ(frequencies(), (QStringList{"1000.00", "2000.00", "1000.00", "1500.00"}));
    EXPECT_EQ(w.panel.txtSweepSpan->Tag(), QString("0.01"));
    EXPECT_EQ(w.panel.txtSweepCenterFreq->Tag(), QString("0.01"));
    // a stop in the 0.1 band shows span and center at that resolution
    typeAndEnter(w.panel.txtSweepStopFreq, "2000");
    EXPECT_EQ(frequencies(), (QStringList{"1000.00", "2000.0", "1000.0", "1500.0"}));
    EXPECT_EQ(w.panel.txtSweepSpan->Tag(), QString("0.1"));
}

TEST_F(SweepWindow, EnterOnAnEmptyOrZeroEdgeDoesNothing) {
    frmDXS& w = window();
    for (const char* typed : {"", "0", "abc"}) {
        typeAndEnter(w.panel.txtSweepStartFreq, typed);
        EXPECT_EQ(w.panel.txtSweepStartFreq->text(), QString(typed));
        EXPECT_EQ(w.panel.txtSweepStartFreq->BackColor(), ColorOrange) << typed;
        // the stop rule on such a box only turns the pair white
        typeAndEnter(w.panel.txtSweepStopFreq, typed);
        EXPECT_EQ(w.panel.txtSweepStopFreq->text(), QString(typed));
        EXPECT_EQ(w.panel.txtSweepStartFreq->BackColor(), ColorWhite) << typed;
        EXPECT_EQ(w.panel.txtSweepStopFreq->BackColor(), ColorWhite) << typed;
    }
    EXPECT_TRUE(dialogs().messages.empty());
}

TEST_F(SweepWindow, YesOpensHelpAtTheCaptionsPassage) {
    frmDXS& w = window();
    chooseSegment(6);
    dialogs().answers = {UserDialogs::Answer::Yes};
    typeAndEnter(w.panel.txtSweepStartFreq, "200000");
    EXPECT_EQ(w.panel.txtSweepStartFreq->text(), QString("1500.00")); // corrected whatever the answer
    chooseSegment(5);
    dialogs().answers = {UserDialogs::Answer::Yes};
    typeAndEnter(w.panel.txtSweepStopFreq, "15001");
    typeInto(w.panel.txtSweepCenterFreq, "100");
    dialogs().answers = {UserDialogs::Answer::Yes};
    typeAndEnter(w.panel.txtSweepSpan, "1000");
    EXPECT_EQ(dialogs().helpRequests, (std::vector<int>{kStartFreqHelp, kStartFreqHelp, kSpanHelp}));
}

TEST_F(SweepWindow, SpanAndCenterDeriveStartAndStop) {
    frmDXS& w = window(); // segment 5, steps 0.01
    typeInto(w.panel.txtSweepCenterFreq, "5000");
    EXPECT_EQ(w.panel.txtSweepSpan->BackColor(), ColorOrange);
    EXPECT_EQ(w.panel.txtSweepCenterFreq->BackColor(), ColorOrange);
    typeAndEnter(w.panel.txtSweepSpan, "2000");
    EXPECT_EQ(frequencies(), (QStringList{"4000.00", "6000.00", "2000", "5000"}));
    EXPECT_EQ(w.panel.txtSweepSpan->BackColor(), ColorWhite);
    EXPECT_EQ(w.panel.txtSweepCenterFreq->BackColor(), ColorWhite);
    EXPECT_EQ(w.focusWidget(), w.panel.txtSweepCenterFreq);
    EXPECT_TRUE(dialogs().messages.empty());

    typeAndEnter(w.panel.txtSweepCenterFreq, "3000");
    EXPECT_EQ(frequencies(), (QStringList{"2000.00", "4000.00", "2000", "3000"}));
    EXPECT_EQ(w.sweepCheckState, 0);
}

TEST_F(SweepWindow, SpanOrCenterOutsideTheSegmentChangesNothing) {
    frmDXS& w = window(); // segment 5
    typeInto(w.panel.txtSweepCenterFreq, "100");
    typeAndEnter(w.panel.txtSweepSpan, "1000");
    EXPECT_EQ(dialogs().texts(), QStringList{kStartBelow});
    EXPECT_EQ(dialogs().messages[0].buttons, UserDialogs::Buttons::YesNo);
    EXPECT_EQ(frequencies(), (QStringList{"1000.00", "2000.00", "1000", "100"}));
    EXPECT_EQ(w.panel.txtSweepSpan->BackColor(), ColorOrange);
    EXPECT_EQ(w.focusWidget(), w.panel.txtSweepCenterFreq);

    dialogs().messages.clear();
    typeAndEnter(w.panel.txtSweepSpan, "1000"); // focus back in span
    dialogs().messages.clear();
    press(w.panel.txtSweepCenterFreq, Qt::Key_Return);
    EXPECT_EQ(dialogs().texts(), QStringList{"Please change the value of Center Freq"});
    EXPECT_EQ(dialogs().messages[0].buttons, UserDialogs::Buttons::Ok);
    EXPECT_EQ(frequencies(), (QStringList{"1000.00", "2000.00", "1000", "100"}));
    EXPECT_TRUE(dialogs().helpRequests.empty());
}

TEST_F(SweepWindow, RateBandsAndStepping) {
    frmDXS& w = window();
    w.panel.chkSyncRateSym->setChecked(false);
    NumericBox* box = w.panel.txtSweepRate;
    const struct {
        const char* typed;
        const char* text;
        const char* step;
    } cases[] = {
        {"20000", "10000", "100"}, {"101", "200", "100"}, {"1.01", "2", "1"},    {"0.005", "0.01", "0.01"},
        {"0.5", "0.50", "0.01"},   {"", "0.01", "0.01"},  {"150", "200", "100"},
    };
    for (const auto& c : cases) {
        typeAndEnter(box, c.typed);
        EXPECT_EQ(box->text(), QString(c.text)) << c.typed;
        EXPECT_EQ(box->Tag(), QString(c.step)) << c.typed;
        EXPECT_EQ(box->BackColor(), ColorWhite) << c.typed;
    }
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
        {"1", "0.01", Qt::Key_Down, "0.99", "0.01"},
    };
    for (const auto& s : steps) {
        preset(box, s.from, s.step);
        press(box, s.key);
        EXPECT_EQ(box->text(), QString(s.text)) << s.from;
        EXPECT_EQ(box->Tag(), QString(s.newStep)) << s.from;
        EXPECT_EQ(box->BackColor(), ColorWhite) << s.from;
    }
}

TEST_F(SweepWindow, Symmetry) {
    frmDXS& w = window();
    NumericBox* box = w.panel.txtSweepSymmetry;
    const struct {
        const char* typed;
        const char* text;
    } cases[] = {{"95", "90"}, {"5", "10"}, {"33.3", "33"}, {"", "10"}};
    for (const auto& c : cases) {
        typeAndEnter(box, c.typed);
        EXPECT_EQ(box->text(), QString(c.text)) << c.typed;
        EXPECT_EQ(box->BackColor(), ColorWhite) << c.typed;
    }
}
