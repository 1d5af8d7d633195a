#pragma once
// The simulated instrument on a pseudo-terminal, in the test's own process, reachable as
// <folder>/COM<port>: a SerialTransport (or a real frmDXS) opening that port talks to it. It answers
// from the event loop, so it keeps answering while the instrument object's pacing wait runs.
#include "instrument/SimulatedInstrument.h"

#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <QTest>
#include <memory>

class PtyInstrument {
public:
    explicit PtyInstrument(const QString& folder, int port = 1, SimulatedOptions options = {})
        : m_port(std::make_unique<SimulatedInstrumentPort>(folder, port)) {
        m_port->instrument().options = options;
    }

    bool isRunning() const { return m_port->isRunning() && !m_port->linkPath().isEmpty(); }
    QString errorText() const { return m_port->errorText(); }
    QString linkPath() const { return m_port->linkPath(); }
    // Every line received so far, exactly as received (without the line feed), and when it arrived
    // (steady clock, nanoseconds).
    QByteArrayList lines() const { return m_port->instrument().received; }
    QStringList lineTexts() const {
        QStringList texts;
        for (const QByteArray& line : lines())
            texts << QString::fromLatin1(line);
        return texts;
    }
    QList<qint64> arrivalTimes() const { return m_port->instrument().receivedAt; }
    void clear() { m_port->instrument().clear(); }
    SimulatedOptions& options() { return m_port->instrument().options; }
    // Processes events until n lines have arrived or timeoutMs passed; true when they arrived.
    bool waitForLines(int n, int timeoutMs = 5000) {
        return QTest::qWaitFor([&] { return lines().size() >= n; }, timeoutMs);
    }
    SimulatedInstrumentPort& port() { return *m_port; }

private:
    std::unique_ptr<SimulatedInstrumentPort> m_port;
};
