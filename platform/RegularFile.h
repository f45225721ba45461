#pragma once
// Reading input files that anybody may have handed the program: only regular
// files, never a pipe or a device that would block or never end, and never
// more than a bound. The project reader set this pattern; every reader of the
// program goes through it.

#include <cstddef>
#include <string>

// The file a path names at the end of its symbolic links. A link, also one
// naming a folder on the way, is followed only where the kernel's rule for
// protected links allows it: in a sticky folder that everybody may write,
// only the user's or the folder owner's link. A dangling link is returned
// itself. Throws EInOutError with head followed by the reason.
std::string ResolveLinks(const std::string& path, const std::string& head);

// Opens path for reading (close-on-exec) and returns the descriptor, which
// the caller closes: the links resolved as above, then opened following no
// link and without blocking on a named pipe, the open file checked to be a
// regular file, then switched back to blocking reads. Throws EInOutError with the
// platform's text ("Cannot open file "<path>". <reason>") when it cannot be
// opened or is not a regular file (a directory, a pipe, a device).
int OpenRegularFile(const std::string& path);

// The whole content of a regular file of at most maxBytes; throws EInOutError
// as OpenRegularFile does, and with tooLargeText as the reason for a larger
// file (also one that grows past the bound while it is read).
std::string ReadRegularFile(const std::string& path, std::size_t maxBytes,
                            const std::string& tooLargeText = "File too large");
