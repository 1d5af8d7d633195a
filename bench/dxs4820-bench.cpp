// Speed and footprint of the front panel, measured on this machine: exchanges per second through
// the simulated instrument without pacing, CPU used by the pacing wait, time until the main window
// is on screen, reading and laying out a help document of many format runs, and peak memory. Each
// measurement is one entry of the table in main(); add new ones there. Run with
// QT_QPA_PLATFORM=offscreen where there is no display.
#include "app/frmDXS.h"
#include "core/ProgramFolder.h"
#include "help/RtfReader.h"
#include "instrument/GpibTransport.h"
#include "instrument/Pacing.h"
#include "instrument/SerialTransport.h"
#include "instrument/SimulatedInstrument.h"
#include "instrument/clsDXS4820.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

struct Result {
    QString name;
    double value;
    QString unit;
    QString note;
};

struct Measurement {
    const char* name;
    std::function<std::vector<Result>(const QString& folder)> run;
};

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The simulated instrument answering from a thread of its own, so it keeps up while the
// measured side never returns to its event loop.
class InstrumentThread {
public:
    explicit InstrumentThread(const QString& folder, int port = 1) {
        m_thread.start();
        QMetaObject::invokeMethod(
            m_context.get(), [&] { m_port = new SimulatedInstrumentPort(folder, port); },
            Qt::BlockingQueuedConnection);
    }
    ~InstrumentThread() {
        QMetaObject::invokeMethod(
            m_context.get(), [&] { delete m_port; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    bool running() const { return m_port && m_port->isRunning(); }
    SimulatedInstrumentPort* port() const { return m_port; }
    QString error() const { return m_port ? m_port->errorText() : QString(); }

private:
    QThread m_thread;
    std::unique_ptr<QObject> m_context = [this] {
        auto context = std::make_unique<QObject>();
        context->moveToThread(&m_thread);
        return context;
    }();
    SimulatedInstrumentPort* m_port = nullptr;
};

std::vector<Result> exchangesAtPacingZero(const QString& folder) {
    InstrumentThread instrument(folder);
    if (!instrument.running()) return {{"exchanges per second at pacing 0", 0, "/s", instrument.error()}};
    SerialTransport serial;
    clsDXS4820 dxs;
    dxs.CWSerial1 = &serial;
    dxs.iWaiting_ms = 0;
    dxs.ConnectMethod("RS232");
    int exchanges = 0;
    int answered = 0;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 1000) {
        if (!dxs.IDN().isEmpty()) ++answered;
        ++exchanges;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    return {{"exchanges per second at pacing 0", exchanges / seconds, "/s",
             QString("%1 of %2 found a reply already there").arg(answered).arg(exchanges)}};
}

std::vector<Result> cpuDuringDelay(const QString&) {
    const double cpuBefore = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    Delay(1000);
    const double wall = timer.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    return {{"CPU during a 1 s Delay", 100.0 * cpu / wall, "% of wall time", "goal < 2 %"},
            {"wall time of a 1 s Delay", wall * 1000, "ms", ""}};
}

std::vector<Result> windowShown(const QString& folder) {
    InstrumentThread instrument(folder);
    QElapsedTimer timer;
    timer.start();
    frmDXS window;
    const double constructed = timer.nsecsElapsed() / 1e6;
    window.show();
    // The first paint means the window is on screen.
    struct PaintWatch : QObject {
        bool painted = false;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) painted = true;
            return false;
        }
    } watch;
    window.installEventFilter(&watch);
    QElapsedTimer limit;
    limit.start();
    while (!watch.painted && limit.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double shown = timer.nsecsElapsed() / 1e6;
    window.removeEventFilter(&watch);
    window.instrument.shutDown();
    return {{"main window constructed", constructed, "ms", ""},
            {"start to main window shown", shown, "ms", watch.painted ? "" : "no paint seen within 10 s"}};
}

// A full send of the design defaults from a fresh window (everything is sent) at the pacing the
// instrument object starts with, against its floor: every exchange waits the pacing interval.
std::vector<Result> fullSend(const QString& folder) {
    InstrumentThread instrument(folder);
    if (!instrument.running()) return {{"full send wall time", 0, "ms", instrument.error()}};
    std::atomic<int> exchanges = 0;
    QObject::connect(
        instrument.port(), &SimulatedInstrumentPort::lineReceived, instrument.port(), [&] { ++exchanges; },
        Qt::DirectConnection);
    frmDXS window; // a never-written record selects RS232 on COM1, the simulated instrument
    const double pacing = window.instrument.iWaiting_ms;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    window.mnuSend->trigger();
    const double wall = timer.nsecsElapsed() / 1e6;
    const double cpu = cpuSeconds() - cpuBefore;
    const double floor = exchanges * pacing;
    window.instrument.shutDown();
    return {{"full send wall time", wall, "ms",
             QString("%1 exchanges at %2 ms: floor %3 ms").arg(int(exchanges)).arg(pacing).arg(floor)},
            {"full send above its floor", 100.0 * (wall - floor) / floor, "%", "goal < 2 %"},
            {"CPU during a full send", 100.0 * cpu / (wall / 1000), "% of one core", "goal < 2 %"}};
}

// A valid help document of about 300 KB whose one paragraph changes format at every character and
// has no blank to break a line at, read into a text box like the help window's and laid out.
std::vector<Result> helpManyRuns(const QString&) {
    QByteArray rtf = "{\\rtf1\\ansi ";
    while (rtf.size() < 300 * 1024)
        rtf += "\\b a\\b0 b";
    rtf += "}";
    QElapsedTimer timer;
    timer.start();
    QTextEdit box;
    box.resize(580, 490);
    readRtf(rtf, *box.document());
    const double read = timer.nsecsElapsed() / 1e6;
    box.show();
    box.document()->size(); // lays the whole document out
    box.grab();             // and paints it
    const double shown = timer.nsecsElapsed() / 1e6;
    return {{"help document of many runs read", read, "ms", QString("%1 KB").arg(rtf.size() / 1024)},
            {"help document of many runs shown", shown, "ms", "goal < 2000 ms"}};
}

std::vector<Result> peakMemory(const QString&) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return {{"peak memory (max RSS)", usage.ru_maxrss / 1024.0, "MiB", ""}};
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    // The program folder is a fresh one: no stored settings, and the simulated instrument's COM1.
    QTemporaryDir folder;
    setProgramFolder(folder.path());

    const std::vector<Measurement> measurements = {
        {"window", windowShown}, // first, so its time includes the toolkit's first-window work
        {"exchanges", exchangesAtPacingZero},
        {"delay", cpuDuringDelay},
        {"send", fullSend},
        {"help", helpManyRuns},
        {"memory", peakMemory}, // last: the peak over everything above
    };
    const QStringList chosen = app.arguments().mid(1);
    for (const Measurement& measurement : measurements) {
        if (!chosen.isEmpty() && !chosen.contains(measurement.name)) continue;
        for (const Result& result : measurement.run(folder.path())) {
            // The value is written by Qt, not printf, so it keeps its decimal point in any locale.
            std::printf("%-40s %12s %s%s%s\n", qPrintable(result.name),
                        QByteArray::number(result.value, 'f', 2).constData(), qPrintable(result.unit),
                        result.note.isEmpty() ? "" : "  (",
                        result.note.isEmpty() ? "" : qPrintable(result.note + ")"));
            std::fflush(stdout);
        }
    }
    return 0;
}
