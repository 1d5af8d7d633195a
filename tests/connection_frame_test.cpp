// The connection frame of the real window: OK, the connection test, Help, the ports' tooltips and
// the stored connection applied at start-up.
#include "instrument/GpibTransport.h"
#include "instrument/SerialTransport.h"
#include "operations/Operations.h"
#include "support/QtPrint.h"
#include "support/SendFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

void choose(QComboBox* list, const QString& text) {
    list->setCurrentIndex(list->findText(text));
}

} // namespace

using ConnectionFrame = SendFixture;

// Each port's tooltip names the device it opens, also one linked after start-up; the hidden controls
// stay hidden and Help opens at the start.
TEST_F(ConnectionFrame, TooltipsHiddenControlsAndHelp) {
    frmDXS& w = window();
    const Panel& p = w.panel;
    EXPECT_EQ(p.cboComPort->currentIndex(), -1);
    EXPECT_EQ(p.cboComPort->itemData(0, Qt::ToolTipRole).toString(), "COM1: " + sim().linkPath());
    PtyInstrument second(folder(), 2);
    ASSERT_TRUE(second.isRunning());
    w.mnuSetting->trigger();
    EXPECT_TRUE(p.fraComm->isVisible());
    EXPECT_FALSE(p.txtGPIBAddr->isVisible() || p.txtCycleTime->isVisible() || p.chkSkipCommand->isVisible());
    EXPECT_EQ(p.cboComPort->itemData(1, Qt::ToolTipRole).toString(), "COM2: " + second.linkPath());
    w.panel.cmdHelp->click();
    EXPECT_EQ(dialogs().helpRequests, std::vector<int>{0});
}

// OK stores the hidden controls too; with no port selected it stores nothing and applies nothing; a
// port that cannot be opened ends in a line naming the device and the cause.
TEST_F(ConnectionFrame, OkStoresAppliesAndCloses) {
    PtyInstrument second(folder(), 2);
    ASSERT_TRUE(second.isRunning());
    const QString com3 = folder() + "/COM3";
    ASSERT_TRUE(QFile::link(folder() + "/no-such-device", com3));
    const QString done = "Set [Configure RS232] to DXS-4820 OK";
    const QString failure = "Set [Configure RS232] to DXS-4820 FAILURE: ";
    const struct {
        QString port, baud, cycle;
        QList<int> stored; // port, baud, address, cycle time, skipping, synchronising
        int serialPort;
        double pacing;
        QString line;
        QStringList names; // what else the line must name
    } cases[] = {
        {"", "", "100", {0, 0, 0, 0, 0, 0}, 1, 200, "before", {}},
        {"2", "9600", "100", {2, 9600, 7, 100, 0, 1}, 2, 100, done, {}},
        {"1", "19200", "20.5 ms", {1, 19200, 7, 20, 0, 1}, 1, 20.5, done, {}},
        {"3", "9600", "100", {3, 9600, 7, 100, 0, 1}, 3, 200, failure, {com3, "No such file or directory"}},
        {"4", "9600", "100", {4, 9600, 7, 100, 0, 1}, 4, 200, failure, {"COM4", "No serial port 4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port.toStdString());
        frmDXS& w = window();
        w.mnuSetting->trigger();
        choose(w.panel.cboComPort, c.port);
        choose(w.panel.cboBuadRate, c.baud);
        w.panel.txtGPIBAddr->setText("7");
        w.panel.txtCycleTime->setText(c.cycle);
        w.panel.chkSkipCommand->setChecked(false);
        w.setMessage("before");
        w.panel.OKButton->click();
        EXPECT_FALSE(w.panel.fraComm->isVisible());
        QList<int> stored;
        for (RecordField f : {RecordField::ComPort, RecordField::BaudRate, RecordField::GpibAddress,
                              RecordField::CycleTime, RecordField::SkipSameValue, RecordField::SyncRateSym})
            stored << w.record.integer(f);
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(w.CWSerial1().portNumber(), c.serialPort);
        EXPECT_EQ(w.instrument.iWaiting_ms, c.pacing);
        EXPECT_EQ(c.names.isEmpty() ? w.message() : w.message().left(c.line.size()), c.line);
        for (const QString& name : c.names)
            EXPECT_TRUE(w.message().contains(name)) << w.message().toStdString();
        EXPECT_TRUE(dialogs().messages.empty());
        m_window.reset();
    }
}

// The test's boxes; a long identification is cut short.
TEST_F(ConnectionFrame, ConnectionTestOutcomes) {
    // COM3 names a device that does not exist, so opening it fails.
    ASSERT_TRUE(QFile::link(folder() + "/no-such-device", folder() + "/COM3"));
    using Answer = UserDialogs::Answer;
    const QString found = "System Connect DXS-4820 correctly        \r\n";
    const QString notFound = "System cannot connect DXS-4820.\r\nDo you need help?";
    const QString failure = "Connect DXS-4820 Failure! Error caused by [";
    SimulatedOptions silent, huge;
    silent.silent = true;
    huge.hugeReplyBytes = 2000;
    const QString cut = "1.000000E+03,1.000000E+03,1.000000E+03,1.000000E+03,1.000000E+03,1.000000E+03,"
                        "1.000000E+03,1.000000E" +
                        QString(QChar(0x2026));
    const struct {
        QString port;
        SimulatedOptions options;
        Answer answer;
        QString box;   // the box's text, or its start
        QString names; // what else the box must name
        std::vector<int> help;
    } cases[] = {
        {"1", {}, Answer::Ok, found + SimulatedInstrument::identification() + "\n", "", {}},
        {"1", huge, Answer::Ok, found + cut, "", {}},
        {"1", silent, Answer::Yes, notFound, "", {0}},
        {"1", silent, Answer::No, notFound, "", {}},
        {"", {}, Answer::Ok, failure + "13] Type mismatch", "", {}},
        {"3", {}, Answer::Ok, failure, folder() + "/COM3", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box.left(60).toStdString());
        frmDXS& w = ready();
        sim().options() = c.options;
        w.mnuSetting->trigger();
        choose(w.panel.cboComPort, c.port);
        choose(w.panel.cboBuadRate, "9600");
        dialogs().answers.push_back(c.answer);
        w.panel.cmdTestConnect->click();
        ASSERT_EQ(dialogs().messages.size(), 1u);
        const auto& box = dialogs().messages[0];
        EXPECT_TRUE(c.names.isEmpty() ? box.text == c.box
                                      : box.text.startsWith(c.box) && box.text.contains(c.names))
            << box.text.toStdString();
        EXPECT_EQ(box.buttons, c.box == notFound ? UserDialogs::Buttons::YesNo : UserDialogs::Buttons::Ok);
        EXPECT_EQ(box.icon,
                  c.box.startsWith(found) ? UserDialogs::Icon::Information : UserDialogs::Icon::None);
        EXPECT_EQ(dialogs().helpRequests, c.help);
        EXPECT_TRUE(w.panel.fraComm->isVisible());
        EXPECT_EQ(w.record.integer(RecordField::ComPort), 0);
        m_window.reset();
        sim().options() = {};
    }
}
// The stored connection as start-up applies it (the record as LoadOperation leaves it).
TEST_F(ConnectionFrame, InitDeviceAppliesTheStoredConnection) {
    const struct {
        int16_t port, baud, address;
        char rs232Flag, gpibFlag;
        int16_t skip, sync;
        int portIndex, baudIndex;
        QString method;
    } cases[] = {
        {0, 0, 0, '\0', '\0', 0, 0, -1, -1, "RS232"}, // never written
        {2, 600, 4, '1', ' ', 1, 2, 1, -1, "RS232"},  {4, 19200, 9, ' ', '1', 0, 1, 3, 0, "GPIB"},
        {3, 1200, 0, '0', ' ', 2, 0, 2, 5, "GPIB"},   // an RS232 flag other than 1 picks GPIB
        {7, 9600, 0, '1', ' ', 0, 0, -1, 2, "RS232"}, // port beyond the list
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        frmDXS& w = window(false);
        w.panel.cboComPort->setCurrentIndex(-1);
        w.record.clear();
        w.record.setInteger(RecordField::ComPort, c.port);
        w.record.setInteger(RecordField::BaudRate, c.baud);
        w.record.setInteger(RecordField::GpibAddress, c.address);
        w.record.setInteger(RecordField::SkipSameValue, c.skip);
        w.record.setInteger(RecordField::SyncRateSym, c.sync);
        QByteArray bytes = w.record.bytes();
        bytes[6] = c.rs232Flag; // the two transport flags
        bytes[7] = c.gpibFlag;
        w.record.setBytes(bytes);
        InitDevice(w.operationContext());
        EXPECT_EQ(w.panel.cboComPort->currentIndex(), c.portIndex);
        EXPECT_EQ(w.panel.cboBuadRate->currentIndex(), c.baudIndex);
        EXPECT_EQ(w.panel.txtGPIBAddr->text(), QString::number(c.address));
        EXPECT_EQ(w.CWSerial1().portNumber(), c.port ? c.port : 1);
        EXPECT_EQ(w.CWSerial1().baudRate(), c.baud ? c.baud : 9600);
        EXPECT_EQ(w.CWGPIB1().address(), c.address);
        EXPECT_EQ(w.instrument.connectMethod(), c.method);
        EXPECT_EQ(w.panel.chkSkipCommand->isChecked(), c.skip != 2); // 2 alone means off
        EXPECT_EQ(w.panel.chkSyncRateSym->isChecked(), c.sync != 2);
        EXPECT_EQ(w.instrument.iWaiting_ms, 200);
        m_window.reset();
    }
}
