#pragma once
// Reading input files that anybody may have handed the program: only regular
// files, never a pipe or a device that would block or never end, and never
// more than a bound. The project reader set this pattern; every reader of the
// program goes through it.

#include <cstddef>
#include <string>

// Opens path for reading (close-on-exec, without blocking on a named pipe) and
// returns the descriptor, which the caller closes. Throws EInOutError with the
// platform's text ("Cannot open file "<path>". <reason>") when it cannot be
// opened or is not a regular file (a directory, a pipe, a device).
int OpenRegularFile(const std::string& path);

// The whole content of a regular file of at most maxBytes; throws EInOutError
// as OpenRegularFile does, and with tooLargeText as the reason for a larger
// file (also one that grows past the bound while it is read).
std::string ReadRegularFile(const std::string& path, std::size_t maxBytes,
                            const std::string& tooLargeText = "File too large");
