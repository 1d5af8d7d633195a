#include "app/frmDXS.h"

#include "app/QtUserDialogs.h"
#include "help/HelpContext.h"
#include "help/HelpWindows.h"
#include "instrument/GpibTransport.h"
#include "instrument/SerialTransport.h"
#include "operations/OperationContext.h"
#include "operations/Operations.h"
#include "record/DefaultFileLock.h"
#include "panel/PanelAccessibility.h"
#include "panel/PanelWiring.h"
#include "panel/RuleContext.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QSessionManager>
#include <QTimer>
#include <QWindow>

namespace {
// Our own secondary windows: activation coming back from one of them runs the readiness check.
bool isOwnSecondaryWindow(QWindow* window) {
    if (!window) return false;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->windowHandle() != window) continue;
        const QString name = widget->objectName();
        return name == "frmHelp" || name == "frmAbout";
    }
    return false;
}
} // namespace

frmDXS::frmDXS(std::unique_ptr<UserDialogs> dialogs, QWidget* parent)
    : QMainWindow(parent), m_dialogs(std::move(dialogs)), m_serial(std::make_unique<SerialTransport>()),
      m_gpib(std::make_unique<GpibTransport>()) {
    setObjectName("frmDXS");
    setWindowTitle("DXS-4820 Function Generator RS232 Interface Software");
    if (!m_dialogs) m_dialogs = std::make_unique<QtUserDialogs>(this);

    txtMessage = new QLineEdit(this);
    txtMessage->setObjectName("txtMessage");
    txtMessage->setReadOnly(true);
    buildPanel(*this, panel, txtMessage);
    applyPanelAccessibility(*this, panel, txtMessage);
    buildMenus();

    // The parts below reach the dialogs and the message line only through these, so a dialogs
    // object put in place later is the one they use.
    auto currentDialogs = [this]() -> UserDialogs& { return this->dialogs(); };
    auto messageLine = [this](const QString& text) { setMessage(text); };
    m_ruleContext.emplace(RuleContext{*this, panel, record, currentDialogs, messageLine, sweepCheckState});
    m_operationContext.emplace(OperationContext{*this, panel, record, instrument, *m_serial, *m_gpib, sendAll,
                                                currentDialogs, messageLine, [this] { return isClosing(); },
                                                mnuSend, mnuSetting, LoadFile});
    m_helpContext.emplace(HelpContext{*this, currentDialogs, messageLine});

    installPanelConventions(ruleContext());
    installMainSettingGroup(ruleContext());
    installSweepGroup(ruleContext());
    installModulationGroup(ruleContext());
    installTriggerGroup(ruleContext());
    installBurstGroup(ruleContext());
    installGateGroup(ruleContext());
    installConnectionFrame(operationContext());
    installSend(operationContext());

    startUp();

    // Activation handed back by our help or About window asks the instrument again; a message box
    // closing or the user returning from another program does not.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* now) {
        if (now && now == windowHandle() && isOwnSecondaryWindow(m_previousFocusWindow)) checkReadiness();
        m_previousFocusWindow = now;
    });
#ifndef QT_NO_SESSIONMANAGER
    // Logging out stores the setting as closing the window does.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
        m_unattendedFailure = storeForSessionEnd();
        if (!m_unattendedFailure.isEmpty()) qWarning().noquote() << m_unattendedFailure;
    });
#endif
}

frmDXS::~frmDXS() = default;

void frmDXS::setDialogs(std::unique_ptr<UserDialogs> dialogs) {
    m_dialogs = std::move(dialogs);
}

void frmDXS::setMessage(const QString& text) {
    txtMessage->setText(text);
    // A long summary reads from its beginning, as a one-line message should.
    txtMessage->setCursorPosition(0);
}
QString frmDXS::messageLineText() const {
    return txtMessage->text();
}

void frmDXS::buildMenus() {
    mnuFile = menuBar()->addMenu("File");
    mnuFile->setObjectName("mnuFile");
    SaveFile = mnuFile->addAction("Save");
    LoadFile = mnuFile->addAction("Load");
    mnuPrint = mnuFile->addAction("Print");
    mnuSetting = menuBar()->addAction("Setting");
    mnuSend = menuBar()->addAction("Send");
    mnuHelp = menuBar()->addAction("Help");
    mnuAbout = menuBar()->addAction("About");
    SaveFile->setObjectName("SaveFile");
    LoadFile->setObjectName("LoadFile");
    mnuPrint->setObjectName("mnuPrint");
    mnuSetting->setObjectName("mnuSetting");
    mnuSend->setObjectName("mnuSend");
    mnuHelp->setObjectName("mnuHelp");
    mnuAbout->setObjectName("mnuAbout");

    connect(SaveFile, &QAction::triggered, this, [this] { SaveFile_Click(operationContext()); });
    connect(LoadFile, &QAction::triggered, this, [this] { LoadFile_Click(operationContext()); });
    connect(mnuPrint, &QAction::triggered, this, [this] { printMainWindow(operationContext()); });
    connect(mnuHelp, &QAction::triggered, this, [this] { dialogs().openHelp(0); });
    connect(mnuAbout, &QAction::triggered, this, [this] { showAboutWindow(helpContext()); });
}

void frmDXS::startUp() {
    instrument.txtMsg = [this](const QString& line) { setMessage(line); };
    instrument.CWSerial1 = m_serial.get();
    instrument.CWGPIB1 = m_gpib.get();
    sweepCheckState = 0;
    sendAll = true;
    fillConnectionLists(operationContext());
    // The first copy started on the default file keeps it; a later one says so once, now, rather
    // than overwrite the first one's setting when it is closed.
    m_settingLock = ClaimDefaultFile();
    LoadOperation(operationContext());
    InitDevice(operationContext());
    if (!storesSetting()) {
        const qint64 owner = m_settingLock->ownerProcess();
        dialogs().message(
            QStringLiteral("Another copy of this program%1 is running and stores its setting in %2.\n"
                           "This copy will not store its setting when it is closed, so that the other "
                           "copy's setting is kept.")
                .arg(owner > 0 ? QStringLiteral(" (process %1)").arg(owner) : QString(),
                     QDir::toNativeSeparators(defaultSettingFile())),
            UserDialogs::Buttons::Ok, UserDialogs::Icon::Information);
    }
}

bool frmDXS::storesSetting() const {
    return m_settingLock && m_settingLock->storesSetting();
}

void frmDXS::checkReadiness() {
    // An exchange already waiting for its reply is not interleaved with another one.
    if (instrument.isExchanging() || m_closing) return;
    instrument.Ready();
}

bool frmDXS::event(QEvent* event) {
    // The first readiness check waits for the window's first paint, even when activation comes
    // before it: its pacing wait must not hold the window blank on screen.
    if (event->type() == QEvent::Show && !m_shownOnce) {
        m_shownOnce = true;
        m_readinessDue = true;
    }
    const bool handled = QMainWindow::event(event);
    if (m_readinessDue && event->type() == QEvent::Paint) {
        m_readinessDue = false;
        QTimer::singleShot(0, this, [this] { checkReadiness(); });
    }
    return handled;
}

bool frmDXS::storeSettingAtClose() {
    if (!storesSetting()) return true; // told at start
    const QString failure = SaveOperation(operationContext());
    m_unattendedFailure.clear();
    if (failure.isEmpty()) return true;
    if (m_unattended) {
        m_unattendedFailure = failure;
        return true;
    }
    m_askingToClose = true;
    const auto answer = dialogs().message(
        failure + QStringLiteral("\n\nClose anyway? The setting of this session will be lost."),
        UserDialogs::Buttons::YesNo, UserDialogs::Icon::Warning);
    m_askingToClose = false;
    // A signal that came while the question was open ends the program all the same.
    if (m_unattended) m_unattendedFailure = failure;
    return answer == UserDialogs::Answer::Yes || m_unattended;
}

void frmDXS::endUnattended() {
    m_unattended = true;
    if (m_askingToClose) {
        // The open question is answered by the signal.
        if (auto* question = qobject_cast<QDialog*>(QApplication::activeModalWidget())) question->reject();
        return;
    }
    close();
}

QString frmDXS::storeForSessionEnd() {
    if (!storesSetting() || m_closing) return {};
    return SaveOperation(operationContext());
}

void frmDXS::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    if (m_askingToClose || !storeSettingAtClose()) {
        event->ignore();
        return;
    }
    m_closing = true;
    if (m_settingLock) m_settingLock->release();
    instrument.shutDown();
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != this && widget->isVisible()) widget->close();
    event->accept();
}
