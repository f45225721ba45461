#include "SafeFolder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Messages.h"
#include "RegularFile.h"

namespace
{

std::string FolderErrorHead(const std::string& path)
{
    return "Cannot create folder \"" + path + "\". ";
}

std::string FileErrorHead(const std::string& path)
{
    return "Cannot create file \"" + path + "\". ";
}

struct FdCloser {
    int fd;
    ~FdCloser()
    {
        if (fd >= 0) ::close(fd);
    }
};

std::vector<std::string> Components(const std::string& path)
{
    std::vector<std::string> parts;
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (end > start && path.compare(start, end - start, ".") != 0)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

constexpr std::string_view kTempMark = ".velk-files-";
constexpr std::size_t kRandomLetters = 6;

// Removes the files of a private temporary folder, then the folder; a
// subfolder (which the writer never makes) keeps it.
void RemoveTempFolder(int parent, const std::string& name)
{
    const int fd = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    if (DIR* dir = ::fdopendir(fd)) {
        while (const dirent* e = ::readdir(dir))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                ::unlinkat(::dirfd(dir), e->d_name, 0);
        ::closedir(dir);
    } else {
        ::close(fd);
    }
    ::unlinkat(parent, name.c_str(), AT_REMOVEDIR);
}

// A writer holds a lock on its temporary folder until it is gone, so one
// whose lock can be taken was left by a killed run. Only the user's own.
void RemoveStaleTempFolders(const std::string& folder, const std::string& mine)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const int dfd = ::dirfd(dir);
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() != kTempMark.size() + kRandomLetters ||
            name.compare(0, kTempMark.size(), kTempMark) != 0 || name == mine)
            continue;
        const int fd = ::openat(dfd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        if (::fstat(fd, &st) == 0 && st.st_uid == ::geteuid() && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            RemoveTempFolder(dfd, name);
        ::close(fd);
    }
    ::closedir(dir);
}

} // namespace

MadeFolder MakeFolderPath(const std::string& path)
{
    const std::string head = FolderErrorHead(path);
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    if (trimmed.empty()) throw EInOutError(head + std::strerror(ENOENT));
    // Links already on the path are followed under the shared-folder rule;
    // what is left to make is then made and entered without following any.
    MadeFolder made;
    made.path = ResolveLinks(trimmed, head);
    const bool absolute = made.path.front() == '/';
    FdCloser at{::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC)};
    if (at.fd < 0) throw EInOutError(head + std::strerror(errno));
    std::string current = absolute ? "" : ".";
    for (const std::string& name : Components(made.path)) {
        current += "/" + name;
        constexpr int kFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        int next = ::openat(at.fd, name.c_str(), kFlags);
        if (next < 0 && errno == ENOENT) {
            if (::mkdirat(at.fd, name.c_str(), 0777) == 0)
                made.created.push_back(current);
            else if (errno != EEXIST)
                throw EInOutError(head + std::strerror(errno));
            next = ::openat(at.fd, name.c_str(), kFlags);
        }
        if (next < 0) throw EInOutError(head + std::strerror(errno == ELOOP ? ENOTDIR : errno));
        ::close(at.fd);
        at.fd = next;
    }
    return made;
}

SafeFolderWriter::SafeFolderWriter(const std::string& folder)
    : given_(folder), folder_(MakeFolderPath(folder))
{
    // mkdtemp: created exclusively, mode 0700, never through a link.
    for (int attempt = 0; attempt < 100 && lock_ < 0; ++attempt) {
        std::string pattern = folder_.path + "/" + std::string(kTempMark) + std::string(kRandomLetters, 'X');
        if (!::mkdtemp(pattern.data())) break;
        temp_ = pattern;
        lock_ = ::open(temp_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        // Between the create and the lock another run may have taken the
        // folder for a stale one and removed it.
        struct stat st;
        if (lock_ >= 0 && (::flock(lock_, LOCK_EX) != 0 || ::fstat(lock_, &st) != 0 || st.st_nlink == 0)) {
            ::close(lock_);
            lock_ = -1;
        }
    }
    if (lock_ < 0) {
        const int err = errno;
        temp_.clear();
        for (auto f = folder_.created.rbegin(); f != folder_.created.rend(); ++f)
            ::rmdir(f->c_str());
        throw EInOutError(FolderErrorHead(folder) + std::strerror(err));
    }
    RemoveStaleTempFolders(folder_.path, temp_.substr(temp_.find_last_of('/') + 1));
}

SafeFolderWriter::~SafeFolderWriter()
{
    if (!temp_.empty()) {
        const int parent = ::open(folder_.path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (parent >= 0) {
            RemoveTempFolder(parent, temp_.substr(temp_.find_last_of('/') + 1));
            ::close(parent);
        }
    }
    if (lock_ >= 0) ::close(lock_);
    if (!committed_)
        for (auto f = folder_.created.rbegin(); f != folder_.created.rend(); ++f)
            ::rmdir(f->c_str());
}

namespace
{

struct Move {
    std::string shown, from, to;
    bool exchanged = false; // a file (or a dangling link) was there: it goes to old
    std::string old;
};

// Where the file goes and what is there now; nothing is moved yet, so a
// folder or a write-protected file in the way fails before anything moves.
Move PlanMove(const std::string& shown, const std::string& from, const std::string& to)
{
    Move m;
    m.shown = shown;
    m.from = from;
    m.to = ResolveLinks(to, FileErrorHead(shown));
    struct stat st;
    if (::lstat(m.to.c_str(), &st) != 0) {
        if (errno != ENOENT) throw EInOutError(FileErrorHead(shown) + std::strerror(errno));
        return m;
    }
    if (S_ISDIR(st.st_mode)) throw EInOutError(FileErrorHead(shown) + std::strerror(EISDIR));
    if (S_ISREG(st.st_mode)) {
        // Renaming would get past a write-protected file; writing must not.
        if (::access(m.to.c_str(), W_OK) != 0) throw EInOutError(FileErrorHead(shown) + std::strerror(errno));
        (void)::chmod(from.c_str(), st.st_mode & 07777);
    } else if (!S_ISLNK(st.st_mode)) {
        throw EInOutError(FileErrorHead(shown) + "Not a regular file");
    }
    m.exchanged = true;
    return m;
}

bool Unsupported(int err)
{
    return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP;
}

// Puts one file in place; the old one, if any, ends up in m.old.
void Place(Move& m, const std::string& spare)
{
    auto fail = [&](int err) { throw EInOutError(FileErrorHead(m.shown) + std::strerror(err)); };
    if (!m.exchanged) {
        if (::renameat2(AT_FDCWD, m.from.c_str(), AT_FDCWD, m.to.c_str(), RENAME_NOREPLACE) == 0) return;
        if (!Unsupported(errno)) fail(errno);
        // File systems without it: a link never replaces a name either.
        if (::link(m.from.c_str(), m.to.c_str()) != 0) fail(errno);
        ::unlink(m.from.c_str());
        return;
    }
    if (::renameat2(AT_FDCWD, m.from.c_str(), AT_FDCWD, m.to.c_str(), RENAME_EXCHANGE) == 0) {
        m.old = m.from;
        return;
    }
    if (!Unsupported(errno)) fail(errno);
    if (::rename(m.to.c_str(), spare.c_str()) != 0) fail(errno);
    m.old = spare;
    if (::rename(m.from.c_str(), m.to.c_str()) != 0) {
        const int err = errno;
        ::rename(spare.c_str(), m.to.c_str());
        fail(err);
    }
}

void Undo(const Move& m)
{
    if (m.exchanged)
        ::rename(m.old.c_str(), m.to.c_str());
    else
        ::unlink(m.to.c_str());
}

} // namespace

void SafeFolderWriter::Commit(const std::vector<std::string>& names)
{
    std::vector<Move> moves;
    for (const std::string& name : names)
        moves.push_back(PlanMove(given_ + (given_.back() == '/' ? "" : "/") + name, temp_ + "/" + name,
                                 folder_.path + "/" + name));
    std::size_t placed = 0;
    try {
        for (; placed < moves.size(); ++placed)
            Place(moves[placed], temp_ + "/.old-" + std::to_string(placed));
    } catch (...) {
        while (placed-- > 0)
            Undo(moves[placed]);
        throw;
    }
    committed_ = true;
}
