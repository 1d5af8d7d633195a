#pragma once
// SIGTERM, SIGINT and SIGHUP turned into events of the window loop: the handler only writes the
// signal's number into a pipe, whose reading end the loop watches, so the program ends as closing
// the window does (the setting stored) instead of at once.
#include <QObject>

class QSocketNotifier;

class ShutdownSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; one object at a time. The destructor puts the default handlers back.
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

    // The first of the signals received so far (0: none).
    int received() const { return m_received; }
    // Ends the process by the signal received, as it would have ended without a handler, so that
    // whoever started it sees which signal ended it.
    [[noreturn]] void endBySignal() const;

signals:
    void arrived(int signal);

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
    int m_received = 0;
};
