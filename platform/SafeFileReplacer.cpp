#include "SafeFileReplacer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "Messages.h"

namespace
{

std::string CreateErrorText(const std::string& path, const std::string& why)
{
    return "Cannot create file \"" + path + "\". " + why;
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
// must not redirect a save.
bool MayFollow(const struct stat& link, const std::string& folder)
{
    struct stat dir;
    if (::stat(folder.c_str(), &dir) != 0) return false;
    const bool shared = (dir.st_mode & S_ISVTX) && (dir.st_mode & S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == dir.st_uid;
}

// The file a save really replaces: the end of a chain of symbolic links.
std::string ResolveTarget(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st;
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        const std::string folder = FolderOf(current);
        if (!MayFollow(st, folder))
            throw EInOutError(CreateErrorText(path, "The link belongs to another user in a shared folder"));
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<std::size_t>(n) >= link.size())
            throw EInOutError(CreateErrorText(path, std::strerror(n < 0 ? errno : ENAMETOOLONG)));
        link.resize(static_cast<std::size_t>(n));
        const std::string next = link.front() == '/' ? link : folder + "/" + link;
        struct stat end;
        // A dangling link: the file takes the link's place.
        if (::lstat(next.c_str(), &end) != 0 && errno == ENOENT) return current;
        current = next;
    }
    throw EInOutError(CreateErrorText(path, std::strerror(ELOOP)));
}

std::string RandomName()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[8];
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes))
        for (unsigned char& b : bytes)
            b = static_cast<unsigned char>(std::rand());
    std::string name = ".~";
    for (unsigned char b : bytes)
        name += kLetters[b % (sizeof kLetters - 1)];
    return name;
}

} // namespace

SafeFileReplacer::SafeFileReplacer(const std::string& target) : path_(target)
{
    if (path_.empty()) throw EInOutError(CreateErrorText(path_, std::strerror(ENOENT)));
    target_ = ResolveTarget(path_);

    struct stat old;
    const bool exists = ::lstat(target_.c_str(), &old) == 0 && !S_ISLNK(old.st_mode);
    if (exists) {
        if (S_ISDIR(old.st_mode)) throw EInOutError(CreateErrorText(path_, std::strerror(EISDIR)));
        if (!S_ISREG(old.st_mode)) throw EInOutError(CreateErrorText(path_, "Not a regular file"));
        // Renaming would get past a write-protected file; saving must not.
        if (::access(target_.c_str(), W_OK) != 0)
            throw EInOutError(CreateErrorText(path_, std::strerror(errno)));
    }

    // Beside the target, so that the rename stays within one file system.
    const std::string folder = FolderOf(target_);
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temp_ = folder + "/" + RandomName();
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        const int err = errno;
        temp_.clear();
        throw EInOutError(CreateErrorText(path_, std::strerror(err)));
    }
    if (exists) (void)::fchmod(fd_, old.st_mode & 07777);
}

SafeFileReplacer::~SafeFileReplacer()
{
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void SafeFileReplacer::Fail(int err)
{
    throw EInOutError(CreateErrorText(path_, std::strerror(err)));
}

void SafeFileReplacer::Write(std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd_, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
}

void SafeFileReplacer::Commit(bool flushToDisk)
{
    // The data must be on the disk before the rename is: otherwise a power
    // failure could leave the new name on an empty file. A writer that used
    // TempPath() may have replaced the file, so the flush goes by name.
    if (flushToDisk) {
        const int fd = ::open(temp_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) Fail(errno);
        const int r = ::fsync(fd);
        const int err = errno;
        ::close(fd);
        if (r != 0 && err != EINVAL && err != EROFS) Fail(err);
    }
    const int r = ::close(fd_);
    fd_ = -1;
    if (r != 0) Fail(errno);
    if (::rename(temp_.c_str(), target_.c_str()) != 0) Fail(errno);
    committed_ = true;
    // The folder is not flushed: after a power failure the name may still
    // show the old content, which is intact, and that is all a save promises.
}

void SafeReplaceFile(const std::string& path, std::string_view data, bool flushToDisk)
{
    SafeFileReplacer file(path);
    file.Write(data);
    file.Commit(flushToDisk);
}

bool SafeReplaceFile(const QString& path, const QByteArray& data, QString* error)
{
    try {
        SafeReplaceFile(QFile::encodeName(path).toStdString(),
                        std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
        return true;
    } catch (const std::exception& e) {
        if (error) *error = QString::fromUtf8(e.what());
        return false;
    }
}
