#pragma once
#include <QByteArray>
#include <QString>
#include <stdexcept>

// A failed transport call. The instrument object catches these; they never reach the window.
class TransportError : public std::runtime_error {
public:
    TransportError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), m_number(number), m_description(description) {}
    int number() const { return m_number; }
    QString description() const { return m_description; }

private:
    int m_number;
    QString m_description;
};

// The link to the instrument: configure with the settings given beforehand, write one text, read
// what has arrived. Every call throws TransportError on failure.
class Transport {
public:
    virtual ~Transport() = default;
    virtual void configure() = 0;
    virtual void write(const QByteArray& data) = 0;
    virtual QByteArray read() = 0;
};
