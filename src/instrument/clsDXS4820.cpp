#include "instrument/clsDXS4820.h"

#include "core/NumberText.h"

#include <cmath>
#include <optional>

namespace {

// A failed step of a set or check operation: the operation writes its FAILURE line.
struct StepFailed {};

QString commandValue(ValueType type, double value) {
    if (type == ValueType::Double) return numtext::generalForm(value);
    // Integer rows receive whole numbers; a value that does not fit 16 bits is an error.
    const std::optional<int16_t> whole = numtext::roundToInteger(value);
    if (!whole) throw StepFailed{};
    return QString::number(*whole);
}

// Whether the reply begins with a number, blanks, tabs and line feeds aside: an empty or
// non-numeric reply fails the rounding rule rather than passing as 0.
bool startsWithNumber(const QString& reply) {
    qsizetype i = 0;
    const auto blank = [&] {
        return i < reply.size() && (reply[i] == u' ' || reply[i] == u'\t' || reply[i] == u'\n');
    };
    const auto digit = [&] { return i < reply.size() && reply[i] >= u'0' && reply[i] <= u'9'; };
    while (blank())
        ++i;
    if (i < reply.size() && (reply[i] == u'+' || reply[i] == u'-')) ++i;
    while (blank())
        ++i;
    if (digit()) return true;
    if (i < reply.size() && reply[i] == u'.') {
        ++i;
        while (blank())
            ++i;
        return digit();
    }
    return false;
}

double convertReply(CheckRule rule, const QString& reply) {
    switch (rule) {
    case CheckRule::Number:
        return numtext::lenientValue(reply);
    case CheckRule::Integer:
        if (const auto value = numtext::strictIntegerFloor(reply)) return *value;
        throw StepFailed{};
    case CheckRule::Rounding:
        if (!startsWithNumber(reply)) throw StepFailed{};
        if (const auto value = numtext::roundToInteger(numtext::lenientValue(reply))) return *value;
        throw StepFailed{};
    }
    throw StepFailed{};
}

// Marks the object as exchanging for the lifetime of one exchange.
class ExchangeGuard {
public:
    explicit ExchangeGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~ExchangeGuard() { m_flag = false; }
    ExchangeGuard(const ExchangeGuard&) = delete;
    ExchangeGuard& operator=(const ExchangeGuard&) = delete;

private:
    bool& m_flag;
};

} // namespace

void clsDXS4820::writeLine(const QString& line) {
    if (txtMsg && !line.isEmpty()) txtMsg(line);
}

void clsDXS4820::shutDown() {
    m_shutDown = true;
    m_wait.cancel();
}

void clsDXS4820::chooseConnectMethod(const QString& sVar) {
    sConnectMethod = sVar;
    bReady = false;
    m_configurePending = true;
}

void clsDXS4820::configurePending() {
    if (m_configurePending && !m_shutDown) ConnectMethod(sConnectMethod);
}

void clsDXS4820::ConnectMethod(const QString& sVar) {
    m_configurePending = false;
    writeLine("Set [Configure " + sVar + "] to DXS-4820...");
    bReady = false;
    sConnectMethod = sVar;
    try {
        // Names are compared exactly: any other text selects no transport.
        if (sVar == QLatin1String("GPIB")) {
            if (!CWGPIB1) throw TransportError(0, "no GPIB transport");
            CWGPIB1->configure();
        } else if (sVar == QLatin1String("RS232")) {
            if (!CWSerial1) throw TransportError(0, "no serial transport");
            CWSerial1->configure();
        }
    } catch (const TransportError&) {
        writeLine("Set [Configure " + sVar + "] to DXS-4820 FAILURE");
        return;
    }
    writeLine("Set [Configure " + sVar + "] to DXS-4820 OK");
}

bool clsDXS4820::Ready() {
    configurePending();
    sCommand = "*IDN?";
    const Exchange exchange = SendCommand(sCommand);
    m_lastFailure = exchange.failure;
    bReady = !exchange.reply.isEmpty();
    writeLine(bReady ? "DXS-4820 <--> PC: [Ready]" : "DXS-4820 <--> PC: [Failure]");
    // A port that is there but cannot be opened (another copy of the program holds it) is not the
    // instrument's fault: the line goes on to say what the user has to put right.
    if (!bReady && m_lastFailure && m_lastFailure->openRefused())
        writeLine("DXS-4820 <--> PC: [Failure]: " + m_lastFailure->description());
    return bReady;
}

QString clsDXS4820::IDN() {
    configurePending();
    sCommand = "*IDN?";
    const Exchange exchange = SendCommand(sCommand);
    m_lastFailure = exchange.failure;
    return exchange.reply;
}

void clsDXS4820::set(Property property, double value) {
    configurePending();
    const CommandRow& row = commandRow(property);
    writeLine(setStartLine(row, value));
    m_lastFailure.reset();
    try {
        sCommand = row.header + commandValue(row.type, value);
        // The reply of a set command is not looked at, but a command that never reached the
        // instrument must not be reported as set.
        m_lastFailure = SendCommand(sCommand).failure;
        if (m_lastFailure) throw StepFailed{};
    } catch (const StepFailed&) {
        writeLine(setFailureLine(row, value));
        return;
    }
    writeLine(setOkLine(row, value));
}

double clsDXS4820::check(Property property) {
    configurePending();
    const CommandRow& row = commandRow(property);
    writeLine(row.checkStartLine);
    double value = 0;
    m_lastFailure.reset();
    try {
        sCommand = row.query;
        const Exchange exchange = SendCommand(sCommand);
        m_lastFailure = exchange.failure;
        // An empty reply from a broken link is no reading of 0.
        if (m_lastFailure) throw StepFailed{};
        value = convertReply(row.rule, exchange.reply);
    } catch (const StepFailed&) {
        writeLine(checkFailureLine(row));
        return 0;
    }
    writeLine(checkOkLine(row));
    return value;
}

clsDXS4820::Exchange clsDXS4820::SendCommand(const QString& command) {
    // One exchange at a time: a request arriving while another waits for its reply (from an event
    // handled during the pacing wait) is refused rather than interleaved on the line.
    if (m_shutDown) return {{}, TransportError(0, "The window is closing")};
    if (m_exchanging) return {{}, TransportError(0, "Another exchange with the instrument is under way")};
    ExchangeGuard guard(m_exchanging);
    try {
        if (sConnectMethod == QLatin1String("GPIB")) {
            if (!CWGPIB1) return {};
            CWGPIB1->write(command.toLatin1());
            return {QString::fromLatin1(CWGPIB1->read()), {}};
        }
        if (sConnectMethod == QLatin1String("RS232")) {
            if (!CWSerial1) return {};
            CWSerial1->write(command.toLatin1() + '\n');
            // The window is closing: no read.
            if (!m_wait.wait(iWaiting_ms)) return {{}, TransportError(0, "The window is closing")};
            sReply = QString::fromLatin1(CWSerial1->read());
            return {sReply, {}};
        }
    } catch (const TransportError& error) {
        return {{}, error};
    }
    return {};
}
