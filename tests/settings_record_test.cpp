// The settings record's bytes and its file: golden bytes, texts and their character set, short and
// long files, the atomic write that leaves the old file whole, and where the default file lives.
#include "operations/record/RecordFile.h"
#include "settings_test_support.h"
#include "support/QtPrint.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <string_view>
#include <tuple>

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
    // In field order: an Integer (written when there is no text) or a text, and its bytes. From
    // Reserved26 on, Integers sit at odd offsets.
    // clang-format off
    const std::tuple<F, int16_t, const char*, std::string_view> rows[] = {
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
    for (const auto& [field, integer, text, stored] : rows) {
        if (text)
            record.setText(field, text);
        else
            record.setInteger(field, integer);
        expected += bytes(stored);
    }
    ASSERT_EQ(expected.size(), SettingsRecord::DataSize);
    EXPECT_EQ(record.bytes(), expected);
    EXPECT_EQ(record.slot(),
              expected + QByteArray(SettingsRecord::SlotSize - SettingsRecord::DataSize, '\0'));
    SettingsRecord read;
    read.setBytes(expected);
    EXPECT_EQ(read, record);
    for (const auto& [field, integer, text, stored] : rows)
        if (!text) {
            EXPECT_EQ(read.integer(field), integer) << int(field);
        }
}

TEST(SettingsRecord, TextsAreBlankPaddedOrCutAsWindows1252AndNothingElseIsWritten) {
    // clang-format off
    const std::tuple<F, const char*, std::string_view> rows[] = { // UTF-8 texts; "Ω" is not in the set
        {F::MainFreq, "123456789012", "1234567890"}, {F::Duty, "5", "5 "}, {F::Duty, "", "  "},
        {F::Amplitude, "5€é", "5\x80\xE9   "sv}, {F::Amplitude, "Ω1", "?1    "}, {F::Amplitude, "😀2", "?2    "},
        {F::Amplitude, "1234567😀", "123456"},
    };
    // clang-format on
    for (const auto& [field, text, stored] : rows) {
        SettingsRecord record;
        record.setText(field, QString::fromUtf8(text));
        QByteArray expected(SettingsRecord::DataSize, '\0');
        expected.replace(SettingsRecord::layout(field).offset, SettingsRecord::layout(field).width,
                         bytes(stored));
        EXPECT_EQ(record.bytes(), expected) << text;
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
    // Old size and the room a file may grow to: stopped in the record slot or in the copied tail.
    const std::pair<int, rlim_t> rows[] = {{50, 100}, {214, 150}, {600, 300}, {600, 214}, {70000, 65536}};
    for (const auto& [oldSize, room] : rows) {
        const QByteArray old = pattern(oldSize, 3);
        writeAll(path(), old);
        recordfile::WriteResult result;
        {
            const FileSizeLimit limit(room);
            result = recordfile::writeRecord(path(), sample());
        }
        EXPECT_FALSE(result) << oldSize << " " << room;
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
    // Program and application-data folders, which of them hold a file, whether the copy is installed
    // (then even a writable program folder is passed over), the paths to write and read.
    // clang-format off
    const std::tuple<QString, QString, bool, bool, bool, QString, QString> rows[] = {
        {program, appData, false, false, false, inProgram, ""}, {program, appData, true, false, false, inProgram, inProgram},
        {program, appData, true, true, false, inProgram, inProgram}, {locked, "", false, false, false, inLocked, ""},
        {locked, appData, false, false, false, inAppData, ""}, {locked, appData, false, true, false, inAppData, inAppData},
        {program, appData, false, false, true, inAppData, ""}, {program, appData, true, false, true, inAppData, inProgram},
        {program, "", false, false, true, inProgram, ""},
    };
    // clang-format on
    for (const auto& [programFolder, appDataFolder, fileInProgram, fileInAppData, installed, writePath,
                      readPath] : rows) {
        QDir(program).removeRecursively();
        QDir(appData).removeRecursively();
        QDir().mkpath(program);
        QDir().mkpath(appData);
        if (fileInProgram) writeAll(inProgram, "p");
        if (fileInAppData) writeAll(inAppData, "a");
        const auto location = recordfile::defaultLocation(programFolder, appDataFolder, installed);
        EXPECT_EQ(location.writePath, writePath) << programFolder.toStdString();
        EXPECT_EQ(location.readPath, readPath) << programFolder.toStdString();
    }
}
