#include "help/HelpWindows.h"

#include "help/HelpContext.h"
#include "help/frmAbout.h"
#include "help/frmHelp.h"

#include <QLineEdit>
#include <QPointer>

namespace {
std::function<void(frmHelp&)>& helpObserver() {
    static std::function<void(frmHelp&)> observer;
    return observer;
}

QPointer<frmHelp>& lastHelpInstance() {
    static QPointer<frmHelp> instance;
    return instance;
}

QPointer<frmAbout>& aboutInstance() {
    static QPointer<frmAbout> instance;
    return instance;
}
} // namespace

std::unique_ptr<frmHelp> createHelpWindow(QWidget* parent, int startPos) {
    auto window = std::make_unique<frmHelp>(parent);
    window->Form_Load();
    if (startPos != 0) {
        window->Text2->setText(QString::number(startPos));
        window->StartPos = startPos;
    }
    return window;
}

void setHelpWindowObserver(std::function<void(frmHelp&)> observer) {
    helpObserver() = std::move(observer);
}

void openHelpWindow(QWidget* parent, int startPos) {
    // The window of the previous opening has served its purpose by now.
    QPointer<frmHelp>& last = lastHelpInstance();
    if (last && !last->isVisible()) delete last.data();

    frmHelp* window = createHelpWindow(parent, startPos).release();
    last = window;
    if (helpObserver()) {
        QObject::connect(window, &frmHelp::activated, window, [window] {
            if (helpObserver()) helpObserver()(*window);
        });
    }
    window->exec();
    // Kept, hidden, until the next opening (or the main window's end): when the main window becomes
    // active again it recognises that activation came back from help.
}

frmHelp* lastHelpWindow() {
    return lastHelpInstance().data();
}

void showAboutWindow(HelpContext& ctx) {
    // One About window for the main window's whole life: closing hides it, so that the main window
    // still recognises where its activation came back from.
    QPointer<frmAbout>& about = aboutInstance();
    if (about && about->parentWidget() != &ctx.window) delete about.data();
    if (!about) about = new frmAbout(ctx);
    about->show();
    about->raise();
    about->activateWindow();
}

frmAbout* aboutWindow() {
    return aboutInstance().data();
}
