#pragma once
#include "instrument/Transport.h"

#include <QString>
#include <memory>

class QSerialPort;

// RS232 on a serial port: 8 data bits, no parity, one stop bit, no flow control. The modem lines
// are never touched (pseudo-terminals, which stand in for the instrument in tests, reject them).
class SerialTransport : public Transport {
public:
    SerialTransport();
    ~SerialTransport() override;

    void setPortNumber(int port) { m_port = port; }
    int portNumber() const { return m_port; }
    void setBaudRate(int baud) { m_baud = baud; }
    int baudRate() const { return m_baud; }
    // A device opened in place of the port number's (the scripts' --port PATH); empty: by number.
    void setDevicePath(const QString& path) { m_devicePath = path; }

    // The device that port number n names on this machine (empty when there is none): "COMn" on
    // Windows; elsewhere the entry COMn in the program folder when it exists (a link to the real
    // device, or to the simulated instrument), else the n-th serial port of the machine, USB
    // adapters first.
    static QString deviceForPort(int port);
    // Whether port numbers may fall back to the machine's own serial ports. Tests turn this off so
    // that a window without a simulated instrument never opens a real port of the machine.
    static void setMachinePortsSearched(bool searched);

    // The most one read returns; anything beyond stays behind and is discarded before the next write.
    static constexpr qint64 maxReplyBytes = 64 * 1024;

    // Opens (or reopens) the port with the port number and baud rate set beforehand.
    void configure() override;
    // Discards input left over from earlier exchanges, then sends the data. A port that is not open
    // (its device went away, or it never opened) is opened first; a port whose write fails is closed.
    void write(const QByteArray& data) override;
    // Returns what has arrived so far, possibly nothing; never waits.
    QByteArray read() override;

    bool isOpen() const;
    // Bytes written but not yet passed to the device.
    qint64 unsentBytes() const;
    QString device() const { return m_device; }

private:
    int m_port = 1;
    int m_baud = 9600;
    QString m_device;
    QString m_devicePath;
    std::unique_ptr<QSerialPort> m_serial;
};
