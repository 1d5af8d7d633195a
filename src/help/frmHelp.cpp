#include "help/frmHelp.h"

#include "core/NumberText.h"
#include "core/ProgramFolder.h"
#include "help/RtfReader.h"
#include "panel/DesignUnits.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kClientWidth = 8730;
constexpr int kClientHeight = 7365;
// The caret goes this far past the requested position first, then this far before it, so the
// text around the passage ends up in view.
constexpr int kCaretSwing = 500;
} // namespace

frmHelp::frmHelp(QWidget* parent) : QDialog(parent) {
    setObjectName("frmHelp");
    setWindowTitle("DXS-4820 Function Generator Help Document");
    setSizeGripEnabled(true);

    txtHelp = new QTextEdit(this);
    txtHelp->setObjectName("txtHelp");
    txtHelp->setReadOnly(true);
    // Read-only, but with a caret the keys and the mouse move, as Text2 shows its position.
    txtHelp->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtHelp->move(twipsToPixels(30, *this), 0);

    Text2 = new QLineEdit(this);
    Text2->setObjectName("Text2");
    Text2->setGeometry(twipsToPixels(QRect(1680, 690, 945, 270), *this));
    Text2->raise(); // over the top left part of the help text
    Text2->installEventFilter(this);

    connect(txtHelp, &QTextEdit::cursorPositionChanged, this, [this] { txtHelp_SelChange(); });
    resize(twipsToPixels(kClientWidth, *this), twipsToPixels(kClientHeight, *this));
}

void frmHelp::Form_Load() {
    loadRtfFile(programDataFile("HelpDoc.rtf"), *txtHelp->document());
    moveCaret(0); // reading the document left the caret at its end
    StartPos = 0;
    Text2->setText("0");
}

int frmHelp::textLength() const {
    return static_cast<int>(txtHelp->toPlainText().size());
}

int frmHelp::caretPosition() const {
    return txtHelp->textCursor().position();
}

void frmHelp::moveCaret(int position) {
    m_movingCaret = true;
    QTextCursor cursor = txtHelp->textCursor();
    cursor.setPosition(std::clamp(position, 0, textLength()));
    txtHelp->setTextCursor(cursor);
    txtHelp->ensureCursorVisible();
    m_movingCaret = false;
}

void frmHelp::Form_Activate() {
    if (m_activated) return;
    m_activated = true;
    if (StartPos != 0) {
        txtHelp->setFocus();
        const int length = textLength();
        if (StartPos < length) {
            // Past the passage, then before it: scrolling follows the caret both times. Positions
            // outside the document are held at its ends.
            moveCaret(StartPos + kCaretSwing);
            moveCaret(StartPos - kCaretSwing);
        } else {
            moveCaret(length - 1);
        }
    }
    emit activated();
}

void frmHelp::Form_Resize() {
    txtHelp->resize(std::max(0, width() - twipsToPixels(250, *this)),
                    std::max(0, height() - twipsToPixels(400, *this)));
}

void frmHelp::txtHelp_SelChange() {
    if (m_movingCaret) return;
    Text2->setText(QString::number(caretPosition()));
}

void frmHelp::Text2_KeyDown(int keyCode) {
    if (keyCode != 13) return;
    const double value = numtext::lenientValue(Text2->text());
    if (!(value < textLength())) return;
    txtHelp->setFocus();
    moveCaret(static_cast<int>(std::lround(std::max(value, 0.0))));
}

bool frmHelp::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Form_Activate();
    return QDialog::event(event);
}

void frmHelp::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Where the platform does not activate a new window, the passage is shown all the same.
    QTimer::singleShot(0, this, [this] { Form_Activate(); });
}

void frmHelp::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

bool frmHelp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text2 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Text2_KeyDown(13);
            return true; // Enter does not close the window
        }
    }
    return QDialog::eventFilter(watched, event);
}
