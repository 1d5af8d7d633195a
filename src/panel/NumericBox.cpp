#include "panel/NumericBox.h"

#include "core/NumberText.h"
#include "panel/BoxTable.h"
#include "panel/DesignUnits.h"
#include "panel/UpDownButtons.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QPointer>

namespace {

// A queued keystroke, with the window it was queued from.
class QueuedKeystroke : public QKeyEvent {
public:
    QueuedKeystroke(int key, QWidget* origin)
        : QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, keyText(key)),
          origin(origin ? origin->window() : nullptr) {}
    const QPointer<QWidget> origin;

private:
    static QString keyText(int key) {
        return key == Qt::Key_Return || key == Qt::Key_Enter ? QStringLiteral("\r") : QString();
    }
};

// Receives the queued keystrokes in posting order and hands each to the control that has the focus
// at that moment, as a key typed by the user would be.
class KeystrokeDispatcher : public QObject {
public:
    void post(int key, QWidget* origin) {
        QCoreApplication::postEvent(this, new QueuedKeystroke(key, origin));
    }

protected:
    bool event(QEvent* event) override {
        auto* queued = dynamic_cast<QueuedKeystroke*>(event);
        if (!queued) return QObject::event(event);
        // Focus outside the window the key was queued from (a message box, another program): the
        // key goes to that window's focused control.
        QWidget* target = QApplication::focusWidget();
        if (queued->origin && (!target || target->window() != queued->origin))
            target = queued->origin->focusWidget();
        if (!target) return true;
        QPointer<QWidget> guard(target);
        QKeyEvent down(QEvent::KeyPress, queued->key(), queued->modifiers(), queued->text());
        QCoreApplication::sendEvent(target, &down);
        if (!guard) return true;
        QKeyEvent up(QEvent::KeyRelease, queued->key(), queued->modifiers(), queued->text());
        QCoreApplication::sendEvent(target, &up);
        return true;
    }
};

KeystrokeDispatcher& dispatcher() {
    static auto* instance = [] {
        auto* created = new KeystrokeDispatcher;
        // Gone with the application object, with any keystrokes still queued.
        if (QCoreApplication::instance()) created->setParent(QCoreApplication::instance());
        return created;
    }();
    return *instance;
}

} // namespace

void queueKeystroke(int key) {
    dispatcher().post(key, nullptr);
}
void queueKeystroke(int key, QWidget* origin) {
    dispatcher().post(key, origin);
}

bool isControlFocusChange(Qt::FocusReason reason) {
    switch (reason) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
        return true;
    default:
        return false;
    }
}

NumericBox::NumericBox(const BoxSpec& spec, QWidget* parent)
    : QLineEdit(parent), m_spec(&spec), m_tag(QString::fromLatin1(spec.initialStep)) {
    setObjectName(QString::fromLatin1(spec.name));
    setBackColor(ColorWhite);
    connect(this, &QLineEdit::textChanged, this, &NumericBox::onTextChanged);
}

void NumericBox::setBackColor(int color) {
    m_backColor = color;
    QPalette colors = palette();
    colors.setColor(QPalette::Base, platformColor(color));
    // The text colour goes with the box's own background, not with the desktop's: a dark desktop
    // palette would otherwise write light text on the white or orange box.
    colors.setColor(QPalette::Active, QPalette::Text, Qt::black);
    colors.setColor(QPalette::Inactive, QPalette::Text, Qt::black);
    colors.setColor(QPalette::Disabled, QPalette::Text, QColor(0x60, 0x60, 0x60));
    setPalette(colors);
    // A screen reader cannot see the orange; it hears that the value still waits for Enter.
    const QString description =
        color == ColorOrange ? QStringLiteral("edited, press Enter to confirm") : QString();
    if (accessibleDescription() != description) setAccessibleDescription(description);
    noteConfirmedState();
}

void NumericBox::noteConfirmedState() {
    // A white box stands for its text; an orange one still for the text it had when last white.
    if (!isEdited()) m_confirmedText = text();
    emit confirmedStateChanged();
}

void NumericBox::setDesignDefault(const QString& text) {
    m_quiet = true;
    setText(text);
    m_quiet = false;
    markAccepted();
}

void NumericBox::setUpDown(UpDownButtons* upDown) {
    m_upDown = upDown;
    connect(upDown, &UpDownButtons::upClicked, this, [this] { onSpinClicked(+1); });
    connect(upDown, &UpDownButtons::downClicked, this, [this] { onSpinClicked(-1); });
}

void NumericBox::onTextChanged() {
    if (m_quiet) return;
    switch (m_spec->textChanged) {
    case TextChangedKind::Mark:
        markEdited();
        break;
    case TextChangedKind::MarkAndStep:
        m_tag = QString::fromLatin1(m_spec->markStep);
        markEdited();
        break;
    case TextChangedKind::MarkNegativeStart:
        markEdited();
        // Setting the text runs this reaction once more, which finds 0.01 and stops.
        if (numtext::lenientValue(text()) < 0) {
            setText(QStringLiteral("0.01"));
            m_tag = QStringLiteral("0.01");
        }
        break;
    case TextChangedKind::None:
        break;
    case TextChangedKind::OwnRule:
        if (ownTextChangedRule) ownTextChangedRule();
        break;
    }
    // Boxes that never turn orange (the burst count, the trigger phase, the sweep boxes written by
    // other rules) are confirmed by every change.
    noteConfirmedState();
}

void NumericBox::step(int direction) {
    if (text().isEmpty()) return;
    const double value = numtext::lenientValue(text());
    const double stepValue = numtext::lenientValue(m_tag);
    setText(numtext::generalForm(direction > 0 ? value + stepValue : value - stepValue));
    if (m_spec->stepQueuesEnter) queueKeystroke(Qt::Key_Return, this);
}

void NumericBox::onSpinClicked(int direction) {
    const bool startsHere =
        m_spec->spinStart == SpinStart::DownAndUp || (m_spec->spinStart == SpinStart::Up && direction > 0);
    if (startsHere && text().isEmpty()) {
        const bool fm = m_spec->fmStartStep && isAmChosen && !isAmChosen();
        m_tag = QString::fromLatin1(fm ? m_spec->fmStartStep : m_spec->startStep);
        setText(QString::fromLatin1(fm ? m_spec->fmStartText : m_spec->startText));
        setFocus();
        return;
    }
    setFocus();
    queueKeystroke(direction > 0 ? Qt::Key_Up : Qt::Key_Down, this);
}

void NumericBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        if (!m_spec->hasEnterRule) return;
        if (enterRule) enterRule();
        emit enterPressed();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        event->accept();
        step(event->key() == Qt::Key_Up ? +1 : -1);
        return;
    default:
        break;
    }
    // Alt with a letter belongs to the menus (or to nothing): it types nothing into the box. AltGr,
    // reported as Ctrl+Alt on some systems, still types its character.
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier) && !event->text().isEmpty()) {
        event->ignore();
        return;
    }
    if (keyPressRule && !event->text().isEmpty()) {
        QPointer<NumericBox> self(this);
        keyPressRule(event->text().at(0).unicode());
        if (!self) return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumericBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (isControlFocusChange(event->reason()) && focusGainedHint) focusGainedHint();
}

void NumericBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (isControlFocusChange(event->reason()) && focusLostStore) focusLostStore();
}
