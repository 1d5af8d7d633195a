// The settings record in files: reading, the atomic write that keeps a longer file's tail, failures
// that leave the old file whole, where the default file lives, and a loader fed random files.
#include "operations/record/RecordFile.h"
#include "settings_test_support.h"
#include "support/QtPrint.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

QByteArray pattern(int size, int seed = 1) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + seed) & 0xFF);
    return bytes;
}

SettingsRecord sampleRecord() {
    SettingsRecord record;
    record.setInteger(RecordField::ComPort, 2);
    record.setText(RecordField::MainFreq, "2500.0");
    record.setInteger(RecordField::AMSymmetry, -7);
    record.setText(RecordField::TriggerPhase, "90");
    record.setInteger(RecordField::SyncRateSym, 1);
    return record;
}

// The folder's entries apart from the given file: a temporary file left behind shows here.
QStringList othersIn(const QString& folder, const QString& file) {
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    names.removeAll(file);
    return names;
}

class SettingsFile : public ::testing::Test {
protected:
    QString path(const QString& name = "DXS4820.Log") const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(SettingsFile, SaveAndLoadRoundTrip) {
    const SettingsRecord saved = sampleRecord();
    ASSERT_TRUE(recordfile::writeRecord(path(), saved));
    EXPECT_EQ(readAll(path()), saved.slot());

    SettingsRecord loaded;
    loaded.setText(RecordField::Duty, "99"); // cleared by the read
    EXPECT_EQ(recordfile::readRecord(path(), loaded), recordfile::ReadStatus::Read);
    EXPECT_EQ(loaded, saved);
}

TEST_F(SettingsFile, WritingReplacesTheSlotAndKeepsALongerFilesTail) {
    struct Case {
        int oldSize; // -1: no file yet
        int newSize;
    };
    const std::vector<Case> cases = {{-1, 214},  {0, 214},   {50, 214},  {121, 214},      {213, 214},
                                     {214, 214}, {215, 215}, {428, 428}, {200000, 200000}};
    const SettingsRecord record = sampleRecord();
    for (const Case& c : cases) {
        const QString file = path(QString("case%1.Log").arg(c.oldSize));
        const QByteArray old = pattern(std::max(c.oldSize, 0), c.oldSize);
        if (c.oldSize >= 0) writeAll(file, old);
        ASSERT_TRUE(recordfile::writeRecord(file, record)) << c.oldSize;
        const QByteArray now = readAll(file);
        ASSERT_EQ(now.size(), c.newSize) << c.oldSize;
        EXPECT_EQ(now.left(SettingsRecord::SlotSize), record.slot()) << c.oldSize;
        EXPECT_EQ(now.mid(SettingsRecord::SlotSize), old.mid(SettingsRecord::SlotSize)) << c.oldSize;
    }
    EXPECT_EQ(othersIn(m_dir.path(), "").size(), int(cases.size())); // no temporary file left
}

TEST_F(SettingsFile, ARewrittenFileKeepsItsPermissions) {
    const QFile::Permissions modes[] = {QFile::ReadOwner | QFile::WriteOwner,
                                        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                            QFile::ReadOther};
    for (const QFile::Permissions mode : modes) {
        writeAll(path(), "old");
        ASSERT_TRUE(QFile::setPermissions(path(), mode));
        ASSERT_TRUE(recordfile::writeRecord(path(), sampleRecord()));
        // Owner, group and others; the "user" bits tell what the running user may do.
        EXPECT_EQ(int(QFile::permissions(path())) & 0x7077, int(mode) & 0x7077);
    }
}

TEST_F(SettingsFile, WritingThroughALinkUpdatesItsTargetAndKeepsTheLink) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("real"));
    const QString target = m_dir.filePath("real/DXS4820.Log");
    writeAll(target, pattern(300));
    ASSERT_TRUE(QFile::link(target, path("link.Log")));
    ASSERT_TRUE(recordfile::writeRecord(path("link.Log"), sampleRecord()));
    EXPECT_TRUE(QFileInfo(path("link.Log")).isSymLink());
    EXPECT_EQ(readAll(target), sampleRecord().slot() + pattern(300).mid(SettingsRecord::SlotSize));
}

TEST_F(SettingsFile, AShortFileReadsItsMissingBytesAsZero) {
    const QByteArray full = sampleRecord().bytes();
    for (int size : {0, 1, 14, 20, 120, 121}) {
        writeAll(path(), full.left(size));
        SettingsRecord record = sampleRecord();
        record.setInteger(RecordField::SweepSegment, 3);
        ASSERT_EQ(recordfile::readRecord(path(), record), recordfile::ReadStatus::Read);
        EXPECT_EQ(record.bytes(), full.left(size) + QByteArray(SettingsRecord::DataSize - size, '\0'))
            << size;
    }
}

TEST_F(SettingsFile, NoFileOfThatNameLeavesTheRecordAlone) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.Log"));
    for (const QString& missing : {path("absent.Log"), path("folder.Log"), QString()}) {
        SettingsRecord record = sampleRecord();
        EXPECT_EQ(recordfile::readRecord(missing, record), recordfile::ReadStatus::Missing);
        EXPECT_EQ(record, sampleRecord());
    }
}

TEST_F(SettingsFile, AWriteThatCannotBeDoneFailsWithAReasonAndLeavesNoFile) {
    writeAll(path("plain"), "not a folder");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.Log"));
    // Tests run as root, whom permissions do not stop: these fail for every user.
    const QStringList targets = {path("plain/DXS4820.Log"), path("no/such/folder/DXS4820.Log"),
                                 path("folder.Log")};
    for (const QString& target : targets) {
        const recordfile::WriteResult result = recordfile::writeRecord(target, sampleRecord());
        EXPECT_FALSE(result) << target.toStdString();
        EXPECT_FALSE(result.reason.isEmpty()) << target.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("plain/DXS4820.Log")));
    EXPECT_EQ(readAll(path("plain")), QByteArray("not a folder"));
    EXPECT_EQ(othersIn(m_dir.path(), "plain"), QStringList{"folder.Log"});
}

TEST_F(SettingsFile, AWriteStoppedByAFullDiskLeavesTheOldFileWhole) {
    struct Case {
        int oldSize;
        rlim_t room; // bytes a file may grow to
    };
    // Stopped in the record slot, or in the tail copied from the old file.
    const std::vector<Case> cases = {{50, 100}, {214, 150}, {600, 300}, {600, 214}, {70000, 65536}};
    for (const Case& c : cases) {
        const QByteArray old = pattern(c.oldSize, 3);
        writeAll(path(), old);
        recordfile::WriteResult result;
        {
            const FileSizeLimit limit(c.room);
            result = recordfile::writeRecord(path(), sampleRecord());
        }
        EXPECT_FALSE(result) << c.oldSize << " " << c.room;
        EXPECT_FALSE(result.reason.isEmpty());
        EXPECT_EQ(readAll(path()).size(), old.size());
        EXPECT_EQ(readAll(path()), old);
        EXPECT_TRUE(othersIn(m_dir.path(), "DXS4820.Log").isEmpty()); // the temporary file is gone
    }
}

TEST_F(SettingsFile, TheDefaultFileLivesInTheProgramFolderWhenItCanBeWritten) {
    const QString program = m_dir.filePath("program");
    const QString appData = m_dir.filePath("appdata");
    const QString programFile = QDir::toNativeSeparators(program + "/DXS4820.Log");
    const QString appDataFile = QDir::toNativeSeparators(appData + "/DXS4820.Log");
    writeAll(path("plain"), "x");
    // Below a regular file, a folder can be neither made nor written, whoever runs the test.
    const QString readOnlyProgram = m_dir.filePath("plain/program");
    const QString readOnlyProgramFile = QDir::toNativeSeparators(readOnlyProgram + "/DXS4820.Log");

    struct Case {
        const char* what;
        QString programFolder;
        QString appDataFolder;
        bool fileInProgram;
        bool fileInAppData;
        QString writePath;
        QString readPath;
    };
    const std::vector<Case> cases = {
        {"first start", program, appData, false, false, programFile, ""},
        {"stored setting", program, appData, true, false, programFile, programFile},
        {"program folder wins while writable", program, appData, true, true, programFile, programFile},
        {"no application-data folder known", readOnlyProgram, "", false, false, readOnlyProgramFile, ""},
        {"installed copy, first start", readOnlyProgram, appData, false, false, appDataFile, ""},
        {"installed copy, stored setting", readOnlyProgram, appData, false, true, appDataFile, appDataFile},
    };
    for (const Case& c : cases) {
        QDir(program).removeRecursively();
        QDir(appData).removeRecursively();
        QDir().mkpath(program);
        QDir().mkpath(appData);
        if (c.fileInProgram) writeAll(programFile, "p");
        if (c.fileInAppData) writeAll(appDataFile, "a");
        const recordfile::DefaultLocation location =
            recordfile::defaultLocation(c.programFolder, c.appDataFolder);
        EXPECT_EQ(location.writePath, c.writePath) << c.what;
        EXPECT_EQ(location.readPath, c.readPath) << c.what;
    }
}

TEST_F(SettingsFile, TheLoaderSurvivesRandomAndTruncatedFilesAndNeverChangesThem) {
    std::mt19937 random(4820);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 3 * SettingsRecord::SlotSize);
    const QByteArray valid = sampleRecord().slot() + pattern(40);
    for (int round = 0; round < 400; ++round) {
        QByteArray content;
        if (round % 2 == 0) {
            content = valid.left(round / 2 % (valid.size() + 1)); // every truncation of a valid file
        } else {
            content.resize(length(random));
            for (char& b : content)
                b = char(byte(random));
        }
        writeAll(path(), content);
        const QDateTime modified = QFileInfo(path()).lastModified();

        SettingsRecord record = sampleRecord();
        ASSERT_EQ(recordfile::readRecord(path(), record), recordfile::ReadStatus::Read) << round;
        const int kept = std::min<int>(content.size(), SettingsRecord::DataSize);
        EXPECT_EQ(record.bytes(), content.left(kept) + QByteArray(SettingsRecord::DataSize - kept, '\0'))
            << round;
        // Every field decodes, whatever its bytes.
        for (int number = 1; number <= SettingsRecord::FieldCount; ++number) {
            const RecordField field = RecordField(number);
            if (SettingsRecord::layout(field).isText)
                EXPECT_EQ(record.text(field).size(), SettingsRecord::layout(field).width);
            else
                (void)record.integer(field);
        }
        EXPECT_EQ(readAll(path()), content) << round;
        EXPECT_EQ(QFileInfo(path()).lastModified(), modified) << round;
    }
}
