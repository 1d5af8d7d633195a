#include "record/DefaultFileLock.h"

#include <QLockFile>

DefaultFileLock::DefaultFileLock(const QString& settingFile)
    : m_lock(std::make_unique<QLockFile>(settingFile + ".lock")) {
    // A lock is stale only when the process that made it is gone, however long it has been held.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        m_state = State::Held;
        return;
    }
    if (m_lock->error() != QLockFile::LockFailedError) return; // Unavailable
    m_state = State::HeldByOther;
    QString host, application;
    m_lock->getLockInfo(&m_owner, &host, &application);
}

DefaultFileLock::~DefaultFileLock() = default;

void DefaultFileLock::release() {
    if (m_state == State::Held) m_lock->unlock();
}
