#pragma once
// The settings record in a file: record number 1 of a random-access file with 214-byte records.
//
// Reading takes the first 121 bytes; a shorter file reads its missing bytes as zero, and the file
// read is never changed. Writing replaces the first 214 bytes (the 121 data bytes, then zero
// bytes) and keeps whatever a longer file holds after them. It goes through an unnamed temporary
// file in the same folder and an atomic rename, so a failed or interrupted write leaves the old
// file as it was: the stored setting is never half written, and a killed save leaves no file
// behind. The slot is rewritten in place instead (the old bytes put back if that fails) where a
// new file would lose something or cannot be made: a file with other hard links, of another owner
// or group, or with special mode bits; a folder that takes no new file; a disk with no room for the
// copy. A file far larger than a setting file (over 1 MiB) is refused rather than copied. Only
// regular files are read or written (after following links): a device or a pipe is refused.
#include "record/SettingsRecord.h"

#include <QByteArray>
#include <QString>

namespace recordfile {

inline constexpr char DefaultFileName[] = "DXS4820.Log";
// The largest file whose tail a record write keeps; a setting file is 214 bytes.
inline constexpr qint64 LargestSettingFile = 1024 * 1024;

enum class ReadStatus {
    Read,       // the record now holds the file's record 1
    Missing,    // no file of that name (or not a regular file): the record is untouched
    Unreadable, // the file exists but could not be read: the record is untouched
};

// Clears the record and reads record 1 of the file into it.
ReadStatus readRecord(const QString& path, SettingsRecord& record);

struct WriteResult {
    bool ok = false;
    QString reason; // why the write failed, for the user
    explicit operator bool() const { return ok; }
};

// The one writer of files: writes `head` at the start of the file, creating it if absent, through a
// temporary file and an atomic rename (in place where a new file would not do, see above), all or
// nothing; regular files only. With `keepTail` whatever a longer file holds after `head` stays
// (such a file may be at most LargestSettingFile long), otherwise the file becomes `head` alone.
WriteResult writeFile(const QString& path, const QByteArray& head, bool keepTail);

// Removes what a save into `path` killed half-way may have left in its folder (a named temporary
// file, made only where the folder takes no unnamed one). Only for a writer that knows no other
// save into `path` is under way: the holder of the default file's lock.
void removeLeftoverTemporaries(const QString& path);

// Writes the record as record 1 of the file, creating it if absent.
WriteResult writeRecord(const QString& path, const SettingsRecord& record);

// Where the default setting file lives. The program's own folder is used when the program may
// write its file there (a writable file, or a new file in a writable folder; a device or pipe put
// there stays the default file and is refused by the writer). A copy whose folder is read-only, and
// any `installed` copy (a user's own prefix such as ~/.local is writable, but its bin folder is no
// place for settings), keeps its setting in the user's application-data folder.
struct DefaultLocation {
    QString writePath; // SaveOperation stores here
    QString readPath;  // LoadOperation reads this one (empty: no stored setting yet)
};
// `appDataFolder` may be empty (no application-data folder known): the program folder is used.
// Start-up reads the file at writePath when there is one; otherwise, when that is the
// application-data file, a setting file left in the read-only program folder (one shipped with
// the program) serves as the first setting.
DefaultLocation defaultLocation(const QString& programFolder, const QString& appDataFolder,
                                bool installed = false);

} // namespace recordfile
