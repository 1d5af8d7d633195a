#include "instrument/SerialTransport.h"

#include "core/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <algorithm>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace {

bool machinePortsSearched = true;
QString ttyListFolder; // empty: the kernel's own

// How long a write may take to leave the buffer before it counts as failed.
constexpr int writeTimeoutMs = 2000;
// What the port buffers between reads: a runaway device cannot grow memory without bound.
constexpr qint64 readBufferBytes = 1024 * 1024;

// USB adapters come before built-in ports; other kinds last.
int portKind(const QString& name) {
    if (name.startsWith("ttyUSB") || name.startsWith("ttyACM")) return 0;
    if (name.startsWith("ttyS")) return 1;
    return 2;
}

// Name order with numbers compared by value (ttyS2 before ttyS10), whatever the locale: the
// toolkit's collator ignores its numeric mode where it is built without ICU.
bool namedBefore(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            qsizetype endA = i, endB = j;
            while (endA < a.size() && isDigit(a[endA]))
                ++endA;
            while (endB < b.size() && isDigit(b[endB]))
                ++endB;
            // Leading zeros aside, the longer run is the larger number; runs of one length compare as text.
            while (i + 1 < endA && a[i] == u'0')
                ++i;
            while (j + 1 < endB && b[j] == u'0')
                ++j;
            const QStringView runA = QStringView(a).mid(i, endA - i), runB = QStringView(b).mid(j, endB - j);
            if (runA.size() != runB.size()) return runA.size() < runB.size();
            if (const int order = runA.compare(runB); order != 0) return order < 0;
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

struct MachinePort {
    QString name;     // as the kernel names it: ttyUSB0, ttyS1
    QString location; // its device file
};

#ifdef Q_OS_LINUX
// Whether a port of the 8250 driver has a UART behind it: the driver registers every possible port
// whether or not one is fitted, and reports the empty ones as of unknown type (0). The kind is read
// from the port's sysfs entry; only where that cannot be read is the device itself asked.
bool isFitted8250(const QString& sysEntry, const QString& location) {
    QFile type(sysEntry + "/type");
    if (type.open(QIODevice::ReadOnly)) return type.readAll().trimmed().toInt() != 0;
    const int fd = ::open(QFile::encodeName(location).constData(), O_RDWR | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    serial_struct info{};
    const bool fitted = ::ioctl(fd, TIOCGSERIAL, &info) != -1 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return fitted;
}

// The device file of a tty: /dev and the name the kernel gives it (usually the tty's own name).
QString deviceFile(const QString& sysEntry, const QString& name) {
    QFile uevent(sysEntry + "/uevent");
    if (uevent.open(QIODevice::ReadOnly))
        for (const QByteArray& line : uevent.readAll().split('\n'))
            if (line.startsWith("DEVNAME=")) return "/dev/" + QFile::decodeName(line.mid(8));
    return "/dev/" + name;
}

// Ports made by software that have no device of their own behind them but still count as serial
// ports: Bluetooth serial links, virtual null modems and USB gadget ports.
bool isParentlessSerialPort(const QString& name) {
    return name.startsWith("rfcomm") || name.startsWith("tnt") || name.startsWith("ttyGS");
}

// The machine's serial ports from the kernel's tty list: a tty with a device behind it (a fitted
// UART, a USB adapter), or one of the parentless kinds above. This reads a few small sysfs files,
// where a full enumeration through the device manager costs tens of milliseconds at start-up, and
// it finds the same ports. Empty with ok false when the list cannot be read.
QList<MachinePort> machinePortsFromSysfs(bool& ok) {
    const QDir ttys(ttyListFolder.isEmpty() ? QString("/sys/class/tty") : ttyListFolder);
    ok = ttys.exists() && ttys.isReadable();
    QList<MachinePort> ports;
    if (!ok) return ports;
    for (const QString& name : ttys.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString entry = ttys.filePath(name);
        const bool hasDevice = QFileInfo::exists(entry + "/device");
        if (!hasDevice && !isParentlessSerialPort(name)) continue; // a console or pseudo-terminal
        const QString location = deviceFile(entry, name);
        if (hasDevice) {
            const QString driver = QFileInfo(QFileInfo(entry + "/device/driver").symLinkTarget()).fileName();
            if (driver == "serial8250" && !isFitted8250(entry, location)) continue;
        }
        ports.append({name, location});
    }
    return ports;
}
#endif

QList<MachinePort> machinePorts() {
    QList<MachinePort> ports;
#ifdef Q_OS_LINUX
    bool ok = false;
    ports = machinePortsFromSysfs(ok);
    // A list handed in by a test is the whole machine, even when it cannot be read.
    if (ok || !ttyListFolder.isEmpty()) return ports;
#endif
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports.append({info.portName(), info.systemLocation()});
    return ports;
}

QString openFailureText(const QString& device, QSerialPort& serial) {
    QString text = QString("Cannot open serial port %1: %2").arg(device, serial.errorString());
    if (serial.error() != QSerialPort::PermissionError) return text;
#ifdef Q_OS_WIN
    const bool mayOpen = true; // Windows refuses a port only while another program has it
#else
    // A device we are allowed to open but could not have is held (and locked) by another program.
    const QFileInfo info(device);
    const bool mayOpen = info.exists() && info.isReadable() && info.isWritable();
#endif
    if (mayOpen)
        text += " (the port is in use by another program)";
    else
        text += " (add your user to the dialout group to use serial ports, then log in again)";
    return text;
}

// Why the device could not be opened; "refused" unless the device is not there at all.
TransportError openFailure(const QString& device, QSerialPort& serial) {
    return TransportError(serial.error(), openFailureText(device, serial),
                          serial.error() != QSerialPort::DeviceNotFoundError);
}

} // namespace

SerialTransport::SerialTransport() = default;
SerialTransport::~SerialTransport() = default;

QStringList SerialTransport::machinePortDevices() {
    QList<MachinePort> ports = machinePorts();
    std::stable_sort(ports.begin(), ports.end(), [](const MachinePort& a, const MachinePort& b) {
        const int kindA = portKind(a.name);
        const int kindB = portKind(b.name);
        if (kindA != kindB) return kindA < kindB;
        return namedBefore(a.name, b.name);
    });
    QStringList devices;
    for (const MachinePort& port : ports)
        devices << port.location;
    return devices;
}

QString SerialTransport::deviceForPort(int port) {
    if (port < 1) return {};
#ifdef Q_OS_WIN
    return QString("COM%1").arg(port);
#else
    // A dangling link counts too: it names the port, and opening it says what is missing.
    for (const QString& folder : {programFolder(), settingsFolder()}) {
        if (folder.isEmpty()) continue;
        const QString link = folder + QString("/COM%1").arg(port);
        const QFileInfo linkInfo(link);
        if (linkInfo.exists() || linkInfo.isSymLink()) return link;
    }
    if (!machinePortsSearched) return {};
    return machinePortDevices().value(port - 1);
#endif
}

void SerialTransport::setMachinePortsSearched(bool searched) {
    machinePortsSearched = searched;
}

void SerialTransport::setTtyListFolder(const QString& folder) {
    ttyListFolder = folder;
}

void SerialTransport::setPortNumber(int port) {
    if (port != m_port) m_device.clear();
    m_port = port;
}

bool SerialTransport::isOpen() const {
    return m_serial && m_serial->isOpen();
}

void SerialTransport::tell(const QString& event) const {
    if (m_openListener) m_openListener(event);
}

void SerialTransport::resolve() {
    m_device = deviceForPort(m_port);
    if (m_device.isEmpty())
        throw TransportError(
            QSerialPort::DeviceNotFoundError,
            settingsFolder().isEmpty()
                ? QString("No serial port %1 on this machine (and no COM%1 entry in %2)")
                      .arg(m_port)
                      .arg(programFolder())
                : QString("No serial port %1 on this machine (and no COM%1 entry in %2 or %3)")
                      .arg(m_port)
                      .arg(programFolder(), settingsFolder()));
}

void SerialTransport::configure() {
    m_serial.reset();
    resolve();
    open();
}

void SerialTransport::open() {
    m_serial.reset();
    auto serial = std::make_unique<QSerialPort>();
    serial->setPortName(m_device);
    serial->setReadBufferSize(readBufferBytes);
    const auto fail = [&](const TransportError& error) {
        tell("open failed: " + error.description());
        throw error;
    };
    if (!serial->open(QIODevice::ReadWrite)) fail(openFailure(m_device, *serial));
    const bool settingsApplied = serial->setBaudRate(m_baud) && serial->setDataBits(QSerialPort::Data8) &&
                                 serial->setParity(QSerialPort::NoParity) &&
                                 serial->setStopBits(QSerialPort::OneStop) &&
                                 serial->setFlowControl(QSerialPort::NoFlowControl);
    if (!settingsApplied)
        fail(TransportError(serial->error(), QString("Cannot set %1 to %2 baud, 8N1: %3")
                                                 .arg(m_device)
                                                 .arg(m_baud)
                                                 .arg(serial->errorString())));
    // A device that has gone away (the far end hung up, an adapter pulled out) keeps signalling
    // readable data it cannot deliver; left open, the port would keep the event loop busy. It is let
    // go once control is back in the event loop; the next exchange opens it again.
    QSerialPort* port = serial.get();
    QObject::connect(port, &QSerialPort::errorOccurred, port, [port](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError)
            QMetaObject::invokeMethod(
                port, [port] { port->close(); }, Qt::QueuedConnection);
    });
    m_serial = std::move(serial);
    const QFileInfo info(m_device);
    tell(info.isSymLink() ? "opened, a link to " + info.canonicalFilePath() : QString("opened"));
}

void SerialTransport::write(const QByteArray& data) {
    // A port let go after its device went away is opened again: the device may be back (the adapter
    // plugged in again, the link made anew), and the user need not visit the connection frame for
    // it. Only the device it resolved to: whatever else the number names now is no instrument of
    // ours (with the link gone it would be the machine's first port).
    if (!isOpen()) {
        if (m_device.isEmpty()) resolve();
        open();
    }
    // A late reply to an earlier exchange must not pass for the reply to this one.
    m_serial->waitForReadyRead(0);
    m_serial->readAll();
    m_serial->clear(QSerialPort::Input);
    m_serial->clearError();

    // What could not be sent is dropped: left in the buffer, the port would retry it on every turn
    // of the event loop (a device gone away keeps the CPU busy), and a stale command must not reach
    // the instrument later.
    const auto fail = [this]() {
        const TransportError error(m_serial->error(),
                                   "Write to " + m_device + " failed: " + m_serial->errorString());
        m_serial->clear(QSerialPort::Output);
        m_serial->clearError();
        // The device is gone or not answering: the next exchange opens the port again.
        m_serial->close();
        throw error;
    };
    if (m_serial->write(data) != data.size()) fail();
    m_serial->flush();
    if (m_serial->bytesToWrite() > 0 && !m_serial->waitForBytesWritten(writeTimeoutMs)) fail();
    if (m_serial->error() != QSerialPort::NoError && m_serial->error() != QSerialPort::TimeoutError) fail();
}

qint64 SerialTransport::unsentBytes() const {
    return isOpen() ? m_serial->bytesToWrite() : 0;
}

QByteArray SerialTransport::read() {
    if (!isOpen()) throw TransportError(QSerialPort::NotOpenError, "The serial port is not open");
    // Takes in whatever the system holds for us without waiting.
    if (m_serial->bytesAvailable() < maxReplyBytes) m_serial->waitForReadyRead(0);
    const QSerialPort::SerialPortError error = m_serial->error();
    const QString errorText = m_serial->errorString();
    m_serial->clearError();
    if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError) {
        m_serial->close();
        throw TransportError(error, "Read from " + m_device + " failed: " + errorText);
    }
    return m_serial->read(maxReplyBytes);
}
