#include "instrument/Transcript.h"

#include <QFileInfo>
#include <cstdio>

std::unique_ptr<Transcript> Transcript::open(const QString& path, QString* error) {
    std::unique_ptr<Transcript> transcript(new Transcript);
    bool opened = false;
    if (path == QLatin1String("-")) {
        opened = transcript->m_file.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    } else {
        const QFileInfo info(path);
        if (info.exists() && !info.isFile()) {
            if (error) *error = QString("%1 is not a regular file").arg(path);
            return nullptr;
        }
        transcript->m_file.setFileName(path);
        // Unbuffered: each line goes to the system as it is recorded, and survives a crash.
        opened = transcript->m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text |
                                         QIODevice::Unbuffered);
    }
    if (!opened) {
        if (error) *error = QString("cannot open %1: %2").arg(path, transcript->m_file.errorString());
        return nullptr;
    }
    transcript->m_clock.start();
    return transcript;
}

void Transcript::record(const QString& text) {
    // One write per line keeps lines whole even when several programs append to the same file.
    m_file.write((QString::number(elapsedMs(), 'f', 1) + ' ' + text + '\n').toUtf8());
}

QString Transcript::escaped(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size() + 2);
    text += '"';
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (byte) {
        case '\n':
            text += "\\n";
            break;
        case '\r':
            text += "\\r";
            break;
        case '\t':
            text += "\\t";
            break;
        case '\\':
            text += "\\\\";
            break;
        case '"':
            text += "\\\"";
            break;
        default:
            if (byte >= 0x20 && byte < 0x7f)
                text += QChar(byte);
            else
                text += QString("\\x%1").arg(byte, 2, 16, QChar('0'));
        }
    }
    text += '"';
    return text;
}

RecordedTransport::RecordedTransport(Transport& inner, Transcript& transcript, QString name,
                                     std::function<QString()> where)
    : m_inner(inner), m_transcript(transcript), m_name(std::move(name)), m_where(std::move(where)) {
    m_inner.setOpenListener([this](const QString& event) { m_transcript.record(prefix() + ' ' + event); });
}

RecordedTransport::~RecordedTransport() {
    m_inner.setOpenListener({});
}

QString RecordedTransport::prefix() const {
    return m_name + ' ' + (m_where ? m_where() : QString());
}

void RecordedTransport::configure() {
    try {
        m_inner.configure();
    } catch (const TransportError& error) {
        m_transcript.record(prefix() + " configure failed: " + error.description());
        throw;
    }
    m_transcript.record(prefix() + " configured");
}

void RecordedTransport::write(const QByteArray& data) {
    m_writtenAt = -1;
    try {
        m_inner.write(data);
    } catch (const TransportError& error) {
        m_transcript.record(prefix() + " write " + Transcript::escaped(data) +
                            " failed: " + error.description());
        throw;
    }
    // The wait is counted from the moment the command has left, as the pacing wait is.
    m_writtenAt = m_transcript.elapsedMs();
    m_transcript.record(prefix() + " write " + Transcript::escaped(data));
}

QByteArray RecordedTransport::read() {
    // A read without a written command before it has no wait to report.
    const QString after =
        m_writtenAt < 0
            ? QString()
            : QString(" after %1 ms").arg(QString::number(m_transcript.elapsedMs() - m_writtenAt, 'f', 1));
    QByteArray reply;
    try {
        reply = m_inner.read();
    } catch (const TransportError& error) {
        m_transcript.record(prefix() + " read failed" + after + ": " + error.description());
        throw;
    }
    m_transcript.record(prefix() + " read " +
                        (reply.isEmpty() ? QString("no reply") : Transcript::escaped(reply)) + after);
    return reply;
}
