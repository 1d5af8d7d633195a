// The settings record's bytes and its file: golden bytes, texts and their character set, short and
// long files, the atomic write that leaves the old file whole, and where the default file lives.
#include "operations/record/RecordFile.h"
#include "settings_test_support.h"
#include "support/QtPrint.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <string_view>

using namespace std::literals;
using F = RecordField;

namespace {

QByteArray bytes(std::string_view raw) {
    return QByteArray(raw.data(), qsizetype(raw.size()));
}

QByteArray pattern(int size, int seed = 1) {
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char((i * 7 + seed) & 0xFF);
    return out;
}

SettingsRecord sample() {
    SettingsRecord record;
    record.setInteger(F::ComPort, 2);
    record.setText(F::MainFreq, "2500.0");
    record.setInteger(F::AMSymmetry, -7);
    return record;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

class SettingsFile : public ::testing::Test {
protected:
    QString path(const QString& name = "DXS4820.Log") const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

} // namespace

TEST(SettingsRecord, KnownValuesGiveTheHandWrittenBytesAndReadBack) {
    struct Row {
        F field;
        int16_t integer; // written when there is no text
        const char* text;
        std::string_view stored; // in field order; from Reserved26 on, Integers sit at odd offsets
    };
    // clang-format off
    const Row rows[] = {
        {F::ComPort, 1, {}, "\x01\x00"sv}, {F::BaudRate, 9600, {}, "\x80\x25"sv},
        {F::GpibAddress, -2, {}, "\xFE\xFF"sv}, {F::Rs232Flag, 0, "1", "1"},
        {F::GpibFlag, 0, "0", "0"}, {F::SkipSameValue, 1, {}, "\x01\x00"sv},
        {F::CycleTime, 300, {}, "\x2C\x01"sv}, {F::MainWaveform, 2, {}, "\x02\x00"sv},
        {F::MainFreq, 0, "1000.0", "1000.0    "}, {F::Amplitude, 0, "5.00", "5.00  "},
        {F::DCOffset, 0, "-1.5", "-1.5  "}, {F::Duty, 0, "50", "50"},
        {F::SweepModel, 1, {}, "\x01\x00"sv}, {F::SweepStart, 0, "1000.00", "1000.00   "},
        {F::SweepStop, 0, "2000.00", "2000.00   "}, {F::SweepSymmetry, 0, "90", "90"},
        {F::SweepRate, 0, "1000.0", "1000.0"}, {F::ModSource, 3, {}, "\x03\x00"sv},
        {F::AMRate, 0, "100.0", "100.0 "}, {F::AMSymmetry, -32768, {}, "\x00\x80"sv},
        {F::AMDepth, 0, "50", "50    "}, {F::FMRate, 0, "0.01", "0.01  "},
        {F::FMSymmetry, 0, "50", "50 "}, {F::FMSpan, 0, "1.5", "1.5   "},
        {F::TriggerType, 1, {}, "\x01\x00"sv}, {F::Reserved26, 0x1234, {}, "\x34\x12"sv},
        {F::TriggerRate, 0, "10.0", "10.0  "}, {F::TriggerSymmetry, 0, "50", "50 "},
        {F::TriggerPhase, 0, "-90", "-90"}, {F::Reserved30, 32767, {}, "\xFF\x7F"sv},
        {F::SweepSegment, 5, {}, "\x05\x00"sv}, {F::SyncRateSym, 1, {}, "\x01\x00"sv},
    };
    // clang-format on
    SettingsRecord record;
    QByteArray expected;
    for (const Row& row : rows) {
        if (row.text)
            record.setText(row.field, row.text);
        else
            record.setInteger(row.field, row.integer);
        expected += bytes(row.stored);
    }
    ASSERT_EQ(expected.size(), SettingsRecord::DataSize);
    EXPECT_EQ(record.bytes(), expected);
    EXPECT_EQ(record.slot(),
              expected + QByteArray(SettingsRecord::SlotSize - SettingsRecord::DataSize, '\0'));
    SettingsRecord read;
    read.setBytes(expected);
    EXPECT_EQ(read, record);
    for (const Row& row : rows)
        if (!row.text) {
            EXPECT_EQ(read.integer(row.field), row.integer) << int(row.field);
        }
}

TEST(SettingsRecord, TextsAreBlankPaddedOrCutAsWindows1252AndNothingElseIsWritten) {
    struct Row {
        F field;
        const char* text; // UTF-8; "Ω" is not in the character set
        std::string_view stored;
    };
    // clang-format off
    const Row rows[] = {
        {F::MainFreq, "123456789012", "1234567890"}, {F::Duty, "5", "5 "}, {F::Duty, "", "  "},
        {F::Amplitude, "5€é", "5\x80\xE9   "sv}, {F::Amplitude, "Ω1", "?1    "}, {F::Amplitude, "😀2", "?2    "},
        {F::Amplitude, "1234567😀", "123456"},
    };
    // clang-format on
    for (const Row& row : rows) {
        SettingsRecord record;
        record.setText(row.field, QString::fromUtf8(row.text));
        const RecordFieldLayout& at = SettingsRecord::layout(row.field);
        QByteArray expected(SettingsRecord::DataSize, '\0');
        expected.replace(at.offset, at.width, bytes(row.stored));
        EXPECT_EQ(record.bytes(), expected) << row.text;
    }
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = fromWindows1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(toWindows1252(text), all);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
}

TEST_F(SettingsFile, RoundTripAndShortFilesReadMissingBytesAsZero) {
    ASSERT_TRUE(recordfile::writeRecord(path(), sample()));
    EXPECT_EQ(readAll(path()), sample().slot());
    const QByteArray full = readAll(path()) + pattern(40);
    for (int size : {0, 1, 14, 120, 121, 254}) {
        writeAll(path(), full.left(size));
        SettingsRecord record;
        record.setText(F::Duty, "99"); // cleared by the read
        ASSERT_EQ(recordfile::readRecord(path(), record), recordfile::ReadStatus::Read);
        const int kept = std::min(size, SettingsRecord::DataSize);
        EXPECT_EQ(record.bytes(), full.left(kept) + QByteArray(SettingsRecord::DataSize - kept, '\0'))
            << size;
    }
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.Log"));
    for (const QString& missing : {path("absent.Log"), path("folder.Log"), QString()}) {
        SettingsRecord record = sample();
        EXPECT_EQ(recordfile::readRecord(missing, record), recordfile::ReadStatus::Missing);
        EXPECT_EQ(record, sample());
    }
}

TEST_F(SettingsFile, WritingReplacesTheSlotAndKeepsALongerFilesTail) {
    for (int oldSize : {-1, 0, 121, 213, 214, 215, 200000}) { // -1: no file yet
        const QString file = path(QString("case%1.Log").arg(oldSize));
        const QByteArray old = pattern(std::max(oldSize, 0), oldSize);
        if (oldSize >= 0) writeAll(file, old);
        ASSERT_TRUE(recordfile::writeRecord(file, sample())) << oldSize;
        const QByteArray now = readAll(file);
        EXPECT_EQ(now, sample().slot() + old.mid(SettingsRecord::SlotSize)) << oldSize;
    }
    EXPECT_EQ(entries(m_dir.path()).size(), 7); // no temporary file left
}

TEST_F(SettingsFile, ARewriteKeepsPermissionsAndLinks) {
    for (const QFile::Permissions mode :
         {QFile::ReadOwner | QFile::WriteOwner, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther}) {
        writeAll(path(), "old");
        ASSERT_TRUE(QFile::setPermissions(path(), mode));
        ASSERT_TRUE(recordfile::writeRecord(path(), sample()));
        EXPECT_EQ(int(QFile::permissions(path())) & 0x7077, int(mode) & 0x7077); // not the "user" bits
    }
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("real"));
    writeAll(path("real/target.Log"), pattern(300));
    ASSERT_TRUE(QFile::link(path("real/target.Log"), path("link.Log")));
    ASSERT_TRUE(recordfile::writeRecord(path("link.Log"), sample()));
    EXPECT_TRUE(QFileInfo(path("link.Log")).isSymLink());
    EXPECT_EQ(readAll(path("real/target.Log")), sample().slot() + pattern(300).mid(SettingsRecord::SlotSize));
}

TEST_F(SettingsFile, AWriteStoppedByAFullDiskLeavesTheOldFileWholeAndNoTemporaryFile) {
    struct Row {
        int oldSize;
        rlim_t room; // stopped in the record slot, or in the tail copied from the old file
    } const rows[] = {{50, 100}, {214, 150}, {600, 300}, {600, 214}, {70000, 65536}};
    for (const Row& row : rows) {
        const QByteArray old = pattern(row.oldSize, 3);
        writeAll(path(), old);
        recordfile::WriteResult result;
        {
            const FileSizeLimit limit(row.room);
            result = recordfile::writeRecord(path(), sample());
        }
        EXPECT_FALSE(result) << row.oldSize << " " << row.room;
        EXPECT_FALSE(result.reason.isEmpty());
        EXPECT_EQ(readAll(path()), old);
        EXPECT_EQ(entries(m_dir.path()), QStringList{"DXS4820.Log"});
    }
}

TEST_F(SettingsFile, TheDefaultFileLivesInTheProgramFolderWhenItCanBeWritten) {
    const QString program = m_dir.filePath("program"), appData = m_dir.filePath("appdata");
    const QString inProgram = QDir::toNativeSeparators(program + "/DXS4820.Log");
    const QString inAppData = QDir::toNativeSeparators(appData + "/DXS4820.Log");
    // Below a regular file, a folder can be neither made nor written, whoever runs the test.
    writeAll(path("plain"), "x");
    const QString locked = m_dir.filePath("plain/program");
    const QString inLocked = QDir::toNativeSeparators(locked + "/DXS4820.Log");
    struct Row {
        QString programFolder, appDataFolder;
        bool fileInProgram, fileInAppData;
        QString writePath, readPath;
    };
    // clang-format off
    const Row rows[] = {
        {program, appData, false, false, inProgram, ""}, {program, appData, true, false, inProgram, inProgram},
        {program, appData, true, true, inProgram, inProgram}, {locked, "", false, false, inLocked, ""},
        {locked, appData, false, false, inAppData, ""}, {locked, appData, false, true, inAppData, inAppData},
    };
    // clang-format on
    for (const Row& row : rows) {
        QDir(program).removeRecursively();
        QDir(appData).removeRecursively();
        QDir().mkpath(program);
        QDir().mkpath(appData);
        if (row.fileInProgram) writeAll(inProgram, "p");
        if (row.fileInAppData) writeAll(inAppData, "a");
        const auto location = recordfile::defaultLocation(row.programFolder, row.appDataFolder);
        EXPECT_EQ(location.writePath, row.writePath) << row.programFolder.toStdString();
        EXPECT_EQ(location.readPath, row.readPath) << row.programFolder.toStdString();
    }
}
