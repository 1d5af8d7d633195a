// The rules that tie boxes together: sweep segments, burst count and gate time against the trigger,
// the trigger phase, and the questions whose Yes opens help.
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
const char* const kTooLong = "Please Change value of Burst Count. Do you need help?";
const char* const kNotShorter = "Gate period should greater than Open Gate time\r\nDo you need help?";
const char* const kNeedGate = "Please input the Gate Period Value first";
const char* const kNeedMain = "Please set Main Frequence Value first!";
} // namespace

class LinkedRules : public RulesWindow {
public:
    void chooseSegment(int number) {
        // moving away first makes the chooser run even for the segment already shown
        panel().HScrollSweep->setValue(number == 1 ? 2 : 1);
        panel().HScrollSweep->setValue(number);
        dialogs().messages.clear();
    }
    QString frequencies() { // start, stop, span, center
        const Panel& p = panel();
        return looks({p.txtSweepStartFreq, p.txtSweepStopFreq, p.txtSweepSpan, p.txtSweepCenterFreq});
    }
    // The trigger symmetry, the bar's label and the bar.
    QString share() {
        const Panel& p = panel();
        return QString("%1|%2|%3")
            .arg(look(p.txtTrgSymmetry), p.lblSymmetry->text())
            .arg(p.HScroll1->value());
    }
    // The next question is answered Yes when a help position is expected (0: No, and no help opens).
    void answer(int help) {
        dialogs().messages.clear();
        dialogs().helpRequests.clear();
        dialogs().answers = {help ? UserDialogs::Answer::Yes : UserDialogs::Answer::No};
    }
    void expectAsked(const QString& message, int help) {
        expectMessages(message);
        EXPECT_EQ(dialogs().helpRequests, help ? std::vector<int>{help} : std::vector<int>{});
    }
};

TEST_F(LinkedRules, SegmentChooserRewritesTheFourBoxes) {
    // the segment chosen; the segment shown, then start, stop, span, center (the bar holds 1 to 8)
    const std::pair<int, QString> cases[] = {{5, "5 150 15000 14850 7575"},
                                             {9, "8 150000 15000000 14850000 7575000"},
                                             {0, "1 0.01 1.5 1.49 0.76"}};
    for (const auto& [segment, texts] : cases) {
        chooseSegment(segment);
        EXPECT_EQ(panel().lblSweepSegNo->text() + " " + frequencies(), texts);
    }
    EXPECT_EQ(panel().txtSweepStartFreq->Tag(), "0.01"); // the chooser changes no steps
}

// A Yes to a question opens help 200 characters past its caption's passage; the value is corrected anyway.
TEST_F(LinkedRules, SweepStartAndStopAgainstTheSegment) {
    Panel& p = panel();
    // the segment, start (else stop) typed, the question, start, stop, span and center after, the step of the
    // box, span and center, the help position opened
    // clang-format off
    const struct { int segment; bool start; const char* typed; QString question; const char *after, *step;
                   int help = 0; } cases[] = {
        {8, true, "1500050", "", "1500100 15000000 13499900 8250100", "100"},
        {6, true, "200000", kStartAbove, "1500.00 150000 148500.00 75750.00", "0.01", 3771},
        {5, true, "149.99", kStartBelow, "150.00 15000 14850.00 7575.00", "0.01"},
        {5, false, "150", kStopBelow, "150 15000.0 14850.0 7575.0", "0.1"},
        {5, false, "15001", kStopAbove, "150 15000.0 14850.0 7575.0", "0.1", 3771},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        chooseSegment(c.segment);
        answer(c.help);
        NumericBox* box = c.start ? p.txtSweepStartFreq : p.txtSweepStopFreq;
        type(box, c.typed);
        EXPECT_TRUE(p.txtSweepStartFreq->isEdited() && p.txtSweepStopFreq->isEdited());
        confirm(box);
        expectAsked(c.question, c.help);
        EXPECT_EQ(frequencies(), QString(c.after));
        EXPECT_EQ(box->Tag() + p.txtSweepSpan->Tag() + p.txtSweepCenterFreq->Tag(),
                  QString(c.step).repeated(3));
        const RecordField field = c.start ? RecordField::SweepStart : RecordField::SweepStop;
        EXPECT_EQ(window().record.text(field), box->text().leftJustified(10));
    }
    EXPECT_EQ(window().sweepCheckState, 0);
    for (const char* typed : {"", "0", "abc"}) { // an empty or zero edge only accepts the pair
        enter(p.txtSweepStartFreq, typed);
        EXPECT_EQ(look(p.txtSweepStartFreq), QString(typed) + " orange");
        enter(p.txtSweepStopFreq, typed);
        EXPECT_EQ(look(p.txtSweepStartFreq) + "|" + look(p.txtSweepStopFreq), QString("%1|%1").arg(typed));
    }
}

TEST_F(LinkedRules, SweepSpanAndCenterDeriveStartAndStop) {
    Panel& p = panel(); // segment 5, steps 0.01
    // Enter in the span box (else the center box), typed, typed into the other box first, the message, the
    // four boxes after, the help position opened
    // clang-format off
    const struct { bool span; const char *typed, *other; QString message; const char* after; int help = 0; } cases[] = {
        {true, "2000", "5000", "", "4000.00 6000.00 2000 5000"},
        {false, "3000", nullptr, "", "2000.00 4000.00 2000 3000"},
        {true, "1000", "100", kStartBelow, "2000.00 4000.00 1000 orange 100 orange", 4405},
        {false, "100", nullptr, kCenter, "2000.00 4000.00 1000 orange 100 orange"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        answer(c.help);
        if (c.other) type(c.span ? p.txtSweepCenterFreq : p.txtSweepSpan, c.other);
        enter(c.span ? p.txtSweepSpan : p.txtSweepCenterFreq, c.typed);
        expectAsked(c.message, c.help);
        EXPECT_EQ(frequencies(), QString(c.after));
        EXPECT_EQ(focused(), "txtSweepCenterFreq");
    }
}

// The count's share of the burst period becomes the trigger symmetry; more than one cycle the type Multi.
TEST_F(LinkedRules, BurstCountBecomesTheTriggerSymmetryAndType) {
    Panel& p = panel();
    // share: symmetry|bar label|bar
    // clang-format off
    const struct { const char *mainFreq, *rate, *count, *countAfter, *share; bool multi; const char* message; int help = 0;
                   const char* focus = "txtBurstCount"; } cases[] = {
        {"1000.0", "100", "5", "5", "50|50|50", true, ""},
        {"10000.0", "100", "1", "1", "10||10", false, ""},
        {"1000.0", "100", "11", "0", "33 orange||10", true, kTooLong, 10177},
        {"1000.0", "100", "25.5", "0", "33 orange||10", true, kTooLong}, // asked once, for the rounded count
        {"0", "100", "5", "5", "33 orange||10", true, kNeedMain, 0, "txtMainFreq"},
        {"1000.0", "", "5", "5", "33 orange||10", true, "Please set Burst Period Value first!", 0,
         "txtBurstPeriod"},
        {"1000.0", "100", "-3", "0", "33 orange||10", false, ""}, // no share from a negative count
        {"1000.0", "100", "0.4", "0", "33 orange||10", false, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("main ") + c.mainFreq + " rate " + c.rate + " count " + c.count);
        p.txtBurstCount->setText("");
        p.txtMainFreq->setText(c.mainFreq);
        *c.rate ? enter(p.txtBurstPeriod, c.rate) : p.txtBurstPeriod->setText("");
        p.optTriggerType[0]->setChecked(true);
        p.HScroll1->setValue(10);
        p.txtTrgSymmetry->setText("33");
        p.lblSymmetry->setText("");
        answer(c.help);
        paste(p.txtBurstCount, c.count);
        EXPECT_EQ(p.txtBurstCount->text() + " " + share(), QString("%1 %2").arg(c.countAfter, c.share));
        EXPECT_EQ(p.optTriggerType[1]->isChecked(), c.multi);
        expectAsked(c.message, c.help);
        EXPECT_EQ(focused(), c.focus);
    }
    // the caret is put back where the key was typed
    p.txtMainFreq->setText("10000.0");
    paste(p.txtBurstCount, "2");
    p.txtBurstCount->setCursorPosition(0);
    QTest::keyClick(p.txtBurstCount, Qt::Key_1);
    EXPECT_EQ(QString::number(p.txtBurstCount->cursorPosition()) + " " + share(), "1 12|12|12");
}

TEST_F(LinkedRules, BurstFineTuningBar) {
    Panel& p = panel();
    const std::tuple<const char*, const char*, int, const char*, const char*> cases[] = {
        // main, rate, the bar moved to, message, share
        {"1000.0", "100", 35, "", "35 orange|35|35"}, // the symmetry waits for its Enter
        {"0", "100", 35, "", "35 orange|35|35"},      // only an empty text is missing here
        {"1000.0", "100", 9, "", "10 orange|10|10"},  // the bar goes no further
        {"", "100", 35, "Please give the Main Frequence value first.", "33||35"},
        {"1000.0", "", 35, "Please give the Burst Period value first.", "33||35"},
    };
    for (const auto& [mainFreq, rate, value, message, expected] : cases) {
        SCOPED_TRACE(std::string("main ") + mainFreq + " rate " + rate);
        p.txtMainFreq->setText(mainFreq);
        p.txtBurstPeriod->setText(rate);
        p.HScroll1->setValue(20);
        preset(p.txtTrgSymmetry, "33");
        p.lblSymmetry->setText("");
        dialogs().messages.clear();
        p.HScroll1->setValue(value);
        expectMessages(message);
        EXPECT_EQ(share(), QString(expected));
    }
    EXPECT_EQ(dialogs().messages.back().icon, UserDialogs::Icon::Information);
}

// The open gate's share of the gate period becomes the trigger symmetry, the trigger type Multi.
TEST_F(LinkedRules, OpenGateGivesTheTriggerSymmetry) {
    Panel& p = panel();
    // clang-format off
    const struct { const char *gate, *open, *openAfter, *label, *symmetry; bool multi; const char* message; int help = 0;
                   const char* focus = "txtOpenGatePeriod"; const char* mainFreq = "1000.0"; } cases[] = {
        {"100", "1000", "1000/100", "0.0010sec", "10", true, ""},
        {"100", "50", "100/1", "0.0100sec", "33 orange", false, kNotShorter, 12213},
        {"100", "0.0015", "100/0.001", "0.0100sec", "33 orange", false, kNotShorter},
        {"100", "0.0005", "100/7", "0.0100sec", "33 orange", false, kNotShorter}, // step kept
        {"", "400", "400/100", " Sec", "33 orange", false, kNeedGate, 0, "txtGatePeriod"},
        {"100", "-5", "0.01/0.01", " Sec", "33 orange", false, ""}, // no share from a negative value
        {"100", "", "/7", " Sec", "33 orange", false, ""},
        {"100", "400", "400/100", "0.0025sec", "33 orange", true,
         "Please input the Main Frequence Value first", 0, "txtMainFreq", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("gate ") + c.gate + " open " + c.open);
        p.txtMainFreq->setText(c.mainFreq);
        *c.gate ? enter(p.txtGatePeriod, c.gate) : p.txtGatePeriod->setText("");
        p.txtOpenGatePeriod->setTag("7");
        p.lblOpenGatePeriod->setText(" Sec");
        p.optTriggerType[0]->setChecked(true);
        p.txtTrgSymmetry->setText("33");
        answer(c.help);
        enter(p.txtOpenGatePeriod, c.open);
        EXPECT_EQ(
            QStringList({state(p.txtOpenGatePeriod), p.lblOpenGatePeriod->text(), look(p.txtTrgSymmetry)}),
            QStringList({c.openAfter, c.label, c.symmetry}));
        EXPECT_EQ(p.optTriggerType[1]->isChecked(), c.multi);
        expectAsked(c.message, c.help);
        EXPECT_EQ(focused(), c.focus);
    }
}

// The phase is checked at every change, whole degrees from -90 to 80.
TEST_F(LinkedRules, TriggerPhaseFollowsEveryChange) {
    NumericBox* phase = panel().txtTrgPhase;
    const std::pair<const char*, const char*> pastes[] = {{"12.7", "13"}, {"-100", "-90"}, {"", "0"}};
    for (const auto& [pasted, text] : pastes) {
        SCOPED_TRACE(pasted);
        paste(phase, pasted);
        EXPECT_EQ(state(phase), QString(text) + "/1");
        EXPECT_EQ(window().record.text(RecordField::TriggerPhase), QString(text).leftJustified(3));
    }
    // the caret stays where the key was typed, or at the end of a shorter text; steps stop at the top
    // clang-format off
    const std::tuple<const char*, int, Qt::Key, const char*> keys[] = { // before, caret, key, after
        {"45", 0, Qt::Key_Minus, "-45|1"}, {"45", 1, Qt::Key_9, "80|2"}, {"12", 2, Qt::Key_Period, "12|2"},
        {"80", 2, Qt::Key_Up, "80|2"}, {"80", 2, Qt::Key_Down, "79|2"}};
    // clang-format on
    for (const auto& [before, caret, key, after] : keys) {
        paste(phase, before);
        phase->setCursorPosition(caret);
        QTest::keyClick(phase, key);
        settle();
        EXPECT_EQ(phase->text() + "|" + QString::number(phase->cursorPosition()), after);
    }
}

TEST_F(LinkedRules, TriggerSourceChoiceIsTheSameInAllThreeTabs) {
    Panel& p = panel();
    QRadioButton* const internal[] = {p.optTriggerInt, p.optBurstInt, p.optGateInt};
    QRadioButton* const external[] = {p.optTriggerExt, p.optBurstExt, p.optGateExt};
    for (int click = 0; click < 6; ++click) { // each tab's Ext, then its Int
        const bool ext = click % 2 == 0;
        (ext ? external : internal)[click / 2]->click();
        for (int tab = 0; tab < 3; ++tab)
            EXPECT_TRUE(external[tab]->isChecked() == ext && internal[tab]->isChecked() != ext) << click;
    }
}
