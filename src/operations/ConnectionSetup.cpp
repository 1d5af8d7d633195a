// The connection frame: the port and baud-rate lists, the stored connection applied at start-up,
// OK, the connection test and Help.
#include "core/NumberText.h"
#include "instrument/GpibTransport.h"
#include "instrument/SerialTransport.h"
#include "operations/InstrumentOperation.h"
#include "operations/OperationContext.h"
#include "operations/Operations.h"
#include "operations/StrictConversion.h"
#include "record/LastSentMemory.h"
#include "panel/UpDownButtons.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <algorithm>
#include <array>

namespace {

constexpr std::array kComPorts = {"1", "2", "3", "4"};
// In list order; a stored rate selects its entry, other rates (600 and 300 among them) select none.
constexpr std::array kBaudRates = {19200, 14400, 9600, 4800, 2400, 1200, 600, 300};
constexpr int kSelectableBaudRates = 6;

// The hidden cycle time box steps in tens of milliseconds.
constexpr int kCycleStep = 10;
constexpr int kCycleMin = 10;
constexpr int kCycleMax = 1000;

// Which device each port number opens on this machine, so a user with a USB adapter sees which
// number to choose. Finding the machine's serial ports is slow, so the list looks them up only when
// a tooltip is first asked for (or the frame is shown), not while the window starts.
class PortListModel : public QStandardItemModel {
public:
    using QStandardItemModel::QStandardItemModel;

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::ToolTipRole || !index.isValid()) return QStandardItemModel::data(index, role);
        if (m_tooltips.size() != rowCount()) m_tooltips = lookUp();
        return m_tooltips.value(index.row());
    }
    // Looks the devices up again (a link or an adapter may have come since).
    void refresh() {
        m_tooltips = lookUp();
        if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::ToolTipRole});
    }

private:
    QStringList lookUp() const {
        QStringList tooltips;
        for (int row = 0; row < rowCount(); ++row) {
            const int port = item(row)->text().toInt();
            const QString device = SerialTransport::deviceForPort(port);
            tooltips << (device.isEmpty() ? QString("COM%1: no device on this machine").arg(port)
                                          : QString("COM%1: %2").arg(port).arg(device));
        }
        return tooltips;
    }
    mutable QStringList m_tooltips;
};

void showPortDevices(QComboBox& ports) {
    if (auto* model = dynamic_cast<PortListModel*>(ports.model())) model->refresh();
}

bool isPort(int port) {
    return port >= 1 && port <= 4;
}
bool isGpibAddress(int address) {
    return address >= 0 && address <= 31;
}

// A check box's value as the record keeps it.
int16_t checkValue(const QCheckBox& box) {
    return box.isChecked() ? 1 : 0;
}

// A stored check box field: 0 leaves the box as it is, 1 ticks it, anything above clears it.
void applyStoredCheck(QCheckBox& box, int16_t stored) {
    if (stored >= 1) box.setChecked(stored == 1);
}

// The transport the frame's choice names, as the instrument object spells it.
QString chosenTransport(const Panel& p) {
    return p.Option1->isChecked() ? "RS232" : "GPIB";
}

// An identification longer than this shows cut, with an ellipsis, so the box stays on the screen.
constexpr qsizetype kShownIdentificationChars = 100;

QString shownIdentification(const QString& identification) {
    if (identification.size() <= kShownIdentificationChars) return identification;
    return identification.left(kShownIdentificationChars) + QChar(0x2026);
}

// Applies the frame's port, rate and address to the transports (each text converted afresh, both
// transports' texts whichever is chosen) and selects the chosen transport.
void applyTransports(OperationContext& ctx) {
    const Panel& p = ctx.panel;
    const int port = strictInteger(p.cboComPort->currentText());
    if (p.Option1->isChecked() && isPort(port)) {
        ctx.CWSerial1().setPortNumber(port);
        ctx.CWSerial1().setBaudRate(strictInteger(p.cboBuadRate->currentText()));
        ctx.CWSerial1().configure();
    }
    const int address = strictInteger(p.txtGPIBAddr->text());
    if (p.Option2->isChecked() && isGpibAddress(address)) {
        ctx.CWGPIB1().setAddress(address);
        ctx.CWGPIB1().configure();
    }
    ctx.instrument.ConnectMethod(chosenTransport(p));
}

void OKButton_Click(OperationContext& ctx) {
    if (InstrumentOperation::busy(ctx)) return;
    InstrumentOperation operation(ctx);
    const Panel& p = ctx.panel;
    SettingsRecord& record = ctx.record;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Any failure ends OK silently; what was stored or applied before it stays.
    try {
        const int port = strictInteger(p.cboComPort->currentText());
        if (isPort(port)) {
            record.setInteger(RecordField::ComPort, int16_t(port));
            record.setInteger(RecordField::BaudRate, strictInteger(p.cboBuadRate->currentText()));
        }
        const int address = strictInteger(p.txtGPIBAddr->text());
        if (isGpibAddress(address)) record.setInteger(RecordField::GpibAddress, int16_t(address));
        record.setInteger(RecordField::SkipSameValue, checkValue(*p.chkSkipCommand));
        record.setInteger(RecordField::CycleTime, roundedNumber(p.txtCycleTime->text()));
        record.setInteger(RecordField::SyncRateSym, checkValue(*p.chkSyncRateSym));
        applyTransports(ctx);
        ctx.instrument.iWaiting_ms = numtext::lenientValue(p.txtCycleTime->text());
    } catch (const ConversionError&) {
    } catch (const TransportError& error) {
        // The old link is closed by now; without this line the message line would still show
        // whatever success it showed before.
        ctx.setMessage("Set [Configure " + chosenTransport(p) +
                       "] to DXS-4820 FAILURE: " + error.description());
    }
    QApplication::restoreOverrideCursor();
    p.fraComm->hide();
}

void cmdTestConnect_Click(OperationContext& ctx) {
    if (InstrumentOperation::busy(ctx)) return;
    InstrumentOperation operation(ctx);
    UserDialogs& dialogs = ctx.dialogs();
    const auto failed = [&](int number, const QString& description) {
        dialogs.message("Connect DXS-4820 Failure! Error caused by [" + QString::number(number) + "] " +
                        description);
    };
    try {
        applyTransports(ctx);
        const QString identification = ctx.instrument.IDN();
        if (ctx.isClosing()) return; // the window closed while the answer was awaited
        if (const auto& linkFailure = ctx.instrument.lastFailure())
            throw *linkFailure; // the question never reached the instrument, or its answer us
        if (!identification.isEmpty()) {
            dialogs.message("System Connect DXS-4820 correctly        \r\n" +
                                shownIdentification(identification),
                            UserDialogs::Buttons::Ok, UserDialogs::Icon::Information);
        } else if (dialogs.message("System cannot connect DXS-4820.\r\nDo you need help?",
                                   UserDialogs::Buttons::YesNo) == UserDialogs::Answer::Yes) {
            dialogs.openHelp(0);
        }
    } catch (const ConversionError& error) {
        failed(error.number, error.description);
    } catch (const TransportError& error) {
        failed(error.number(), error.description());
    }
}

void stepCycleTime(QLineEdit& box, int direction) {
    const int now = int(numtext::lenientValue(box.text()));
    box.setText(QString::number(std::clamp(now + direction * kCycleStep, kCycleMin, kCycleMax)));
}

// While the connection frame is open it holds the keyboard: it takes the focus on the COM port
// list, Tab and Shift+Tab go round its own controls, Escape closes it without applying (as leaving
// it without OK does), the controls it covers take neither focus nor clicks, and once it closes the
// focus goes back where it was.
class FrameFocus : public QObject {
public:
    FrameFocus(Panel& panel, QWidget& window) : QObject(&window), m_panel(panel) {
        setObjectName("FrameFocus");
        panel.fraComm->installEventFilter(this);
    }

    // Runs once the frame is shown.
    void opened() {
        QWidget* before = m_panel.fraComm->window()->focusWidget();
        if (before && !m_panel.fraComm->isAncestorOf(before)) m_returnTo = before;
        if (m_covered.empty()) coverControls();
        if (!m_listening) qApp->installEventFilter(this);
        m_listening = true;
        m_panel.cboComPort->setFocus(Qt::OtherFocusReason);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_panel.fraComm && event->type() == QEvent::Hide) {
            closed();
            return false;
        }
        if (event->type() != QEvent::KeyPress || !isInFrame(watched)) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
            m_panel.fraComm->hide();
            return true;
        }
        // Alt with a letter belongs to the menus: it types nothing into the lists.
        if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier) && !key->text().isEmpty())
            return true;
        const bool other = modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && (modifiers & Qt::ShiftModifier))) {
            if (other) return false;
            moveFocus(-1);
            return true;
        }
        if (key->key() == Qt::Key_Tab && !other) {
            moveFocus(+1);
            return true;
        }
        return false;
    }

private:
    bool isInFrame(QObject* object) const {
        auto* widget = qobject_cast<QWidget*>(object);
        // The open drop-down of a list is a window of its own: its keys stay its own.
        return widget && m_panel.fraComm->isAncestorOf(widget) &&
               widget->window() == m_panel.fraComm->window();
    }

    // The frame's tab stops, in the window's focus order.
    QList<QWidget*> stops() const {
        QList<QWidget*> found;
        for (QWidget* w = m_panel.fraComm->nextInFocusChain(); w && w != m_panel.fraComm;
             w = w->nextInFocusChain())
            if (m_panel.fraComm->isAncestorOf(w) && !w->focusProxy() && w->isVisible() && w->isEnabled() &&
                (w->focusPolicy() & Qt::TabFocus) && !found.contains(w))
                found << w;
        return found;
    }

    void moveFocus(int direction) {
        const QList<QWidget*> order = stops();
        if (order.isEmpty()) return;
        QWidget* now = QApplication::focusWidget();
        qsizetype at = -1;
        for (qsizetype i = 0; i < order.size() && at < 0; ++i)
            if (now && (order[i] == now || order[i]->isAncestorOf(now))) at = i;
        const qsizetype next =
            at < 0 ? (direction > 0 ? 0 : order.size() - 1) : (at + direction + order.size()) % order.size();
        order[next]->setFocus(direction > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    }

    // Every control under the frame stops taking the focus and the mouse while it is open.
    void coverControls() {
        QWidget* area = m_panel.fraComm->parentWidget();
        const QRect frame = m_panel.fraComm->geometry();
        for (QWidget* w : area->findChildren<QWidget*>()) {
            if (w == m_panel.fraComm || m_panel.fraComm->isAncestorOf(w) || w->isWindow()) continue;
            const bool interactive = w->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton*>(w) ||
                                     qobject_cast<QAbstractSlider*>(w);
            if (!interactive || !QRect(w->mapTo(area, QPoint(0, 0)), w->size()).intersects(frame)) continue;
            m_covered.push_back({w, w->focusPolicy(), w->testAttribute(Qt::WA_TransparentForMouseEvents)});
            w->setFocusPolicy(Qt::NoFocus);
            w->setAttribute(Qt::WA_TransparentForMouseEvents, true);
        }
    }

    void closed() {
        for (const Covered& c : m_covered)
            if (c.widget) {
                c.widget->setFocusPolicy(c.policy);
                c.widget->setAttribute(Qt::WA_TransparentForMouseEvents, c.transparent);
            }
        m_covered.clear();
        if (m_listening) qApp->removeEventFilter(this);
        m_listening = false;
        // Back where it was, without the hint a box shows when the user moves into it.
        QWidget* now = m_panel.fraComm->window()->focusWidget();
        if (m_returnTo && (!now || m_panel.fraComm->isAncestorOf(now)))
            m_returnTo->setFocus(Qt::ActiveWindowFocusReason);
        m_returnTo = nullptr;
    }

    struct Covered {
        QPointer<QWidget> widget;
        Qt::FocusPolicy policy;
        bool transparent;
    };
    Panel& m_panel;
    std::vector<Covered> m_covered;
    QPointer<QWidget> m_returnTo;
    bool m_listening = false;
};

} // namespace

void fillConnectionLists(OperationContext& ctx) {
    Panel& p = ctx.panel;
    if (!p.cboComPort) return;
    p.cboComPort->setModel(new PortListModel(p.cboComPort));
    for (const char* port : kComPorts)
        p.cboComPort->addItem(port);
    for (int rate : kBaudRates)
        p.cboBuadRate->addItem(QString::number(rate));
    // Open for typing once filled: each list's drop-down and completion are made once, over its
    // final entries.
    p.cboComPort->setEditable(true);
    p.cboBuadRate->setEditable(true);
    p.cboComPort->setCurrentIndex(-1);
    p.cboBuadRate->setCurrentIndex(-1);
}

void InitDevice(OperationContext& ctx) {
    Panel& p = ctx.panel;
    if (!p.cboComPort) return;
    const SettingsRecord& record = ctx.record;
    const int16_t port = record.integer(RecordField::ComPort);
    const int16_t baud = record.integer(RecordField::BaudRate);
    const int16_t address = record.integer(RecordField::GpibAddress);

    // A port number the list does not hold (a hand-edited file) selects no entry; the transport
    // still gets it below.
    if (isPort(port)) p.cboComPort->setCurrentIndex(port - 1);
    for (int i = 0; i < kSelectableBaudRates; ++i)
        if (kBaudRates[i] == baud) p.cboBuadRate->setCurrentIndex(i);
    p.txtGPIBAddr->setText(QString::number(address));

    if (port >= 1) ctx.CWSerial1().setPortNumber(port);
    if (baud >= 1) ctx.CWSerial1().setBaudRate(baud);
    if (address >= 1) ctx.CWGPIB1().setAddress(address);

    // Only blanks count as an unwritten flag: the zero byte of a never-written field counts as set.
    // The stored choice is configured with the first exchange, the readiness check after the
    // window's first paint.
    const QString rs232 = trimBlanks(record.text(RecordField::Rs232Flag));
    if (!rs232.isEmpty()) ctx.instrument.chooseConnectMethod(rs232 == "1" ? "RS232" : "GPIB");
    const QString gpib = trimBlanks(record.text(RecordField::GpibFlag));
    if (!gpib.isEmpty()) ctx.instrument.chooseConnectMethod(gpib == "1" ? "GPIB" : "RS232");

    applyStoredCheck(*p.chkSkipCommand, record.integer(RecordField::SkipSameValue));
    applyStoredCheck(*p.chkSyncRateSym, record.integer(RecordField::SyncRateSym));
}

void installConnectionFrame(OperationContext& ctx) {
    Panel& p = ctx.panel;
    if (!p.fraComm) return;
    auto* focus = new FrameFocus(p, ctx.window);
    QObject::connect(ctx.mnuSetting, &QAction::triggered, &ctx.window, [&ctx, focus] {
        Panel& p = ctx.panel;
        showPortDevices(*p.cboComPort);
        p.fraComm->raise();
        p.fraComm->show();
        focus->opened();
    });
    QObject::connect(p.OKButton, &QPushButton::clicked, &ctx.window, [&ctx] { OKButton_Click(ctx); });
    QObject::connect(p.cmdTestConnect, &QPushButton::clicked, &ctx.window,
                     [&ctx] { cmdTestConnect_Click(ctx); });
    QObject::connect(p.cmdHelp, &QPushButton::clicked, &ctx.window, [&ctx] { ctx.dialogs().openHelp(0); });
    if (p.UpDown1) {
        QObject::connect(p.UpDown1, &UpDownButtons::upClicked, &ctx.window,
                         [&ctx] { stepCycleTime(*ctx.panel.txtCycleTime, +1); });
        QObject::connect(p.UpDown1, &UpDownButtons::downClicked, &ctx.window,
                         [&ctx] { stepCycleTime(*ctx.panel.txtCycleTime, -1); });
    }
}
