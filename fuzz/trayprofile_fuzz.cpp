// Any bytes as a CSV tray profile: the parser gives valid data or throws one
// of the program's errors; valid data writes out as a profile that parses
// back to the same columns and trays.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Messages.h"
#include "ProiiServerFile.h"
#include "ProiiServerProfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SimulationData d;
    try {
        d = ParseTrayProfile(std::string(reinterpret_cast<const char*>(data), size), "fuzz.csv");
    } catch (const EVelkError&) {
        return 0;
    }
    ValidateSimulation(d); // what the parser returns is always valid
    const SimulationData back = ParseTrayProfile(WriteTrayProfile(d), "back.csv");
    if (back.columns.size() != d.columns.size()) __builtin_trap();
    for (std::size_t i = 0; i < d.columns.size(); ++i)
        if (back.columns[i].trays.size() != d.columns[i].trays.size()) __builtin_trap();
    return 0;
}
