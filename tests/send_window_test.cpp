// Send from the real window to the simulated instrument over a pseudo-terminal.
#include "operations/Operations.h"
#include "support/QtPrint.h"
#include "support/SendFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <set>

namespace {

const QString kNotReady = "The Connection between DXS-4820 and PC is not Ready, Please check and try agagin.";
const QString kOffSummary = "Main Setting is Done;Sweep Setting is Done under Off mode;"
                            "Modulation Setting is Done under Off mode;Gate Setting is Done under Off mode;";

// Everything the first send after start-up transmits with the panel at its design defaults.
const QStringList kFullDefaultSend = {
    "*IDN?",
    "*IDN?",
    ":FUNC:WAV 1",
    ":FREQ 10000",
    ":AMPL:VOLT 5",
    ":OFFS 0",
    ":DUTY 50",
    ":SOUR:STAT 0",
    ":SOUR:TRIG:STAT 0",
    ":SOUR:COUN:SOUR 0",
    ":SOUR:STAT ?",
    ":SOURCE:SOURCE 0",
    ":SOUR:SWE:SPAC 0",
    ":SOUR:SWE:STAR 1000",
    ":SOUR:SWE:STOP 2000",
    ":SOUR:SWE:SYM 90",
    ":SOUR:SWE:RAT 1000",
    ":SOUR:STAT ?",
    ":SOURCE:SOURCE 0",
    ":SOUR:WAV 1",
    ":SOUR:MODAM:RAT 1000",
    ":SOUR:MODAM:SYM 50",
    ":SOUR:MODAM:SPAN 50",
    ":SOUR:TRIG:SOUR 0",
    ":SOUR:TRIG:MOD 0",
    ":SOUR:TRIG:PHAS 0",
};

// What an unchanged panel sends again with skipping on: the commands outside the skip rule.
const QStringList kAlwaysSent = {
    "*IDN?",
    "*IDN?",
    ":OFFS 0",
    ":SOUR:STAT 0",
    ":SOUR:TRIG:STAT 0",
    ":SOUR:COUN:SOUR 0",
    ":SOUR:STAT ?",
    ":SOURCE:SOURCE 0",
    ":SOUR:STAT ?",
    ":SOURCE:SOURCE 0",
    ":SOUR:WAV 1",
    ":SOUR:TRIG:SOUR 0",
    ":SOUR:TRIG:MOD 0",
};

} // namespace

using SendWindow = SendFixture;

TEST_F(SendWindow, FirstSendAfterStartUpTransmitsEverythingInOrder) {
    frmDXS& w = ready();
    ASSERT_TRUE(w.sendAll);
    w.mnuSend->trigger();
    EXPECT_EQ(sim().lineTexts(), kFullDefaultSend);
    EXPECT_EQ(w.message(), kOffSummary);
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_FALSE(w.sendAll);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(w.mnuSend->isEnabled());
}

TEST_F(SendWindow, SecondSendSkipsUnchangedValuesOnlyWhenAsked) {
    struct Case {
        const char* name;
        bool skip;
        QString frequency;
        QStringList second;
    };
    QStringList withLongFrequency = kAlwaysSent;
    withLongFrequency.insert(2, ":FREQ 10000");
    const std::vector<Case> cases = {
        {"skipping on", true, "10000", kAlwaysSent},
        {"skipping off", false, "10000", kFullDefaultSend},
        {"frequency text longer than its memory", true, "10000.00000", withLongFrequency},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmDXS& w = ready();
        w.panel.chkSkipCommand->setChecked(c.skip);
        enter(w.panel.txtMainFreq, c.frequency);
        w.mnuSend->trigger();
        sim().clear();
        w.mnuSend->trigger();
        EXPECT_EQ(sim().lineTexts(), c.second);
        EXPECT_EQ(w.message(), kOffSummary);
        EXPECT_FALSE(w.sendAll);
        m_window.reset();
    }
}

TEST_F(SendWindow, UnconfirmedEntryStopsBeforeAnyTraffic) {
    frmDXS& w = ready();
    const QString before = w.message();
    QTest::keyClicks(w.panel.txtMainFreq, "5");
    ASSERT_TRUE(w.panel.txtMainFreq->isEdited());
    w.mnuSend->trigger();
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].text, "Please validate the items with orange BackColor color.");
    EXPECT_EQ(dialogs().messages[0].buttons, UserDialogs::Buttons::Ok);
    EXPECT_EQ(dialogs().messages[0].icon, UserDialogs::Icon::None);
    EXPECT_TRUE(sim().lineTexts().isEmpty());
    EXPECT_EQ(w.message(), before);
    EXPECT_TRUE(w.sendAll);
}

// The boxes outside the validation list may stay orange.
TEST_F(SendWindow, ValidationLooksAtItsSixteenBoxesOnly) {
    frmDXS& w = window(false);
    const std::set<NumericBox*> unchecked = {w.panel.txtSweepCenterFreq, w.panel.txtTrgPhase,
                                             w.panel.txtBurstCount, w.panel.txtGatePeriod};
    for (NumericBox* box : w.panel.boxes()) {
        box->markEdited();
        EXPECT_EQ(ValidateInputItem(w).isEmpty(), unchecked.count(box) == 1)
            << box->objectName().toStdString();
        box->markAccepted();
    }
}

TEST_F(SendWindow, MissingValuesAreSkippedAndOnlyTheLastIsReported) {
    frmDXS& w = ready();
    enter(w.panel.txtMainFreq, "");
    enter(w.panel.txtMainDuty, "0");
    w.mnuSend->trigger();
    QStringList expected = kFullDefaultSend;
    expected.removeAll(":FREQ 10000");
    expected.removeAll(":DUTY 50");
    EXPECT_EQ(sim().lineTexts(), expected);
    EXPECT_EQ(w.message(), kOffSummary);
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(
        dialogs().messages[0].text,
        "System check the input data and find errors as follows \r\nMain Setting: Duty need a value\r\n");
    EXPECT_EQ(dialogs().messages[0].icon, UserDialogs::Icon::Information);
    EXPECT_FALSE(w.sendAll);
}

TEST_F(SendWindow, DutyThatIsNotANumberEndsTheSendAfterWhatCameBefore) {
    frmDXS& w = ready();
    enter(w.panel.txtMainDuty, "50%");
    w.mnuSend->trigger();
    EXPECT_EQ(sim().lineTexts(), kFullDefaultSend.mid(0, kFullDefaultSend.indexOf(":DUTY 50")));
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].text,
              "DXS-4820 Application System causes errors as follows \r\nMain Setting: Duty: Type mismatch");
    EXPECT_EQ(dialogs().messages[0].icon, UserDialogs::Icon::Information);
    EXPECT_NE(w.message(), kOffSummary);
    EXPECT_TRUE(w.sendAll);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(w.mnuSend->isEnabled());
}

TEST_F(SendWindow, SpecialFunctions) {
    struct Case {
        const char* name;
        void (*prepare)(frmDXS&);
        QStringList tail; // the last lines received
        QString summaryEnd;
    };
    const std::vector<Case> cases = {
        {"burst on, internal source",
         [](frmDXS& w) {
             w.panel.optBurst[0]->click();
             w.panel.txtTrgPhase->setText("90");
             w.panel.txtTrgPhase->markEdited();
         },
         {":SOUR:TRIG:STAT 1", ":SOUR:TRIG:SOUR 0", ":SOUR:TRIG:MOD 0", ":SOUR:TRIG:RAT 1000",
          ":SOUR:TRIG:SYM 50", ":SOUR:TRIG:PHAS 0"},
         "Modulation Setting is Done under Off mode;Burst Setting is Done;"},
        {"external modulation source, modulation on",
         [](frmDXS& w) {
             w.panel.optModulation[0]->click();
             w.panel.optModSource[3]->click();
         },
         {":SOUR:SWE:RAT 1000", ":SOUR:STAT ?", ":SOURCE:SOURCE 1", ":SOUR:TRIG:SOUR 0", ":SOUR:TRIG:MOD 0",
          ":SOUR:TRIG:PHAS 0"},
         "Modulation Setting is Done;Gate Setting is Done under Off mode;"},
        {"external counter, 1S",
         [](frmDXS& w) {
             w.panel.optExternal[0]->click();
             w.panel.optGateTimeExt[2]->click();
         },
         {":SOUR:TRIG:PHAS 0", ":SOUR:COUN:SOUR 1", ":SOUR:COUN:GAT 2"},
         "Gate Setting is Done under Off mode;Gate Setting is Done;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmDXS& w = ready();
        c.prepare(w);
        w.mnuSend->trigger();
        const QStringList sent = sim().lineTexts();
        EXPECT_EQ(sent.mid(sent.size() - c.tail.size()), c.tail);
        EXPECT_TRUE(w.message().endsWith(c.summaryEnd)) << w.message().toStdString();
        EXPECT_TRUE(dialogs().messages.empty());
        if (w.panel.optBurst[0]->isChecked()) {
            EXPECT_EQ(w.panel.txtTrgPhase->text(), "0");
            EXPECT_EQ(w.panel.txtTrgPhase->BackColor(), ColorWhite);
        }
        if (w.panel.optModulation[0]->isChecked()) {
            EXPECT_FALSE(sent.contains(":SOUR:STAT 0"));
            EXPECT_FALSE(sent.contains(":SOUR:WAV 1"));
        }
        m_window.reset();
    }
}

TEST_F(SendWindow, InstrumentThatDoesNotAnswer) {
    struct Case {
        const char* name;
        SimulatedOptions options;
        QStringList received;
        QString line;
        QStringList boxes;
        bool sendAllAfter;
    };
    SimulatedOptions silent;
    silent.silent = true;
    SimulatedOptions once;
    once.answerOnce = true;
    const std::vector<Case> cases = {
        {"silent", silent, {"*IDN?"}, kNotReady, {}, false},
        {"answers the readiness query only",
         once,
         {"*IDN?", "*IDN?"},
         "DXS-4820 <--> PC: [Ready]",
         {"DXS-4820 <--> PC: [Failure]"},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmDXS& w = ready();
        sim().setOptions(c.options);
        w.mnuSend->trigger();
        EXPECT_EQ(sim().lineTexts(), c.received);
        EXPECT_EQ(w.message(), c.line);
        EXPECT_EQ(dialogs().texts(), c.boxes);
        EXPECT_EQ(w.sendAll, c.sendAllAfter);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        m_window.reset();
        sim().setOptions({});
    }
}

// While a send waits for a reply the window stays live, but nothing else may talk to the
// instrument: another Send, the connection test and OK are refused, and the wire carries the
// first send's lines alone.
TEST_F(SendWindow, CommandsDuringASendAreRefused) {
    frmDXS& w = ready();
    w.panel.fraComm->show();
    bool busyShown = false;
    QTimer during;
    during.setInterval(1);
    QObject::connect(&during, &QTimer::timeout, [&] {
        // Once the instrument has answered its identification the busy pointer shows too.
        if (!w.instrument.isExchanging() || sim().lines().size() < 5) return;
        busyShown = !w.mnuSend->isEnabled() && !w.mnuSetting->isEnabled() && !w.panel.OKButton->isEnabled() &&
                    !w.panel.cmdTestConnect->isEnabled() && QApplication::overrideCursor() != nullptr;
        w.mnuSend->trigger();
        w.panel.cmdTestConnect->click();
        w.panel.OKButton->click();
        w.checkReadiness();
        during.stop();
    });
    during.start();
    w.mnuSend->trigger();
    EXPECT_TRUE(busyShown);
    EXPECT_EQ(sim().lineTexts(), kFullDefaultSend);
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_TRUE(w.panel.fraComm->isVisible());
    EXPECT_TRUE(w.mnuSend->isEnabled());
}

TEST_F(SendWindow, ClosingTheWindowDuringASendEndsIt) {
    frmDXS& w = ready();
    const bool quitOnClose = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&sim().port(), &SimulatedInstrumentPort::lineReceived, &w, [&] {
        if (sim().lines().size() == 4) QTimer::singleShot(0, &w, [&] { w.close(); });
    });
    w.mnuSend->trigger();
    const qsizetype received = sim().lines().size();
    EXPECT_LT(received, kFullDefaultSend.size());
    EXPECT_EQ(sim().lineTexts(), kFullDefaultSend.mid(0, received));
    QTest::qWait(50);
    EXPECT_EQ(sim().lines().size(), received);
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QApplication::setQuitOnLastWindowClosed(quitOnClose);
}

// At the pacing the instrument object starts with, every reply is read no earlier than the interval
// after its command, so the commands arrive at least that far apart.
TEST_F(SendWindow, StartUpKeepsTheCreationPacing) {
    frmDXS& w = window(false);
    EXPECT_EQ(w.instrument.iWaiting_ms, 200);
    w.instrument.iWaiting_ms = kFastPacing;
    w.mnuSend->trigger();
    sim().clear();
    w.instrument.iWaiting_ms = 200;
    w.mnuSend->trigger();
    EXPECT_EQ(sim().lineTexts(), kAlwaysSent);
    const QList<qint64> at = sim().arrivalTimes();
    for (qsizetype i = 1; i < at.size(); ++i)
        EXPECT_GE(at[i] - at[i - 1], 200'000'000 - 1'000'000) << i;
}
