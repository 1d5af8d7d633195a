#pragma once
#include "instrument/Transport.h"

#include <memory>

class QSerialPort;

// RS232 on a serial port: 8 data bits, no parity, one stop bit, no flow control.
class SerialTransport : public Transport {
public:
    SerialTransport();
    ~SerialTransport() override;

    void setPortNumber(int port) { m_port = port; }
    int portNumber() const { return m_port; }
    void setBaudRate(int baud) { m_baud = baud; }
    int baudRate() const { return m_baud; }

    // The device that port number n names on this machine (empty when there is none).
    static QString deviceForPort(int port);

    void configure() override;
    void write(const QByteArray& data) override;
    QByteArray read() override;

private:
    int m_port = 1;
    int m_baud = 9600;
    std::unique_ptr<QSerialPort> m_serial;
};
