#pragma once
// The simulated instrument on a pseudo-terminal, in the test's own process, reachable as
// <folder>/COM<port>: a SerialTransport (or a real frmDXS) opening that port talks to it. It answers
// from the event loop, so it keeps answering while the instrument object's pacing wait runs.
#include "instrument/SimulatedInstrument.h"

#include <QByteArrayList>
#include <QString>
#include <memory>

class PtyInstrument {
public:
    explicit PtyInstrument(const QString& folder, int port = 1, SimulatedOptions options = {});
    ~PtyInstrument();

    bool isRunning() const;
    QString errorText() const;
    QString linkPath() const;

    // Every line received so far, exactly as received (without the line feed).
    QByteArrayList lines() const;
    QStringList lineTexts() const;
    // Arrival time of each received line (steady clock, nanoseconds).
    QList<qint64> arrivalTimes() const;
    void clear();

    SimulatedOptions& options();
    void setOptions(const SimulatedOptions& options);
    // The value the instrument holds for a command table row.
    double value(int row) const;

    // Processes events until n lines have arrived or timeoutMs passed; true when they arrived.
    bool waitForLines(int n, int timeoutMs = 5000);

    SimulatedInstrumentPort& port() { return *m_port; }

private:
    std::unique_ptr<SimulatedInstrumentPort> m_port;
};
