#include "RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Messages.h"

namespace
{

std::string OpenErrorText(const std::string& path, const std::string& why)
{
    return "Cannot open file \"" + path + "\". " + why;
}

struct FdCloser {
    int fd;
    ~FdCloser()
    {
        if (fd >= 0) ::close(fd);
    }
};

} // namespace

int OpenRegularFile(const std::string& path)
{
    // Non-blocking, so that a named pipe cannot stall the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw EInOutError(OpenErrorText(path, std::strerror(errno)));
    FdCloser guard{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0) throw EInOutError(OpenErrorText(path, std::strerror(errno)));
    if (S_ISDIR(st.st_mode)) throw EInOutError(OpenErrorText(path, std::strerror(EISDIR)));
    if (!S_ISREG(st.st_mode)) throw EInOutError(OpenErrorText(path, "Not a regular file"));
    guard.fd = -1;
    return fd;
}

std::string ReadRegularFile(const std::string& path, std::size_t maxBytes, const std::string& tooLargeText)
{
    FdCloser fd{OpenRegularFile(path)};
    struct stat st;
    if (::fstat(fd.fd, &st) != 0) throw EInOutError(OpenErrorText(path, std::strerror(errno)));
    if (static_cast<unsigned long long>(st.st_size) > maxBytes)
        throw EInOutError(OpenErrorText(path, tooLargeText));

    std::string data;
    data.resize(static_cast<std::size_t>(st.st_size));
    std::size_t have = 0;
    for (;;) {
        // The file may grow while it is read; it may never pass the limit.
        if (have == data.size()) {
            if (data.size() >= maxBytes + 1) throw EInOutError(OpenErrorText(path, tooLargeText));
            data.resize(std::min(data.size() + 4096, maxBytes + 1));
        }
        const ssize_t n = ::read(fd.fd, data.data() + have, data.size() - have);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw EInOutError(OpenErrorText(path, std::strerror(errno)));
        }
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    data.resize(have);
    return data;
}
