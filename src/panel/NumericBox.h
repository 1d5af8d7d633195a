#pragma once
// A numeric entry box: its text is the value, its Tag the step that the arrow keys and spin buttons
// add or subtract, and its background colour tells an accepted value (white) from an edited one
// (orange). The editing conventions are applied from the box's row of the box table.
#include <QLineEdit>
#include <functional>

struct BoxSpec;
class UpDownButtons;

// Platform colour values (red + 256 * green + 65536 * blue).
constexpr int ColorWhite = 16777215;
constexpr int ColorOrange = 33023;

class NumericBox : public QLineEdit {
    Q_OBJECT
public:
    NumericBox(const BoxSpec& spec, QWidget* parent = nullptr);

    const BoxSpec& spec() const { return *m_spec; }

    // The step, kept as text.
    QString Tag() const { return m_tag; }
    void setTag(const QString& step) { m_tag = step; }

    int BackColor() const { return m_backColor; }
    void setBackColor(int color);
    bool isEdited() const { return m_backColor == ColorOrange; }
    void markAccepted() { setBackColor(ColorWhite); }
    void markEdited() { setBackColor(ColorOrange); }

    // The text as last accepted: the box's text while it is white, its last white text while it is
    // orange. What the panel stands for until the edit is confirmed.
    QString confirmedText() const { return m_confirmedText; }

    // The text the window is created with: set without any text-changed reaction, box white.
    void setDesignDefault(const QString& text);

    // The spin control beside the box.
    UpDownButtons* upDown() const { return m_upDown; }
    void setUpDown(UpDownButtons* upDown);

    // The group's Enter rule for this box; runs on Return and keypad Enter.
    std::function<void()> enterRule;
    // A box whose text-changed kind is "own rule" runs this on every change of its text.
    std::function<void()> ownTextChangedRule;
    // Runs for every other key that types a character (argument: its character code), before the
    // box takes the key; the sweep boxes mark themselves orange here.
    std::function<void(int)> keyPressRule;
    // Where focus lost stores the text (set by the window: the record write with its width).
    std::function<void()> focusLostStore;
    // The focus-gained hint (set by the window for the boxes that have one).
    std::function<void()> focusGainedHint;
    // Decides, for the boxes whose spin start depends on it, the step/text an empty box starts with.
    std::function<bool()> isAmChosen;

    // The arrow-key stepping: Up (+1) or Down (-1) by the step; an empty box ignores it.
    void step(int direction);
    // A click of the spin control's up (+1) or down (-1) button.
    void onSpinClicked(int direction);

signals:
    void enterPressed();
    // The confirmed text or the colour changed (an edit begun, confirmed or taken back).
    void confirmedStateChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void onTextChanged();
    void noteConfirmedState();

    const BoxSpec* m_spec;
    QString m_tag;
    int m_backColor = ColorWhite;
    QString m_confirmedText;
    UpDownButtons* m_upDown = nullptr;
    bool m_quiet = false;
};

// Queues a key press (and release) to whatever widget has the focus when it is handled, after the
// current reaction has returned.
void queueKeystroke(int key);
// The same, for a keystroke queued from `origin`: when the application's focus is outside
// origin's window (a message box, another program), the key goes to that window's focused control.
void queueKeystroke(int key, QWidget* origin);

// Focus changes that count as moving between the program's controls (not window activation).
bool isControlFocusChange(Qt::FocusReason reason);
