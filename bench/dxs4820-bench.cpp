// Speed and footprint of the front panel, measured on this machine: exchanges per second through
// the simulated instrument without pacing, CPU used by the pacing wait, time until the main window
// is on screen against a bare window, a full send with and without a transcript, reading and laying
// out a help document of many format runs and one of a long run of combining marks, recomputing
// and repainting the preview, and peak memory. Each measurement is one entry of the table in
// main(); add new ones there. Run with QT_QPA_PLATFORM=offscreen where there is no display.
#include "app/CommandLine.h"
#include "app/FontPreload.h"
#include "app/PreviewPlot.h"
#include "app/PreviewWindow.h"
#include "app/frmDXS.h"
#include "core/ProgramFolder.h"
#include "help/RtfReader.h"
#include "instrument/GpibTransport.h"
#include "instrument/Pacing.h"
#include "instrument/SerialTransport.h"
#include "instrument/SimulatedInstrument.h"
#include "instrument/Transcript.h"
#include "instrument/clsDXS4820.h"
#include "record/RecordFile.h"
#include "panel/NumericBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
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
    const char* what; // for --help
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

// Completed exchanges only: a command written and its reply read. At pacing 0 most reads come too
// early to find the reply; those exchanges took time but completed nothing.
std::vector<Result> exchangesAtPacingZero(const QString& folder) {
    InstrumentThread instrument(folder);
    if (!instrument.running())
        return {{"completed exchanges per second at pacing 0", 0, "/s", instrument.error()}};
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
    return {{"completed exchanges per second at pacing 0", answered / seconds, "/s",
             QString("%1 of %2 commands had their reply read").arg(answered).arg(exchanges)}};
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

// Milliseconds from construction start: construction done, the window mapped (the display's first
// expose of it, which comes once it is on screen) and the end of its first paint.
struct WindowTimes {
    double constructed;
    double mapped;
    double painted;
};
template <typename Make>
WindowTimes timeWindow(Make make, const std::function<void(WindowTimes)>& whenPainted = {}) {
    // The window's own paint event opens the drawing of the frame; a zero timer started from it fires
    // once the whole frame has been drawn, before any timer the window itself starts on that paint.
    // The expose reaches the native window before any painting starts.
    struct PaintWatch : QObject {
        std::function<void()> onFirstPaint;
        std::function<void()> onMapped;
        bool seen = false;
        bool exposed = false;
        bool eventFilter(QObject* object, QEvent* event) override {
            if (event->type() == QEvent::Expose && object->isWindowType() && !exposed) {
                exposed = true;
                onMapped();
            }
            if (event->type() == QEvent::Paint && !seen) {
                seen = true;
                QTimer::singleShot(0, this, onFirstPaint);
            }
            return false;
        }
    } watch;
    QElapsedTimer timer;
    timer.start();
    auto window = make();
    WindowTimes times{timer.nsecsElapsed() / 1e6, -1, -1};
    watch.onMapped = [&] { times.mapped = timer.nsecsElapsed() / 1e6; };
    watch.onFirstPaint = [&] {
        times.painted = timer.nsecsElapsed() / 1e6;
        if (whenPainted) whenPainted(times);
    };
    qApp->installEventFilter(&watch);
    window->installEventFilter(&watch);
    window->show();
    QElapsedTimer limit;
    limit.start();
    while (times.painted < 0 && limit.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    window->removeEventFilter(&watch);
    qApp->removeEventFilter(&watch);
    return times;
}

// A plain window with the same menu bar as the front panel: what any window of this toolkit costs.
std::unique_ptr<QMainWindow> bareWindow() {
    auto window = std::make_unique<QMainWindow>();
    QMenu* file = window->menuBar()->addMenu("File");
    file->addAction("Save");
    file->addAction("Load");
    file->addMenu("Recent");
    file->addAction("Print");
    for (const char* item : {"Setting", "Send", "Read", "Preview", "Help", "About"})
        window->menuBar()->addAction(item);
    return window;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One window in a process of its own, as a user starts the program: prints its construction time,
// its first paint (both from the start of main), then lets the window go and exits. The window is
// deleted so that it releases the serial port as a closing program does: a port lock left behind
// would make the next process clear a stale lock, which a user's start does not meet.
int windowChild(const QString& kind, const QString& folder) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    setProgramFolder(folder);
    const WindowTimes times = timeWindow(
        [&] {
            if (kind == "bare") return std::unique_ptr<QMainWindow>(bareWindow());
            return std::unique_ptr<QMainWindow>(std::make_unique<frmDXS>());
        },
        [&](WindowTimes times) {
            std::printf("%.3f %.3f %.3f %.3f\n", times.constructed, times.mapped, times.painted,
                        sinceMain.nsecsElapsed() / 1e6);
            std::fflush(stdout);
        });
    if (times.painted < 0) return 1;
    std::_Exit(0); // a user's program would live on; the measurement ends with the first paint
}

// Enough rounds that one slow start of either kind does not move the median.
constexpr int kWindowRounds = 11;

// The front panel and a bare window with the same menu bar, each started as a process of its own,
// alternating, so both pay the toolkit's start-up alike. The readiness check is measured apart.
std::vector<Result> windowShown(const QString& folder) {
    // Per kind: process start to mapped and to painted; in the panel's process, construction.
    std::map<QString, std::vector<double>> mapped, painted;
    std::vector<double> built;
    for (int round = 0; round < kWindowRounds; ++round) {
        for (const QString kind : {"bare", "panel"}) {
            QProcess child;
            QElapsedTimer timer;
            timer.start();
            child.start(QCoreApplication::applicationFilePath(), {"--window-child", kind, folder});
            // The child reports as soon as its window has painted: the clock stops there, not at its exit.
            while (!child.canReadLine() && child.waitForReadyRead(30000)) {
            }
            const double whole = timer.nsecsElapsed() / 1e6;
            child.waitForFinished(30000);
            const QStringList figures = QString::fromLatin1(child.readAllStandardOutput()).split(' ');
            if (figures.size() != 4 || figures[1].toDouble() < 0)
                return {{"start to window painted", 0, "ms", "the window did not paint"}};
            // The child's own clock tells how long before its paint ended the window was mapped.
            const double paintAfterMapping = figures[2].toDouble() - figures[1].toDouble();
            mapped[kind].push_back(whole - paintAfterMapping);
            painted[kind].push_back(whole);
            if (kind == "panel") built.push_back(figures[0].toDouble());
        }
    }
    // The readiness check the first showing starts, in this process against the simulated instrument.
    InstrumentThread instrument(folder);
    frmDXS window;
    QElapsedTimer timer;
    timer.start();
    window.show();
    while (!window.messageLineText().startsWith("DXS-4820 <--> PC:") || window.instrument.isExchanging()) {
        if (timer.elapsed() > 10000) break;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    const double readiness = timer.nsecsElapsed() / 1e6;
    window.instrument.shutDown();
    const QString rounds = QString("median of %1").arg(kWindowRounds);
    const double bareMapped = median(mapped["bare"]), panelMapped = median(mapped["panel"]);
    const double barePainted = median(painted["bare"]), panelPainted = median(painted["panel"]);
    return {
        {"bare window: process start to mapped", bareMapped, "ms", rounds},
        {"main window: process start to mapped", panelMapped, "ms", rounds},
        {"main window against bare window, mapped", panelMapped / bareMapped, "x", "goal within 1.5"},
        {"bare window: process start to first paint", barePainted, "ms", rounds},
        {"main window: process start to first paint", panelPainted, "ms", rounds},
        {"main window against bare window, painted", panelPainted / barePainted, "x", "whole frame drawn"},
        {"main window constructed", median(built), "ms", "in its process"},
        {"readiness check after showing", readiness, "ms",
         QString("at the start-up pacing of %1 ms").arg(window.instrument.iWaiting_ms)}};
}

// A full send of the design defaults from a fresh window (everything is sent) at the pacing the
// instrument object starts with, against its floor: every exchange waits the pacing interval.
std::vector<Result> fullSend(const QString& folder, Transcript* transcript) {
    const QString suffix = transcript ? " with a transcript" : "";
    InstrumentThread instrument(folder);
    if (!instrument.running()) return {{"full send wall time" + suffix, 0, "ms", instrument.error()}};
    std::atomic<int> exchanges = 0;
    QObject::connect(
        instrument.port(), &SimulatedInstrumentPort::lineReceived, instrument.port(), [&] { ++exchanges; },
        Qt::DirectConnection);
    frmDXS window; // a never-written record selects RS232 on COM1, the simulated instrument
    std::vector<std::unique_ptr<Transport>> recorders;
    if (transcript) recorders = recordExchanges(window, *transcript);
    const double pacing = window.instrument.iWaiting_ms;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    window.mnuSend->trigger();
    const double wall = timer.nsecsElapsed() / 1e6;
    const double cpu = cpuSeconds() - cpuBefore;
    const double floor = exchanges * pacing;
    window.instrument.shutDown();
    return {{"full send wall time" + suffix, wall, "ms",
             QString("%1 exchanges at %2 ms: floor %3 ms").arg(int(exchanges)).arg(pacing).arg(floor)},
            {"full send above its floor" + suffix, 100.0 * (wall - floor) / floor, "%", "goal < 2 %"},
            {"CPU during a full send" + suffix, 100.0 * cpu / (wall / 1000), "% of one core", "goal < 2 %"}};
}

// A full read into a fresh window at the pacing the instrument object starts with, against its
// floor: every query waits the pacing interval.
std::vector<Result> fullRead(const QString& folder) {
    InstrumentThread instrument(folder);
    if (!instrument.running()) return {{"full read wall time", 0, "ms", instrument.error()}};
    std::atomic<int> queries = 0;
    QObject::connect(
        instrument.port(), &SimulatedInstrumentPort::lineReceived, instrument.port(), [&] { ++queries; },
        Qt::DirectConnection);
    frmDXS window;
    const double pacing = window.instrument.iWaiting_ms;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    window.mnuRead->trigger();
    const double wall = timer.nsecsElapsed() / 1e6;
    const double cpu = cpuSeconds() - cpuBefore;
    const double floor = queries * pacing;
    window.instrument.shutDown();
    return {{"full read wall time", wall, "ms",
             QString("%1 queries at %2 ms: floor %3 ms").arg(int(queries)).arg(pacing).arg(floor)},
            {"full read above its floor", 100.0 * (wall - floor) / floor, "%", "goal < 2 %"},
            {"CPU during a full read", 100.0 * cpu / (wall / 1000), "% of one core", "goal < 2 %"}};
}

// `dxs4820 --send FILE` from the process's start to its exit, against the floor of the same send:
// a file of no values sends the design defaults, at the pacing the instrument object starts with.
std::vector<Result> sendScript(const QString& folder) {
    InstrumentThread instrument(folder, 2);
    if (!instrument.running()) return {{"--send script wall time", 0, "ms", instrument.error()}};
    std::atomic<int> exchanges = 0;
    QObject::connect(
        instrument.port(), &SimulatedInstrumentPort::lineReceived, instrument.port(), [&] { ++exchanges; },
        Qt::DirectConnection);
    const QString file = folder + "/bench-send.Log";
    if (!recordfile::writeRecord(file, SettingsRecord()).ok)
        return {{"--send script wall time", 0, "ms", "no file"}};
    constexpr double pacing = 200;
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    program.start(DXS_PROGRAM_PATH, {"--send", file, "--port", instrument.port()->linkPath()});
    program.waitForFinished(120000);
    const double wall = timer.nsecsElapsed() / 1e6;
    const double floor = exchanges * pacing;
    return {{"--send script wall time", wall, "ms",
             QString("%1 exchanges at %2 ms: floor %3 ms, exit %4")
                 .arg(int(exchanges))
                 .arg(pacing)
                 .arg(floor)
                 .arg(program.exitCode())},
            {"--send script above its floor", 100.0 * (wall - floor) / floor, "%", "goal < 5 %"}};
}

std::vector<Result> fullSendPlain(const QString& folder) {
    return fullSend(folder, nullptr);
}

// The same send recording every exchange to a file.
std::vector<Result> fullSendRecorded(const QString& folder) {
    QString error;
    const auto transcript = Transcript::open(folder + "/bench-transcript.txt", &error);
    if (!transcript) return {{"full send with a transcript", 0, "ms", error}};
    return fullSend(folder, transcript.get());
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

// The preview following one confirmed change: the panel read, the picture computed and the plot
// painted, for settings from the plainest to the largest ratios of carrier to modulation, sweep and
// trigger rate (drawn cycle by cycle up to the most cycles, as an envelope beyond). The median of
// each setting's runs; the slowest setting is the result.
std::vector<Result> previewRepaint(const QString&) {
    frmDXS window;
    window.show();
    Panel& p = window.panel;
    PreviewWindow& preview = showPreviewWindow(window);
    QCoreApplication::processEvents();
    auto set = [](NumericBox* box, const char* text) {
        box->setText(text);
        box->markAccepted();
    };
    struct Case {
        const char* name;
        std::function<void()> prepare;
    };
    const std::vector<Case> cases = {
        {"main sine", [&] { p.optSweep[1]->setChecked(true); }},
        {"AM 15 MHz by 0.01 Hz",
         [&] {
             set(p.txtMainFreq, "15000000");
             set(p.txtModRate, "0.01");
             p.optModulation[0]->setChecked(true);
         }},
        {"AM 5 kHz by 1 kHz",
         [&] {
             set(p.txtMainFreq, "5000");
             set(p.txtModRate, "1000");
         }},
        {"AM 50 kHz by 1 kHz",
         [&] {
             set(p.txtMainFreq, "50000");
             set(p.txtModRate, "1000");
         }},
        {"FM 5 kHz by 100 Hz",
         [&] {
             set(p.txtMainFreq, "5000");
             set(p.txtModRate, "100");
             p.optModFM->setChecked(true);
         }},
        {"FM 15 MHz by 0.01 Hz",
         [&] {
             set(p.txtMainFreq, "15000000");
             set(p.txtModRate, "0.01");
         }},
        {"log sweep to 15 MHz at 0.01 Hz",
         [&] {
             set(p.txtSweepStartFreq, "150000");
             set(p.txtSweepStopFreq, "15000000");
             set(p.txtSweepRate, "0.01");
             p.optSweepModel[1]->setChecked(true);
             p.optSweep[0]->setChecked(true);
         }},
        {"square sweep 1 to 2 kHz at 20 Hz",
         [&] {
             p.optMainFunc[2]->setChecked(true);
             set(p.txtSweepStartFreq, "1000");
             set(p.txtSweepStopFreq, "2000");
             set(p.txtSweepRate, "20");
         }},
        {"burst 15 MHz at 100 Hz",
         [&] {
             set(p.txtMainFreq, "15000000");
             set(p.txtTrgRate, "100");
             p.optBurst[0]->setChecked(true);
         }},
        {"trigger 1 kHz at 20 Hz",
         [&] {
             set(p.txtMainFreq, "1000");
             set(p.txtTrgRate, "20");
             p.optTrigger[0]->setChecked(true);
         }},
    };
    double worst = 0;
    QString worstName;
    for (const Case& c : cases) {
        c.prepare();
        QCoreApplication::processEvents();
        std::vector<double> times;
        for (int run = 0; run < 25; ++run) {
            QElapsedTimer timer;
            timer.start();
            preview.refresh();
            preview.plot()->repaint();
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        const double typical = median(times);
        if (typical > worst) worst = typical, worstName = c.name;
    }
    return {{"preview recompute and repaint, slowest", worst, "ms", worstName + "; goal < 16 ms"}};
}

// A valid help document of about 500 KB that is one letter followed by one long run of combining
// marks, read into a text box like the help window's, laid out and painted, then painted again.
std::vector<Result> helpCombiningMarks(const QString&) {
    QByteArray rtf = "{\\rtf1\\ansi a";
    while (rtf.size() < 500 * 1024)
        rtf += "\\u769?";
    rtf += "}";
    QElapsedTimer timer;
    timer.start();
    QTextEdit box;
    box.resize(580, 490);
    readRtf(rtf, *box.document());
    box.show();
    box.document()->size();
    box.grab();
    const double shown = timer.nsecsElapsed() / 1e6;
    timer.restart();
    box.grab();
    const double repaint = timer.nsecsElapsed() / 1e6;
    return {{"help document of combining marks shown", shown, "ms",
             QString("%1 KB, goal < 500 ms").arg(rtf.size() / 1024)},
            {"help document of combining marks repaint", repaint, "ms", "goal < 500 ms"}};
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
    // The front panel's child starts as the program does, its font configuration read beside the
    // connection to the display; the bare window starts as any program of the toolkit.
    const bool windowChildRun = argc == 4 && QByteArray(argv[1]) == "--window-child";
    std::optional<FontConfigurationPreload> fonts;
    if (windowChildRun && QByteArray(argv[2]) == "panel") fonts.emplace();
    QApplication app(argc, argv);
    if (fonts) fonts->wait();
    if (windowChildRun) return windowChild(argv[2], argv[3]);

    // The program folder is a fresh one: no stored settings, and the simulated instrument's COM1.
    QTemporaryDir folder;
    setProgramFolder(folder.path());

    const std::vector<Measurement> measurements = {
        {"window", "process start to window mapped and to first paint, main against bare window",
         windowShown},
        {"exchanges", "completed exchanges per second through the simulated instrument at pacing 0",
         exchangesAtPacingZero},
        {"delay", "CPU used during a 1 s pacing wait", cpuDuringDelay},
        {"send", "full send at the default pacing, its time and CPU", fullSendPlain},
        {"transcript", "the same send recording a transcript", fullSendRecorded},
        {"help", "a 300 KB help document of many format runs, read and shown", helpManyRuns},
        {"marks", "a 500 KB help document of one letter under a long run of combining marks", helpCombiningMarks},
        {"read", "a full read at the default pacing, its time and CPU", fullRead},
        {"script", "dxs4820 --send FILE from process start to exit", sendScript},
        {"preview", "the preview window recomputed and repainted after a change, worst of ten settings",
         previewRepaint},
        {"memory", "peak memory", peakMemory}, // last: the peak over everything above
    };
    const QStringList chosen = app.arguments().mid(1);
    QStringList unknown = chosen;
    for (const Measurement& measurement : measurements)
        unknown.removeAll(measurement.name);
    if (!unknown.isEmpty()) {
        const bool help = unknown.contains("--help") || unknown.contains("-h");
        std::FILE* out = help ? stdout : stderr;
        if (!help)
            std::fprintf(out, "dxs4820-bench: unknown measurement '%s'\n", qPrintable(unknown.first()));
        std::fprintf(out,
                     "Usage: dxs4820-bench [MEASUREMENT...]\nRuns every measurement, or the ones named:\n");
        for (const Measurement& measurement : measurements)
            std::fprintf(out, "  %-11s %s\n", measurement.name, measurement.what);
        return help ? 0 : 2;
    }
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
