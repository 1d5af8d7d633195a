#pragma once
// A transport that keeps what is written and answers every read with `reply`, or passes everything on
// to a real transport, stamping the calls with the steady clock.
#include "instrument/Transport.h"

#include <QByteArrayList>
#include <chrono>
#include <functional>

inline qint64 steadyNowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class RecordingTransport : public Transport {
public:
    explicit RecordingTransport(Transport* inner = nullptr) : m_inner(inner) {}

    QByteArrayList writes;
    int configures = 0, reads = 0;
    QByteArray reply;
    bool failWrite = false;
    std::function<void()> afterWrite; // runs once a write has gone through
    qint64 lastWriteEndNs = 0, lastReadStartNs = 0;

    void configure() override {
        ++configures;
        if (m_inner) m_inner->configure();
    }
    void write(const QByteArray& data) override {
        writes << data;
        if (failWrite) throw TransportError(6, "write refused");
        if (m_inner) m_inner->write(data);
        lastWriteEndNs = steadyNowNs();
        if (afterWrite) afterWrite();
    }
    QByteArray read() override {
        ++reads;
        lastReadStartNs = steadyNowNs();
        return m_inner ? m_inner->read() : reply;
    }

private:
    Transport* m_inner;
};
