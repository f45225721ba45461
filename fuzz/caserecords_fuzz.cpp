// Any bytes as a load-case CSV file taken over by the load-cases page: what
// the reader takes, the page's check takes too (one rule), and the project
// records written for those cases read back to the very same cases.
#include <cstddef>
#include <cstdint>
#include <string>

#include "LoadCaseCsv.h"
#include "LoadCaseRecords.h"
#include "LoadCaseRules.h"
#include "Messages.h"
#include "SaveFormData.h"
#include "Utf8Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<LoadCase> cases;
    try {
        cases = ParseLoadCasesCsv(text, "fuzz.csv");
    } catch (const EVelkError&) {
        return 0;
    }
    for (const LoadCase& c : cases)
        if (CaseName(c.name) != c.name || FirstInvalidUtf8(c.name)) __builtin_trap();
    // Throws (and so aborts the run) when the page would refuse what the file gave.
    ValidateLoadCases(cases);
    const std::string plain = std::string(kFormRecordBanner) + "\r\n\r\n\r\n" + LoadCaseRecordsText(cases);
    const std::vector<LoadCase> back = LoadCasesFromFormRecords(plain);
    if (back.size() != cases.size()) __builtin_trap();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        if (back[i].name != cases[i].name) __builtin_trap();
        for (const ProfileValue& v : kProfileValues)
            if (back[i].values.*v.member != cases[i].values.*v.member) __builtin_trap();
    }
    return 0;
}
