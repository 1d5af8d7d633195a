// The connection frame of the real window: the lists, OK, the connection test, Help, and the stored
// connection applied at start-up.
#include "instrument/GpibTransport.h"
#include "instrument/SerialTransport.h"
#include "operations/Operations.h"
#include "support/QtPrint.h"
#include "support/SendFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QStringList items(const QComboBox& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.itemText(i);
    return texts;
}

void choose(QComboBox* list, const QString& text) {
    list->setCurrentIndex(list->findText(text));
}

} // namespace

using ConnectionFrame = SendFixture;

TEST_F(ConnectionFrame, ListsStartFilledWithNothingSelected) {
    frmDXS& w = window(false);
    EXPECT_EQ(items(*w.panel.cboComPort), QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(items(*w.panel.cboBuadRate),
              QStringList({"19200", "14400", "9600", "4800", "2400", "1200", "600", "300"}));
    EXPECT_EQ(w.panel.cboComPort->currentIndex(), -1);
    EXPECT_EQ(w.panel.cboComPort->currentText(), "");
    EXPECT_EQ(w.panel.cboBuadRate->currentIndex(), -1);
    // Each port names the device it opens here: COM1 is the simulated instrument's link.
    EXPECT_EQ(w.panel.cboComPort->itemData(0, Qt::ToolTipRole).toString(), "COM1: " + sim().linkPath());
}

TEST_F(ConnectionFrame, SettingMenuShowsTheFrameWithItsVisibleControls) {
    frmDXS& w = window();
    ASSERT_FALSE(w.panel.fraComm->isVisible());
    w.mnuSetting->trigger();
    EXPECT_TRUE(w.panel.fraComm->isVisible());
    const Panel& p = w.panel;
    for (QWidget* shown : std::initializer_list<QWidget*>{p.Option1, p.cboComPort, p.cboBuadRate, p.OKButton,
                                                          p.cmdTestConnect, p.cmdHelp})
        EXPECT_TRUE(shown->isVisible()) << shown->objectName().toStdString();
    for (QWidget* hidden : std::initializer_list<QWidget*>{p.Option2, p.txtGPIBAddr, p.txtCycleTime,
                                                           p.chkSkipCommand, p.chkSyncRateSym})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    // A port linked after start-up shows its device the next time the frame opens.
    PtyInstrument second(folder(), 2);
    ASSERT_TRUE(second.isRunning());
    w.mnuSetting->trigger();
    EXPECT_EQ(p.cboComPort->itemData(1, Qt::ToolTipRole).toString(), "COM2: " + second.linkPath());
}

TEST_F(ConnectionFrame, OkStoresAppliesAndCloses) {
    PtyInstrument second(folder(), 2);
    ASSERT_TRUE(second.isRunning());
    struct Case {
        const char* name;
        QString port, baud;
        int16_t storedPort, storedBaud;
        int serialPort;
        double pacing;
        QString line; // the message line afterwards; empty: unchanged
    };
    const std::vector<Case> cases = {
        {"no port selected", "", "", 0, 0, 1, 200, ""},
        {"port 2 at 9600", "2", "9600", 2, 9600, 2, 100, "Set [Configure RS232] to DXS-4820 OK"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmDXS& w = window();
        w.mnuSetting->trigger();
        choose(w.panel.cboComPort, c.port);
        choose(w.panel.cboBuadRate, c.baud);
        w.setMessage("before");
        w.panel.OKButton->click();
        EXPECT_FALSE(w.panel.fraComm->isVisible());
        EXPECT_EQ(w.record.integer(RecordField::ComPort), c.storedPort);
        EXPECT_EQ(w.record.integer(RecordField::BaudRate), c.storedBaud);
        EXPECT_EQ(w.CWSerial1().portNumber(), c.serialPort);
        EXPECT_EQ(w.instrument.iWaiting_ms, c.pacing);
        EXPECT_EQ(w.message(), c.line.isEmpty() ? QString("before") : c.line);
        EXPECT_TRUE(dialogs().messages.empty());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        m_window.reset();
    }
}

TEST_F(ConnectionFrame, OkStoresTheHiddenControlsToo) {
    frmDXS& w = window();
    choose(w.panel.cboComPort, "1");
    choose(w.panel.cboBuadRate, "19200");
    w.panel.txtGPIBAddr->setText("7");
    w.panel.txtCycleTime->setText("20.5 ms");
    w.panel.chkSkipCommand->setChecked(false);
    w.panel.OKButton->click();
    EXPECT_EQ(w.record.integer(RecordField::GpibAddress), 7);
    EXPECT_EQ(w.record.integer(RecordField::SkipSameValue), 0);
    EXPECT_EQ(w.record.integer(RecordField::CycleTime), 20);
    EXPECT_EQ(w.record.integer(RecordField::SyncRateSym), 1);
    EXPECT_EQ(w.instrument.iWaiting_ms, 20.5);
    EXPECT_EQ(w.CWSerial1().baudRate(), 19200);
    EXPECT_EQ(w.instrument.connectMethod(), "RS232");
}

TEST_F(ConnectionFrame, ConnectionTestOutcomes) {
    // COM3 names a device that does not exist, so opening it fails.
    ASSERT_TRUE(QFile::link(folder() + "/no-such-device", folder() + "/COM3"));
    using Answer = UserDialogs::Answer;
    using Buttons = UserDialogs::Buttons;
    using Icon = UserDialogs::Icon;
    const QString found =
        "System Connect DXS-4820 correctly        \r\n" + QString(SimulatedInstrument::identification());
    const QString notFound = "System cannot connect DXS-4820.\r\nDo you need help?";
    const QString failure = "Connect DXS-4820 Failure! Error caused by [";
    struct Case {
        const char* name;
        QString port;
        bool silent;
        Answer answer;
        QString box;   // the box's text, or its start
        QString names; // what else the box must name
        Buttons buttons;
        Icon icon;
        std::vector<int> help;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"instrument answers",             "1", false, Answer::Ok,  found,    "", Buttons::Ok,    Icon::Information, {}},
        {"silent instrument, help wanted", "1", true,  Answer::Yes, notFound, "", Buttons::YesNo, Icon::None,        {0}},
        {"silent instrument, no help",     "1", true,  Answer::No,  notFound, "", Buttons::YesNo, Icon::None,        {}},
        {"no port selected",               "",  false, Answer::Ok,  failure + "13] Type mismatch", "", Buttons::Ok, Icon::None, {}},
        {"port that cannot be opened",     "3", false, Answer::Ok,  failure,  folder() + "/COM3", Buttons::Ok, Icon::None, {}},
        {"port without a device",          "4", false, Answer::Ok,  failure,  "COM4",  Buttons::Ok,   Icon::None,        {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmDXS& w = ready();
        sim().options().silent = c.silent;
        w.mnuSetting->trigger();
        choose(w.panel.cboComPort, c.port);
        choose(w.panel.cboBuadRate, "9600");
        dialogs().answers.push_back(c.answer);
        w.panel.cmdTestConnect->click();
        ASSERT_EQ(dialogs().messages.size(), 1u);
        const QString shown = dialogs().messages[0].text;
        EXPECT_TRUE(shown.startsWith(c.box)) << shown.toStdString();
        EXPECT_TRUE(shown.contains(c.names)) << shown.toStdString();
        EXPECT_EQ(dialogs().messages[0].buttons, c.buttons);
        EXPECT_EQ(dialogs().messages[0].icon, c.icon);
        EXPECT_EQ(dialogs().helpRequests, c.help);
        EXPECT_TRUE(w.panel.fraComm->isVisible());
        EXPECT_EQ(w.record.integer(RecordField::ComPort), 0);
        m_window.reset();
        sim().options().silent = false;
    }
}

TEST_F(ConnectionFrame, HelpButtonOpensHelpAtTheStart) {
    frmDXS& w = window(false);
    w.panel.cmdHelp->click();
    EXPECT_EQ(dialogs().helpRequests, std::vector<int>{0});
}

// The stored connection as start-up applies it (the record as LoadOperation leaves it).
TEST_F(ConnectionFrame, InitDeviceAppliesTheStoredConnection) {
    struct Case {
        const char* name;
        int16_t port, baud, address;
        QByteArray rs232Flag, gpibFlag;
        int16_t skip, sync;
        int portIndex, baudIndex;
        int serialPort, serialBaud, gpibAddress;
        QString method;
        bool skipTicked, syncTicked;
    };
    const std::vector<Case> cases = {
        {"never written", 0, 0, 0, QByteArray(1, '\0'), QByteArray(1, '\0'), 0, 0, -1, -1, 1, 9600, 0,
         "RS232", true, true},
        {"port 2 at 600 on RS232", 2, 600, 4, "1", " ", 1, 2, 1, -1, 2, 600, 4, "RS232", true, false},
        {"GPIB chosen by its own flag", 4, 19200, 9, " ", "1", 0, 1, 3, 0, 4, 19200, 9, "GPIB", true, true},
        {"RS232 flag not 1 picks GPIB", 3, 1200, 0, "0", " ", 2, 0, 2, 5, 3, 1200, 0, "GPIB", false, true},
        {"port beyond the list", 7, 9600, 0, "1", " ", 0, 0, -1, 2, 7, 9600, 0, "RS232", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmDXS& w = window(false);
        w.panel.cboComPort->setCurrentIndex(-1);
        w.panel.cboBuadRate->setCurrentIndex(-1);
        w.record.clear();
        w.record.setInteger(RecordField::ComPort, c.port);
        w.record.setInteger(RecordField::BaudRate, c.baud);
        w.record.setInteger(RecordField::GpibAddress, c.address);
        QByteArray bytes = w.record.bytes();
        bytes[SettingsRecord::layout(RecordField::Rs232Flag).offset] = c.rs232Flag[0];
        bytes[SettingsRecord::layout(RecordField::GpibFlag).offset] = c.gpibFlag[0];
        w.record.setBytes(bytes);
        w.record.setInteger(RecordField::SkipSameValue, c.skip);
        w.record.setInteger(RecordField::SyncRateSym, c.sync);
        w.instrument.iWaiting_ms = 200;

        InitDevice(w);
        EXPECT_EQ(w.panel.cboComPort->currentIndex(), c.portIndex);
        EXPECT_EQ(w.panel.cboBuadRate->currentIndex(), c.baudIndex);
        EXPECT_EQ(w.panel.txtGPIBAddr->text(), QString::number(c.address));
        EXPECT_EQ(w.CWSerial1().portNumber(), c.serialPort);
        EXPECT_EQ(w.CWSerial1().baudRate(), c.serialBaud);
        EXPECT_EQ(w.CWGPIB1().address(), c.gpibAddress);
        EXPECT_EQ(w.instrument.connectMethod(), c.method);
        EXPECT_EQ(w.panel.chkSkipCommand->isChecked(), c.skipTicked);
        EXPECT_EQ(w.panel.chkSyncRateSym->isChecked(), c.syncTicked);
        EXPECT_EQ(w.instrument.iWaiting_ms, 200);
        m_window.reset();
    }
}

// Start-up reads the stored connection from the default setting file and applies it.
TEST_F(ConnectionFrame, StartUpAppliesTheStoredSettingFile) {
    PtyInstrument second(folder(), 2);
    ASSERT_TRUE(second.isRunning());
    SettingsRecord stored;
    stored.setInteger(RecordField::ComPort, 2);
    stored.setInteger(RecordField::BaudRate, 600);
    stored.setInteger(RecordField::SkipSameValue, 0);
    QFile file(folder() + "/DXS4820.Log");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(stored.bytes() + QByteArray(SettingsRecord::SlotSize - SettingsRecord::DataSize, '\0'));
    file.close();

    frmDXS& w = window();
    // The never-written transport flags select GPIB, then RS232: RS232 on the stored port stays.
    EXPECT_EQ(w.instrument.connectMethod(), "RS232");
    EXPECT_EQ(w.panel.cboComPort->currentText(), "2");
    EXPECT_EQ(w.panel.cboBuadRate->currentIndex(), -1);
    EXPECT_EQ(w.CWSerial1().baudRate(), 600);
    EXPECT_TRUE(w.panel.chkSkipCommand->isChecked());
    EXPECT_EQ(w.instrument.iWaiting_ms, 200);
    // The first readiness check goes to the stored port.
    EXPECT_TRUE(second.waitForLines(1));
    EXPECT_EQ(second.lineTexts(), QStringList{"*IDN?"});
    EXPECT_TRUE(sim().lineTexts().isEmpty());
}
