#include "instrument/SimulatedInstrument.h"

#include "core/NumberText.h"
#include "instrument/CommandTable.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSocketNotifier>
#include <QTimer>
#include <chrono>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace {

qint64 nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Both header forms of every row, upper case, to the row: the set header and the query's header.
const QHash<QByteArray, int>& headerRows() {
    static const QHash<QByteArray, int> rows = [] {
        QHash<QByteArray, int> map;
        for (int i = 0; i < PropertyCount; ++i) {
            const CommandRow& row = commandTable()[size_t(i)];
            map.insert(QByteArray(row.header).trimmed().toUpper(), i);
            QByteArray query(row.query);
            if (query.endsWith('?')) query.chop(1);
            map.insert(query.trimmed().toUpper(), i);
        }
        return map;
    }();
    return rows;
}

// Bytes the instrument should never send: binary, no line end.
QByteArray garbageBytes() {
    static const char junk[] = {'\x00', '\xff', '\xfe', '\x80', '\x01', '\x1b', '[', '\x7f', '\x00', '\xc3'};
    return QByteArray(junk, sizeof junk);
}

// Settings no instrument would keep: a huge reply without a line end.
constexpr qint64 maxPendingOutput = 64LL * 1024 * 1024;

} // namespace

QByteArray SimulatedInstrument::identification() {
    return "DXS-4820 Function Generator (simulated),1.0";
}

std::array<double, 29> SimulatedInstrument::powerOnValues() {
    using P = Property;
    std::array<double, 29> values{};
    const auto put = [&values](Property property, double value) { values[size_t(property)] = value; };
    put(P::MainFreqWaveForm, 1);
    put(P::MainFreq, 10000);
    put(P::AmplitudeVoltage, 5);
    put(P::DUTY, 50);
    put(P::SourceWaveForm, 1);
    put(P::SourceModAMRate, 1000);
    put(P::SourceModFMRate, 1000);
    put(P::SourceMODAMSpan, 50);
    put(P::SourceMODFMSpan, 5);
    put(P::SourceMODAMSym, 50);
    put(P::SourceMODFMSym, 50);
    put(P::SourceSweepStart, 1000);
    put(P::SourceSweepStop, 2000);
    put(P::SourceSweepCenter, 1500);
    put(P::SourceSweepSpan, 1000);
    put(P::SourceSweepRate, 1000);
    put(P::SourceSweepSym, 90);
    put(P::SourceTriggerRate, 1000);
    put(P::SourceTriggerSYM, 50);
    return values; // states, sources, modes, offset, phase and counter gate start at 0
}

void SimulatedInstrument::clear() {
    received.clear();
    receivedAt.clear();
}

QList<QByteArray> SimulatedInstrument::feed(const QByteArray& bytes) {
    QList<QByteArray> answers;
    m_pending += bytes;
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        received.append(line);
        receivedAt.append(nowNs());
        if (onLine) onLine(line);
        const QByteArray reply = answer(line);
        if (!reply.isEmpty()) answers.append(reply);
    }
    // A sender that never ends its line cannot fill our memory.
    if (m_pending.size() > 1024 * 1024) m_pending.clear();
    return answers;
}

QByteArray SimulatedInstrument::answer(const QByteArray& rawLine) {
    QByteArray line = rawLine;
    if (line.endsWith('\r')) line.chop(1);
    line = line.trimmed();
    if (line.isEmpty()) return {};

    QByteArray normal;
    const bool isIdentification = line.toUpper() == "*IDN?";
    if (isIdentification) {
        normal = identification() + '\n';
    } else {
        const qsizetype blank = line.indexOf(' ');
        const QByteArray header = (blank < 0 ? line : line.left(blank)).toUpper();
        const QByteArray argument = blank < 0 ? QByteArray() : line.mid(blank + 1).trimmed();
        const auto found = headerRows().constFind(header);
        if (found == headerRows().constEnd()) return {};
        const int row = found.value();
        if (argument == "?" && options.unanswered.contains(line)) return {};
        if (argument == "?" && options.replies.contains(line)) {
            normal = options.replies.value(line) + '\n';
        } else if (argument == "?") {
            const double v = m_values[size_t(row)];
            if (commandTable()[size_t(row)].type == ValueType::Double)
                normal = QByteArray::number(v, 'E', 6) + '\n';
            else
                normal = QByteArray::number(qint64(v)) + '\n';
        } else if (const auto number = numtext::strictNumber(QString::fromLatin1(argument))) {
            m_values[size_t(row)] = *number; // set commands are answered with nothing
        }
    }
    if (normal.isEmpty() || options.silent) return {};
    if (options.answerOnce) {
        if (!isIdentification || m_answeredOnce) return {};
        m_answeredOnce = true;
    }
    if (options.garbage) return garbageBytes();
    if (options.hugeReplyBytes > 0) {
        QByteArray huge;
        huge.reserve(options.hugeReplyBytes);
        while (huge.size() < options.hugeReplyBytes)
            huge += "1.000000E+03,";
        huge.truncate(options.hugeReplyBytes);
        return huge;
    }
    return normal;
}

SimulatedInstrumentPort::SimulatedInstrumentPort(const QString& folder, int port, QObject* parent)
    : QObject(parent), m_link(folder + QString("/COM%1").arg(port)) {
#ifdef Q_OS_WIN
    m_error = "Pseudo-terminals are not available on this system";
#else
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        m_error = QString("Cannot create a pseudo-terminal: %1").arg(strerror(errno));
        if (m_master >= 0) ::close(m_master);
        m_master = -1;
        return;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    char name[256] = {};
    ptsname_r(m_master, name, sizeof name);
    m_slaveName = QString::fromLocal8Bit(name);
    m_slaveKeeper = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_slaveKeeper >= 0) {
        // Raw: no echo of our answers back to us, no line-end translation either way.
        termios settings{};
        if (::tcgetattr(m_slaveKeeper, &settings) == 0) {
            ::cfmakeraw(&settings);
            ::tcsetattr(m_slaveKeeper, TCSANOW, &settings);
        }
    }

    const QFileInfo existing(m_link);
    if (existing.isSymLink()) QFile::remove(m_link); // left behind by a simulator that was killed
    if (!QFile::link(m_slaveName, m_link)) {
        m_error = QString("Cannot create the link %1 to %2").arg(m_link, m_slaveName);
        m_link.clear();
    }

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &SimulatedInstrumentPort::onReadable);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &SimulatedInstrumentPort::onWritable);
    m_dueTimer = new QTimer(this);
    m_dueTimer->setSingleShot(true);
    m_dueTimer->setTimerType(Qt::PreciseTimer);
    connect(m_dueTimer, &QTimer::timeout, this, &SimulatedInstrumentPort::sendDue);
#endif
}

SimulatedInstrumentPort::~SimulatedInstrumentPort() {
#ifndef Q_OS_WIN
    if (!m_link.isEmpty() && QFileInfo(m_link).isSymLink() &&
        QFileInfo(m_link).symLinkTarget() == m_slaveName)
        QFile::remove(m_link);
    delete m_readNotifier;
    delete m_writeNotifier;
    if (m_slaveKeeper >= 0) ::close(m_slaveKeeper);
    if (m_master >= 0) ::close(m_master);
#endif
}

void SimulatedInstrumentPort::onReadable() {
#ifndef Q_OS_WIN
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            const QByteArray bytes(buffer, n);
            const qsizetype before = m_instrument.received.size();
            const QList<QByteArray> answers = m_instrument.feed(bytes);
            for (qsizetype i = before; i < m_instrument.received.size(); ++i)
                emit lineReceived(m_instrument.received[i]);
            for (const QByteArray& answer : answers)
                queueAnswer(answer);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        // No slave open (cannot happen while we keep one) or a hard error: rest a moment rather than spin.
        m_readNotifier->setEnabled(false);
        QTimer::singleShot(20, this, [this] { m_readNotifier->setEnabled(true); });
        return;
    }
#endif
}

void SimulatedInstrumentPort::queueAnswer(const QByteArray& answer) {
    const qint64 due = nowNs() + qint64(m_instrument.options.replyDelayMs) * 1000000;
    m_scheduled.push_back({due, answer});
    sendDue();
}

void SimulatedInstrumentPort::sendDue() {
    const qint64 now = nowNs();
    while (!m_scheduled.empty() && m_scheduled.front().dueNs <= now) {
        if (m_output.size() < maxPendingOutput) m_output += m_scheduled.front().bytes;
        m_scheduled.pop_front();
    }
    if (!m_scheduled.empty()) {
        const qint64 waitMs = (m_scheduled.front().dueNs - now + 999999) / 1000000;
        m_dueTimer->start(int(waitMs));
    }
    onWritable();
}

void SimulatedInstrumentPort::onWritable() {
#ifndef Q_OS_WIN
    while (!m_output.isEmpty()) {
        const ssize_t n = ::write(m_master, m_output.constData(), size_t(m_output.size()));
        if (n > 0) {
            m_output.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break; // full: the notifier tells when the pseudo-terminal takes more
    }
    m_writeNotifier->setEnabled(!m_output.isEmpty());
#endif
}
