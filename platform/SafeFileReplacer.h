#pragma once
// The one way the program and its tools replace a file on disk.
//
// A unique temporary file is created exclusively (O_EXCL, no links followed)
// in the target's folder, filled, flushed to disk and renamed over the
// target; the target is never removed first, so a kill or a power failure at
// any moment leaves either the old or the new file. The temporary is named
// after its target and this program (".NAME.velk-" and six random letters,
// NAME shortened so that any legal target name of up to 255 bytes can be
// written) and stays locked (flock) until it is renamed: a temporary of the
// same target whose lock can be taken was left by a killed save, and the next
// save removes it. Files of other users and other names are never touched.
//
// A symbolic link at the target is followed (a link to a project keeps
// pointing at it), but in a sticky world-writable folder such as /tmp only
// when the link belongs to the user or to the folder's owner: the kernel's
// rule for protected links, which a rename would otherwise get around. The
// same rule holds for every folder on the way to the target. A dangling link
// is replaced by the file. The permissions of an existing file
// are kept, and a file the user may not write is not replaced.
//
// Errors are EInOutError with the platform's text: "Cannot create file
// "<path>". <reason>".

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

class SafeFileReplacer
{
public:
    // Resolves the target and creates the temporary file; throws EInOutError.
    explicit SafeFileReplacer(const std::string& target);
    // Removes the temporary file unless Commit() succeeded.
    ~SafeFileReplacer();
    SafeFileReplacer(const SafeFileReplacer&) = delete;
    SafeFileReplacer& operator=(const SafeFileReplacer&) = delete;

    // For writers that open a path themselves (SQLite): the temporary file,
    // already created and empty.
    const std::string& TempPath() const { return temp_; }
    // The file a commit replaces (the end of an allowed chain of links).
    const std::string& Target() const { return target_; }

    void Write(std::string_view data);
    // Flushes the temporary file to disk (unless flushToDisk is false) and
    // renames it over the target.
    void Commit(bool flushToDisk = true);

private:
    [[noreturn]] void Fail(int err);

    std::string path_;
    std::string target_;
    std::string temp_;
    int fd_ = -1;
    int lock_ = -1;
    bool committed_ = false;
};

// The whole routine for data already in memory; throws EInOutError.
//
// flushToDisk false skips the flush: the old-or-new guarantee then holds for
// failures of the program, and after a power failure only on file systems
// that order a rename after the data it replaces (ext4 as mounted by default).
void SafeReplaceFile(const std::string& path, std::string_view data, bool flushToDisk = true);
// The same for Qt callers: false with the reason in *error.
bool SafeReplaceFile(const QString& path, const QByteArray& data, QString* error);
