#include "support/PtyInstrument.h"

#include <QDeadlineTimer>
#include <QTest>

PtyInstrument::PtyInstrument(const QString& folder, int port, SimulatedOptions options)
    : m_port(std::make_unique<SimulatedInstrumentPort>(folder, port)) {
    m_port->instrument().options = options;
}

PtyInstrument::~PtyInstrument() = default;

bool PtyInstrument::isRunning() const {
    return m_port->isRunning() && !m_port->linkPath().isEmpty();
}
QString PtyInstrument::errorText() const {
    return m_port->errorText();
}
QString PtyInstrument::linkPath() const {
    return m_port->linkPath();
}

QByteArrayList PtyInstrument::lines() const {
    return m_port->instrument().received;
}

QStringList PtyInstrument::lineTexts() const {
    QStringList texts;
    for (const QByteArray& line : m_port->instrument().received)
        texts << QString::fromLatin1(line);
    return texts;
}

QList<qint64> PtyInstrument::arrivalTimes() const {
    return m_port->instrument().receivedAt;
}
void PtyInstrument::clear() {
    m_port->instrument().clear();
}
SimulatedOptions& PtyInstrument::options() {
    return m_port->instrument().options;
}
void PtyInstrument::setOptions(const SimulatedOptions& options) {
    m_port->instrument().options = options;
}
double PtyInstrument::value(int row) const {
    return m_port->instrument().value(row);
}

bool PtyInstrument::waitForLines(int n, int timeoutMs) {
    return QTest::qWaitFor([&] { return m_port->instrument().received.size() >= n; }, timeoutMs);
}
