// The connection frame of the real window: OK, the connection test and the stored connection at start-up.
#include "instrument/GpibTransport.h"
#include "operations/Operations.h"
#include "panel/CaptionLabel.h"
#include "support/SendFixture.h"

static void choose(QComboBox* list, const QString& text) {
    list->setCurrentIndex(list->findText(text));
}

using ConnectionFrame = SendFixture;

// What the user sees of the frame: the lists in their order, every caption as written, and, the
// machine's ports searched, a tooltip naming COMn where it exists, else the n-th machine port (USB first).
TEST_F(ConnectionFrame, ListsCaptionsAndPortTooltips) {
    ASSERT_TRUE(makeTtyList(folder() + "/tty", "ttyS0:8250 ttyUSB0:usb"));
    SerialTransport::setMachinePortsSearched(true);
    SerialTransport::setTtyListFolder(folder() + "/tty");
    window().mnuSetting->trigger();
    const Panel& p = window().panel;
    QStringList shown, tooltips;
    for (const QComboBox* list : {p.cboComPort, p.cboBuadRate})
        for (int i = 0; i < list->count(); ++i)
            shown << list->itemText(i);
    for (int row = 0; row < p.cboComPort->count(); ++row)
        tooltips << p.cboComPort->itemData(row, Qt::ToolTipRole).toString();
    shown << p.Label5->text() << p.Label1[19]->text() << p.Label6->text() << p.Label9->text()
          << p.Label7->text() << p.chkSkipCommand->text() << p.chkSyncRateSym->text();
    EXPECT_EQ(shown, QStringList({"1", "2", "3", "4", "19200", "14400", "9600", "4800", "2400", "1200", "600",
                                  "300", "DXS-4820 RS232 Interface Setting", "COM Port :", "Buad Rate:",
                                  "GPIB: PrimaryAddress   ", "Cycle Time             ms",
                                  "Skip  Sending Commands with the Same Value", "Sync. Rate && SYM Value"}));
    EXPECT_EQ(tooltips, QStringList({"COM1: " + folder() + "/COM1", "COM2: /dev/ttyS0",
                                     "COM3: no device on this machine", "COM4: no device on this machine"}));
}

// OK stores the hidden controls too; no port: nothing stored or applied; an unopenable port is named.
TEST_F(ConnectionFrame, OkStoresAppliesAndCloses) {
    PtyInstrument second(folder(), 2);
    const QString com3 = folder() + "/COM3";
    ASSERT_TRUE(second.isRunning() && QFile::link(folder() + "/no-such-device", com3));
    const QString done = "Set [Configure RS232] to DXS-4820 OK",
                  failure = "Set [Configure RS232] to DXS-4820 FAILURE: ";
    // Port, baud, cycle; the record (port, baud, address, cycle, skip, sync); port, pacing and line.
    const std::tuple<QString, QString, QString, QList<int>, int, double, QString, QStringList> cases[] = {
        {"", "", "100", {0, 0, 0, 0, 0, 0}, 1, 200, "before", {}},
        {"2", "9600", "100", {2, 9600, 7, 100, 0, 1}, 2, 100, done, {}},
        {"1", "19200", "20.5 ms", {1, 19200, 7, 20, 0, 1}, 1, 20.5, done, {}},
        {"3", "9600", "100", {3, 9600, 7, 100, 0, 1}, 3, 200, failure, {com3, "No such file or directory"}},
        {"4", "9600", "100", {4, 9600, 7, 100, 0, 1}, 4, 200, failure, {"COM4", "No serial port 4"}},
    };
    for (const auto& [port, baud, cycle, fields, serialPort, pacing, line, names] : cases) {
        SCOPED_TRACE(port + " " + baud);
        frmDXS& w = window();
        w.mnuSetting->trigger();
        choose(w.panel.cboComPort, port), choose(w.panel.cboBuadRate, baud);
        w.panel.txtGPIBAddr->setText("7");
        w.panel.txtCycleTime->setText(cycle);
        w.panel.chkSkipCommand->setChecked(false);
        w.setMessage("before");
        w.panel.OKButton->click();
        EXPECT_FALSE(w.panel.fraComm->isVisible());
        QList<int> stored;
        for (RecordField f : {RecordField::ComPort, RecordField::BaudRate, RecordField::GpibAddress,
                              RecordField::CycleTime, RecordField::SkipSameValue, RecordField::SyncRateSym})
            stored << w.record.integer(f);
        EXPECT_EQ(stored, fields);
        EXPECT_EQ(w.CWSerial1().portNumber(), serialPort);
        EXPECT_EQ(w.instrument.iWaiting_ms, pacing);
        EXPECT_EQ(names.isEmpty() ? w.messageLineText() : w.messageLineText().left(line.size()), line);
        for (const QString& name : names)
            EXPECT_TRUE(w.messageLineText().contains(name));
        EXPECT_TRUE(dialogs().messages.empty());
        m_window.reset();
    }
}

// The test's boxes; a long identification is cut short.
TEST_F(ConnectionFrame, ConnectionTestOutcomes) {
    ASSERT_TRUE(QFile::link(folder() + "/no-such-device", folder() + "/COM3"));
    using Answer = UserDialogs::Answer;
    const QString found = "System Connect DXS-4820 correctly        \r\n";
    const QString notFound = "System cannot connect DXS-4820.\r\nDo you need help?";
    const QString failure = "Connect DXS-4820 Failure! Error caused by [";
    const QString cut = QString("1.000000E+03,").repeated(7) + "1.000000E" + QChar(0x2026); // 100 characters
    // Port, instrument, answer; the box's text (or its start), what else it names; the help openings.
    const std::tuple<QString, SimulatedOptions, Answer, QString, QString, std::vector<int>> cases[] = {
        {"1", {}, Answer::Ok, found + SimulatedInstrument::identification() + "\n", "", {}},
        {"1", {.hugeReplyBytes = 2000}, Answer::Ok, found + cut, "", {}},
        {"1", {.silent = true}, Answer::Yes, notFound, "", {0}},
        {"", {}, Answer::Ok, failure + "13] Type mismatch", "", {}},
        {"3", {}, Answer::Ok, failure, folder() + "/COM3", {}},
    };
    for (const auto& [port, options, answer, text, names, help] : cases) {
        SCOPED_TRACE(text.left(60));
        frmDXS& w = ready();
        sim().options() = options;
        w.mnuSetting->trigger();
        choose(w.panel.cboComPort, port);
        choose(w.panel.cboBuadRate, "9600");
        dialogs().answers.push_back(answer);
        w.panel.cmdTestConnect->click();
        ASSERT_EQ(dialogs().messages.size(), 1u);
        const auto& box = dialogs().messages[0];
        EXPECT_TRUE(names.isEmpty() ? box.text == text
                                    : box.text.startsWith(text) && box.text.contains(names))
            << box.text;
        EXPECT_EQ(box.buttons, text == notFound ? UserDialogs::Buttons::YesNo : UserDialogs::Buttons::Ok);
        EXPECT_EQ(box.icon,
                  text.startsWith(found) ? UserDialogs::Icon::Information : UserDialogs::Icon::None);
        EXPECT_EQ(dialogs().helpRequests, help);
        EXPECT_TRUE(w.panel.fraComm->isVisible());
        EXPECT_EQ(w.record.integer(RecordField::ComPort), 0);
        m_window.reset();
        sim().options() = {};
    }
}

// The stored connection as start-up applies it (the record as LoadOperation leaves it).
TEST_F(ConnectionFrame, InitDeviceAppliesTheStoredConnection) {
    // Stored port, baud, address, RS232/GPIB flags, skip, sync; the list entries chosen, the transport.
    const std::tuple<int16_t, int16_t, int16_t, char, char, int16_t, int16_t, int, int, QString> cases[] = {
        {0, 0, 0, '\0', '\0', 0, 0, -1, -1, "RS232"}, // never written
        {2, 600, 4, '1', ' ', 1, 2, 1, -1, "RS232"},  {4, 19200, 9, ' ', '1', 0, 1, 3, 0, "GPIB"},
        {3, 1200, 0, '0', ' ', 2, 0, 2, 5, "GPIB"},   // an RS232 flag other than 1 picks GPIB
        {7, 9600, 0, '1', ' ', 0, 0, -1, 2, "RS232"}, // port beyond the list
    };
    for (const auto& [port, baud, address, rs232Flag, gpibFlag, skip, sync, portIndex, baudIndex, method] :
         cases) {
        SCOPED_TRACE(port);
        frmDXS& w = window(false);
        w.panel.cboComPort->setCurrentIndex(-1);
        w.record.clear();
        w.record.setInteger(RecordField::ComPort, port);
        w.record.setInteger(RecordField::BaudRate, baud);
        w.record.setInteger(RecordField::GpibAddress, address);
        w.record.setInteger(RecordField::SkipSameValue, skip);
        w.record.setInteger(RecordField::SyncRateSym, sync);
        w.record.setBytes(QByteArray(w.record.bytes())
                              .replace(6, 2, QByteArray(1, rs232Flag) + gpibFlag)); // transport flags
        InitDevice(w.operationContext());
        const Panel& p = w.panel;
        EXPECT_EQ(QList<int>({p.cboComPort->currentIndex(), p.cboBuadRate->currentIndex(),
                              p.txtGPIBAddr->text().toInt(), w.CWSerial1().portNumber(),
                              w.CWSerial1().baudRate(), w.CWGPIB1().address(), p.chkSkipCommand->isChecked(),
                              p.chkSyncRateSym->isChecked(), int(w.instrument.iWaiting_ms)}),
                  QList<int>({portIndex, baudIndex, address, port ? port : 1, baud ? baud : 9600, address,
                              skip != 2, sync != 2, 200})); // 2 alone means off
        EXPECT_EQ(w.instrument.connectMethod(), method);
        m_window.reset();
    }
}
