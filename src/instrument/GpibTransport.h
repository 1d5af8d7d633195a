#pragma once
#include "instrument/Transport.h"

#include <QString>
#include <memory>

class QLibrary;

// GPIB through linux-gpib, loaded when first configured: the program runs (and RS232 works) on
// machines without it. The command is written as given, without a terminator, and read at once.
class GpibTransport : public Transport {
public:
    GpibTransport();
    ~GpibTransport() override;

    void setAddress(int address) { m_address = address; }
    int address() const { return m_address; }

    // The GPIB library to load ("libgpib.so.0" unless set; tests point it at a stand-in).
    static void setLibraryPath(const QString& path);
    static QString libraryPath();

    // The most one read returns.
    static constexpr long maxReplyBytes = 64 * 1024;

    void configure() override;
    void write(const QByteArray& data) override;
    QByteArray read() override;

private:
    struct Api;
    void close();

    int m_address = 0;
    int m_device = -1;
    std::unique_ptr<QLibrary> m_library;
    std::unique_ptr<Api> m_api;
};
