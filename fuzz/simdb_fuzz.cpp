// Any bytes as a simulation database: reading gives valid data or throws one
// of the program's errors, and never runs long (views, triggers and other
// objects are refused before any query).
#include <cstddef>
#include <cstdint>
#include <string>

#include "Messages.h"
#include "ProiiServerFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const SimulationData d =
            ReadSimulationBytes(std::string(reinterpret_cast<const char*>(data), size), "fuzz.prz");
        ValidateSimulation(d);
    } catch (const EVelkError&) {
    }
    return 0;
}
