#pragma once
// The file side of the project files: reading a whole project file with a
// size limit, and replacing a file without ever leaving a damaged one.

#include <cstddef>
#include <string>
#include <string_view>

// No project comes near this; a larger file is refused rather than read.
inline constexpr std::size_t kMaxProjectFileBytes = 64u << 20;

// True when path names an existing file that is not a directory (as the
// platform's FileExists: a directory is not a file).
bool ProjectFileExists(const std::string& path);

// The whole content of a regular file. Throws EInOutError with the
// platform's text ("Cannot open file ...") when it cannot be opened or read,
// is not a regular file (a directory, a pipe, a device) or exceeds
// kMaxProjectFileBytes.
std::string ReadProjectFileBytes(const std::string& path);

// Writes data to a new file in the folder of path, flushes it to disk and
// renames it over path, so that path holds either the old or the new content
// and never a mixture, even after a power failure. A symbolic link is
// followed, the permissions of an existing file are kept, and a file that may
// not be written is not replaced. Throws EInOutError ("Cannot create file
// ...") on failure, after removing the temporary file.
//
// flushToDisk false skips the flush: the old-or-new guarantee then holds for
// failures of the program and of the write, and after a power failure only
// on file systems that order a rename after the data it replaces (ext4 as
// mounted by default). The flush costs a few milliseconds on slow disks.
void ReplaceFileContent(const std::string& path, std::string_view data, bool flushToDisk = true);
