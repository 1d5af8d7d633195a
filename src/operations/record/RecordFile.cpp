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

// Writes all of `bytes`. A write the system cuts short (a full disk, a file size limit) reports no
// error of its own; writing on brings the cause out.
bool writeAll(QFileDevice& out, const QByteArray& bytes) {
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = out.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) return false;
        written += n;
    }
    return true;
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
        if (!writeAll(out, chunk)) {
            reason = shortWriteReason(out);
            return false;
        }
    }
    return true;
}

QString inFolder(const QString& folder, const QString& name) {
    return QDir::toNativeSeparators(QDir(folder).filePath(name));
}

// The program folder keeps the setting when its file can be written there: a new file in a
// writable folder, or a writable file (written in place when the folder takes no new file). A file
// there that is not a regular one (a link to a device, a pipe) was put there on purpose: it stays
// the default file, which the writer refuses, rather than the setting moving elsewhere unnoticed.
bool programFolderHoldsSetting(const QString& folder, const QString& file) {
    const QFileInfo fileInfo(file);
    if (fileInfo.isDir()) return false;
    if (fileInfo.exists()) return !fileInfo.isFile() || fileInfo.isWritable();
    const QFileInfo folderInfo(folder);
    return folderInfo.isDir() && folderInfo.isWritable();
}

// Writes `head` over the start of the file itself, for a folder that takes no temporary file or
// refuses the rename; the file keeps its permissions. With `keepTail` the rest of the file stays
// where it is, otherwise the file ends after `head`. A write that stops short puts the old bytes and
// the old length back.
WriteResult writeInPlace(const QString& path, const QByteArray& head, bool keepTail) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) return failed(file.errorString());
    const qint64 oldSize = file.size();
    const qint64 kept = keepTail ? std::min<qint64>(oldSize, head.size()) : oldSize;
    const QByteArray oldBytes = file.read(kept);
    if (oldBytes.size() != kept || !file.seek(0)) return failed(file.errorString());
    if (writeAll(file, head) && (keepTail || file.resize(head.size()))) return {true, {}};
    const QString reason = shortWriteReason(file);
    file.unsetError();
    if (file.seek(0)) file.write(oldBytes);
    file.resize(oldSize);
    return failed(reason);
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

WriteResult writeFile(const QString& path, const QByteArray& head, bool keepTail) {
    if (path.isEmpty()) return failed(QStringLiteral("No file name was given."));
    // Links are followed: what counts is the file they lead to.
    const QFileInfo target(path);
    if (target.isDir()) return failed(QStringLiteral("It is a folder."));
    // A device or a pipe is never opened for writing nor replaced by a regular file.
    if (target.exists() && !target.isFile())
        return failed(QStringLiteral("It is not a regular file (a device or a pipe)."));

    // The old file is read before the new one replaces it, so its tail survives the write.
    QFile old(path);
    const bool hasOld = target.isFile();
    if (hasOld && keepTail && !old.open(QIODevice::ReadOnly)) return failed(old.errorString());

    QSaveFile out(path);
    // Qt's own fallback would truncate the file first; ours restores the old bytes on failure, and
    // writes only into a file that is there and writable.
    out.setDirectWriteFallback(false);
    // Unbuffered, so that a short write (a full disk) shows in the count each write returns: a
    // buffered flush at commit does not report it and would put a cut-off file in place.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (hasOld && target.isWritable()) return writeInPlace(path, head, keepTail);
        return failed(out.errorString());
    }

    if (!writeAll(out, head)) {
        const QString reason = shortWriteReason(out);
        out.cancelWriting();
        return failed(reason);
    }
    QString reason;
    if (hasOld && keepTail && !copyTail(old, out, reason)) {
        out.cancelWriting();
        return failed(reason);
    }
    // What reached the temporary file must be all of it before it replaces the old one.
    const qint64 expected = std::max<qint64>(head.size(), hasOld && keepTail ? old.size() : 0);
    old.close();
    if (out.size() != expected) {
        out.cancelWriting();
        return failed(QStringLiteral("The file could not be written completely (is the disk full?)."));
    }
    if (out.commit()) return {true, {}};
    // A file the folder will not let be replaced (a mount point, for one) can still be written.
    if (out.error() == QFileDevice::RenameError && hasOld) return writeInPlace(path, head, keepTail);
    return failed(out.errorString());
}

WriteResult writeRecord(const QString& path, const SettingsRecord& record) {
    return writeFile(path, record.slot(), true);
}

DefaultLocation defaultLocation(const QString& programFolder, const QString& appDataFolder, bool installed) {
    const QString programFile = inFolder(programFolder, DefaultFileName);
    DefaultLocation location;
    if (appDataFolder.isEmpty() || (!installed && programFolderHoldsSetting(programFolder, programFile))) {
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
