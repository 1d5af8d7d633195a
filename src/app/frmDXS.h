#pragma once
// The main window: the whole front panel. It owns the instrument object, the settings record, the
// panel's controls and the dialogs interface; each group's rules and each menu command's work live
// in their own files and are wired in by the constructor, each handed only what it uses (a
// RuleContext, an OperationContext, a HelpContext), which the window builds and keeps.
#include "help/HelpContext.h"
#include "instrument/clsDXS4820.h"
#include "operations/OperationContext.h"
#include "record/SettingsRecord.h"
#include "panel/Panel.h"
#include "panel/RuleContext.h"
#include "panel/UserDialogs.h"

#include <QMainWindow>
#include <QPointer>
#include <QWindow>
#include <functional>
#include <memory>
#include <optional>

class DefaultFileLock;
class QAction;
class QLineEdit;
class QMenu;
class SerialTransport;
class GpibTransport;

class frmDXS : public QMainWindow {
    Q_OBJECT
public:
    // Without the stored setting the default setting file is not read (the scripts' window: their
    // setting and connection come from the file they are given).
    enum class StoredSetting { Load, Ignore };
    explicit frmDXS(std::unique_ptr<UserDialogs> dialogs = nullptr, QWidget* parent = nullptr,
                    StoredSetting storedSetting = StoredSetting::Load);
    ~frmDXS() override;

    // Window-level state kept for the whole run.
    Panel panel;
    QLineEdit* txtMessage = nullptr;
    clsDXS4820 instrument;
    SettingsRecord record;
    bool sendAll = true;     // the next Send transmits every value
    int sweepCheckState = 0; // set by the sweep rules

    // Transports the instrument object talks through.
    SerialTransport& CWSerial1() { return *m_serial; }
    GpibTransport& CWGPIB1() { return *m_gpib; }

    UserDialogs& dialogs() { return *m_dialogs; }
    void setDialogs(std::unique_ptr<UserDialogs> dialogs);

    // The message line: every writer replaces its whole text.
    void setMessage(const QString& text);
    QString messageLineText() const;
    // Called with every line the message line shows (the scripts print them).
    std::function<void(const QString&)> messageEcho;

    // Menu commands.
    QMenu* mnuFile = nullptr;
    QAction* SaveFile = nullptr;
    QAction* LoadFile = nullptr;
    QMenu* mnuRecent = nullptr; // the setting files last loaded or saved, filled as File opens
    QAction* mnuPrint = nullptr;
    QAction* mnuSetting = nullptr;
    QAction* mnuSend = nullptr;
    QAction* mnuRead = nullptr;
    QAction* mnuPreview = nullptr;
    QAction* mnuHelp = nullptr;
    QAction* mnuAbout = nullptr;

    // Lists the recent setting files in File > Recent (done each time File opens).
    void fillRecentMenu();

    // Runs the readiness check as on activation (refused while an exchange waits).
    void checkReadiness();
    // True from the moment the window starts closing: operations under way end without more traffic.
    bool isClosing() const { return m_closing; }

    // Whether this copy stores its setting at close: false when another copy, started first on the
    // same default file, does (the user is told at start).
    bool storesSetting() const;
    // Closes the window without asking anything (a signal ends the program): a setting that cannot
    // be stored is reported by unattendedFailure() instead of in a message box.
    void endUnattended();
    // The session is ending (logout): the setting is stored now, the window stays until the session
    // ends it. Returns why the setting could not be stored (empty: stored or not this copy's).
    QString storeForSessionEnd();
    // Why the setting could not be stored at an unattended end (empty: it was, or it was not ours).
    QString unattendedFailure() const { return m_unattendedFailure; }

    // What the window hands down to the panel's rules, to the operations and to help.
    RuleContext& ruleContext() { return *m_ruleContext; }
    OperationContext& operationContext() { return *m_operationContext; }
    HelpContext& helpContext() { return *m_helpContext; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A setting file dropped anywhere on the window is loaded as Load does.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void installShortcuts();
    // The panel goes into a scroll area that takes no more than the screen's free room.
    void placePanelInScrollArea();
    QSize roomForPanel() const;
    void startUp(StoredSetting storedSetting);
    // Stores the setting at close; false when it could not be and the user chose to stay.
    bool storeSettingAtClose();

    std::unique_ptr<UserDialogs> m_dialogs;
    std::unique_ptr<SerialTransport> m_serial;
    std::unique_ptr<GpibTransport> m_gpib;
    // Built once the menus exist; kept inside the window, like the state they refer to.
    std::optional<RuleContext> m_ruleContext;
    std::optional<OperationContext> m_operationContext;
    std::optional<HelpContext> m_helpContext;
    QPointer<QWindow> m_previousFocusWindow;
    bool m_shownOnce = false;
    bool m_readinessDue = false; // shown, first readiness check not yet started
    bool m_closing = false;
    std::unique_ptr<DefaultFileLock> m_settingLock;
    bool m_askingToClose = false; // the close question is open
    bool m_unattended = false;    // closing without asking
    QString m_unattendedFailure;
};
