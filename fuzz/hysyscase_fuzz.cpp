// Any bytes as a HYSYS case file: parsing either gives a case or throws one
// of the program's errors, never anything else.
#include <cstddef>
#include <cstdint>
#include <string>

#include "HysysServerCase.h"
#include "Messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const HysysCaseData c =
            ParseHysysCase(std::string(reinterpret_cast<const char*>(data), size), "fuzz.hsc");
        for (const HysysOperationData& op : c.operations)
            (void)op.IsColumn();
    } catch (const EVelkError&) {
    }
    return 0;
}
