// The editing conventions of the twenty numeric boxes, driven through the real window. The groups'
// own Enter and text-changed rules are detached so that only the conventions are seen.
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
using Keys = std::vector<int>;
const int Up = Qt::Key_Up, Down = Qt::Key_Down, Enter = Qt::Key_Return;

// Records the keys a widget receives (a destroyed filter leaves the widget by itself).
struct KeyLog : QObject {
    explicit KeyLog(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) keys.push_back(static_cast<QKeyEvent*>(event)->key());
        return false;
    }
    Keys keys;
};

struct Start {
    const char* step;
    const char* text;
};
constexpr Start no{nullptr, nullptr}, s001{"0.01", "0.01"}, s11{"1", "1"}, s110{"1", "10"};
using F = RecordField;
constexpr auto none = std::nullopt;

// One row per box, in the panel's order: its text and step as the window opens; whether a change
// of text turns it orange, and the step it then sets (nullptr: kept); whether a value below 0 becomes
// 0.01 with step 0.01; whether stepping ends in an Enter keystroke; the empty-box starts of the spin
// buttons (up with AM chosen, up with FM, down); whether entering writes the Enter-key hint; the
// field focus lost writes (AM chosen, FM chosen) and its width.
// clang-format off
struct Row { const char *name, *text, *step; bool marks; const char* markStep; bool negativeStart, queuesEnter;
             Start up, upFm, down; bool hint; std::optional<RecordField> am, fm; int width; };

const Row kRows[] = {
    {"txtMainFreq",        "10000",   "0.1",  true,  nullptr, false, false, no,   no,   no,   true,  F::MainFreq,        F::MainFreq,        10},
    {"txtMainAmp",         "5.00",    "0.01", true,  "0.01",  false, true,  no,   no,   no,   false, F::Amplitude,       F::Amplitude,       6},
    {"txtMainDCOffset",    "0.00",    "0.01", true,  "0.01",  false, true,  no,   no,   no,   false, F::DCOffset,        F::DCOffset,        6},
    {"txtMainDuty",        "50",      "1",    true,  "1",     false, true,  no,   no,   no,   false, F::Duty,            F::Duty,            2},
    {"txtModRate",         "1000.0",  "1",    true,  nullptr, true,  true,  s001, s001, no,   true,  F::AMRate,          F::FMRate,          6},
    {"txtModSpanDepth",    "50",      "1",    true,  nullptr, false, true,  s11,  s001, no,   false, F::AMDepth,         F::FMSpan,          6},
    {"txtModSymmetry",     "50",      "1",    true,  "1",     false, true,  s110, s110, no,   false, F::AMSymmetry,      F::FMSymmetry,      3},
    {"txtSweepStartFreq",  "1000.00", "0.01", false, nullptr, false, true,  no,   no,   no,   true,  F::SweepStart,      F::SweepStart,      10},
    {"txtSweepStopFreq",   "2000.00", "0.01", false, nullptr, false, true,  no,   no,   no,   true,  F::SweepStop,       F::SweepStop,       10},
    {"txtSweepCenterFreq", "1500.00", "0.01", false, nullptr, false, true,  no,   no,   no,   true,  none,               none,               0},
    {"txtSweepSpan",       "1000.00", "0.01", false, nullptr, false, true,  no,   no,   no,   true,  none,               none,               0},
    {"txtSweepRate",       "1000.0",  "1",    true,  nullptr, true,  true,  s001, s001, no,   false, F::SweepRate,       F::SweepRate,       6},
    {"txtSweepSymmetry",   "90",      "1",    true,  "1",     false, true,  s11,  s11,  no,   false, F::SweepSymmetry,   F::SweepSymmetry,   2},
    {"txtTrgRate",         "1000.0",  "",     true,  nullptr, true,  true,  s001, s001, no,   true,  F::TriggerRate,     F::TriggerRate,     6},
    {"txtTrgSymmetry",     "50",      "1",    true,  "1",     false, true,  s110, s110, no,   false, F::TriggerSymmetry, F::TriggerSymmetry, 3},
    {"txtTrgPhase",        "0",       "1",    false, nullptr, false, true,  s11,  s11,  no,   false, F::TriggerPhase,    F::TriggerPhase,    3},
    {"txtBurstCount",      "",        "1",    false, nullptr, false, true,  s11,  s11,  s11,  false, none,               none,               0},
    {"txtBurstPeriod",     "",        "1",    true,  nullptr, false, true,  s001, s001, s001, false, none,               none,               0},
    {"txtGatePeriod",      "",        "100",  true,  nullptr, false, true,  s001, s001, no,   false, none,               none,               0},
    {"txtOpenGatePeriod",  "",        "100",  true,  nullptr, false, true,  s001, s001, no,   false, none,               none,               0},
};
// clang-format on

class PanelEditing : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        QApplication::setActiveWindow(&window());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        for (NumericBox* box : window().panel.boxes()) {
            box->enterRule = nullptr;
            box->ownTextChangedRule = nullptr;
            box->keyPressRule = nullptr;
            QObject::disconnect(box, &NumericBox::enterPressed, nullptr, nullptr);
        }
    }
    // Lets the queued keystrokes and everything they queue run.
    static void drain() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    // The box, its tab page in front, optionally focused.
    NumericBox* box(const char* name, bool focus = false) {
        auto* found = window().findChild<NumericBox*>(name);
        EXPECT_NE(found, nullptr) << name;
        for (QWidget* up = found; up; up = up->parentWidget())
            if (const int page = window().panel.SSTabTrigger->indexOf(up); page >= 0)
                window().panel.SSTabTrigger->setCurrentIndex(page);
        if (focus) found->setFocus(Qt::OtherFocusReason), drain();
        return found;
    }
    void focusAway() {
        window().txtMessage->setFocus(Qt::OtherFocusReason);
        drain();
    }
    void chooseAm(bool am) { (am ? window().panel.optModAM : window().panel.optModFM)->setChecked(true); }
};

TEST_F(PanelEditing, DefaultsTextChangeArrowKeysAndEnter) {
    ASSERT_EQ(std::size(kRows), window().panel.boxes().size());
    for (size_t i = 0; i < std::size(kRows); ++i) {
        const Row& row = kRows[i];
        SCOPED_TRACE(row.name);
        NumericBox* b = box(row.name, true);
        EXPECT_EQ(window().panel.boxes()[i], b);
        EXPECT_EQ(b->text(), row.text);
        EXPECT_EQ(b->Tag(), row.step);
        EXPECT_EQ(b->BackColor(), ColorWhite);
        b->setTag("7");
        b->setText("12");
        EXPECT_EQ(b->BackColor(), row.marks ? ColorOrange : ColorWhite);
        EXPECT_EQ(b->Tag(), row.markStep ? row.markStep : "7");
        b->setTag("7");
        b->setText("-3");
        EXPECT_EQ(b->text(), row.negativeStart ? "0.01" : "-3");
        EXPECT_EQ(b->Tag(), row.negativeStart ? "0.01" : row.markStep ? row.markStep : "7");
        b->setText(""); // an empty box ignores both keys
        QTest::keyClick(b, Qt::Key_Up);
        QTest::keyClick(b, Qt::Key_Down);
        drain();
        EXPECT_EQ(b->text(), "");
        // 5.00 by 0.01 gives 5.01 at once; the Enter follows after the key's reaction.
        KeyLog log(b);
        b->setText("5.00");
        b->setTag("0.01");
        QTest::keyClick(b, Qt::Key_Up);
        EXPECT_EQ(b->text(), "5.01");
        EXPECT_EQ(log.keys, Keys{Up});
        drain();
        EXPECT_EQ(log.keys, row.queuesEnter ? (Keys{Up, Enter}) : Keys{Up});
        // A text without a leading number steps from 0; a negative-start box resets at once.
        b->setText("abc");
        b->setTag("0.01");
        QTest::keyClick(b, Qt::Key_Down);
        EXPECT_EQ(b->text(), row.negativeStart ? "0.01" : "-0.01");
        drain();
        // Return and Enter run the box's rule, but for the phase and the count.
        int runs = 0;
        b->enterRule = [&runs] { ++runs; };
        QTest::keyClick(b, Qt::Key_Return);
        QTest::keyClick(b, Qt::Key_Enter);
        EXPECT_EQ(runs, QString(row.name) == "txtTrgPhase" || QString(row.name) == "txtBurstCount" ? 0 : 2);
        b->enterRule = nullptr;
    }
}

TEST_F(PanelEditing, EnteringHintsLeavingStoresAndSpinButtonsStepOrStart) {
    int hinted = 0;
    for (const bool am : {true, false}) {
        chooseAm(am);
        for (const Row& row : kRows) {
            SCOPED_TRACE(testing::Message() << row.name << (am ? " AM" : " FM"));
            focusAway();
            window().setMessage("before");
            window().record.clear();
            window().record.setInteger(RecordField::AMSymmetry, 77);
            const QByteArray before = window().record.bytes();
            NumericBox* b = box(row.name, true);
            EXPECT_EQ(window().message(), row.hint ? kHint : "before");
            hinted += row.hint;
            b->setText("123456789012");
            focusAway();
            const std::optional<RecordField> field = am ? row.am : row.fm;
            if (!field)
                EXPECT_EQ(window().record.bytes(), before);
            else if (*field == F::AMSymmetry) // not a 16-bit whole number: the stored value stays
                EXPECT_EQ(window().record.integer(F::AMSymmetry), 77);
            else
                EXPECT_EQ(window().record.text(*field), QString("123456789012").left(row.width));

            for (const int key : {Up, Down}) {
                SCOPED_TRACE(key == Up ? "up" : "down");
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
                EXPECT_EQ(b->text(), start.text ? start.text : "");
                EXPECT_EQ(b->Tag(), start.step ? start.step : "7");
                EXPECT_EQ(b->BackColor(), start.step && row.marks ? ColorOrange : ColorWhite);
                EXPECT_EQ(log.keys, start.step ? Keys{} : Keys{key}); // else the arrow, ignored as empty
                // A box that holds a value steps after the click's reaction and queues its Enter.
                focusAway();
                b->setText("5");
                b->setTag("1");
                log.keys.clear();
                QTest::mouseClick(button, Qt::LeftButton);
                EXPECT_EQ(b->text(), "5");
                drain();
                EXPECT_EQ(b->text(), key == Up ? "6" : "4");
                EXPECT_EQ(log.keys, row.queuesEnter ? (Keys{key, Enter}) : Keys{key});
            }
        }
    }
    EXPECT_EQ(hinted, 14);
}

TEST_F(PanelEditing, LeavingPadsCutsAndRoundsPerField) {
    // clang-format off
    const struct { const char* box; bool am; const char* text; RecordField field; const char* stored; int number; } cases[] = {
        {"txtMainDuty", true, "5", F::Duty, "5 ", 0},           {"txtMainAmp", true, "", F::Amplitude, "      ", 0},
        {"txtModRate", false, "2.5", F::FMRate, "2.5   ", 0},   {"txtTrgPhase", true, "-180", F::TriggerPhase, "-18", 0},
        {"txtModSymmetry", true, "12.5", F::AMSymmetry, nullptr, 12}, {"txtModSymmetry", true, "13.5", F::AMSymmetry, nullptr, 14},
        {"txtModSymmetry", true, " -3 ", F::AMSymmetry, nullptr, -3}, {"txtModSymmetry", true, "", F::AMSymmetry, nullptr, 77},
        {"txtModSymmetry", true, "40000", F::AMSymmetry, nullptr, 77}, {"txtModSymmetry", true, "5x", F::AMSymmetry, nullptr, 77}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.box << " '" << c.text << "'");
        chooseAm(c.am);
        window().record.clear();
        window().record.setInteger(RecordField::AMSymmetry, 77);
        box(c.box, true)->setText(c.text);
        focusAway();
        if (c.stored)
            EXPECT_EQ(window().record.text(c.field), c.stored);
        else
            EXPECT_EQ(window().record.integer(c.field), c.number);
    }
}

TEST_F(PanelEditing, WindowActivationChangesNeitherHintNorRecord) {
    frmDXS& w = window();
    NumericBox* frequency = box("txtMainFreq", true);
    frequency->setText("4242");
    w.setMessage("before");
    w.record.clear();
    QWidget other;
    auto* otherBox = new QLineEdit(&other);
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    otherBox->setFocus();
    drain();
    EXPECT_EQ(w.record.text(F::MainFreq), QString(10, QChar(0)));
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
    EXPECT_EQ(w.record.text(F::MainFreq), QString(10, QChar(0)));
    // Moving on inside the window does both again.
    box("txtSweepSpan")->setFocus(Qt::MouseFocusReason);
    drain();
    EXPECT_EQ(w.record.text(F::MainFreq), "4243      ");
    EXPECT_EQ(w.message(), kHint);
}

TEST_F(PanelEditing, QueuedKeystrokesGoToTheControlFocusedWhenHandled) {
    NumericBox* amplitude = box("txtMainAmp", true);
    NumericBox* duty = box("txtMainDuty");
    amplitude->setText("1");
    duty->setText("1");
    KeyLog amplitudeLog(amplitude), dutyLog(duty);
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

} // namespace
