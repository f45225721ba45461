#include "ChmDirectory.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <strings.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace
{

constexpr std::int64_t ItspSize = 0x54;
constexpr std::uint32_t MinBlock = 0x20;
constexpr std::uint32_t MaxBlock = 1u << 20; // real files use 4 or 8 KiB

std::uint64_t Le(const unsigned char* p, int bytes)
{
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | p[i];
    return v;
}

// A variable-length number: 7 bits per byte, high bit set on all but the last.
bool ReadEncInt(const unsigned char*& p, const unsigned char* end, std::uint64_t& value)
{
    value = 0;
    for (int n = 0; p < end && n < 10; ++n) {
        const unsigned char c = *p++;
        value = value << 7 | (c & 0x7f);
        if (!(c & 0x80)) return true;
    }
    return false;
}

const char* const ControlDataPath = "::DataSpace/Storage/MSCompressed/ControlData";
const char* const ResetTablePath = "::DataSpace/Storage/MSCompressed/Transform/"
                                   "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";

// A directory entry of one of the two compression records.
struct Record {
    bool resetTable = false;
    std::uint64_t section = 0, offset = 0, length = 0;
};

class DirectoryWalk
{
public:
    DirectoryWalk(int fd, std::int64_t fileSize, std::int64_t pagesAt, std::uint32_t blockLen)
        : fd_(fd), size_(fileSize), pagesAt_(pagesAt), block_(blockLen), page_(blockLen),
          state_(static_cast<std::size_t>(Count()), Unseen)
    {
    }

    // Depth-first over the page graph without recursion; a page met again
    // while it is still on the path closes a loop.
    bool Sound(std::int32_t start)
    {
        if (!Exists(start) || state_[Index(start)] == Done) return true;
        std::vector<std::pair<std::int32_t, std::vector<std::int32_t>>> path;
        if (!Enter(start, path)) return false;
        while (!path.empty()) {
            auto& next = path.back().second;
            if (next.empty()) {
                state_[Index(path.back().first)] = Done;
                path.pop_back();
                continue;
            }
            const std::int32_t child = next.back();
            next.pop_back();
            if (!Exists(child)) continue; // libchm's read fails there and it stops
            if (state_[Index(child)] == OnPath) return false;
            if (state_[Index(child)] == Unseen && !Enter(child, path)) return false;
        }
        return true;
    }

private:
    enum State : unsigned char { Unseen, OnPath, Done };

    std::int64_t Count() const { return (size_ - pagesAt_) / block_; }
    std::size_t Index(std::int32_t page) const { return static_cast<std::size_t>(page); }
    bool Exists(std::int32_t page) const { return page >= 0 && page < Count(); }

    bool Enter(std::int32_t page, std::vector<std::pair<std::int32_t, std::vector<std::int32_t>>>& path)
    {
        std::vector<std::int32_t> next;
        if (!Links(page, next)) return false;
        state_[Index(page)] = OnPath;
        path.emplace_back(page, std::move(next));
        return true;
    }

    // The pages a page leads to: a listing page to its successor, an index
    // page to the child of every entry. Anything else ends libchm's walk.
    bool Links(std::int32_t page, std::vector<std::int32_t>& next)
    {
        const std::int64_t at = pagesAt_ + std::int64_t{page} * block_;
        if (::pread(fd_, page_.data(), block_, at) != static_cast<ssize_t>(block_)) return true;
        const unsigned char* p = page_.data();
        const bool listing = std::memcmp(p, "PMGL", 4) == 0;
        if (!listing && std::memcmp(p, "PMGI", 4) != 0) return true;
        const std::uint32_t header = listing ? 0x14 : 0x08;
        const auto freeSpace = static_cast<std::uint32_t>(Le(p + 4, 4));
        if (freeSpace > block_ - header) return false;
        const unsigned char* cur = p + header;
        const unsigned char* end = p + block_ - freeSpace;
        if (listing) {
            next.push_back(static_cast<std::int32_t>(Le(p + 16, 4)));
            return ListingEntries(cur, end);
        }
        while (cur < end) {
            std::uint64_t nameLen = 0, child = 0;
            if (!ReadEncInt(cur, end, nameLen) || nameLen > std::uint64_t(end - cur)) return false;
            cur += nameLen;
            if (!ReadEncInt(cur, end, child)) return false;
            next.push_back(static_cast<std::int32_t>(child));
        }
        return true;
    }

    // Every entry must parse; those naming a compression record are kept
    // (all of them: libchm finds names without regard to case, and a file
    // may hold the name twice).
    bool ListingEntries(const unsigned char* cur, const unsigned char* end)
    {
        while (cur < end) {
            std::uint64_t nameLen = 0;
            if (!ReadEncInt(cur, end, nameLen) || nameLen > std::uint64_t(end - cur)) return false;
            const std::string name(reinterpret_cast<const char*>(cur), nameLen);
            cur += nameLen;
            Record r;
            if (!ReadEncInt(cur, end, r.section) || !ReadEncInt(cur, end, r.offset) ||
                !ReadEncInt(cur, end, r.length))
                return false;
            // The end of every object in the compressed section.
            if (r.section == 1 && r.length > 0)
                compressedEnd = r.offset > UINT64_MAX - r.length
                                    ? UINT64_MAX
                                    : std::max(compressedEnd, r.offset + r.length);
            r.resetTable = ::strcasecmp(name.c_str(), ResetTablePath) == 0;
            if (r.resetTable || ::strcasecmp(name.c_str(), ControlDataPath) == 0) records.push_back(r);
        }
        return true;
    }

public:
    std::vector<Record> records;
    std::uint64_t compressedEnd = 0;

private:
    int fd_;
    std::int64_t size_, pagesAt_;
    std::uint32_t block_;
    std::vector<unsigned char> page_;
    std::vector<State> state_;
};

// A record of the uncompressed section, whole and inside the file, or
// nothing.
std::vector<unsigned char> ReadRecord(int fd, std::int64_t fileSize, std::uint64_t dataAt, const Record& r,
                                      std::uint64_t atLeast)
{
    const auto size = static_cast<std::uint64_t>(fileSize);
    if (r.section != 0 || r.length < atLeast || dataAt > size || r.offset > size - dataAt ||
        r.length > size - dataAt - r.offset)
        return {};
    std::vector<unsigned char> bytes(r.length);
    if (::pread(fd, bytes.data(), bytes.size(), std::int64_t(dataAt + r.offset)) != std::int64_t(r.length))
        return {};
    return bytes;
}

// The LZX window of the control data, or 0 when libchm cannot use it: it
// divides by the window and by the reset block count unchecked, and goes on
// with a null decoder for a window LZX does not have (2^15 to 2^21 bytes).
// Version 2 counts in units of 0x8000, in 32 bits as libchm does.
std::uint32_t UsableWindow(const std::vector<unsigned char>& c)
{
    auto reset = static_cast<std::uint32_t>(Le(&c[12], 4)),
         window = static_cast<std::uint32_t>(Le(&c[16], 4));
    if (Le(&c[8], 4) == 2) {
        reset *= 0x8000u;
        window *= 0x8000u;
    }
    if (window < (1u << 15) || window > (1u << 21) || (window & (window - 1)) != 0) return 0;
    return reset / (window / 2) * static_cast<std::uint32_t>(Le(&c[20], 4)) == 0 ? 0 : window;
}

// The reset table as libchm uses it unchecked: it reads each compressed
// block into a buffer of the block length + 6144 bytes, takes a block's
// length from the next entry (the last one's from the compressed length),
// and reads entries for every block an object reaches, wherever they fall.
// So the blocks must fit the buffer, the table lie within its record, and
// the table cover every compressed object.
bool BlocksSound(const std::vector<unsigned char>& t, std::uint32_t window, std::uint64_t compressedEnd)
{
    const std::uint64_t count = Le(&t[4], 4), tableAt = Le(&t[12], 4), compressed = Le(&t[24], 8);
    const std::uint64_t blockLen = Le(&t[32], 8); // 32 KiB in real files
    if (blockLen == 0 || blockLen > window) return false;
    if (tableAt > t.size() || count > (t.size() - tableAt) / 8) return false;
    if (compressedEnd / blockLen + (compressedEnd % blockLen != 0 ? 1 : 0) > count) return false;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t start = Le(&t[tableAt + 8 * i], 8);
        const std::uint64_t end = i + 1 < count ? Le(&t[tableAt + 8 * (i + 1)], 8) : compressed;
        if (end < start || end - start > blockLen + 6144) return false;
    }
    return true;
}

bool CompressionUsable(int fd, std::int64_t fileSize, std::uint64_t dataAt,
                       const std::vector<Record>& records, std::uint64_t compressedEnd)
{
    std::vector<std::uint32_t> windows;
    std::vector<std::vector<unsigned char>> tables;
    for (const Record& r : records) {
        auto bytes = ReadRecord(fd, fileSize, dataAt, r, r.resetTable ? 0x28 : 0x18);
        if (bytes.empty()) return false;
        if (r.resetTable) {
            tables.push_back(std::move(bytes));
        } else {
            windows.push_back(UsableWindow(bytes));
            if (windows.back() == 0) return false;
        }
    }
    if (windows.empty()) return true; // nothing compressed
    if (tables.empty()) return false;
    for (const auto& t : tables)
        for (std::uint32_t w : windows)
            if (!BlocksSound(t, w, compressedEnd)) return false;
    return true;
}

} // namespace

bool ChmFileIsSound(int fd, std::int64_t fileSize)
{
    unsigned char itsf[0x60], itsp[ItspSize];
    if (::pread(fd, itsf, sizeof itsf, 0) != sizeof itsf) return false;
    const std::uint64_t dirAt = Le(itsf + 0x48, 8);
    if (dirAt > std::uint64_t(fileSize) - ItspSize ||
        ::pread(fd, itsp, sizeof itsp, std::int64_t(dirAt)) != ItspSize || std::memcmp(itsp, "ITSP", 4) != 0)
        return false;
    const auto headerLen = static_cast<std::uint32_t>(Le(itsp + 0x08, 4));
    const auto blockLen = static_cast<std::uint32_t>(Le(itsp + 0x10, 4));
    const auto root = static_cast<std::int32_t>(Le(itsp + 0x1c, 4));
    const auto head = static_cast<std::int32_t>(Le(itsp + 0x20, 4));
    if (blockLen < MinBlock || blockLen > MaxBlock || headerLen > std::uint64_t(fileSize)) return false;
    const std::int64_t pagesAt = std::int64_t(dirAt) + headerLen;
    if (pagesAt > fileSize) return false;
    // libchm starts a search at the index root, or at the first listing page
    // when there is no index; a listing starts at the first listing page.
    DirectoryWalk walk(fd, fileSize, pagesAt, blockLen);
    if (!walk.Sound(root <= -1 ? head : root) || !walk.Sound(head)) return false;
    // The content starts where version 3 says, else right after the directory.
    const std::uint64_t dataAt = Le(itsf + 4, 4) >= 3 ? Le(itsf + 0x58, 8) : dirAt + Le(itsf + 0x50, 8);
    return CompressionUsable(fd, fileSize, dataAt, walk.records, walk.compressedEnd);
}
