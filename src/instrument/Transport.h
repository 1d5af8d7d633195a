#pragma once
#include <QByteArray>
#include <QString>
#include <functional>
#include <stdexcept>

// A failed transport call. The instrument object catches these; they never reach the window.
class TransportError : public std::runtime_error {
public:
    TransportError(int number, const QString& description, bool openRefused = false)
        : std::runtime_error(description.toStdString()), m_number(number), m_description(description),
          m_openRefused(openRefused) {}
    int number() const { return m_number; }
    QString description() const { return m_description; }
    // The device is there but could not be opened (another program holds it, or the user may not
    // use it): the instrument may be fine, the user has something to put right.
    bool openRefused() const { return m_openRefused; }

private:
    int m_number;
    QString m_description;
    bool m_openRefused;
};

// The link to the instrument: configure with the settings given beforehand, write one text, read
// what has arrived. Every call throws TransportError on failure.
class Transport {
public:
    virtual ~Transport() = default;
    virtual void configure() = 0;
    virtual void write(const QByteArray& data) = 0;
    virtual QByteArray read() = 0;

    // Told of every attempt to open the device, by configure or by an exchange opening it again:
    // "opened" (with where a link led) or "open failed: <why>". Empty stops it.
    using OpenListener = std::function<void(const QString& event)>;
    virtual void setOpenListener(OpenListener listener) { (void)listener; }
};
