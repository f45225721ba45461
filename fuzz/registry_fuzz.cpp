// Any bytes as a registry file: loading never throws, and the key tree it
// builds can be walked and destroyed whatever the file says.
#include <cstddef>
#include <cstdint>
#include <string>

#include "RegistryHive.h"

namespace
{
std::size_t Walk(const RegistryKey& key, std::size_t depth)
{
    if (depth > 600) __builtin_trap(); // deeper than the reader allows
    std::size_t n = 1;
    for (const std::string& name : key.SubKeyNames())
        n += Walk(*key.SubKey(name), depth + 1);
    for (const std::string& name : key.ValueNames())
        if (!key.Value(name)) __builtin_trap();
    return n;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RegistryHive hive;
    hive.LoadText(std::string(reinterpret_cast<const char*>(data), size), "fuzz.reg");
    Walk(hive.Root(), 0);
    return 0;
}
