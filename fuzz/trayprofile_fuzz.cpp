// Any bytes as a CSV tray profile, read by velk-simdb's parser and by the
// column rating's import: the parser gives valid data within the
// documented limits (no NUL byte read, at most 10,000 trays a column and
// 100,000 in all) or throws one of the program's errors; valid data writes
// out as a profile that parses back to the same columns and trays.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "Messages.h"
#include "ProiiServerFile.h"
#include "ProfileImport.h"
#include "ProiiServerProfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    // The column rating's import reads the same text, more strictly.
    bool profiles = false;
    try {
        for (const ColumnProfile& p : ProfilesFromCsvText(text, "fuzz.csv"))
            ValidateProfile(p);
        profiles = true;
    } catch (const EVelkError&) {
    }
    SimulationData d;
    try {
        d = ParseTrayProfile(text, "fuzz.csv");
    } catch (const EVelkError&) {
        if (profiles) __builtin_trap(); // a profile the simulation reader refuses
        return 0;
    }
    ValidateSimulation(d); // what the parser returns is always valid
    if (std::memchr(data, 0, size)) __builtin_trap();
    std::size_t trays = 0;
    for (const SimColumn& c : d.columns) {
        if (c.trays.size() > static_cast<std::size_t>(kMaxTrayProfileStages)) __builtin_trap();
        trays += c.trays.size();
    }
    if (trays > kMaxTrayProfileTrays) __builtin_trap();
    const SimulationData back = ParseTrayProfile(WriteTrayProfile(d), "back.csv");
    if (back.columns.size() != d.columns.size()) __builtin_trap();
    for (std::size_t i = 0; i < d.columns.size(); ++i)
        if (back.columns[i].trays.size() != d.columns[i].trays.size()) __builtin_trap();
    return 0;
}
