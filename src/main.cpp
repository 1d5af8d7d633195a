#include "app/CommandLine.h"
#include "app/FontPreload.h"
#include "app/ScriptMode.h"
#include "app/frmDXS.h"
#include "instrument/Transcript.h"

#include <QApplication>
#include <cstdio>

namespace {
// --send and --read: no window is shown, so no display is needed.
int runScriptProgram(int argc, char* argv[], const ScriptRequest& request, Transcript* transcript) {
    prepareScriptPlatform();
    // The panel's widgets need the font configuration even offscreen: read beside the toolkit's start.
    FontConfigurationPreload fonts;
    QApplication app(argc, argv);
    fonts.wait();
    QApplication::setApplicationName("DXS-4820 Function Generator RS232 Interface Software");
    QApplication::setApplicationVersion(DXS_VERSION);
    return runScript(request, transcript);
}
} // namespace

int main(int argc, char* argv[]) {
    // Help, version and a mistaken command line are answered before the window system is needed,
    // so they work without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine options = parseCommandLine(arguments);
    if (!options.run) {
        std::fputs(options.output.toLocal8Bit().constData(), stdout);
        std::fputs(options.error.toLocal8Bit().constData(), stderr);
        return options.exitCode;
    }

    // Opened before the window system starts, so the clock counts from the program's start.
    std::unique_ptr<Transcript> transcript;
    if (!options.transcriptPath.isEmpty()) {
        QString error;
        transcript = Transcript::open(options.transcriptPath, &error);
        if (!transcript) {
            std::fprintf(stderr, "%s: --transcript: %s\n", argv[0], error.toLocal8Bit().constData());
            return 2;
        }
        transcript->record(QString("dxs4820 %1 started").arg(DXS_VERSION));
    }

    if (options.script) return runScriptProgram(argc, argv, *options.script, transcript.get());

    FontConfigurationPreload fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName("DXS-4820 Function Generator RS232 Interface Software");
    QApplication::setApplicationVersion(DXS_VERSION);
    fonts.wait();

    frmDXS window;
    std::vector<std::unique_ptr<Transport>> recorders;
    if (transcript) recorders = recordExchanges(window, *transcript);
    window.show();
    return app.exec();
}
