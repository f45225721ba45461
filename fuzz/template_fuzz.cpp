// Any bytes as the report template (a workbook): loading gives a document or
// throws one of the program's errors. The bytes reach the reader as a regular
// in-memory file (memfd), as a file on disk would.
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "Messages.h"
#include "XlsxDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int fd = ::memfd_create("fuzz.xltx", MFD_CLOEXEC);
    if (fd < 0 || ::write(fd, data, size) != static_cast<ssize_t>(size)) __builtin_trap();
    try {
        XlsxDocument doc;
        doc.Load("/proc/self/fd/" + std::to_string(fd));
    } catch (const EVelkError&) {
    }
    ::close(fd);
    return 0;
}
