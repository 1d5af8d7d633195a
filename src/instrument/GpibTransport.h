#pragma once
#include "instrument/Transport.h"

// GPIB through linux-gpib, loaded when first configured.
class GpibTransport : public Transport {
public:
    GpibTransport();
    ~GpibTransport() override;

    void setAddress(int address) { m_address = address; }
    int address() const { return m_address; }

    void configure() override;
    void write(const QByteArray& data) override;
    QByteArray read() override;

private:
    int m_address = 0;
    int m_device = -1;
};
