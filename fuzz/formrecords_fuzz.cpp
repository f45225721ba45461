// Any bytes as a form record file: the container is inflated or taken as
// plain, the records are applied; the only error allowed is a value that
// does not convert. Whatever was read must save and read back unchanged
// (when the units are consistent), in both stored forms.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "SaveFormData.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace fuzzsupport;
    QuietMessages();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CalcPage page(false);
    bool read = false;
    try {
        read = ApplyFormRecords(page, ProjectPlainText(bytes));
    } catch (const EConvertError&) {
        read = true; // records before the bad value stay applied
    }
    CheckFactors(page);
    if (!read || !UnitsConsistent(page)) return 0;

    const std::string plain = FormRecordsText(page);
    for (const std::string& saved : {plain, CompressProjectText(plain)}) {
        CalcPage back(false);
        if (!ApplyFormRecords(back, ProjectPlainText(saved))) Fail("a saved page has no banner");
        ExpectSameState(page, back, "a saved page reads back differently");
    }
    return 0;
}
