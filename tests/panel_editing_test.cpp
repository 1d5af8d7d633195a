// The editing conventions of the twenty numeric boxes, driven through the real window. The groups'
// own Enter and text-changed rules are detached so that only the conventions are seen.
#include "rules_window.h"

#include <QKeyEvent>

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

using F = RecordField;
constexpr auto none = std::nullopt;

// Per box: text and step when the window opens; a change of text ("mark", "mark S": mark and take step S,
// "negative": mark and the negative start, "": nothing); the spin buttons' start on an empty box as "step
// text" for up with AM, up with FM, down ("": the click only steps); the record field left with AM and with
// FM, its width; whether entering the box writes the hint.
// clang-format off
struct Row { const char *name, *text, *step, *change, *upAm, *upFm, *down; std::optional<F> am, fm; int width; bool hint; };

const Row kRows[] = {
    {"txtMainFreq",        "10000",   "0.1",  "mark",      "",          "",          "",          F::MainFreq,        F::MainFreq,        10, true },
    {"txtMainAmp",         "5.00",    "0.01", "mark 0.01", "",          "",          "",          F::Amplitude,       F::Amplitude,        6, false},
    {"txtMainDCOffset",    "0.00",    "0.01", "mark 0.01", "",          "",          "",          F::DCOffset,        F::DCOffset,         6, false},
    {"txtMainDuty",        "50",      "1",    "mark 1",    "",          "",          "",          F::Duty,            F::Duty,             2, false},
    {"txtModRate",         "1000.0",  "1",    "negative",  "0.01 0.01", "0.01 0.01", "",          F::AMRate,          F::FMRate,           6, true },
    {"txtModSpanDepth",    "50",      "1",    "mark",      "1 1",       "0.01 0.01", "",          F::AMDepth,         F::FMSpan,           6, false},
    {"txtModSymmetry",     "50",      "1",    "mark 1",    "1 10",      "1 10",      "",          F::AMSymmetry,      F::FMSymmetry,       3, false},
    {"txtSweepStartFreq",  "1000.00", "0.01", "",          "",          "",          "",          F::SweepStart,      F::SweepStart,      10, true },
    {"txtSweepStopFreq",   "2000.00", "0.01", "",          "",          "",          "",          F::SweepStop,       F::SweepStop,       10, true },
    {"txtSweepCenterFreq", "1500.00", "0.01", "",          "",          "",          "",          none,               none,                0, true },
    {"txtSweepSpan",       "1000.00", "0.01", "",          "",          "",          "",          none,               none,                0, true },
    {"txtSweepRate",       "1000.0",  "1",    "negative",  "0.01 0.01", "0.01 0.01", "",          F::SweepRate,       F::SweepRate,        6, false},
    {"txtSweepSymmetry",   "90",      "1",    "mark 1",    "1 1",       "1 1",       "",          F::SweepSymmetry,   F::SweepSymmetry,    2, false},
    {"txtTrgRate",         "1000.0",  "",     "negative",  "0.01 0.01", "0.01 0.01", "",          F::TriggerRate,     F::TriggerRate,      6, true },
    {"txtTrgSymmetry",     "50",      "1",    "mark 1",    "1 10",      "1 10",      "",          F::TriggerSymmetry, F::TriggerSymmetry,  3, false},
    {"txtTrgPhase",        "0",       "1",    "",          "1 1",       "1 1",       "",          F::TriggerPhase,    F::TriggerPhase,     3, false},
    {"txtBurstCount",      "",        "1",    "",          "1 1",       "1 1",       "1 1",       none,               none,                0, false},
    {"txtBurstPeriod",     "",        "1",    "mark",      "0.01 0.01", "0.01 0.01", "0.01 0.01", none,               none,                0, false},
    {"txtGatePeriod",      "",        "100",  "mark",      "0.01 0.01", "0.01 0.01", "",          none,               none,                0, false},
    {"txtOpenGatePeriod",  "",        "100",  "mark",      "0.01 0.01", "0.01 0.01", "",          none,               none,                0, false},
};
// clang-format on

class PanelEditing : public RulesWindow {
protected:
    void SetUp() override {
        RulesWindow::SetUp();
        for (NumericBox* box : window().panel.boxes()) {
            box->enterRule = nullptr;
            box->ownTextChangedRule = nullptr;
            box->keyPressRule = nullptr;
            QObject::disconnect(box, &NumericBox::enterPressed, nullptr, nullptr);
        }
    }
    // The box, its tab page in front, optionally focused.
    NumericBox* box(const char* name, bool focus = false) {
        auto* found = window().findChild<NumericBox*>(name);
        EXPECT_NE(found, nullptr) << name;
        for (QWidget* up = found; up; up = up->parentWidget())
            if (const int page = window().panel.SSTabTrigger->indexOf(up); page >= 0)
                window().panel.SSTabTrigger->setCurrentIndex(page);
        if (focus) found->setFocus(Qt::OtherFocusReason), settle();
        return found;
    }
    void focusAway() {
        window().txtMessage->setFocus(Qt::OtherFocusReason);
        settle();
    }
    void chooseAm(bool am) { (am ? window().panel.optModAM : window().panel.optModFM)->setChecked(true); }
};

TEST_F(PanelEditing, EnteringChangingKeysLeavingAndSpinButtons) {
    ASSERT_EQ(std::size(kRows), window().panel.boxes().size());
    for (const bool am : {true, false}) {
        chooseAm(am);
        for (const Row& row : kRows) {
            SCOPED_TRACE(testing::Message() << row.name << (am ? " AM" : " FM"));
            const QString name = row.name, change = row.change;
            focusAway();
            window().setMessage("before");
            NumericBox* b = box(row.name, true);
            EXPECT_EQ(window().messageLineText(), row.hint ? kHint : "before");
            if (am) {
                EXPECT_EQ(state(b), QString(row.text) + "/" + row.step); // white
                const QString markStep = change.startsWith("mark ") ? change.mid(5) : "7";
                b->setTag("7");
                b->setText("12");
                EXPECT_EQ(state(b), "12/" + markStep + (change.isEmpty() ? "" : " orange"));
                b->setTag("7");
                b->setText("-3");
                EXPECT_EQ(b->text() + "|" + b->Tag(), change == "negative" ? "0.01|0.01" : "-3|" + markStep);
                // 5.00 by 0.01 gives 5.01 at once; the Enter follows after the key's reaction.
                KeyLog log(b);
                b->setText("5.00");
                b->setTag("0.01");
                QTest::keyClick(b, Qt::Key_Up);
                EXPECT_EQ(b->text() + (log.keys == Keys{Up} ? " up" : ""), "5.01 up");
                settle();
                EXPECT_EQ(log.keys, name == "txtMainFreq" ? Keys{Up} : (Keys{Up, Enter}));
                // A text without a leading number steps from 0; a negative-start box resets at once.
                b->setText("abc");
                b->setTag("0.01");
                QTest::keyClick(b, Qt::Key_Down);
                EXPECT_EQ(b->text(), change == "negative" ? "0.01" : "-0.01");
                settle();
                // Return and Enter run the box's rule, but for the phase and the count.
                int runs = 0;
                b->enterRule = [&runs] { ++runs; };
                QTest::keyClick(b, Qt::Key_Return);
                QTest::keyClick(b, Qt::Key_Enter);
                EXPECT_EQ(runs, name == "txtTrgPhase" || name == "txtBurstCount" ? 0 : 2);
                b->enterRule = nullptr;
            }
            focusAway();
            window().record.clear();
            window().record.setInteger(RecordField::AMSymmetry, 77);
            const QByteArray before = window().record.bytes();
            // Longer text is cut, shorter padded with blanks; the AM symmetry is a whole number, a half
            // rounded to the even neighbour, and one that is none leaves the stored value.
            for (const QString text : {"123456789012", " 12.5 "}) {
                box(row.name, true)->setText(text);
                focusAway();
                const std::optional<RecordField> field = am ? row.am : row.fm;
                if (!field)
                    EXPECT_EQ(window().record.bytes(), before);
                else if (*field == F::AMSymmetry)
                    EXPECT_EQ(window().record.integer(F::AMSymmetry), text.size() > 6 ? 77 : 12);
                else
                    EXPECT_EQ(window().record.text(*field), text.left(row.width).leftJustified(row.width));
            }
            for (const int key : {Up, Down}) {
                SCOPED_TRACE(key == Up ? "up" : "down");
                QToolButton* button = key == Up ? b->upDown()->upButton() : b->upDown()->downButton();
                const QStringList start =
                    QString(key == Up ? (am ? row.upAm : row.upFm) : row.down).split(' ');
                const bool starts = start.size() == 2;
                focusAway();
                b->setText("");
                b->markAccepted();
                b->setTag("7");
                KeyLog log(b);
                QTest::mouseClick(button, Qt::LeftButton);
                settle();
                EXPECT_EQ(focused(), name);
                EXPECT_EQ(b->Tag() + "|" + b->text(), starts ? start[0] + "|" + start[1] : "7|");
                EXPECT_EQ(b->BackColor(), starts && *row.change ? ColorOrange : ColorWhite);
                EXPECT_EQ(log.keys, starts ? Keys{} : Keys{key}); // else the arrow, ignored as empty
            }
        }
    }
}

// Switching to another window and back is neither leaving nor entering: no record write, no hint.
TEST_F(PanelEditing, WindowActivationChangesNeitherHintNorRecord) {
    frmDXS& w = window();
    box("txtMainFreq", true)->setText("4242");
    w.setMessage("before");
    w.record.clear();
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    activeWindow();
    settle();
    EXPECT_EQ(focused(), "txtMainFreq");
    EXPECT_EQ(w.messageLineText() + "|" + w.record.text(F::MainFreq), "before|" + QString(10, QChar(0)));
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
    settle();
    EXPECT_EQ(amplitudeLog.keys, Keys{});
    // In order: each Up steps and queues its Enter behind the keystrokes already waiting.
    EXPECT_EQ(dutyLog.keys, (Keys{Up, Up, Enter, Enter}));
    EXPECT_EQ(duty->text(), "3");
    EXPECT_EQ(amplitude->text(), "1");
}

} // namespace
