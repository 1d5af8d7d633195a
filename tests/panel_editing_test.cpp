// The editing conventions of the twenty numeric boxes, driven through the real window: text-changed
// marking, arrow-key stepping with its queued Enter, the spin buttons and their empty-box starts,
// the focus-gained hint and the focus-lost copy into the settings record. The groups' own Enter
// and text-changed rules are detached so that only the conventions are seen.
#include "panel/NumericBox.h"
#include "panel/UpDownButtons.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace {

const char* const kHint = "Please use [Enter] key to validate your input value!";

// Records the keys a widget receives.
class KeyLog : public QObject {
public:
    explicit KeyLog(QWidget* widget) : m_widget(widget) { widget->installEventFilter(this); }
    ~KeyLog() override {
        if (m_widget) m_widget->removeEventFilter(this);
    }
    std::vector<int> keys;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) keys.push_back(static_cast<QKeyEvent*>(event)->key());
        return false;
    }

private:
    QPointer<QWidget> m_widget;
};

using Keys = std::vector<int>;
const int Up = Qt::Key_Up;
const int Down = Qt::Key_Down;
const int Enter = Qt::Key_Return;

struct Start {
    const char* step;
    const char* text;
};
constexpr Start noStart{nullptr, nullptr};

// One row per box, as the conventions state them.
struct Row {
    const char* name;
    bool marks;                         // a change of text turns it orange
    const char* markStep;               // a change of text sets this step (nullptr: step kept)
    bool negativeStart;                 // a value below 0 becomes 0.01 with step 0.01
    bool queuesEnter;                   // stepping ends in an Enter keystroke
    Start up;                           // empty-box start of the up button (AM chosen)
    Start upFm;                         // ... with FM chosen
    Start down;                         // empty-box start of the down button
    bool hint;                          // entering writes the Enter-key hint
    std::optional<RecordField> amField; // focus lost writes this (AM chosen)
    std::optional<RecordField> fmField; // ... with FM chosen
    int width;
};

using F = RecordField;
constexpr auto none = std::nullopt;
const Start s001{"0.01", "0.01"};
const Start s11{"1", "1"};
const Start s110{"1", "10"};

// clang-format off
const Row kRows[] = {
    {"txtMainFreq",        true,  nullptr, false, false, noStart, noStart, noStart, true,  F::MainFreq,        F::MainFreq,        10},
    {"txtMainAmp",         true,  "0.01",  false, true,  noStart, noStart, noStart, false, F::Amplitude,       F::Amplitude,       6},
    {"txtMainDCOffset",    true,  "0.01",  false, true,  noStart, noStart, noStart, false, F::DCOffset,        F::DCOffset,        6},
    {"txtMainDuty",        true,  "1",     false, true,  noStart, noStart, noStart, false, F::Duty,            F::Duty,            2},
    {"txtModRate",         true,  nullptr, true,  true,  s001,    s001,    noStart, true,  F::AMRate,          F::FMRate,          6},
    {"txtModSpanDepth",    true,  nullptr, false, true,  s11,     s001,    noStart, false, F::AMDepth,         F::FMSpan,          6},
    {"txtModSymmetry",     true,  "1",     false, true,  s110,    s110,    noStart, false, F::AMSymmetry,      F::FMSymmetry,      3},
    {"txtSweepStartFreq",  false, nullptr, false, true,  noStart, noStart, noStart, true,  F::SweepStart,      F::SweepStart,      10},
    {"txtSweepStopFreq",   false, nullptr, false, true,  noStart, noStart, noStart, true,  F::SweepStop,       F::SweepStop,       10},
    {"txtSweepCenterFreq", false, nullptr, false, true,  noStart, noStart, noStart, true,  none,               none,               0},
    {"txtSweepSpan",       false, nullptr, false, true,  noStart, noStart, noStart, true,  none,               none,               0},
    {"txtSweepRate",       true,  nullptr, true,  true,  s001,    s001,    noStart, false, F::SweepRate,       F::SweepRate,       6},
    {"txtSweepSymmetry",   true,  "1",     false, true,  s11,     s11,     noStart, false, F::SweepSymmetry,   F::SweepSymmetry,   2},
    {"txtTrgRate",         true,  nullptr, true,  true,  s001,    s001,    noStart, true,  F::TriggerRate,     F::TriggerRate,     6},
    {"txtTrgSymmetry",     true,  "1",     false, true,  s110,    s110,    noStart, false, F::TriggerSymmetry, F::TriggerSymmetry, 3},
    {"txtTrgPhase",        false, nullptr, false, true,  s11,     s11,     noStart, false, F::TriggerPhase,    F::TriggerPhase,    3},
    {"txtBurstCount",      false, nullptr, false, true,  s11,     s11,     s11,     false, none,               none,               0},
    {"txtBurstPeriod",     true,  nullptr, false, true,  s001,    s001,    s001,    false, none,               none,               0},
    {"txtGatePeriod",      true,  nullptr, false, true,  s001,    s001,    noStart, false, none,               none,               0},
    {"txtOpenGatePeriod",  true,  nullptr, false, true,  s001,    s001,    noStart, false, none,               none,               0},
};
// clang-format on

class PanelEditing : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        frmDXS& w = window();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        // The conventions alone: the groups' rules stay out of these tests.
        for (NumericBox* box : w.panel.boxes()) {
            box->enterRule = nullptr;
            box->ownTextChangedRule = nullptr;
            box->keyPressRule = nullptr;
            QObject::disconnect(box, &NumericBox::enterPressed, nullptr, nullptr);
        }
    }
    NumericBox* box(const char* name) {
        auto* found = window().findChild<NumericBox*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // Lets the queued keystrokes and everything they queue run.
    static void drain() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    void focusAway() {
        window().txtMessage->setFocus(Qt::OtherFocusReason);
        drain();
    }
    void bringToFront(QWidget* widget) {
        for (QWidget* up = widget; up; up = up->parentWidget()) {
            const int page = window().panel.SSTabTrigger->indexOf(up);
            if (page >= 0) window().panel.SSTabTrigger->setCurrentIndex(page);
        }
    }
    void chooseAm(bool am) { (am ? window().panel.optModAM : window().panel.optModFM)->setChecked(true); }
};

TEST_F(PanelEditing, TextChangeMarksAndSetsTheStep) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        NumericBox* b = box(row.name);
        b->markAccepted();
        b->setTag("7");
        b->setText("12");
        EXPECT_EQ(b->BackColor(), row.marks ? ColorOrange : ColorWhite);
        EXPECT_EQ(b->Tag(), row.markStep ? row.markStep : "7");

        b->setTag("7");
        b->setText("-3");
        EXPECT_EQ(b->text(), row.negativeStart ? "0.01" : "-3");
        EXPECT_EQ(b->Tag(), row.negativeStart ? "0.01" : row.markStep ? row.markStep : "7");
    }
}

TEST_F(PanelEditing, ArrowKeysStepAndQueueEnter) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        NumericBox* b = box(row.name);
        bringToFront(b);
        b->setFocus(Qt::OtherFocusReason);
        drain();
        ASSERT_EQ(QApplication::focusWidget(), b);
        KeyLog log(b);

        // An empty box ignores both keys.
        b->setText("");
        QTest::keyClick(b, Qt::Key_Up);
        QTest::keyClick(b, Qt::Key_Down);
        drain();
        EXPECT_EQ(b->text(), "");
        EXPECT_EQ(log.keys, (Keys{Up, Down}));

        // 5.00 by 0.01 gives 5.01 at once; the Enter follows after the key's reaction.
        log.keys.clear();
        b->setText("5.00");
        b->setTag("0.01");
        QTest::keyClick(b, Qt::Key_Up);
        EXPECT_EQ(b->text(), "5.01");
        EXPECT_EQ(log.keys, Keys{Up});
        drain();
        EXPECT_EQ(log.keys, row.queuesEnter ? (Keys{Up, Enter}) : Keys{Up});
        if (row.marks) EXPECT_EQ(b->BackColor(), ColorOrange);

        // A text without a leading number steps from 0; a negative-start box resets at once.
        b->setText("abc");
        b->setTag("0.01");
        QTest::keyClick(b, Qt::Key_Down);
        EXPECT_EQ(b->text(), row.negativeStart ? "0.01" : "-0.01");
        if (row.negativeStart) EXPECT_EQ(b->Tag(), "0.01");
        drain();
    }
}

TEST_F(PanelEditing, SteppingWritesTheGeneralNumberForm) {
    const struct {
        const char* text;
        const char* step;
        int key;
        const char* result;
    } cases[] = {
        {"0", "1", Up, "1"},
        {"1000.00", "1", Up, "1001"},
        {"5.00", "0.01", Up, "5.01"},
        {"0.1", "0.2", Up, "0.3"},
        {"1", "0.00001", Down, "0.99999"},
        {"0", "0.00001", Up, "1E-05"},
        {" 7x", "2", Up, "9"},
        {"abc", "", Up, "0"},
        {"0.005", "0.01", Down, "-0.005"},
        {"999999999999999", "1", Up, "1E+15"},
        {"-2", "abc", Down, "-2"},
    };
    NumericBox* b = box("txtMainFreq"); // steps without a queued Enter and keeps its step
    b->setFocus(Qt::OtherFocusReason);
    for (const auto& c : cases) {
        b->setText(c.text);
        b->setTag(c.step);
        QTest::keyClick(b, Qt::Key(c.key));
        EXPECT_EQ(b->text(), c.result) << c.text << " by " << c.step;
        EXPECT_EQ(b->Tag(), c.step);
    }
}

TEST_F(PanelEditing, SpinButtonsFocusAndStepOrStartAnEmptyBox) {
    for (const bool am : {true, false}) {
        chooseAm(am);
        for (const Row& row : kRows) {
            NumericBox* b = box(row.name);
            bringToFront(b);
            for (const int key : {Up, Down}) {
                SCOPED_TRACE(testing::Message()
                             << row.name << (key == Up ? " up" : " down") << (am ? " AM" : " FM"));
                QToolButton* button = key == Up ? b->upDown()->upButton() : b->upDown()->downButton();
                const Start start = key == Up ? (am ? row.up : row.upFm) : row.down;

                focusAway();
                b->setText("");
                b->markAccepted();
                b->setTag("7");
                KeyLog log(b);
                QTest::mouseClick(button, Qt::LeftButton);
                drain();
                EXPECT_EQ(QApplication::focusWidget(), b);
                if (start.step) {
                    EXPECT_EQ(b->text(), start.text);
                    EXPECT_EQ(b->Tag(), start.step);
                    EXPECT_EQ(b->BackColor(), row.marks ? ColorOrange : ColorWhite);
                    EXPECT_EQ(log.keys, Keys{});
                } else {
                    EXPECT_EQ(b->text(), "");
                    EXPECT_EQ(b->Tag(), "7");
                    EXPECT_EQ(log.keys, Keys{key}); // the queued arrow, ignored by the empty box
                }

                // A box that holds a value steps and, but for the main frequency, runs its Enter.
                focusAway();
                b->setText("5");
                b->setTag("1");
                log.keys.clear();
                QTest::mouseClick(button, Qt::LeftButton);
                EXPECT_EQ(b->text(), "5"); // nothing steps before the click's reaction is over
                drain();
                EXPECT_EQ(b->text(), key == Up ? "6" : "4");
                EXPECT_EQ(log.keys, row.queuesEnter ? (Keys{key, Enter}) : Keys{key});
            }
        }
    }
}

TEST_F(PanelEditing, EnteringWritesTheHintForSevenBoxes) {
    int hinted = 0;
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        NumericBox* b = box(row.name);
        bringToFront(b);
        focusAway();
        window().setMessage("before");
        b->setFocus(Qt::TabFocusReason);
        drain();
        ASSERT_EQ(QApplication::focusWidget(), b);
        EXPECT_EQ(window().message(), row.hint ? kHint : "before");
        hinted += row.hint;
    }
    EXPECT_EQ(hinted, 7);
}

TEST_F(PanelEditing, LeavingStoresTheTextInTheRecord) {
    const QString twelve = "123456789012";
    for (const bool am : {true, false}) {
        chooseAm(am);
        for (const Row& row : kRows) {
            SCOPED_TRACE(testing::Message() << row.name << (am ? " AM" : " FM"));
            NumericBox* b = box(row.name);
            bringToFront(b);
            window().record.clear();
            window().record.setInteger(RecordField::AMSymmetry, 77);
            const QByteArray before = window().record.bytes();
            b->setFocus(Qt::OtherFocusReason);
            drain();
            b->setText(twelve);
            focusAway();
            const std::optional<RecordField> field = am ? row.amField : row.fmField;
            if (!field) {
                EXPECT_EQ(window().record.bytes(), before);
            } else if (*field == RecordField::AMSymmetry) {
                // Not a 16-bit whole number: the stored value stays.
                EXPECT_EQ(window().record.integer(RecordField::AMSymmetry), 77);
            } else {
                EXPECT_EQ(window().record.text(*field), twelve.left(row.width));
            }
        }
    }
}

TEST_F(PanelEditing, LeavingPadsCutsAndRoundsPerField) {
    const struct {
        const char* box;
        bool am;
        const char* text;
        RecordField field;
        const char* stored; // nullptr: a whole number
        int number;
    } cases[] = {
        {"txtMainFreq", true, "123456789012", F::MainFreq, "1234567890", 0},
        {"txtMainDuty", true, "5", F::Duty, "5 ", 0},
        {"txtMainAmp", true, "", F::Amplitude, "      ", 0},
        {"txtModRate", false, "2.5", F::FMRate, "2.5   ", 0},
        {"txtModSymmetry", false, "45", F::FMSymmetry, "45 ", 0},
        {"txtModSymmetry", true, "12.5", F::AMSymmetry, nullptr, 12},
        {"txtModSymmetry", true, "13.5", F::AMSymmetry, nullptr, 14},
        {"txtModSymmetry", true, " -3 ", F::AMSymmetry, nullptr, -3},
        {"txtModSymmetry", true, "", F::AMSymmetry, nullptr, 77},
        {"txtModSymmetry", true, "40000", F::AMSymmetry, nullptr, 77},
        {"txtModSymmetry", true, "5x", F::AMSymmetry, nullptr, 77},
        {"txtTrgPhase", true, "-180", F::TriggerPhase, "-18", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.box << " '" << c.text << "'");
        chooseAm(c.am);
        window().record.clear();
        window().record.setInteger(RecordField::AMSymmetry, 77);
        NumericBox* b = box(c.box);
        bringToFront(b);
        b->setFocus(Qt::OtherFocusReason);
        drain();
        b->setText(c.text);
        focusAway();
        if (c.stored)
            EXPECT_EQ(window().record.text(c.field), c.stored);
        else
            EXPECT_EQ(window().record.integer(c.field), c.number);
    }
}

TEST_F(PanelEditing, WindowActivationChangesNeitherHintNorRecord) {
    frmDXS& w = window();
    NumericBox* frequency = box("txtMainFreq");
    frequency->setFocus(Qt::OtherFocusReason);
    drain();
    frequency->setText("4242");
    w.setMessage("before");
    w.record.clear();

    QWidget other;
    other.setObjectName("otherProgram");
    auto* otherBox = new QLineEdit(&other);
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    otherBox->setFocus();
    drain();
    EXPECT_NE(QApplication::focusWidget(), frequency);
    EXPECT_EQ(w.record.text(RecordField::MainFreq), QString(10, QChar(0)));
    // A keystroke queued from the panel stays in the panel while another window has the focus.
    frequency->setTag("1");
    queueKeystroke(Qt::Key_Up, frequency);
    drain();
    EXPECT_EQ(frequency->text(), "4243");
    EXPECT_EQ(otherBox->text(), "");

    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    drain();
    EXPECT_EQ(QApplication::focusWidget(), frequency);
    EXPECT_EQ(w.message(), "before");
    EXPECT_EQ(w.record.text(RecordField::MainFreq), QString(10, QChar(0)));

    // Moving on inside the window does both again.
    box("txtSweepSpan")->setFocus(Qt::MouseFocusReason);
    drain();
    EXPECT_EQ(w.record.text(RecordField::MainFreq), "4243      ");
    EXPECT_EQ(w.message(), kHint);
}

TEST_F(PanelEditing, QueuedKeystrokesGoToTheControlFocusedWhenHandled) {
    NumericBox* amplitude = box("txtMainAmp");
    NumericBox* duty = box("txtMainDuty");
    amplitude->setText("1");
    duty->setText("1");
    amplitude->setFocus(Qt::OtherFocusReason);
    drain();
    KeyLog amplitudeLog(amplitude);
    KeyLog dutyLog(duty);
    queueKeystroke(Qt::Key_Up, amplitude);
    queueKeystroke(Qt::Key_Up, amplitude);
    duty->setFocus(Qt::OtherFocusReason);
    drain();
    EXPECT_EQ(amplitudeLog.keys, Keys{});
    // In order: each Up steps and queues its Enter behind the keystrokes already waiting.
    EXPECT_EQ(dutyLog.keys, (Keys{Up, Up, Enter, Enter}));
    EXPECT_EQ(duty->text(), "3");
    EXPECT_EQ(amplitude->text(), "1");
}

TEST_F(PanelEditing, EnterRunsTheRuleExceptInPhaseAndCount) {
    for (const Row& row : kRows) {
        NumericBox* b = box(row.name);
        int runs = 0;
        b->enterRule = [&runs] { ++runs; };
        bringToFront(b);
        b->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(b, Qt::Key_Return);
        QTest::keyClick(b, Qt::Key_Enter);
        const bool hasRule = QString(row.name) != "txtTrgPhase" && QString(row.name) != "txtBurstCount";
        EXPECT_EQ(runs, hasRule ? 2 : 0) << row.name;
        b->enterRule = nullptr;
    }
}

} // namespace
