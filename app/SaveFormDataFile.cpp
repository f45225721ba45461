#include "SaveFormDataFile.h"

#include <cerrno>
#include <sys/stat.h>

#include "RegularFile.h"

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
    return ReadRegularFile(path, kMaxProjectFileBytes, "File too large for a project");
}
