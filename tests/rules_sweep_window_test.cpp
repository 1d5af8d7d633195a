#include "rules_window.h"

namespace {
QString question(const char* edge, const char* bound) {
    return QString("Sweep %1 Freq. is %2 bound the Current Sweep Segment.\r\nPlease switch Segment.\r\n"
                   "Do you need help?")
        .arg(edge, bound);
}
const QString kStartAbove = question("Start", "over than the upper");
const QString kStartBelow = question("Start", "less than the lower");
const QString kStopAbove = question("Stop", "over than the upper");
const QString kStopBelow = question("Stop", "less than the lower");
const QString kCenter = "Please change the value of Center Freq";
constexpr int kStartFreqHelp = 3571 + 200, kSpanHelp = 4205 + 200;
} // namespace

class SweepWindow : public RulesWindow {
protected:
    void chooseSegment(int number) {
        // moving away first makes the chooser run even for the segment already shown
        panel().HScrollSweep->setValue(number == 1 ? 2 : 1);
        panel().HScrollSweep->setValue(number);
        dialogs().messages.clear();
    }
    QString frequencies() { // start, stop, span, center
        const Panel& p = panel();
        return looks({p.txtSweepStartFreq, p.txtSweepStopFreq, p.txtSweepSpan, p.txtSweepCenterFreq})
            .join(' ');
    }
};

TEST_F(SweepWindow, SegmentChooserRewritesTheFourBoxes) {
    const struct {
        int segment;
        const char* texts;
    } cases[] = {{5, "150 15000 14850 7575"},
                 {8, "150000 15000000 14850000 7575000"},
                 {1, "0.01 1.5 1.49 0.76"},
                 {3, "1.5 150 148.50 75.75"},
                 {6, "1500 150000 148500 75800"}};
    for (const auto& c : cases) {
        chooseSegment(c.segment);
        EXPECT_EQ(panel().lblSweepSegNo->text(), QString::number(c.segment));
        EXPECT_EQ(frequencies(), QString(c.texts)) << c.segment;
    }
    EXPECT_EQ(panel().txtSweepStartFreq->Tag(), "0.01"); // the chooser changes no steps
}

TEST_F(SweepWindow, StartAndStopAgainstTheSegment) {
    Panel& p = panel();
    const struct {
        int segment;
        bool start; // else stop
        const char* typed;
        QString question;
        const char *after, *step; // start, stop, span, center; the step of the box, span and center
    } cases[] = {
        {8, true, "1500050", "", "1500100 15000000 13499900 8250100", "100"},
        {7, true, "150004", "", "150010 1500000 1349990 825010", "10"},
        {6, true, "200000", kStartAbove, "1500.00 150000 148500.00 75750.00", "0.01"},
        {5, true, "100", kStartBelow, "150.00 15000 14850.00 7575.00", "0.01"},
        {5, true, "1000", "", "1000.00 15000 14000.00 8000.00", "0.01"},
        {5, false, "150", kStopBelow, "150 15000.0 14850.0 7575.0", "0.1"},
        {5, false, "15000", "", "150 15000.0 14850.0 7575.0", "0.1"},
        {5, false, "15001", kStopAbove, "150 15000.0 14850.0 7575.0", "0.1"},
        {5, false, "2000", "", "150 2000.0 1850.0 1075.0", "0.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        chooseSegment(c.segment);
        NumericBox* box = c.start ? p.txtSweepStartFreq : p.txtSweepStopFreq;
        type(box, c.typed);
        EXPECT_TRUE(p.txtSweepStartFreq->isEdited() && p.txtSweepStopFreq->isEdited());
        press(box, Qt::Key_Return);
        EXPECT_EQ(dialogs().texts(), c.question.isEmpty() ? QStringList() : QStringList{c.question});
        EXPECT_EQ(frequencies(), QString(c.after));
        EXPECT_EQ(box->Tag() + p.txtSweepSpan->Tag() + p.txtSweepCenterFreq->Tag(),
                  QString(c.step).repeated(3));
        const RecordField field = c.start ? RecordField::SweepStart : RecordField::SweepStop;
        EXPECT_EQ(window().record.text(field), box->text().leftJustified(10));
    }
    EXPECT_TRUE(dialogs().helpRequests.empty()); // every question answered No
    EXPECT_EQ(window().sweepCheckState, 0);
}

TEST_F(SweepWindow, EnterOnAnEmptyOrZeroEdgeOnlyAcceptsThePair) {
    Panel& p = panel();
    for (const char* typed : {"", "0", "abc"}) {
        enter(p.txtSweepStartFreq, typed);
        EXPECT_EQ(look(p.txtSweepStartFreq), QString(typed) + " orange");
        enter(p.txtSweepStopFreq, typed);
        EXPECT_EQ(look(p.txtSweepStartFreq) + "|" + look(p.txtSweepStopFreq), QString("%1|%1").arg(typed));
    }
    EXPECT_TRUE(dialogs().messages.empty());
}

TEST_F(SweepWindow, SpanAndCenterDeriveStartAndStop) {
    Panel& p = panel(); // segment 5, steps 0.01
    const struct {
        bool span;                 // else Enter in the center box
        const char *typed, *other; // other: typed into the other box first
        QString message;
        const char* after;
    } cases[] = {
        {true, "2000", "5000", "", "4000.00 6000.00 2000 5000"},
        {false, "3000", nullptr, "", "2000.00 4000.00 2000 3000"},
        {true, "1000", "100", kStartBelow, "2000.00 4000.00 1000 orange 100 orange"},
        {false, "100", nullptr, kCenter, "2000.00 4000.00 1000 orange 100 orange"},
        {true, "14852", "7575", kStartBelow, "2000.00 4000.00 14852 orange 7575 orange"},
        {true, "14850", "7575", "", "150.00 15000.00 14850 7575"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        dialogs().messages.clear();
        if (c.other) type(c.span ? p.txtSweepCenterFreq : p.txtSweepSpan, c.other);
        enter(c.span ? p.txtSweepSpan : p.txtSweepCenterFreq, c.typed);
        EXPECT_EQ(dialogs().texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(frequencies(), QString(c.after));
        EXPECT_EQ(focused(), "txtSweepCenterFreq");
    }
    EXPECT_TRUE(dialogs().helpRequests.empty());
}

TEST_F(SweepWindow, YesOpensHelpAtTheCaptionsPassage) {
    Panel& p = panel();
    chooseSegment(6);
    dialogs().answers = {UserDialogs::Answer::Yes, UserDialogs::Answer::Yes, UserDialogs::Answer::Yes};
    enter(p.txtSweepStartFreq, "200000");
    EXPECT_EQ(p.txtSweepStartFreq->text(), "1500.00"); // corrected whatever the answer
    chooseSegment(5);
    enter(p.txtSweepStopFreq, "15001");
    type(p.txtSweepCenterFreq, "100");
    enter(p.txtSweepSpan, "1000");
    EXPECT_EQ(dialogs().helpRequests, (std::vector<int>{kStartFreqHelp, kStartFreqHelp, kSpanHelp}));
}

TEST_F(SweepWindow, RateBandsAndStepping) {
    Panel& p = panel();
    p.chkSyncRateSym->setChecked(false);
    const struct {
        const char *typed, *state;
    } cases[] = {{"20000", "10000/100"}, {"101", "200/100"},     {"1.01", "2/1"},
                 {"0.005", "0.01/0.01"}, {"0.5", "0.50/0.01"},   {"", "0.01/0.01"},
                 {"150", "200/100"},     {"0.010", "0.010/100"}, {"1", "1/0.01"}};
    for (const auto& c : cases) {
        enter(p.txtSweepRate, c.typed);
        EXPECT_EQ(state(p.txtSweepRate), QString(c.state)) << c.typed;
    }
    // a step across a band edge is confirmed at once, in the new band
    const struct {
        NumericBox* box;
        const char *from, *step;
        Qt::Key key;
        const char* state;
    } steps[] = {
        {p.txtSweepRate, "100", "1", Qt::Key_Up, "200/100"},
        {p.txtSweepRate, "1", "0.01", Qt::Key_Up, "2/1"},
        {p.txtSweepRate, "200", "100", Qt::Key_Down, "100/1"},
        {p.txtSweepRate, "1", "0.01", Qt::Key_Down, "0.99/0.01"},
        {p.txtModRate, "0.005", "0.01", Qt::Key_Down, "0.01/0.01"},
    };
    for (const auto& s : steps) {
        preset(s.box, s.from, s.step);
        press(s.box, s.key);
        EXPECT_EQ(state(s.box), QString(s.state)) << s.from;
    }
}
