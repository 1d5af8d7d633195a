#pragma once
// Which copy of the program stores its setting at close when several run on one default setting
// file: the first one started. It holds a lock file beside the setting file for its whole run; a
// later copy finds it held and keeps its setting to itself, so that closing it never overwrites
// what the first copy stores. The lock of a copy that was killed is stale and taken over (the lock
// file names the process that made it, which no longer runs).
#include <QString>
#include <memory>

class QLockFile;

class DefaultFileLock {
public:
    enum class State {
        Held,        // this copy stores the setting at close
        HeldByOther, // another running copy does; this one does not
        Unavailable, // no lock can be made beside the file (a folder that takes no file): stores
    };
    explicit DefaultFileLock(const QString& settingFile);
    ~DefaultFileLock();

    State state() const { return m_state; }
    bool storesSetting() const { return m_state != State::HeldByOther; }
    // The process holding the lock when another copy does (0 when it cannot be told).
    qint64 ownerProcess() const { return m_owner; }
    // Lets the next copy have the file (at close, once the setting is stored).
    void release();

private:
    std::unique_ptr<QLockFile> m_lock;
    State m_state = State::Unavailable;
    qint64 m_owner = 0;
};
