#pragma once
#include "panel/UserDialogs.h"

class QWidget;

// The real dialogs: Qt message boxes and file dialogs over the main window, and the help window.
class QtUserDialogs : public UserDialogs {
public:
    explicit QtUserDialogs(QWidget* owner) : m_owner(owner) {}
    Answer message(const QString& text, Buttons buttons, Icon icon) override;
    QString chooseFile(const FileDialogRequest& request) override;
    void openHelp(int startPos) override;

private:
    QWidget* m_owner;
};

// "Name|pattern" pairs in the form Qt's file dialog takes: "Text files|*.txt" becomes
// "Text files (*.txt)"; "DXS4820(*.Log)|*.Log" stays "DXS4820(*.Log)", as the entry reads.
QString qtFileFilter(const QString& filter);
// The suffix a Save adds to a name typed without one: that of the filter's first pattern ("Log" for
// "DXS4820(*.Log)|*.Log"); empty when the pattern names none.
QString defaultSuffix(const QString& filter);
