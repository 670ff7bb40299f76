#pragma once

#include <QString>

namespace sys {

// A system-wide named lock that one running copy holds for its lifetime: an
// advisory lock on a file in the temporary folder. The kernel releases it when
// its holder ends, however it ends, so a crashed copy never blocks the next start.
class SingleInstanceLock {
public:
    explicit SingleInstanceLock(const QString& name);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True when this object now holds the lock; false when another holder has it.
    bool tryAcquire();
    bool isHeld() const { return fd_ >= 0; }
    QString filePath() const { return path_; }

private:
    QString path_;
    int fd_ = -1;
};

} // namespace sys
