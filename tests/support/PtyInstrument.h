#pragma once
// The simulated instrument on a pseudo-terminal in the test's own process, reachable as
// <folder>/COM<port>. It answers from the event loop, so it keeps answering during a pacing wait.
#include "instrument/SimulatedInstrument.h"

#include <QtTest>
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
    // The lines received so far, as received without the line feed, and their arrival (steady clock, ns).
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
    bool waitForLines(int n) {
        return QTest::qWaitFor([&] { return lines().size() >= n; }, 5000);
    }
    SimulatedInstrumentPort& port() { return *m_port; }

private:
    std::unique_ptr<SimulatedInstrumentPort> m_port;
};
