// Any bytes as a legacy layout: every conversion error stays inside its
// control, so reading never throws; factors stay usable; and a page read
// this way saves and reads back unchanged when its units are consistent.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "SaveFormData.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace fuzzsupport;
    QuietMessages();
    CalcPage page(false);
    ApplyLegacyLayout(page, std::string_view(reinterpret_cast<const char*>(data), size));
    CheckFactors(page);
    if (!UnitsConsistent(page)) return 0;
    CalcPage back(false);
    ApplyLegacyLayout(back, LegacyLayoutText(page));
    // The layout holds neither the typed flooding fraction nor the check box,
    // and neither was touched by the reading; the rest must come back.
    ExpectSameState(page, back, "a page saved in the legacy layout reads back differently");
    return 0;
}
