// Any bytes as the compiled help file: opening, listing, reading every
// object and parsing the contents and index never crash. The bytes reach the
// reader as a regular in-memory file (memfd), as a file on disk would.
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "ChmFile.h"
#include "ChmSitemap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int fd = ::memfd_create("fuzz.chm", MFD_CLOEXEC);
    if (fd < 0 || ::write(fd, data, size) != static_cast<ssize_t>(size)) __builtin_trap();
    TChmFile chm;
    if (chm.Open(QString::fromStdString("/proc/self/fd/" + std::to_string(fd)))) {
        int read = 0;
        for (const QString& object : chm.Objects()) {
            if (++read > 64) break;
            (void)chm.Read(object);
        }
        for (const QString& map : {chm.ContentsFile(), chm.IndexFile()})
            if (const auto bytes = chm.Read(map)) (void)TChmSitemap::Parse(chm.DecodeHtml(*bytes));
        for (auto it = chm.ContextMap().cbegin(); it != chm.ContextMap().cend(); ++it)
            (void)chm.TextPopup(it.key());
    }
    chm.Close();
    ::close(fd);
    return 0;
}
