#include "system/SingleInstanceLock.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

SingleInstanceLock::SingleInstanceLock(const QString& name)
    : path_(QDir(QDir::tempPath()).filePath(name + QStringLiteral(".lock"))) {}

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0)
        ::close(fd_);  // releases the lock; the file stays for the next holder
}

bool SingleInstanceLock::tryAcquire() {
    if (fd_ >= 0)
        return true;
    const QByteArray path = QFile::encodeName(path_);
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0)
        ::fchmod(fd, 0666);  // every user's copy must be able to open it
    else  // made by another user: a read-only descriptor can hold the lock too
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

} // namespace sys
