#include "app/CommandLine.h"
#include "app/FontPreload.h"
#include "app/ScriptMode.h"
#include "app/ShutdownSignals.h"
#include "app/frmDXS.h"
#include "core/ProgramFolder.h"
#include "instrument/Transcript.h"
#include "operations/Operations.h"

#include <QApplication>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray g_programName = "dxs4820";
QtMessageHandler g_previousHandler = nullptr;

// While the toolkit starts, a window system it cannot reach (no display, an unknown -platform) is a
// fatal message followed by an abort; it is told as what it is, ending with the status of a
// command line that cannot be followed.
void startUpMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        g_previousHandler(type, context, text);
        return;
    }
    std::fprintf(stderr, "%s: no usable display: the window system could not be started.\n%s\n",
                 g_programName.constData(), text.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(2);
}

// Writes a text meant for standard output; false when it could not be written (a full disk, a
// closed pipe).
bool printed(const QString& text) {
    if (text.isEmpty()) return true;
    const QByteArray bytes = text.toLocal8Bit();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) &&
           std::fflush(stdout) == 0;
}

// The last value given to --transcript, as the bytes of the command line.
QByteArray transcriptArgument(int argc, char* argv[]) {
    QByteArray value;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument = argv[i];
        if (argument == "--transcript" && i + 1 < argc)
            value = argv[++i];
        else if (argument.startsWith("--transcript="))
            value = argument.mid(int(sizeof "--transcript=") - 1);
    }
    return value;
}

// A file name that has no text form in the system's encoding (bytes that are not valid UTF-8) would
// be written under another name; such a file is opened by its bytes, and the transcript opens it
// again through the descriptor. Returns the name to open, or an empty text after telling why not.
QString openableTranscriptName(const QString& name, const QByteArray& bytes, int& descriptor) {
    if (name == QLatin1String("-") || bytes.isEmpty() || QFile::encodeName(name) == bytes) return name;
    descriptor =
        ::open(bytes.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
    struct stat info {};
    const char* why = descriptor < 0 ? std::strerror(errno) : nullptr;
    if (!why && (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode))) why = "not a regular file";
    if (why) {
        std::fprintf(stderr, "%s: --transcript: %s: %s\n", g_programName.constData(), bytes.constData(), why);
        return {};
    }
    return QStringLiteral("/proc/self/fd/%1").arg(descriptor);
}

} // namespace

namespace {
// --send and --read: no window is shown, so no display is needed.
int runScriptProgram(int argc, char* argv[], const ScriptRequest& request, Transcript* transcript) {
    prepareScriptPlatform();
    // The panel's widgets need the font configuration even offscreen: read beside the toolkit's start.
    FontConfigurationPreload fonts;
    QApplication app(argc, argv);
    fonts.wait();
    QApplication::setApplicationName(frontPanelName);
    QApplication::setApplicationVersion(DXS_VERSION);
    return runScript(request, transcript);
}
} // namespace

int main(int argc, char* argv[]) {
    // Help, version and a mistaken command line are answered before the window system is needed,
    // so they work without a display. Arguments are file names as bytes, whatever their encoding.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    if (argc > 0) g_programName = argv[0];
    const CommandLine options = parseCommandLine(arguments);
    if (!options.run) {
        std::fputs(options.error.toLocal8Bit().constData(), stderr);
        if (!printed(options.output)) {
            std::perror((g_programName + ": standard output").constData());
            return 1;
        }
        return options.exitCode;
    }

    // Opened before the window system starts, so the clock counts from the program's start.
    std::unique_ptr<Transcript> transcript;
    if (!options.transcriptPath.isEmpty()) {
        int descriptor = -1;
        const QString name =
            openableTranscriptName(options.transcriptPath, transcriptArgument(argc, argv), descriptor);
        if (name.isEmpty()) return 2;
        QString error;
        transcript = Transcript::open(name, &error);
        if (descriptor >= 0) ::close(descriptor);
        if (!transcript) {
            std::fprintf(stderr, "%s: --transcript: %s\n", argv[0], error.toLocal8Bit().constData());
            return 2;
        }
        transcript->record(QString("dxs4820 %1 started").arg(DXS_VERSION));
    }

    if (options.script) return runScriptProgram(argc, argv, *options.script, transcript.get());

    FontConfigurationPreload fonts;
    g_previousHandler = qInstallMessageHandler(startUpMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(g_previousHandler);
    // Names the settings folder, where the simulated instrument also places its link.
    QApplication::setApplicationName(frontPanelName);
    QApplication::setApplicationVersion(DXS_VERSION);
    // From here on a termination signal closes the window as the user would, the setting stored.
    ShutdownSignals shutdownSignals;
    fonts.wait();

    frmDXS window;
    QObject::connect(&shutdownSignals, &ShutdownSignals::arrived, &window,
                     [&window] { window.endUnattended(); });
    if (shutdownSignals.received()) window.endUnattended(); // came while start-up asked something
    if (!options.settingFile.isEmpty() && !loadSettingFile(window.operationContext(), options.settingFile))
        std::fprintf(stderr, "%s: %s\n", argv[0], window.messageLineText().toLocal8Bit().constData());
    std::vector<std::unique_ptr<Transport>> recorders;
    if (transcript) recorders = recordExchanges(window, *transcript);
    int status = 0;
    if (!window.isClosing()) {
        window.show();
        status = app.exec();
    }
    // An end nobody watched (a signal, logout) whose setting could not be stored says why.
    if (const QString failure = window.unattendedFailure(); !failure.isEmpty()) {
        if (shutdownSignals.received())
            std::fprintf(stderr, "%s: %s\n", g_programName.constData(), failure.toLocal8Bit().constData());
        return 1;
    }
    if (shutdownSignals.received()) shutdownSignals.endBySignal();
    return status;
}
