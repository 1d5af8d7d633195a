#pragma once
// A stand-in for the DXS-4820 on the far end of a serial line: it keeps the value of every setting
// it is sent, answers the queries and "*IDN?", and logs every line it receives. The core below has
// no I/O; SimulatedInstrumentPort puts it on a pseudo-terminal reachable through a COMn link.
#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

struct SimulatedOptions {
    int replyDelayMs = 0;                    // answers leave this long after their command arrived
    bool silent = false;                     // never answers
    bool garbage = false;                    // answers binary junk without a line end
    bool answerOnce = false;                 // answers the first "*IDN?" only, then nothing
    qint64 hugeReplyBytes = 0;               // when set, every answer is this many bytes without a line end
    QByteArrayList unanswered{};             // queries, exactly as received, answered with nothing
    QHash<QByteArray, QByteArray> replies{}; // queries answered with this text (and a line feed)
};

class SimulatedInstrument {
public:
    static QByteArray identification();

    SimulatedOptions options;

    // Every line received, exactly as received (without its line feed), in order, with the
    // steady-clock time (nanoseconds) of its arrival.
    QList<QByteArray> received;
    QList<qint64> receivedAt;
    // Called for every line received.
    std::function<void(const QByteArray&)> onLine;

    // Takes bytes from the line; returns the answers the complete lines produced, in order.
    QList<QByteArray> feed(const QByteArray& bytes);
    // The answer to one line (empty when it produces none); stores set values.
    QByteArray answer(const QByteArray& line);

    // The settings an instrument holds after power-on, by command table row: the panel's own
    // defaults, so a read before anything was sent finds an ordinary setting rather than zeros.
    static std::array<double, 29> powerOnValues();

    // The stored value of a setting, by the index of its command table row.
    double value(int row) const { return m_values[size_t(row)]; }
    void setValue(int row, double value) { m_values[size_t(row)] = value; }
    void clear();

private:
    QByteArray m_pending; // a line not yet complete
    std::array<double, 29> m_values = powerOnValues();
    bool m_answeredOnce = false;
};

// The simulated instrument on a pseudo-terminal: the link <folder>/COM<port> points to the slave
// side, which a serial port opens like a real device. Removes its link when destroyed.
class SimulatedInstrumentPort : public QObject {
    Q_OBJECT
public:
    SimulatedInstrumentPort(const QString& folder, int port = 1, QObject* parent = nullptr);
    ~SimulatedInstrumentPort() override;

    bool isRunning() const { return m_master >= 0; }
    QString errorText() const { return m_error; }
    QString linkPath() const { return m_link; }
    QString slaveName() const { return m_slaveName; }

    SimulatedInstrument& instrument() { return m_instrument; }

signals:
    void lineReceived(const QByteArray& line);

private:
    void onReadable();
    void onWritable();
    void queueAnswer(const QByteArray& answer);
    void sendDue();

    SimulatedInstrument m_instrument;
    int m_master = -1;
    int m_slaveKeeper = -1; // keeps the slave open so the master never sees a hang-up
    QString m_slaveName;
    QString m_link;
    QString m_error;
    class QSocketNotifier* m_readNotifier = nullptr;
    class QSocketNotifier* m_writeNotifier = nullptr;
    class QTimer* m_dueTimer = nullptr;
    struct Scheduled {
        qint64 dueNs;
        QByteArray bytes;
    };
    std::deque<Scheduled> m_scheduled;
    QByteArray m_output; // due bytes the pseudo-terminal has not taken yet
};
