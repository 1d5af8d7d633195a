// Failures of the link, of the port and of the printer's output, seen from the real window: each
// ends in a line that says so, and nothing claims success.
#include "help/HelpWindows.h"
#include "support/QtPrint.h"
#include "support/SendFixture.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

#ifndef Q_OS_WIN
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

// clang-format off
// Everything a send transmits with the send-all flag set and the panel at its design defaults.
const QStringList kFullDefaultSend = {
    "*IDN?", "*IDN?", ":FUNC:WAV 1", ":FREQ 10000", ":AMPL:VOLT 5", ":OFFS 0", ":DUTY 50", ":SOUR:STAT 0",
    ":SOUR:TRIG:STAT 0", ":SOUR:COUN:SOUR 0", ":SOUR:STAT ?", ":SOURCE:SOURCE 0", ":SOUR:SWE:SPAC 0",
    ":SOUR:SWE:STAR 1000", ":SOUR:SWE:STOP 2000", ":SOUR:SWE:SYM 90", ":SOUR:SWE:RAT 1000", ":SOUR:STAT ?",
    ":SOURCE:SOURCE 0", ":SOUR:WAV 1", ":SOUR:MODAM:RAT 1000", ":SOUR:MODAM:SYM 50", ":SOUR:MODAM:SPAN 50",
    ":SOUR:TRIG:SOUR 0", ":SOUR:TRIG:MOD 0", ":SOUR:TRIG:PHAS 0"};
// clang-format on
const QString kOffSummary = "Main Setting is Done;Sweep Setting is Done under Off mode;"
                            "Modulation Setting is Done under Off mode;Gate Setting is Done under Off mode;";

void choose(QComboBox* list, const QString& text) {
    list->setCurrentIndex(list->findText(text));
}

} // namespace

using FailurePaths = SendFixture;

// The instrument vanishes once its n-th line has arrived: the step under way or the next one
// ends in FAILURE and nothing follows it. Restarted on the same link, it is reached again without
// a visit to Setting, and the send-all flag left set makes the next send repeat everything.
TEST_F(FailurePaths, InstrumentPulledMidSendThenBack) {
    const struct {
        int pulledAfter;
        QStringList failureLines; // the step under way, or the one after it
        bool readinessFirst;      // the readiness check, rather than Send, meets the device again
    } cases[] = {
        {3,
         {"Set [Main Func Freq. Wave Form: (Sin)] to DXS-4820 FAILURE",
          "Set [Main Func Freq] to DXS-4820 FAILURE"},
         false},
        {11, {"Check [Source State] from DXS-4820 FAILURE", "Set [Source Source] to DXS-4820 FAILURE"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pulledAfter);
        frmDXS& w = ready();
        QStringList shown;
        QObject::connect(w.txtMessage, &QLineEdit::textChanged, w.txtMessage,
                         [&](const QString& t) { shown << t; });
        QObject::connect(&sim().port(), &SimulatedInstrumentPort::lineReceived, w.txtMessage, [&, this] {
            if (sim().lines().size() == c.pulledAfter)
                QTimer::singleShot(0, w.txtMessage, [this] { m_sim.reset(); });
        });
        w.mnuSend->trigger();
        ASSERT_FALSE(m_sim);
        EXPECT_TRUE(c.failureLines.contains(w.message())) << w.message().toStdString();
        EXPECT_EQ(shown.filter(" FAILURE").size(), 1);
        EXPECT_FALSE(shown.join('|').contains("Setting is Done"));
        EXPECT_TRUE(w.sendAll && dialogs().messages.empty() && w.mnuSend->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);

        m_sim = std::make_unique<PtyInstrument>(folder(), 1);
        ASSERT_TRUE(m_sim->isRunning());
        if (c.readinessFirst) {
            w.checkReadiness();
            EXPECT_EQ(w.message(), "DXS-4820 <--> PC: [Ready]");
            sim().clear();
        }
        w.mnuSend->trigger();
        EXPECT_EQ(sim().lineTexts(), kFullDefaultSend);
        EXPECT_EQ(w.message(), kOffSummary);
        EXPECT_FALSE(w.sendAll);
        m_window.reset();
    }
}

// OK with a port that cannot be opened says so, naming the device and the cause; the test of a
// working port shows a long identification cut short.
TEST_F(FailurePaths, PortThatCannotBeOpenedAndLongIdentification) {
    ASSERT_TRUE(QFile::link(folder() + "/no-such-device", folder() + "/COM3"));
    const QString failure = "Set [Configure RS232] to DXS-4820 FAILURE: ";
    const struct {
        QString port;
        QString device, cause;
    } cases[] = {
        {"3", folder() + "/COM3", "No such file or directory"},
        {"4", "COM4", "No serial port 4"},
    };
    for (const auto& c : cases) {
        frmDXS& w = ready();
        ASSERT_EQ(w.message(), "DXS-4820 <--> PC: [Ready]");
        choose(w.panel.cboComPort, c.port);
        choose(w.panel.cboBuadRate, "9600");
        w.panel.OKButton->click();
        EXPECT_TRUE(w.message().startsWith(failure) && w.message().contains(c.device) &&
                    w.message().contains(c.cause))
            << w.message().toStdString();
        m_window.reset();
    }

    frmDXS& w = ready();
    sim().options().hugeReplyBytes = 2000;
    choose(w.panel.cboComPort, "1");
    choose(w.panel.cboBuadRate, "9600");
    w.panel.cmdTestConnect->click();
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].text,
              QString("System Connect DXS-4820 correctly        \r\n"
                      "1.000000E+03,1.000000E+03,1.000000E+03,1.000000E+03,1.000000E+03,1.000000E+03,"
                      "1.000000E+03,1.000000E") +
                  QChar(0x2026));
}

#ifndef Q_OS_WIN
// Output that cannot be written is a failed print, and a file already there keeps its content.
TEST_F(FailurePaths, PrintOutputThatCannotBeWritten) {
    const QString kept = folder() + "/kept.pdf";
    QFile old(kept);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    const struct {
        QString file;
        rlim_t sizeLimit; // 0: none
        QString message;
    } cases[] = {
        {"/dev/full", 0, "Print failed: /dev/full is not a regular file."},
        // The cause is the system's own text, in the user's language.
        {kept, 1000,
         "Print failed: " + kept + " could not be written (" + QString::fromLocal8Bit(std::strerror(EFBIG)) +
             ")."},
    };
    for (const auto& c : cases) {
        window().setMessage("before printing");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(c.file);
        // A file size limit makes the system cut the write short, as a full disk does.
        rlimit saved{}, limited{};
        getrlimit(RLIMIT_FSIZE, &saved);
        limited = {c.sizeLimit ? c.sizeLimit : saved.rlim_cur, saved.rlim_max};
        const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        printMainWindowOn(window().helpContext(), printer);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, savedSignal);
        EXPECT_EQ(window().message(), c.message);
    }
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
}
#endif
