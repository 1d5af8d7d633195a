// Placeholder: the GPIB transport is being built.
#include "instrument/GpibTransport.h"

GpibTransport::GpibTransport() = default;
GpibTransport::~GpibTransport() = default;
void GpibTransport::configure() {
    throw TransportError(1, "not built yet");
}
void GpibTransport::write(const QByteArray&) {
    throw TransportError(1, "not built yet");
}
QByteArray GpibTransport::read() {
    throw TransportError(1, "not built yet");
}
