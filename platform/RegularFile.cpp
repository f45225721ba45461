#include "RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <deque>
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

std::string Why(const std::string& head, const std::string& why)
{
    return head + why;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The kernel's rule for protected links (fs.protected_symlinks): in a sticky
// folder that everybody may write, a link is followed only when it belongs to
// the follower or to the folder's owner. Another user's link planted in /tmp
// must not redirect a save, neither as the file's name nor as a folder on
// the way to it.
bool MayFollow(const struct stat& link, const std::string& folder)
{
    struct stat dir;
    if (::stat(folder.c_str(), &dir) != 0) return false;
    const bool shared = (dir.st_mode & S_ISVTX) && (dir.st_mode & S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == dir.st_uid;
}

std::string BaseName(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string LinkText(const std::string& link, const struct stat& st, const std::string& head)
{
    std::string text(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
    const ssize_t n = ::readlink(link.c_str(), text.data(), text.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= text.size())
        throw EInOutError(Why(head, std::strerror(n < 0 ? errno : ENAMETOOLONG)));
    text.resize(static_cast<std::size_t>(n));
    return text;
}

// The folder with every link on the way resolved, each one under the rule
// above. A part that does not exist is kept as written: the open or create
// that follows fails there with the system's reason.
std::string ResolveFolder(const std::string& folder, const std::string& head, int& hops)
{
    std::deque<std::string> rest;
    for (std::size_t start = 0; start <= folder.size();) {
        const std::size_t end = std::min(folder.find('/', start), folder.size());
        rest.push_back(folder.substr(start, end - start));
        start = end + 1;
    }
    std::string current = folder.front() == '/' ? "" : ".";
    while (!rest.empty()) {
        const std::string name = rest.front();
        rest.pop_front();
        if (name.empty() || name == ".") continue;
        const std::string here = current.empty() ? "/" : current;
        const std::string next = current + "/" + name;
        struct stat st;
        if (name == ".." || ::lstat(next.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            current = next;
            continue;
        }
        if (!MayFollow(st, here))
            throw EInOutError(Why(head, "The link belongs to another user in a shared folder"));
        if (++hops > 40) throw EInOutError(Why(head, std::strerror(ELOOP)));
        const std::string link = LinkText(next, st, head);
        std::deque<std::string> parts;
        for (std::size_t start = 0; start <= link.size();) {
            const std::size_t end = std::min(link.find('/', start), link.size());
            parts.push_back(link.substr(start, end - start));
            start = end + 1;
        }
        rest.insert(rest.begin(), parts.begin(), parts.end());
        if (link.front() == '/') current.clear();
    }
    return current.empty() ? "/" : current;
}

} // namespace

std::string ResolveLinks(const std::string& path, const std::string& head)
{
    if (path.empty()) throw EInOutError(head + std::strerror(ENOENT));
    std::string current = path;
    int hops = 0;
    for (;;) {
        const std::string folder = ResolveFolder(FolderOf(current), head, hops);
        current = (folder == "/" ? "" : folder) + "/" + BaseName(current);
        struct stat st;
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        if (!MayFollow(st, folder))
            throw EInOutError(Why(head, "The link belongs to another user in a shared folder"));
        if (++hops > 40) throw EInOutError(Why(head, std::strerror(ELOOP)));
        const std::string link = LinkText(current, st, head);
        const std::string next = link.front() == '/' ? link : folder + "/" + link;
        struct stat end;
        // A dangling link: the file takes the link's place.
        if (::lstat(next.c_str(), &end) != 0 && errno == ENOENT) return current;
        current = next;
    }
}

int OpenRegularFile(const std::string& path)
{
    // Links are followed here, under the rule for shared folders; the open
    // itself follows none, so a link swapped in since is refused. It does not
    // block either, so that a named pipe cannot stall it; what is opened is
    // then judged by the descriptor, not by the name.
    const std::string file = ResolveLinks(path, OpenErrorText(path, ""));
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        int err = errno;
        // A dangling link is a missing file, as a plain open would say.
        struct stat end;
        if (err == ELOOP && ::stat(file.c_str(), &end) != 0) err = errno;
        throw EInOutError(OpenErrorText(path, std::strerror(err)));
    }
    FdCloser guard{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0) throw EInOutError(OpenErrorText(path, std::strerror(errno)));
    if (S_ISDIR(st.st_mode)) throw EInOutError(OpenErrorText(path, std::strerror(EISDIR)));
    if (!S_ISREG(st.st_mode)) throw EInOutError(OpenErrorText(path, "Not a regular file"));
    // Reads of a regular file wait for the disk as they should.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        throw EInOutError(OpenErrorText(path, std::strerror(errno)));
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
