#include "core/ProgramFolder.h"
#include "instrument/SerialTransport.h"
#include "instrument/clsDXS4820.h"
#include "support/PtyInstrument.h"
#include "support/QtPrint.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(InstrumentSmoke, ReadyOverPty) {
    QTemporaryDir dir;
    setProgramFolder(dir.path());
    PtyInstrument sim(dir.path());
    ASSERT_TRUE(sim.isRunning()) << sim.errorText().toStdString();
    SerialTransport serial;
    clsDXS4820 dxs;
    QStringList lines;
    dxs.txtMsg = [&](const QString& l) { lines << l; };
    dxs.CWSerial1 = &serial;
    dxs.iWaiting_ms = 50;
    dxs.ConnectMethod("RS232");
    EXPECT_EQ(lines.last(), "Set [Configure RS232] to DXS-4820 OK");
    EXPECT_TRUE(dxs.Ready());
    dxs.set(Property::MainFreq, 1000);
    EXPECT_EQ(dxs.check(Property::MainFreq), 1000);
    EXPECT_EQ(sim.lineTexts(), QStringList({"*IDN?", ":FREQ 1000", ":FREQ ?"}));
    setProgramFolder({});
}
