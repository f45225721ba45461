#include "NamedMutex.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "PrivateRuntime.h"

NamedMutex::NamedMutex(const std::string& name)
{
    // Only in the user's private folder: a lock file in a shared folder could
    // be taken by another user first and keep the program from starting.
    QString why;
    const QString dir = PrivateRuntimeDir(&why);
    if (dir.isEmpty()) return; // no place for a lock: behave as the only instance
    path_ = QFile::encodeName(QDir(dir).filePath(QString::fromStdString(name) + QStringLiteral(".lock")))
                .toStdString();
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return;
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        alreadyExists_ = errno == EWOULDBLOCK;
        ::close(fd_);
        fd_ = -1;
    }
}

NamedMutex::~NamedMutex()
{
    if (fd_ >= 0)
        ::close(fd_);
}
