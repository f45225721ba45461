// Any text as velk-calc's --beds option: a usage complaint, or beds whose
// stage numbers were whole numbers in range, each with a method 0 to 2.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "VelkCalcProfile.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace fuzzsupport;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<ProfileBed> beds;
    const std::string why = ParseBedsOption(text, beds);
    if (!why.empty()) return 0;
    if (beds.empty()) Fail("no complaint and no bed");
    for (const ProfileBed& b : beds) {
        if (b.first < 0 || b.last < 0 || b.first > 1000000 || b.last > 1000000)
            Fail("bed stages out of range: " + std::to_string(b.first) + "-" + std::to_string(b.last));
        if (b.method < 0 || b.method > 2) Fail("method " + std::to_string(b.method));
    }
    return 0;
}
