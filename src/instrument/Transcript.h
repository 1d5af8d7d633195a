#pragma once
// The exchange transcript: one line per event on the wire (a command written, the reply read or its
// absence, a transport opened), each written through to the file at once so the lines before a
// crash are kept. Opened on request only; a program without one records nothing and pays nothing.
#include "instrument/Transport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <functional>
#include <memory>

class Transcript {
public:
    // Opens path for appending ("-" is standard error). Only a regular file (or a new one) is
    // accepted; on failure the transcript is null and error() says why.
    static std::unique_ptr<Transcript> open(const QString& path, QString* error);

    // Writes "<ms since start> <text>" as one line, straight through to the file.
    void record(const QString& text);
    // Milliseconds since the transcript was opened (the program's start).
    double elapsedMs() const { return m_clock.nsecsElapsed() / 1e6; }

    // Bytes as a quoted text: printable ASCII as is; backslash, quote and every other byte escaped
    // (\n, \r, \t, \\, \", else \xHH), so control bytes and line ends stay visible on one line.
    static QString escaped(const QByteArray& bytes);

private:
    Transcript() = default;
    QFile m_file;
    QElapsedTimer m_clock;
};

// A transport that records its traffic: each write as written, each read (or "no reply") with the
// wait since the write, each configure and each opening of the device (also the one an exchange
// makes after the device went away), then passes the call on unchanged (errors included).
class RecordedTransport : public Transport {
public:
    // name is the transport's name ("RS232", "GPIB"); where() says which port or address it uses now.
    RecordedTransport(Transport& inner, Transcript& transcript, QString name, std::function<QString()> where);
    ~RecordedTransport() override;
    RecordedTransport(const RecordedTransport&) = delete;
    RecordedTransport& operator=(const RecordedTransport&) = delete;

    void configure() override;
    void write(const QByteArray& data) override;
    QByteArray read() override;

private:
    QString prefix() const;

    Transport& m_inner;
    Transcript& m_transcript;
    QString m_name;
    std::function<QString()> m_where;
    double m_writtenAt = -1; // when the last command went out; -1 before the first
};
