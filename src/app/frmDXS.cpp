#include "app/frmDXS.h"

#include "app/PreviewWindow.h"
#include "app/QtUserDialogs.h"
#include "core/ProgramFolder.h"
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
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSessionManager>
#include <QStyle>
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

// The panel inside the window. Where the screen's free area is smaller than the panel (a small
// screen at 1.5 or 2 times scale) the window takes the room there is and the panel scrolls, so
// the message line and the tab pages stay within reach; elsewhere the window is just the panel.
class PanelScrollArea : public QScrollArea {
public:
    PanelScrollArea(std::function<QSize()> room, QWidget* parent)
        : QScrollArea(parent), m_room(std::move(room)) {
        setObjectName("PanelScroll");
        setFrameShape(QFrame::NoFrame);
        setFocusPolicy(Qt::NoFocus);
        setBackgroundRole(QPalette::Window);
        viewport()->setBackgroundRole(QPalette::Window);
    }
    QSize sizeHint() const override {
        const QSize full = widget() ? widget()->size() : QSize();
        const QSize room = m_room();
        if (full.width() <= room.width() && full.height() <= room.height()) return full;
        // Scrolling one way takes a scroll bar's breadth from the other.
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        QSize hint = full;
        if (full.height() > room.height()) hint.rwidth() += bar;
        if (hint.width() > room.width()) hint.rheight() += bar;
        return hint.boundedTo(room);
    }
    QSize minimumSizeHint() const override { return sizeHint().boundedTo(QSize(200, 150)); }

private:
    std::function<QSize()> m_room;
};

// The standard keys of a command, or the given ones where the platform has none.
QList<QKeySequence> standardOr(QKeySequence::StandardKey key, const QKeySequence& fallback) {
    const QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    return keys.isEmpty() ? QList<QKeySequence>{fallback} : keys;
}

// The one local file a drag carries, or an empty text.
QString draggedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().first();
    return url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile() ? url.toLocalFile() : QString();
}
} // namespace

frmDXS::frmDXS(std::unique_ptr<UserDialogs> dialogs, QWidget* parent, StoredSetting storedSetting)
    : QMainWindow(parent), m_dialogs(std::move(dialogs)), m_serial(std::make_unique<SerialTransport>()),
      m_gpib(std::make_unique<GpibTransport>()) {
    setObjectName("frmDXS");
    setWindowTitle(frontPanelName);
    if (!m_dialogs) m_dialogs = std::make_unique<QtUserDialogs>(this);

    txtMessage = new QLineEdit(this);
    txtMessage->setObjectName("txtMessage");
    txtMessage->setReadOnly(true);
    buildPanel(*this, panel, txtMessage);
    applyPanelAccessibility(*this, panel, txtMessage);
    buildMenus();
    placePanelInScrollArea();

    // The parts below reach the dialogs and the message line only through these, so a dialogs
    // object put in place later is the one they use.
    auto currentDialogs = [this]() -> UserDialogs& { return this->dialogs(); };
    auto messageLine = [this](const QString& text) { setMessage(text); };
    m_ruleContext.emplace(RuleContext{*this, panel, record, currentDialogs, messageLine, sweepCheckState});
    m_operationContext.emplace(OperationContext{*this, panel, record, instrument, *m_serial, *m_gpib, sendAll,
                                                currentDialogs, messageLine, [this] { return isClosing(); },
                                                mnuSend, mnuSetting, LoadFile, mnuRead, LastSentMemory{}});
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
    installRead(operationContext());

    startUp(storedSetting);

    // The text boxes take dragged text themselves; a dragged file is the window's.
    setAcceptDrops(true);
    for (QLineEdit* box : findChildren<QLineEdit*>())
        box->installEventFilter(this);

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
    if (messageEcho) messageEcho(text);
}
QString frmDXS::messageLineText() const {
    return txtMessage->text();
}

void frmDXS::buildMenus() {
    // Alt with the marked letter opens each menu; the captions read as before without the mark.
    mnuFile = menuBar()->addMenu("&File");
    mnuFile->setObjectName("mnuFile");
    SaveFile = mnuFile->addAction("&Save");
    LoadFile = mnuFile->addAction("&Load");
    mnuRecent = mnuFile->addMenu("&Recent");
    mnuPrint = mnuFile->addAction("&Print");
    mnuSetting = menuBar()->addAction("&Setting");
    mnuSend = menuBar()->addAction("Se&nd");
    mnuRead = menuBar()->addAction("&Read");
    mnuPreview = menuBar()->addAction("&Preview");
    mnuHelp = menuBar()->addAction("&Help");
    mnuAbout = menuBar()->addAction("&About");
    SaveFile->setObjectName("SaveFile");
    LoadFile->setObjectName("LoadFile");
    mnuRecent->setObjectName("mnuRecent");
    mnuPrint->setObjectName("mnuPrint");
    mnuSetting->setObjectName("mnuSetting");
    mnuSend->setObjectName("mnuSend");
    mnuRead->setObjectName("mnuRead");
    mnuPreview->setObjectName("mnuPreview");
    mnuHelp->setObjectName("mnuHelp");
    mnuAbout->setObjectName("mnuAbout");

    connect(SaveFile, &QAction::triggered, this, [this] { SaveFile_Click(operationContext()); });
    connect(LoadFile, &QAction::triggered, this, [this] { LoadFile_Click(operationContext()); });
    connect(mnuFile, &QMenu::aboutToShow, this, &frmDXS::fillRecentMenu);
    connect(mnuPrint, &QAction::triggered, this, [this] { printMainWindow(operationContext()); });
    connect(mnuPreview, &QAction::triggered, this, [this] { showPreviewWindow(*this); });
    connect(mnuHelp, &QAction::triggered, this, [this] { dialogs().openHelp(0); });
    connect(mnuAbout, &QAction::triggered, this, [this] { showAboutWindow(helpContext()); });
    installShortcuts();
}

void frmDXS::installShortcuts() {
    SaveFile->setShortcuts(standardOr(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)));
    LoadFile->setShortcuts(standardOr(QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)));
    mnuPrint->setShortcuts(standardOr(QKeySequence::Print, QKeySequence(Qt::CTRL | Qt::Key_P)));
    mnuSend->setShortcuts({QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_Return),
                           QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter))});

    // F1: help at the passage of the focused control, as a click on its caption opens it.
    auto* helpOnFocus = new QAction("Help on the focused item", this);
    helpOnFocus->setObjectName("HelpOnFocus");
    helpOnFocus->setShortcuts(standardOr(QKeySequence::HelpContents, QKeySequence(Qt::Key_F1)));
    connect(helpOnFocus, &QAction::triggered, this, [this] {
        const int position = helpPositionFor(panel, focusWidget());
        dialogs().openHelp(position >= 0 ? position : 0);
    });
    addAction(helpOnFocus);

    // Ctrl+Q closes the window exactly as its frame's close button does.
    auto* closeWindow = new QAction("Close", this);
    closeWindow->setObjectName("CloseWindow");
    closeWindow->setShortcuts(standardOr(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
    connect(closeWindow, &QAction::triggered, this, [this] { close(); });
    addAction(closeWindow);
}

QSize frmDXS::roomForPanel() const {
    QScreen* where = windowHandle() && windowHandle()->screen() ? windowHandle()->screen() : screen();
    if (!where) return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    // The window's own frame: known once shown, else what a title bar and border usually take.
    QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (frame.isNull()) frame = QMargins(4, 32, 4, 4);
    const QSize free = where->availableGeometry().size();
    return {free.width() - frame.left() - frame.right(),
            free.height() - frame.top() - frame.bottom() - menuBar()->sizeHint().height()};
}

void frmDXS::placePanelInScrollArea() {
    QWidget* area = takeCentralWidget();
    auto* scroll = new PanelScrollArea([this] { return roomForPanel(); }, this);
    scroll->setWidget(area);
    setCentralWidget(scroll);
    // A control reached from the keyboard is scrolled into view.
    connect(qApp, &QApplication::focusChanged, scroll, [scroll](QWidget*, QWidget* now) {
        if (now && scroll->widget() && scroll->widget()->isAncestorOf(now)) scroll->ensureWidgetVisible(now);
    });
}

void frmDXS::fillRecentMenu() {
    mnuRecent->clear();
    const QStringList files = recentSettingFiles();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QString caption = QDir::toNativeSeparators(path);
        QAction* entry = mnuRecent->addAction(QString("&%1 %2").arg(i + 1).arg(caption.replace("&", "&&")));
        connect(entry, &QAction::triggered, this,
                [this, path] { loadSettingFile(operationContext(), path); });
    }
    // Like Load, not while an instrument operation runs.
    mnuRecent->setEnabled(!files.isEmpty() && LoadFile->isEnabled());
}

void frmDXS::startUp(StoredSetting storedSetting) {
    instrument.txtMsg = [this](const QString& line) { setMessage(line); };
    instrument.CWSerial1 = m_serial.get();
    instrument.CWGPIB1 = m_gpib.get();
    sweepCheckState = 0;
    sendAll = true;
    fillConnectionLists(operationContext());
    // The first copy started on the default file keeps it; a later one says so once, now, rather
    // than overwrite the first one's setting when it is closed. A script keeps no setting at all.
    if (storedSetting == StoredSetting::Load) {
        m_settingLock = ClaimDefaultFile();
        LoadOperation(operationContext());
    }
    InitDevice(operationContext());
    if (storedSetting == StoredSetting::Load && !storesSetting()) {
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
        // The room on the screen is known now, and follows the window to another screen.
        if (QWidget* scroll = centralWidget()) {
            scroll->updateGeometry();
            connect(windowHandle(), &QWindow::screenChanged, scroll, [scroll] { scroll->updateGeometry(); });
        }
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

void frmDXS::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void frmDXS::dragMoveEvent(QDragMoveEvent* event) {
    if (!draggedFile(event->mimeData()).isEmpty() && LoadFile->isEnabled())
        event->acceptProposedAction();
    else
        event->ignore();
}

void frmDXS::dropEvent(QDropEvent* event) {
    const QString file = draggedFile(event->mimeData());
    if (file.isEmpty()) return;
    event->acceptProposedAction();
    loadSettingFile(operationContext(), file);
}

bool frmDXS::eventFilter(QObject* watched, QEvent* event) {
    // A file dragged over a text box is the window's, not text for the box.
    const QEvent::Type type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!draggedFile(drag->mimeData()).isEmpty()) {
            if (type == QEvent::Drop)
                dropEvent(drag);
            else
                dragMoveEvent(static_cast<QDragMoveEvent*>(drag));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
