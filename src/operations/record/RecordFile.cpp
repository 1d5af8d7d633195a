#include "operations/record/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace recordfile {

namespace {

WriteResult failed(const QString& reason) {
    return {false, reason};
}

// A write that stopped short without an error of its own is a full disk (or a file size limit).
QString shortWriteReason(const QFileDevice& out) {
    return out.error() != QFileDevice::NoError ? out.errorString() : QStringLiteral("The disk is full.");
}

// Copies everything after the record slot of the old file into the new one.
bool copyTail(QFile& old, QSaveFile& out, QString& reason) {
    if (old.size() <= SettingsRecord::SlotSize) return true;
    if (!old.seek(SettingsRecord::SlotSize)) {
        reason = old.errorString();
        return false;
    }
    constexpr qint64 ChunkSize = 64 * 1024;
    while (!old.atEnd()) {
        const QByteArray chunk = old.read(ChunkSize);
        if (chunk.isEmpty() && old.error() != QFileDevice::NoError) {
            reason = old.errorString();
            return false;
        }
        if (chunk.isEmpty()) break;
        if (out.write(chunk) != chunk.size()) {
            reason = shortWriteReason(out);
            return false;
        }
    }
    return true;
}

QString inFolder(const QString& folder, const QString& name) {
    return QDir::toNativeSeparators(QDir(folder).filePath(name));
}

bool programFolderWritable(const QString& folder, const QString& file) {
    const QFileInfo folderInfo(folder);
    if (!folderInfo.isDir() || !folderInfo.isWritable()) return false;
    const QFileInfo fileInfo(file);
    return !fileInfo.exists() || (fileInfo.isFile() && fileInfo.isWritable());
}

} // namespace

ReadStatus readRecord(const QString& path, SettingsRecord& record) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) return ReadStatus::Missing;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return ReadStatus::Unreadable;
    const QByteArray data = file.read(SettingsRecord::DataSize);
    if (file.error() != QFileDevice::NoError) return ReadStatus::Unreadable;
    record.setBytes(data);
    return ReadStatus::Read;
}

WriteResult writeRecord(const QString& path, const SettingsRecord& record) {
    if (path.isEmpty()) return failed(QStringLiteral("No file name was given."));
    if (QFileInfo(path).isDir()) return failed(QStringLiteral("It is a folder."));

    // The old file is read before the new one replaces it, so its tail survives the write.
    QFile old(path);
    const bool hasOld = QFileInfo(path).isFile();
    if (hasOld && !old.open(QIODevice::ReadOnly)) return failed(old.errorString());

    QSaveFile out(path);
    // No writing in place when a temporary file cannot be made: that is what could lose the setting.
    out.setDirectWriteFallback(false);
    // Unbuffered, so that a short write (a full disk) shows in the count each write returns: a
    // buffered flush at commit does not report it and would put a cut-off file in place.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failed(out.errorString());

    const QByteArray slot = record.slot();
    if (out.write(slot) != slot.size()) {
        const QString reason = shortWriteReason(out);
        out.cancelWriting();
        return failed(reason);
    }
    QString reason;
    if (hasOld && !copyTail(old, out, reason)) {
        out.cancelWriting();
        return failed(reason);
    }
    // What reached the temporary file must be all of it before it replaces the old one.
    const qint64 expected = std::max<qint64>(slot.size(), hasOld ? old.size() : 0);
    old.close();
    if (out.size() != expected) {
        out.cancelWriting();
        return failed(QStringLiteral("The file could not be written completely (is the disk full?)."));
    }
    if (!out.commit()) return failed(out.errorString());
    return {true, {}};
}

DefaultLocation defaultLocation(const QString& programFolder, const QString& appDataFolder, bool installed) {
    const QString programFile = inFolder(programFolder, DefaultFileName);
    DefaultLocation location;
    if (appDataFolder.isEmpty() || (!installed && programFolderWritable(programFolder, programFile))) {
        location.writePath = programFile;
        if (QFileInfo(programFile).isFile()) location.readPath = programFile;
        return location;
    }
    location.writePath = inFolder(appDataFolder, DefaultFileName);
    if (QFileInfo(location.writePath).isFile())
        location.readPath = location.writePath;
    else if (QFileInfo(programFile).isFile())
        location.readPath = programFile;
    return location;
}

} // namespace recordfile
