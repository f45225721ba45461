#include "SaveFormDataFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
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
std::string CreateErrorText(const std::string& path, const std::string& why)
{
    return "Cannot create file \"" + path + "\". " + why;
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports the result (a write error may surface here).
    int close()
    {
        const int r = ::close(fd_);
        fd_ = -1;
        return r;
    }

private:
    int fd_;
};

// The file a save really replaces: the end of a chain of symbolic links, so
// that a link to a project keeps pointing at it.
std::string ResolveTarget(const std::string& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return path; // a dangling link: it will be replaced by the file
    std::string r(resolved);
    std::free(resolved);
    return r;
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

bool ProjectFileExists(const std::string& path)
{
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        // Present but out of reach (no search permission) still counts as
        // existing, so that opening it reports why.
        return !path.empty() && errno != ENOENT && errno != ENOTDIR && errno != ENAMETOOLONG &&
               errno != ELOOP;
    return !S_ISDIR(st.st_mode);
}

std::string ReadProjectFileBytes(const std::string& path)
{
    // Non-blocking, so that a named pipe cannot stall the open.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) throw EInOutError(OpenErrorText(path, std::strerror(errno)));
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) throw EInOutError(OpenErrorText(path, std::strerror(errno)));
    if (S_ISDIR(st.st_mode)) throw EInOutError(OpenErrorText(path, std::strerror(EISDIR)));
    if (!S_ISREG(st.st_mode)) throw EInOutError(OpenErrorText(path, "Not a regular file"));
    if (static_cast<unsigned long long>(st.st_size) > kMaxProjectFileBytes)
        throw EInOutError(OpenErrorText(path, "File too large for a project"));

    std::string data;
    data.resize(static_cast<std::size_t>(st.st_size));
    std::size_t have = 0;
    for (;;) {
        // The file may grow while it is read; it may never pass the limit.
        if (have == data.size()) {
            if (data.size() >= kMaxProjectFileBytes + 1)
                throw EInOutError(OpenErrorText(path, "File too large for a project"));
            data.resize(std::min(data.size() + 4096, kMaxProjectFileBytes + 1));
        }
        const ssize_t n = ::read(fd.get(), data.data() + have, data.size() - have);
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

void ReplaceFileContent(const std::string& path, std::string_view data, bool flushToDisk)
{
    if (path.empty()) throw EInOutError(CreateErrorText(path, std::strerror(ENOENT)));
    const std::string target = ResolveTarget(path);

    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (S_ISDIR(old.st_mode)) throw EInOutError(CreateErrorText(path, std::strerror(EISDIR)));
        if (!S_ISREG(old.st_mode)) throw EInOutError(CreateErrorText(path, "Not a regular file"));
        // Renaming would get past a write-protected file; saving must not.
        if (::access(target.c_str(), W_OK) != 0)
            throw EInOutError(CreateErrorText(path, std::strerror(errno)));
    }

    // A fresh name beside the target: the rename stays within one file system.
    static std::atomic<unsigned> counter{0};
    std::string temp;
    int rawFd = -1;
    for (int attempt = 0; attempt < 100 && rawFd < 0; ++attempt) {
        temp = target + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
        rawFd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (rawFd < 0 && errno != EEXIST) break;
    }
    if (rawFd < 0) throw EInOutError(CreateErrorText(path, std::strerror(errno)));
    FileDescriptor fd(rawFd);

    auto fail = [&](int err) {
        ::unlink(temp.c_str());
        throw EInOutError(CreateErrorText(path, std::strerror(err)));
    };
    if (exists) (void)::fchmod(fd.get(), old.st_mode & 07777);
    if (!WriteAll(fd.get(), data)) fail(errno);
    // The data must be on the disk before the rename is: otherwise a power
    // failure could leave the new name on an empty file.
    if (flushToDisk && ::fsync(fd.get()) != 0 && errno != EINVAL && errno != EROFS) fail(errno);
    if (fd.close() != 0) fail(errno);
    if (::rename(temp.c_str(), target.c_str()) != 0) fail(errno);
    // The folder is not flushed: after a power failure the name may still
    // show the old content, which is intact, and that is all a save promises.
}
