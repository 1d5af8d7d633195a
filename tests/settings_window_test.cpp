// The setting files through the real window: the default file at start-up and at closing, and the
// File menu's Save and Load with their dialogs.
#include "app/QtUserDialogs.h"
#include "operations/Operations.h"
#include "operations/record/RecordFile.h"
#include "panel/NumericBox.h"
#include "settings_test_support.h"
#include "support/QtPrint.h"
#include "support/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>
#include <QTest>

namespace {

SettingsRecord storedRecord() {
    SettingsRecord record;
    record.setInteger(RecordField::ComPort, 3);
    record.setInteger(RecordField::BaudRate, 19200);
    record.setInteger(RecordField::CycleTime, 250);
    record.setText(RecordField::MainFreq, "  1000    ");
    record.setInteger(RecordField::SweepSegment, 4);
    return record;
}

class SettingsWindow : public WindowFixture {
protected:
    QString defaultFile() const { return QDir(folder()).filePath("DXS4820.Log"); }
    QString dialogFolder() const { return QDir::toNativeSeparators(folder() + "/"); }
};

} // namespace

TEST_F(SettingsWindow, FirstStartWithoutADefaultFileCreatesItOnClosing) {
    frmDXS& w = window();
    EXPECT_EQ(w.record.bytes(), QByteArray(SettingsRecord::DataSize, '\0'));
    EXPECT_FALSE(QFile::exists(defaultFile()));
    EXPECT_EQ(QDir::fromNativeSeparators(defaultSettingFile()), defaultFile());

    w.close();
    const QByteArray stored = readAll(defaultFile());
    ASSERT_EQ(stored.size(), SettingsRecord::SlotSize);
    EXPECT_EQ(stored, w.record.slot());
    EXPECT_TRUE(dialogs().messages.empty());
}

TEST_F(SettingsWindow, ClosingStoresTheTextsOfTheBoxesLeftSinceStart) {
    frmDXS& w = window();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.panel.txtMainAmp->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    w.panel.txtMainAmp->setText("1.5");
    w.txtMessage->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();

    w.close();
    SettingsRecord stored;
    ASSERT_EQ(recordfile::readRecord(defaultFile(), stored), recordfile::ReadStatus::Read);
    EXPECT_EQ(stored.rawText(RecordField::Amplitude), QByteArray("1.5   "));
    // Fields nothing wrote since start are zero bytes.
    EXPECT_EQ(stored.rawText(RecordField::MainFreq), QByteArray(10, '\0'));
    EXPECT_EQ(stored.rawText(RecordField::FMSpan), QByteArray(6, '\0'));
    EXPECT_EQ(stored.integer(RecordField::SweepSegment), 0);
}

TEST_F(SettingsWindow, StartUpReadsTheDefaultFileIntoTheRecordAndClosingKeepsItsTail) {
    const QByteArray tail = "bytes after the record slot";
    writeAll(defaultFile(), storedRecord().slot() + tail);

    frmDXS& w = window();
    EXPECT_EQ(w.record, storedRecord());
    w.close();
    EXPECT_EQ(readAll(defaultFile()), storedRecord().slot() + tail);
}

TEST_F(SettingsWindow, AStoreThatFailsAtClosingShowsNoBoxAndLeavesTheOldFileWhole) {
    const QByteArray old = storedRecord().slot() + QByteArray(400, 'x');
    writeAll(defaultFile(), old);
    frmDXS& w = window();
    w.record.setText(RecordField::MainFreq, "5");
    {
        const FileSizeLimit fullDisk(300);
        w.close();
    }
    EXPECT_TRUE(dialogs().messages.empty());
    EXPECT_EQ(readAll(defaultFile()), old);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList{"DXS4820.Log"});
}

TEST_F(SettingsWindow, ACancelledSaveWritesNothing) {
    frmDXS& w = window();
    const SettingsRecord before = w.record;
    w.SaveFile->trigger();

    ASSERT_EQ(dialogs().fileRequests.size(), 1u);
    EXPECT_EQ(dialogs().fileRequests[0].initialFolder, dialogFolder());
    EXPECT_EQ(dialogs().fileRequests[0].presetName, QString("DXS4820.Log"));
    EXPECT_EQ(dialogs().fileRequests[0].filter, QString("DXS4820(*.Log)|*.Log"));
    EXPECT_EQ(w.record, before);
    EXPECT_TRUE(QDir(folder()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(dialogs().messages.empty());
}

TEST(SettingFileDialog, TheFilterEntryReadsAsGiven) {
    // The real file dialog, as Save and Load show it: one entry, not "DXS4820(*.Log) (*.Log)".
    QFileDialog dialog(nullptr, QString(), QDir::tempPath(), qtFileFilter("DXS4820(*.Log)|*.Log"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 1);
    EXPECT_EQ(types->itemText(0), QString("DXS4820(*.Log)"));
    EXPECT_EQ(dialog.selectedNameFilter(), QString("DXS4820(*.Log)"));
    EXPECT_EQ(qtFileFilter("Text files|*.txt"), QString("Text files (*.txt)"));
}

TEST_F(SettingsWindow, ACancelledLoadStillMakesTheNextSendTransmitEverything) {
    writeAll(defaultFile(), storedRecord().slot());
    frmDXS& w = window();
    w.sendAll = false;
    w.LoadFile->trigger();

    ASSERT_EQ(dialogs().fileRequests.size(), 1u);
    EXPECT_EQ(dialogs().fileRequests[0].initialFolder, dialogFolder());
    EXPECT_EQ(dialogs().fileRequests[0].presetName, QString());
    EXPECT_EQ(dialogs().fileRequests[0].filter, QString("DXS4820(*.Log)|*.Log"));
    EXPECT_TRUE(w.sendAll);
    EXPECT_EQ(w.record, storedRecord());
    EXPECT_EQ(readAll(defaultFile()), storedRecord().slot());
}

// An installed copy whose folder cannot be written keeps its setting in the user's
// application-data folder and reads it back from there.
class SettingsInstalledCopy : public SettingsWindow {
protected:
    void SetUp() override {
        SettingsWindow::SetUp();
        m_savedDataHome = qgetenv("XDG_DATA_HOME");
        m_hadDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QDir(folder()).filePath("data").toLocal8Bit());
        // Below a regular file a folder can be neither made nor written, whoever runs the test.
        writeAll(QDir(folder()).filePath("installed"), "a file, not a folder");
        setProgramFolder(QDir(folder()).filePath("installed/program"));
    }
    void TearDown() override {
        SettingsWindow::TearDown();
        if (m_hadDataHome)
            qputenv("XDG_DATA_HOME", m_savedDataHome);
        else
            qunsetenv("XDG_DATA_HOME");
    }
    QString appDataFile() const {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .filePath("DXS4820.Log");
    }

    QByteArray m_savedDataHome;
    bool m_hadDataHome = false;
};

TEST_F(SettingsInstalledCopy, TheDefaultFileLivesInTheApplicationDataFolder) {
    ASSERT_TRUE(appDataFile().startsWith(QDir(folder()).filePath("data")));
    EXPECT_EQ(QDir::fromNativeSeparators(defaultSettingFile()), appDataFile());

    // First start: nothing stored yet; closing makes the folder and the file.
    window().close();
    EXPECT_EQ(readAll(appDataFile()), SettingsRecord().slot());
    EXPECT_TRUE(dialogs().messages.empty());

    // The next start reads it back from there.
    writeAll(appDataFile(), storedRecord().slot());
    m_window.reset();
    EXPECT_EQ(window().record, storedRecord());
}
