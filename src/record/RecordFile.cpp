#include "record/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace recordfile {

namespace {

WriteResult failed(const QString& reason) {
    return {false, reason};
}

// The system's text for an error, as Qt's own file errors word it.
QString systemError(int error) {
    return qt_error_string(error);
}

// An open file descriptor, closed when it goes.
struct Descriptor {
    explicit Descriptor(int fd = -1) : fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    int fd;
};

// What a step of a write ended with: 0, or the system's error number.
using Errno = int;

Errno writeAllAt(int fd, const char* bytes, qint64 size, qint64 offset) {
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, bytes, size_t(size), offset);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return ENOSPC;
        bytes += n, size -= n, offset += n;
    }
    return 0;
}

Errno readAllAt(int fd, QByteArray& into, qint64 size, qint64 offset) {
    into.resize(size);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, into.data() + done, size_t(size - done), offset + done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) break;
        done += n;
    }
    into.resize(done);
    return 0;
}

// Errors after which the slot may still be written in place: the copy found no room, or the folder
// takes no new file or will not let it replace the old one (a mount point, for one).
bool worthWritingInPlace(Errno error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
    case EACCES:
    case EPERM:
    case EBUSY:
    case EXDEV:
        return true;
    default:
        return false;
    }
}

// A file that a new file in its place would change: other names share it, it belongs to someone
// else, or it carries mode bits a new file does not get.
bool mustKeepTheFileItself(const struct stat& old) {
    return old.st_nlink > 1 || old.st_uid != ::geteuid() ||
           (old.st_mode & (S_ISUID | S_ISGID | S_ISVTX)) != 0;
}

// Writes `head` over the start of the file itself; the file keeps its owner, mode and links. With
// `keepTail` the rest of the file stays where it is, otherwise the file ends after `head`. A write
// that stops short puts the old bytes and the old length back.
WriteResult writeInPlace(const QByteArray& name, const QByteArray& head, bool keepTail) {
    const Descriptor file(::open(name.constData(), O_RDWR | O_CLOEXEC));
    if (file.fd < 0) return failed(systemError(errno));
    struct stat old {};
    if (::fstat(file.fd, &old) != 0) return failed(systemError(errno));
    if (!S_ISREG(old.st_mode))
        return failed(QStringLiteral("It is not a regular file (a device or a pipe)."));
    const qint64 oldSize = old.st_size;
    const qint64 kept = keepTail ? std::min<qint64>(oldSize, head.size()) : oldSize;
    QByteArray oldBytes;
    if (const Errno error = readAllAt(file.fd, oldBytes, kept, 0)) return failed(systemError(error));
    Errno error = writeAllAt(file.fd, head.constData(), head.size(), 0);
    if (!error && !keepTail && ::ftruncate(file.fd, head.size()) != 0) error = errno;
    if (!error && ::fsync(file.fd) != 0) error = errno;
    if (!error) return {true, {}};
    writeAllAt(file.fd, oldBytes.constData(), oldBytes.size(), 0);
    if (::ftruncate(file.fd, oldSize) == 0) ::fsync(file.fd);
    return failed(systemError(error));
}

QByteArray folderOf(const QByteArray& name) {
    const qsizetype slash = name.lastIndexOf('/');
    if (slash < 0) return ".";
    return slash == 0 ? QByteArray("/") : name.left(slash);
}

// The name a temporary file of `name` takes while it is named: hidden, and marked as ours so that a
// leftover is told apart from the user's own files.
QByteArray temporaryPrefix(const QByteArray& name) {
    const qsizetype slash = name.lastIndexOf('/');
    return name.left(slash + 1) + "." + name.mid(slash + 1) + ".saving-";
}
constexpr int TemporarySuffixLength = 6;

QByteArray temporaryName(const QByteArray& name) {
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(TemporarySuffixLength, 'x');
    for (char& c : suffix)
        c = Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))];
    return temporaryPrefix(name) + suffix;
}

// The temporary file a new version is written to, in the folder of the file it replaces. It has no
// name until it is complete (where the folder's file system allows), so a save killed half-way
// leaves nothing; otherwise it is named and removed again on every way out.
class Replacement {
public:
    explicit Replacement(const QByteArray& name) : m_name(name) {}
    ~Replacement() {
        if (!m_temporaryName.isEmpty()) ::unlink(m_temporaryName.constData());
    }
    Errno create(mode_t mode) {
        m_fd.fd = ::open(folderOf(m_name).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
        if (m_fd.fd >= 0) return 0;
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return errno;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray candidate = temporaryName(m_name);
            m_fd.fd = ::open(candidate.constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, mode);
            if (m_fd.fd >= 0) {
                m_temporaryName = candidate;
                return 0;
            }
            if (errno != EEXIST) return errno;
        }
        return EEXIST;
    }
    int fd() const { return m_fd.fd; }
    // Puts the finished file in place of the old one, in one step.
    Errno commit() {
        if (::fsync(m_fd.fd) != 0) return errno;
        if (m_temporaryName.isEmpty()) {
            const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd.fd);
            for (int attempt = 0; m_temporaryName.isEmpty(); ++attempt) {
                const QByteArray candidate = temporaryName(m_name);
                if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, candidate.constData(),
                             AT_SYMLINK_FOLLOW) == 0)
                    m_temporaryName = candidate;
                else if (errno != EEXIST || attempt == 100)
                    return errno;
            }
        }
        if (::rename(m_temporaryName.constData(), m_name.constData()) != 0) return errno;
        m_temporaryName.clear();
        return 0;
    }

private:
    QByteArray m_name;
    QByteArray m_temporaryName;
    Descriptor m_fd;
};

// Writes the new version into a replacement file and puts it in place: 0, or the error that stopped it.
Errno writeReplacement(const QByteArray& name, const QByteArray& head, const struct stat* old, int oldFd) {
    const mode_t mode = old ? (old->st_mode & 0777) : 0666;
    Replacement replacement(name);
    if (const Errno error = replacement.create(mode)) return error;
    if (old) {
        // The mode asked for at creation is cut by the umask; the old file's is kept whole. A folder
        // that gives new files another group than the old one's: the old group, or in place.
        struct stat made {};
        if (::fstat(replacement.fd(), &made) != 0) return errno;
        if (made.st_gid != old->st_gid && ::fchown(replacement.fd(), uid_t(-1), old->st_gid) != 0)
            return EPERM;
        if (::fchmod(replacement.fd(), mode) != 0) return errno;
    }
    if (const Errno error = writeAllAt(replacement.fd(), head.constData(), head.size(), 0)) return error;
    if (oldFd >= 0) {
        QByteArray tail;
        if (const Errno error = readAllAt(oldFd, tail, LargestSettingFile, head.size())) return error;
        if (const Errno error = writeAllAt(replacement.fd(), tail.constData(), tail.size(), head.size()))
            return error;
    }
    return replacement.commit();
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
    // Links are followed: what is written is the file they lead to, and the links stay.
    QByteArray name = QFile::encodeName(path);
    if (char* resolved = ::realpath(name.constData(), nullptr)) {
        name = resolved;
        std::free(resolved);
    }
    struct stat old {};
    const bool hasOld = ::stat(name.constData(), &old) == 0;
    if (hasOld && S_ISDIR(old.st_mode)) return failed(QStringLiteral("It is a folder."));
    // A device or a pipe is never opened for writing nor replaced by a regular file.
    if (hasOld && !S_ISREG(old.st_mode))
        return failed(QStringLiteral("It is not a regular file (a device or a pipe)."));
    if (hasOld && keepTail && old.st_size > LargestSettingFile)
        return failed(
            QStringLiteral("It is %1 bytes long, far larger than a setting file, and is left as it is.")
                .arg(qint64(old.st_size)));
    if (hasOld && mustKeepTheFileItself(old)) return writeInPlace(name, head, keepTail);

    // The old file is read before the new one replaces it, so its tail survives the write.
    Descriptor oldFile;
    if (hasOld && keepTail && old.st_size > head.size()) {
        oldFile.fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
        // A file that may be written but not read: its tail stays where it is.
        if (oldFile.fd < 0 && errno == EACCES) return writeInPlace(name, head, keepTail);
        if (oldFile.fd < 0) return failed(systemError(errno));
    }
    const Errno error = writeReplacement(name, head, hasOld ? &old : nullptr, oldFile.fd);
    if (!error) return {true, {}};
    // No room for a whole copy, or a folder that takes no new file: the slot itself is rewritten.
    if (hasOld && worthWritingInPlace(error)) return writeInPlace(name, head, keepTail);
    return failed(systemError(error));
}

void removeLeftoverTemporaries(const QString& path) {
    const QByteArray prefix = temporaryPrefix(QFile::encodeName(QFileInfo(path).absoluteFilePath()));
    const QString folder = QFileInfo(path).absolutePath();
    const QString namePrefix = QFile::decodeName(prefix.mid(prefix.lastIndexOf('/') + 1));
    const QStringList leftovers = QDir(folder).entryList({namePrefix + QString(TemporarySuffixLength, '?')},
                                                         QDir::Files | QDir::Hidden);
    for (const QString& leftover : leftovers)
        QFile::remove(QDir(folder).filePath(leftover));
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
