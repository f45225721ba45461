#pragma once
// The file side of the project files: reading a whole project file with a
// size limit. Writing goes through SafeReplaceFile (platform/SafeFileReplacer.h).

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
