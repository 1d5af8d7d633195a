#include "app/CommandLine.h"

#include "app/frmDXS.h"
#include "instrument/GpibTransport.h"
#include "instrument/SerialTransport.h"
#include "instrument/Transcript.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QUrl>

namespace {

// The window toolkit's own options, which it takes out of the arguments when it starts.
struct ToolkitOption {
    const char* name;
    bool takesValue;
};
constexpr ToolkitOption kToolkitOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},
    {"qwindowtitle", true},    {"session", true},
    {"display", true},         {"geometry", true},
    {"style", true},           {"stylesheet", true},
    {"qmljsdebugger", true},   {"reverse", false},
    {"widgetcount", false},    {"nograb", false},
    {"dograb", false},         {"sync", false},
};

// The arguments without the toolkit's options and their values.
QStringList withoutToolkitOptions(const QStringList& arguments) {
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool single = argument.startsWith('-') && !argument.startsWith("--");
        const bool dashed = single || (argument.startsWith("--") && argument.size() > 2);
        const QString name = argument.mid(single ? 1 : 2).section('=', 0, 0);
        const ToolkitOption* match = nullptr;
        if (i > 0 && dashed)
            for (const ToolkitOption& option : kToolkitOptions)
                if (name == QLatin1String(option.name)) match = &option;
        if (!match) {
            kept << argument;
            continue;
        }
        if (match->takesValue && !argument.contains('=')) ++i; // the value follows
    }
    return kept;
}

// The scripts' options, kept apart from the window's.
struct ScriptOptions {
    QCommandLineOption send{
        "send", "Load FILE as File > Load does and send the whole setting, without a window.", "FILE"};
    QCommandLineOption read{"read", "Read the instrument's setting and write it to FILE, without a window.",
                            "FILE"};
    QCommandLineOption port{"port",
                            "With --send or --read: the COM port N (1 to 4) or a device path, in place "
                            "of the stored connection.",
                            "N"};
    QCommandLineOption baud{"baud", "With --send or --read: the baud rate B.", "B"};

    void addTo(QCommandLineParser& parser) const { parser.addOptions({send, read, port, baud}); }

    // The script asked for, if any; a text for standard error when the options cannot be followed.
    std::optional<QString> readInto(const QCommandLineParser& parser, CommandLine& result) const {
        const bool sending = parser.isSet(send);
        const bool reading = parser.isSet(read);
        if (sending && reading) return QString("--send and --read cannot be combined");
        if (!sending && !reading) {
            if (parser.isSet(port) || parser.isSet(baud))
                return QString("--port and --baud need --send or --read");
            return std::nullopt;
        }
        ScriptRequest request;
        request.kind = sending ? ScriptRequest::Kind::Send : ScriptRequest::Kind::Read;
        request.file = parser.value(sending ? send : read);
        if (request.file.isEmpty()) return QString("%1 needs a file name").arg(sending ? "--send" : "--read");
        if (const auto problem = checkScriptConnection(parser.value(port), parser.value(baud), request))
            return problem;
        result.script = request;
        return std::nullopt;
    }
};

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Front panel of the DXS-4820 function generator.");
    const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
    const QCommandLineOption version({"v", "version"}, "Show the version and exit.");
    const QCommandLineOption transcript(
        "transcript",
        "Append every exchange with the instrument to FILE (- for standard error): time since start in "
        "ms, transport and port, each command as written, each reply or \"no reply\", and the wait.",
        "FILE");
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(transcript);
    parser.addPositionalArgument("FILE", "Setting file to load at start, as File > Load does.", "[FILE]");
    const ScriptOptions scriptOptions;
    scriptOptions.addTo(parser);

    const QString program = arguments.isEmpty() ? QString("dxs4820") : arguments.first();
    CommandLine result;
    const auto refuse = [&](const QString& why) {
        result.run = false;
        result.exitCode = 2;
        result.error = QString("%1: %2\nTry '%1 --help' for more information.\n").arg(program, why);
        return result;
    };
    if (!parser.parse(withoutToolkitOptions(arguments))) return refuse(parser.errorText());
    if (parser.positionalArguments().size() > 1)
        return refuse(QString("unexpected argument '%1'").arg(parser.positionalArguments()[1]));
    if (parser.isSet(help)) {
        result.run = false;
        // The parser knows the program's name only once the toolkit runs, which help does not need.
        result.output = parser.helpText().replace("<executable_name>", QFileInfo(program).fileName());
        return result;
    }
    if (parser.isSet(version)) {
        result.run = false;
        result.output = QString("dxs4820 %1\n").arg(DXS_VERSION);
        return result;
    }
    result.transcriptPath = parser.value(transcript);
    if (parser.isSet(transcript) && result.transcriptPath.isEmpty())
        return refuse("--transcript needs a file name (- for standard error)");
    if (!parser.positionalArguments().isEmpty()) {
        // A launcher may hand over a file: URL instead of a path.
        const QString file = parser.positionalArguments().first();
        result.settingFile = file.startsWith("file://") ? QUrl(file).toLocalFile() : file;
    }
    if (const auto problem = scriptOptions.readInto(parser, result)) return refuse(*problem);
    // A script names its own file; a second one would be silently left unused.
    if (result.script && !result.settingFile.isEmpty())
        return refuse(QString("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    return result;
}

std::vector<std::unique_ptr<Transport>> recordExchanges(frmDXS& window, Transcript& transcript) {
    std::vector<std::unique_ptr<Transport>> recorders;
    SerialTransport& serial = window.CWSerial1();
    GpibTransport& gpib = window.CWGPIB1();
    recorders.push_back(std::make_unique<RecordedTransport>(serial, transcript, "RS232", [&serial] {
        const QString device = serial.device();
        return QString("COM%1").arg(serial.portNumber()) + (device.isEmpty() ? QString() : " " + device);
    }));
    window.instrument.CWSerial1 = recorders.back().get();
    recorders.push_back(std::make_unique<RecordedTransport>(
        gpib, transcript, "GPIB", [&gpib] { return QString("address %1").arg(gpib.address()); }));
    window.instrument.CWGPIB1 = recorders.back().get();
    // The start-up configuration ran before recording began: note where it left the serial line.
    transcript.record(QString("start-up selected %1; RS232 COM%2 %3")
                          .arg(window.instrument.connectMethod().isEmpty()
                                   ? QString("no transport")
                                   : window.instrument.connectMethod())
                          .arg(serial.portNumber())
                          .arg(serial.isOpen() ? "open on " + serial.device() : QString("not open")));
    return recorders;
}
