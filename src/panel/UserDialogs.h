#pragma once
#include <QString>

// Everything that asks the user something or opens another window goes through this interface,
// which the main window owns and hands down to the panel, the operations and help; tests put a
// scripted one in its place.
class UserDialogs {
public:
    enum class Buttons { Ok, YesNo };
    enum class Icon { None, Information, Warning, Critical };
    enum class Answer { Ok, Yes, No };
    // Save asks for a file to write, proposing a name, adding the filter's suffix to a name typed
    // without one and confirming before it replaces a file; Open asks for an existing file.
    enum class FileDialogKind { Save, Open };
    struct FileDialogRequest {
        FileDialogKind kind = FileDialogKind::Open;
        QString title;        // Save's accept button says the same
        QString startFolder;  // the folder the dialog opens in
        QString proposedName; // empty: none
        QString filter;       // in the form "DXS4820(*.Log)|*.Log"
    };

    virtual ~UserDialogs() = default;
    // A modal message box titled with the application's title.
    virtual Answer message(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;
    // A file dialog: returns the chosen path, or an empty text when the user cancelled.
    virtual QString chooseFile(const FileDialogRequest& request) = 0;
    // Opens the help window modally: at the start (position 0) or at a character position.
    virtual void openHelp(int startPos) = 0;
};
