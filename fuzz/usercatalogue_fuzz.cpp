// Any bytes as the user's catalogue (packings.csv, velk-calc --packings):
// either faults and no rows, or rows within the documented limits that each
// pass the row check and write out as a text that reads back to the same rows.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "UserPackings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const UserCatalogue c = ParseUserCatalogue(text);
    if (!c.errors.empty()) {
        if (!c.rows.empty() || c.errors.size() > kMaxUserCatalogueErrors) __builtin_trap();
        return 0;
    }
    if (c.rows.size() > kMaxUserPackings || size > kMaxUserCatalogueBytes) __builtin_trap();
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
        const std::vector<CatalogueRow> before(c.rows.begin(),
                                               c.rows.begin() + static_cast<std::ptrdiff_t>(i));
        if (!CheckUserPacking(c.rows[i], before).empty()) __builtin_trap();
    }
    const UserCatalogue back = ParseUserCatalogue(UserCatalogueText(c.rows));
    if (!back.errors.empty() || back.rows.size() != c.rows.size()) __builtin_trap();
    for (std::size_t i = 0; i < c.rows.size(); ++i)
        if (!std::equal(back.rows[i].begin() + 1, back.rows[i].end(), c.rows[i].begin() + 1))
            __builtin_trap();
    return 0;
}
