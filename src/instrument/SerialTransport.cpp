// Placeholder: the serial transport is being built.
#include "instrument/SerialTransport.h"

#include <QSerialPort>

SerialTransport::SerialTransport() = default;
SerialTransport::~SerialTransport() = default;
QString SerialTransport::deviceForPort(int) { return {}; }
void SerialTransport::configure() { throw TransportError(1, "not built yet"); }
void SerialTransport::write(const QByteArray&) { throw TransportError(1, "not built yet"); }
QByteArray SerialTransport::read() { throw TransportError(1, "not built yet"); }
