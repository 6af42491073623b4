#include "platform/sys/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace sys {

SingleInstance::SingleInstance(const QString& name, const QString& directory)
    : path_(QDir(directory).filePath(QStringLiteral("%1.%2.lock").arg(name, QString::number(::getuid()))))
{
}

SingleInstance::~SingleInstance()
{
    release();
}

QString SingleInstance::defaultDirectory()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}

bool SingleInstance::tryAcquire()
{
    if (isHeld())
        return true;
    error_.clear();

    // O_CLOEXEC: a program we start (a browser, say) must not keep our lock
    // alive after we end.
    const QByteArray encoded = QFile::encodeName(path_);
    const int fd = ::open(encoded.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        error_ = QStringLiteral("%1: %2").arg(path_, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // flock() rather than fcntl() locks: flock locks belong to the open file,
    // so two objects in one process also exclude each other.
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int err = errno;
        ::close(fd);
        if (err != EWOULDBLOCK)
            error_ = QStringLiteral("%1: %2").arg(path_, QString::fromLocal8Bit(std::strerror(err)));
        return false;
    }
    fd_ = fd;
    return true;
}

void SingleInstance::release()
{
    if (fd_ < 0)
        return;
    ::close(fd_); // closing the only descriptor drops the lock
    fd_ = -1;
}

} // namespace sys
