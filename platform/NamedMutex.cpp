#include "NamedMutex.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

NamedMutex::NamedMutex(const std::string& name)
{
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    std::string base = dir && *dir ? dir : "";
    if (base.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        base = tmp && *tmp ? tmp : "/tmp";
    }
    path_ = base + "/" + name + "-" + std::to_string(getuid()) + ".lock";
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return; // no place for a lock: behave as the only instance
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
