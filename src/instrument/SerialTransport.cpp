#include "instrument/SerialTransport.h"

#include "core/ProgramFolder.h"

#include <QCollator>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <algorithm>

namespace {

bool machinePortsSearched = true;

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

} // namespace

SerialTransport::SerialTransport() = default;
SerialTransport::~SerialTransport() = default;

QString SerialTransport::deviceForPort(int port) {
    if (port < 1) return {};
#ifdef Q_OS_WIN
    return QString("COM%1").arg(port);
#else
    const QString link = programFolder() + QString("/COM%1").arg(port);
    const QFileInfo linkInfo(link);
    if (linkInfo.exists() || linkInfo.isSymLink()) return link;
    if (!machinePortsSearched) return {};

    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    QCollator collator;
    collator.setNumericMode(true);
    std::stable_sort(ports.begin(), ports.end(), [&](const QSerialPortInfo& a, const QSerialPortInfo& b) {
        const int kindA = portKind(a.portName());
        const int kindB = portKind(b.portName());
        if (kindA != kindB) return kindA < kindB;
        return collator.compare(a.portName(), b.portName()) < 0;
    });
    if (port > ports.size()) return {};
    return ports[port - 1].systemLocation();
#endif
}

void SerialTransport::setMachinePortsSearched(bool searched) {
    machinePortsSearched = searched;
}

bool SerialTransport::isOpen() const {
    return m_serial && m_serial->isOpen();
}

void SerialTransport::configure() {
    m_serial.reset();
    m_device = deviceForPort(m_port);
    if (m_device.isEmpty())
        throw TransportError(QSerialPort::DeviceNotFoundError,
                             QString("No serial port %1 on this machine (and no COM%1 entry in %2)")
                                 .arg(m_port)
                                 .arg(programFolder()));
    auto serial = std::make_unique<QSerialPort>();
    serial->setPortName(m_device);
    serial->setReadBufferSize(readBufferBytes);
    if (!serial->open(QIODevice::ReadWrite))
        throw TransportError(serial->error(), openFailureText(m_device, *serial));
    const bool settingsApplied = serial->setBaudRate(m_baud) && serial->setDataBits(QSerialPort::Data8) &&
                                 serial->setParity(QSerialPort::NoParity) &&
                                 serial->setStopBits(QSerialPort::OneStop) &&
                                 serial->setFlowControl(QSerialPort::NoFlowControl);
    if (!settingsApplied)
        throw TransportError(serial->error(), QString("Cannot set %1 to %2 baud, 8N1: %3")
                                                  .arg(m_device)
                                                  .arg(m_baud)
                                                  .arg(serial->errorString()));
    // A device that has gone away (the far end hung up, an adapter pulled out) keeps signalling
    // readable data it cannot deliver; left open, the port would keep the event loop busy. It is let
    // go once control is back in the event loop; configure opens it again.
    QSerialPort* port = serial.get();
    QObject::connect(port, &QSerialPort::errorOccurred, port, [port](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError)
            QMetaObject::invokeMethod(
                port, [port] { port->close(); }, Qt::QueuedConnection);
    });
    m_serial = std::move(serial);
}

void SerialTransport::write(const QByteArray& data) {
    // A port let go after its device went away is opened afresh: the device may be back (the
    // adapter plugged in again), and the user need not visit the connection frame for it.
    if (!isOpen()) configure();
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
