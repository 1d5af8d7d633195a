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

    virtual ~UserDialogs() = default;
    // A modal message box titled with the application's title.
    virtual Answer message(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;
    // The file dialog: returns the chosen path, or an empty text when the user cancelled.
    // `filter` is in the form "DXS4820(*.Log)|*.Log".
    virtual QString chooseFile(const QString& initialFolder, const QString& presetName, const QString& filter) = 0;
    // Opens the help window modally: at the start (position 0) or at a character position.
    virtual void openHelp(int startPos) = 0;
};
