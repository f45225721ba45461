#include "SafeFileReplacer.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "Messages.h"
#include "RegularFile.h"

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

std::string BaseName(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Temporary files are ".<target name>.velk-" and six random letters: a
// leftover says what it was for, and a stranger's file (another program's
// ".~" names) never matches. A long target name is shortened so that the
// temporary name stays within the 255 bytes a name may have.
constexpr std::string_view kTempMark = ".velk-";
constexpr std::size_t kRandomLetters = 6;

std::string TempPrefix(const std::string& targetName)
{
    const std::size_t room = 255 - 1 - kTempMark.size() - kRandomLetters;
    std::string prefix(1, '.');
    prefix.append(targetName, 0, room);
    prefix.append(kTempMark);
    return prefix;
}

std::string RandomLetters()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[kRandomLetters];
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes))
        for (unsigned char& b : bytes)
            b = static_cast<unsigned char>(std::rand());
    std::string letters;
    for (unsigned char b : bytes)
        letters += kLetters[b % (sizeof kLetters - 1)];
    return letters;
}

// A writer holds an exclusive lock on its temporary file until it is renamed
// or removed, so a temporary whose lock can be taken belongs to a save that
// was killed. Only the user's own regular files of the same target count.
void RemoveStaleTemporaries(const std::string& folder, const std::string& prefix, const std::string& mine)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const int dfd = ::dirfd(dir);
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() != prefix.size() + kRandomLetters || name.compare(0, prefix.size(), prefix) != 0 ||
            name == mine)
            continue;
        const int fd = ::openat(dfd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held, named;
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstatat(dfd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_ino == held.st_ino && named.st_dev == held.st_dev)
            ::unlinkat(dfd, name.c_str(), 0);
        ::close(fd);
    }
    ::closedir(dir);
}

} // namespace

SafeFileReplacer::SafeFileReplacer(const std::string& target) : path_(target)
{
    if (path_.empty()) throw EInOutError(CreateErrorText(path_, std::strerror(ENOENT)));
    target_ = ResolveLinks(path_, "Cannot create file \"" + path_ + "\". ");

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
    const std::string prefix = TempPrefix(BaseName(target_));
    std::string name;
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        name = prefix + RandomLetters();
        temp_ = folder + "/" + name;
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ < 0) {
            if (errno != EEXIST) break;
            continue;
        }
        // Between the create and the lock another save may have taken the
        // file for a stale one and removed it: then it is not ours any more.
        struct stat st;
        if (::flock(fd_, LOCK_EX) != 0 || ::fstat(fd_, &st) != 0 || st.st_nlink == 0) {
            ::close(fd_);
            fd_ = -1;
            errno = EEXIST;
        }
    }
    if (fd_ < 0) {
        const int err = errno;
        temp_.clear();
        throw EInOutError(CreateErrorText(path_, std::strerror(err)));
    }
    // The lock lives as long as any descriptor of the open file: this one
    // keeps it from the close that reports write errors to the rename.
    lock_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    if (exists) (void)::fchmod(fd_, old.st_mode & 07777);
    RemoveStaleTemporaries(folder, prefix, name);
}

SafeFileReplacer::~SafeFileReplacer()
{
    if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
    if (fd_ >= 0) ::close(fd_);
    if (lock_ >= 0) ::close(lock_);
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
    if (lock_ >= 0) ::close(lock_);
    lock_ = -1;
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
