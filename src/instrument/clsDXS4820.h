#pragma once
// The one instrument object: transport choice, the exchange of one command, readiness and
// identification, and the 29 settings of the command table.
#include "instrument/CommandTable.h"
#include "instrument/Pacing.h"
#include "instrument/Transport.h"

#include <QString>
#include <functional>
#include <optional>

// Where progress lines go (the window's message line).
using MessageSink = std::function<void(const QString&)>;

class clsDXS4820 {
public:
    clsDXS4820() = default;

    bool bReady = false;
    double iWaiting_ms = 200;
    MessageSink txtMsg;
    Transport* CWGPIB1 = nullptr;
    Transport* CWSerial1 = nullptr;

    void ConnectMethod(const QString& sVar);
    // Chooses the transport and leaves its configuration (the port opened, its message lines) to
    // the next exchange or configurePending(): start-up keeps opening the port off the way to the
    // window's first paint. ConnectMethod in between takes over.
    void chooseConnectMethod(const QString& sVar);
    void configurePending();
    // Writes the readiness line; when the port could not be opened although its device is there,
    // follows it with the same line and the cause.
    bool Ready();
    QString IDN();

    // Set P: sends the set command with the value (Integer rows take the value as a whole number).
    void set(Property property, double value);
    // Check P: sends the query and converts the reply by the row's rule; 0 on failure.
    double check(Property property);

    // Why the exchange of the last Ready, IDN, set or check did not go through (the command did
    // not reach the instrument or its reply could not be read); nothing when it went through.
    const std::optional<TransportError>& lastFailure() const { return m_lastFailure; }

    // True while an exchange waits for its reply; a second exchange must not start then.
    bool isExchanging() const { return m_exchanging; }
    // After this nothing more is sent and a pacing wait in progress ends at once, without its read:
    // the window is closing.
    void shutDown();
    QString connectMethod() const { return sConnectMethod; }

    // The command text of the last operation and the last RS232 reply (for tests and diagnostics).
    QString lastCommand() const { return sCommand; }
    QString lastSerialReply() const { return sReply; }

private:
    // One exchange: the reply (empty when there is none) and, when the transport failed, why.
    struct Exchange {
        QString reply;
        std::optional<TransportError> failure;
    };
    Exchange SendCommand(const QString& command);
    void writeLine(const QString& line);

    QString sReply;
    QString sCommand;
    QString sConnectMethod;
    bool m_exchanging = false;
    bool m_shutDown = false;
    bool m_configurePending = false;
    std::optional<TransportError> m_lastFailure;
    PacingWait m_wait;
};
