// The simulated DXS-4820: answers on a pseudo-terminal reachable as <folder>/COM<n>, so the front
// panel (or anything else opening that port) can be tried without the instrument. Every line
// received is logged exactly as received. Without a folder given, the link goes to the front
// panel's settings folder, where the front panel looks after its own folder.
#include "core/ProgramFolder.h"
#include "instrument/SimulatedInstrument.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("dxs4820-sim");

    QCommandLineParser parser;
    parser.setApplicationDescription("Simulated DXS-4820 function generator on a pseudo-terminal.");
    parser.addHelpOption();
    const QString defaultFolder = settingsFolder();
    const QCommandLineOption dirOption(
        "dir",
        QString("Folder for the COMn link (default: the front panel's settings folder, %1).")
            .arg(defaultFolder),
        "FOLDER", defaultFolder);
    const QCommandLineOption portOption("port", "Port number n of the COMn link (default 1).", "N", "1");
    const QCommandLineOption logOption("log", "Log received lines to FILE (default: standard output).",
                                       "FILE");
    const QCommandLineOption delayOption("delay", "Answer MS milliseconds after each command.", "MS", "0");
    const QCommandLineOption silentOption("silent", "Never answer.");
    const QCommandLineOption garbageOption("garbage", "Answer binary junk without a line end.");
    parser.addOptions({dirOption, portOption, logOption, delayOption, silentOption, garbageOption});
    parser.process(app);

    bool portOk = false;
    const int port = parser.value(portOption).toInt(&portOk);
    bool delayOk = false;
    const int delay = parser.value(delayOption).toInt(&delayOk);
    if (!portOk || port < 1 || !delayOk || delay < 0) {
        std::fprintf(stderr,
                     "dxs4820-sim: --port needs a number from 1 up, --delay a number of milliseconds\n");
        return 2;
    }

    const QString folder = parser.value(dirOption);
    if (folder.isEmpty()) {
        std::fprintf(stderr, "dxs4820-sim: no settings folder on this system; give one with --dir\n");
        return 2;
    }
    // The settings folder is made by the front panel's first closing; the simulator may come first.
    if (!parser.isSet(dirOption) && !QDir().mkpath(folder)) {
        std::fprintf(stderr, "dxs4820-sim: cannot make the folder %s\n", qPrintable(folder));
        return 1;
    }

    QFile log;
    const bool logOpened = parser.isSet(logOption) ? (log.setFileName(parser.value(logOption)),
                                                      log.open(QIODevice::WriteOnly | QIODevice::Append))
                                                   : log.open(stdout, QIODevice::WriteOnly);
    if (!logOpened) {
        std::fprintf(stderr, "dxs4820-sim: cannot open the log %s\n", qPrintable(parser.value(logOption)));
        return 2;
    }

    // Signals end the event loop through a pipe, so the link is removed on the normal way out.
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return 1;
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] {
        char byte;
        while (::read(signalPipe[0], &byte, 1) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);

    SimulatedInstrumentPort simulator(folder, port);
    if (!simulator.isRunning() || simulator.linkPath().isEmpty()) {
        std::fprintf(stderr, "dxs4820-sim: %s\n", qPrintable(simulator.errorText()));
        return 1;
    }
    simulator.instrument().options.replyDelayMs = delay;
    simulator.instrument().options.silent = parser.isSet(silentOption);
    simulator.instrument().options.garbage = parser.isSet(garbageOption);
    QObject::connect(&simulator, &SimulatedInstrumentPort::lineReceived, &app,
                     [&log](const QByteArray& line) {
                         log.write(line + '\n');
                         log.flush();
                     });
    std::fprintf(stderr, "dxs4820-sim: %s -> %s\n", qPrintable(simulator.linkPath()),
                 qPrintable(simulator.slaveName()));
    return app.exec();
}
