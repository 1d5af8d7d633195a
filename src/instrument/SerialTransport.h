#pragma once
#include "instrument/Transport.h"

#include <memory>

class QSerialPort;

// RS232 on a serial port: 8 data bits, no parity, one stop bit, no flow control. The modem lines
// are never touched (pseudo-terminals, which stand in for the instrument in tests, reject them).
//
// The port number is resolved to a device when the port is configured, and only then: an exchange
// that finds the port closed (its device went away) opens that same device again or fails; it never
// moves to another device that the number would resolve to now.
class SerialTransport : public Transport {
public:
    SerialTransport();
    ~SerialTransport() override;

    // A new number forgets the device the old one resolved to.
    void setPortNumber(int port);
    int portNumber() const { return m_port; }
    void setBaudRate(int baud) { m_baud = baud; }
    int baudRate() const { return m_baud; }

    // The device that port number n names on this machine (empty when there is none): "COMn" on
    // Windows; elsewhere the first of: the entry COMn in the program folder, the entry COMn in the
    // settings folder (either a link to the real device or to the simulated instrument, kept as the
    // link so that opening it follows the link anew), the n-th serial port of the machine.
    static QString deviceForPort(int port);
    // The machine's serial ports as port numbers count them: USB adapters first, then built-in
    // ports, other kinds last, each kind in name order (ttyS2 before ttyS10). Device files.
    static QStringList machinePortDevices();
    // Whether port numbers may fall back to the machine's own serial ports. Tests turn this off so
    // that a window without a simulated instrument never opens a real port of the machine.
    static void setMachinePortsSearched(bool searched);
    // The folder the machine's serial ports are read from, laid out as the kernel's tty list
    // (/sys/class/tty); tests hand in one of their own. Empty restores the kernel's.
    static void setTtyListFolder(const QString& folder);

    // The most one read returns; anything beyond stays behind and is discarded before the next write.
    static constexpr qint64 maxReplyBytes = 64 * 1024;

    // Resolves the port number to its device and opens it with the baud rate set beforehand.
    void configure() override;
    // Discards input left over from earlier exchanges, then sends the data. A port that is not open
    // (its device went away, or it never opened) is opened first: the device configure resolved,
    // or, when configure found none, whatever the number resolves to now. A port whose write fails
    // is closed.
    void write(const QByteArray& data) override;
    // Returns what has arrived so far, possibly nothing; never waits.
    QByteArray read() override;
    void setOpenListener(OpenListener listener) override { m_openListener = std::move(listener); }

    bool isOpen() const;
    // Bytes written but not yet passed to the device.
    qint64 unsentBytes() const;
    // The device the port number resolved to (empty before that, or when it resolved to none).
    QString device() const { return m_device; }

private:
    void resolve();
    void open();
    void tell(const QString& event) const;

    int m_port = 1;
    int m_baud = 9600;
    QString m_device;
    std::unique_ptr<QSerialPort> m_serial;
    OpenListener m_openListener;
};
