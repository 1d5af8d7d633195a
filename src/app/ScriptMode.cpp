#include "app/ScriptMode.h"

#include "app/CommandLine.h"
#include "app/frmDXS.h"
#include "instrument/SerialTransport.h"
#include "instrument/Transcript.h"
#include "operations/Operations.h"
#include "record/RecordFile.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <array>

namespace {

// The baud rates the connection frame knows.
constexpr std::array kScriptBaudRates = {19200, 14400, 9600, 4800, 2400, 1200, 600, 300};
constexpr int kHighestPortNumber = 4;

// What the instrument reports when it does not answer, and the ends of failed steps.
bool isFailureLine(const QString& line) {
    return line.endsWith(" FAILURE") || line.contains(" FAILURE:") || line == "DXS-4820 <--> PC: [Failure]" ||
           line.startsWith("The Connection between DXS-4820 and PC is not Ready");
}

// Message boxes of a script: their text goes to standard error; a question is answered No, so
// nothing the user typed is discarded and no help opens.
class ScriptDialogs : public UserDialogs {
public:
    explicit ScriptDialogs(std::FILE* err) : m_err(err) {}
    Answer message(const QString& text, Buttons buttons, Icon) override {
        ++shown;
        QString flat = text;
        flat.replace("\r\n", "\n");
        std::fprintf(m_err, "%s\n", flat.toLocal8Bit().constData());
        std::fflush(m_err);
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
    QString chooseFile(const FileDialogRequest&) override { return {}; }
    void openHelp(int) override {}
    int shown = 0;

private:
    std::FILE* m_err;
};

void printLine(std::FILE* out, const QString& line) {
    std::fprintf(out, "%s\n", line.toLocal8Bit().constData());
    std::fflush(out);
}

// The connection given on the command line in place of the stored one; a port number and baud
// rate are stored with a read setting, so sending it later needs no options.
void applyConnection(const ScriptRequest& request, frmDXS& window, bool storeInRecord) {
    SerialTransport& serial = window.CWSerial1();
    if (request.portNumber) {
        serial.setPortNumber(*request.portNumber);
        if (storeInRecord) window.record.setInteger(RecordField::ComPort, int16_t(*request.portNumber));
    }
    if (!request.devicePath.isEmpty()) serial.setDevicePath(request.devicePath);
    if (request.baudRate) {
        serial.setBaudRate(*request.baudRate);
        if (storeInRecord) window.record.setInteger(RecordField::BaudRate, int16_t(*request.baudRate));
    }
    if (request.portNumber || !request.devicePath.isEmpty()) window.instrument.chooseConnectMethod("RS232");
    // The cycle time the connection frame stored paces the exchanges, as its OK would make it.
    if (const int cycle = window.record.integer(RecordField::CycleTime); cycle >= 1)
        window.instrument.iWaiting_ms = cycle;
}

int sendScript(const ScriptRequest& request, frmDXS& window, ScriptDialogs& dialogs, std::FILE* err) {
    OperationContext& ctx = window.operationContext();
    const QFileInfo info(request.file);
    if (!info.exists()) {
        std::fprintf(err, "dxs4820: --send: %s: no such file\n",
                     qPrintable(QDir::toNativeSeparators(request.file)));
        return ScriptUnusable;
    }
    if (recordfile::readRecord(request.file, window.record) != recordfile::ReadStatus::Read) {
        std::fprintf(err, "dxs4820: --send: %s: cannot be read\n",
                     qPrintable(QDir::toNativeSeparators(request.file)));
        return ScriptUnusable;
    }
    // As File > Load does it, then the connection the file stores, then the command line's.
    RestoreData(ctx);
    InitDevice(ctx);
    applyConnection(request, window, false);
    window.sendAll = true;
    window.mnuSend->trigger();
    // A completed send clears the send-all flag; one that stopped or refused leaves it set.
    return window.sendAll || dialogs.shown > 0 ? ScriptFailed : ScriptOk;
}

int readScript(const ScriptRequest& request, frmDXS& window, std::FILE* err) {
    OperationContext& ctx = window.operationContext();
    // An existing file gives the connection to read over and keeps it for the next send.
    if (QFileInfo(request.file).exists() &&
        recordfile::readRecord(request.file, window.record) != recordfile::ReadStatus::Read) {
        std::fprintf(err, "dxs4820: --read: %s: cannot be read\n",
                     qPrintable(QDir::toNativeSeparators(request.file)));
        return ScriptUnusable;
    }
    InitDevice(ctx);
    applyConnection(request, window, true);
    const ReadResult result = ReadOperation(ctx);
    // Only a whole setting is written: a file half of design defaults would pass for one read.
    if (result != ReadResult::Complete) return ScriptFailed;
    if (const auto written = recordfile::writeRecord(request.file, window.record); !written.ok) {
        std::fprintf(err, "dxs4820: --read: %s: %s\n", qPrintable(QDir::toNativeSeparators(request.file)),
                     qPrintable(written.reason));
        return ScriptUnusable;
    }
    return ScriptOk;
}

} // namespace

std::optional<QString> checkScriptConnection(const QString& port, const QString& baud,
                                             ScriptRequest& request) {
    if (!port.isEmpty()) {
        bool isNumber = false;
        const int number = port.toInt(&isNumber);
        if (isNumber) {
            if (number < 1 || number > kHighestPortNumber)
                return QString("--port takes a port number from 1 to %1 or a device path")
                    .arg(kHighestPortNumber);
            request.portNumber = number;
        } else {
            request.devicePath = port;
        }
    }
    if (!baud.isEmpty()) {
        bool isNumber = false;
        const int rate = baud.toInt(&isNumber);
        if (!isNumber ||
            std::find(kScriptBaudRates.begin(), kScriptBaudRates.end(), rate) == kScriptBaudRates.end())
            return QString("--baud takes one of 19200, 14400, 9600, 4800, 2400, 1200, 600, 300");
        request.baudRate = rate;
    }
    return std::nullopt;
}

void prepareScriptPlatform() {
    // The panel is made of widgets; the offscreen platform builds them without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

int runScript(const ScriptRequest& request, Transcript* transcript, std::FILE* out, std::FILE* err) {
    auto dialogs = std::make_unique<ScriptDialogs>(err);
    ScriptDialogs& shown = *dialogs;
    frmDXS window(std::move(dialogs), nullptr, frmDXS::StoredSetting::Ignore);
    bool failureLine = false;
    window.messageEcho = [out, &failureLine](const QString& line) {
        failureLine |= isFailureLine(line);
        printLine(out, line);
    };
    std::vector<std::unique_ptr<Transport>> recorders;
    if (transcript) recorders = recordExchanges(window, *transcript);

    const int status = request.kind == ScriptRequest::Kind::Send ? sendScript(request, window, shown, err)
                                                                 : readScript(request, window, err);
    if (status == ScriptOk && failureLine) return ScriptFailed;
    return status;
}
