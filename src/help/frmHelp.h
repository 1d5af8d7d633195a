#pragma once
// The help window: the help document in a read-only rich-text box, opened at a passage.
#include <QDialog>

class QLineEdit;
class QTextEdit;

class frmHelp : public QDialog {
    Q_OBJECT
public:
    explicit frmHelp(QWidget* parent = nullptr);

    QTextEdit* txtHelp = nullptr;
    QLineEdit* Text2 = nullptr; // the caret position, and where Enter jumps to
    int StartPos = 0;           // the position to show on activation; 0: the document's start

    // Reads HelpDoc.rtf from the program folder (or an installed copy's data folder); a missing or
    // unreadable one leaves the box empty.
    void Form_Load();
    // Brings the passage at StartPos into view (runs once, when the window first becomes active).
    void Form_Activate();
    // Enter in Text2: jumps to the position it holds when that lies inside the document.
    void Text2_KeyDown(int keyCode);

    // Characters of the document's plain text, one per paragraph end.
    int textLength() const;
    int caretPosition() const;

signals:
    // The activation steps have run.
    void activated();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Resize();
    void txtHelp_SelChange();
    void moveCaret(int position);

    bool m_activated = false;
    bool m_movingCaret = false; // caret moves of our own do not show in Text2
};
