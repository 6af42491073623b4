#pragma once

#include <QString>

namespace sys {

// A marker that at most one process of the current user holds under a given
// name: an exclusive flock() on a lock file. The kernel drops the lock when
// the holding process ends in any way (exit, crash, SIGKILL), so a dead copy
// never leaves the name taken. The lock file itself stays in place; only the
// lock on it matters. Child processes do not inherit the lock.
//
//   sys::SingleInstance instance(QStringLiteral("lumivexa"));
//   if (!instance.tryAcquire()) { ...another copy runs...; return 0; }
//   // keep `instance` alive for the whole run
class SingleInstance {
public:
    // The lock file is "<directory>/<name>.<uid>.lock".
    explicit SingleInstance(const QString& name, const QString& directory = defaultDirectory());
    ~SingleInstance(); // releases the lock
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this object holds the lock afterwards (also when it already
    // did). False when another holder has it, or when the lock file could not
    // be opened; errorString() tells the two apart.
    bool tryAcquire();
    bool isHeld() const { return fd_ >= 0; }
    void release();

    QString lockFilePath() const { return path_; }
    // Empty unless the last tryAcquire() failed for a reason other than
    // another holder.
    QString errorString() const { return error_; }

    // $XDG_RUNTIME_DIR when it is set and exists, otherwise the temp folder.
    static QString defaultDirectory();

private:
    QString path_;
    QString error_;
    int fd_ = -1;
};

} // namespace sys
