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

// A folder laid out as the kernel's tty list, from entries name:kind[:device]: "usb" (an adapter),
// "8250" (a built-in port with a UART fitted) or "empty" (without one); a console or parentless port has
// no device. The device under /dev is the entry's name unless given.
inline bool makeTtyList(const QString& root, const QString& ttys) {
    const QString drivers = root + "/../drivers/";
    bool ok = QDir().mkpath(drivers + "serial8250") && QDir().mkpath(drivers + "usb-serial");
    for (const QString& tty : ttys.split(' ', Qt::SkipEmptyParts)) {
        const QString name = tty.section(':', 0, 0), kind = tty.section(':', 1, 1), entry = root + "/" + name;
        const QString device = tty.section(':', 2).isEmpty() ? name : tty.section(':', 2);
        QFile uevent(entry + "/uevent"), type(entry + "/type");
        ok = ok && QDir().mkpath(entry);
        if (kind != "usb" && kind != "8250" && kind != "empty") continue;
        ok = ok && QDir().mkpath(entry + "/device") &&
             QFile::link(drivers + (kind == "usb" ? "usb-serial" : "serial8250"), entry + "/device/driver") &&
             uevent.open(QIODevice::WriteOnly) && uevent.write("DEVNAME=" + device.toLatin1() + "\n") > 0 &&
             type.open(QIODevice::WriteOnly) && type.write(kind == "empty" ? "0\n" : "4\n") > 0;
    }
    return ok;
}
