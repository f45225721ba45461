// Any bytes as a form record file: the container is inflated or taken as
// plain (a converted plain text brought back to the stored form), the
// records are applied; the errors allowed are a value that does not convert
// and a file found damaged, which must change nothing. Whatever was read
// must save and read back unchanged (when the units are consistent), in
// both stored forms, and so must the same text once converted to LF line
// ends and UTF-8 with a byte order mark.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "SaveFormData.h"
#include "SaveFormDataAnsi.h"
#include "fuzz_support.h"

namespace
{
// The text as an editor converts it: LF line ends, UTF-8 after a byte order
// mark. Empty when it holds a lone CR or LF, which such a conversion loses.
std::string LfUtf8(const std::string& plain)
{
    std::string lf;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const bool crlf = plain[i] == '\r' && i + 1 < plain.size() && plain[i + 1] == '\n';
        if (plain[i] == '\r' && !crlf) return {};
        if (plain[i] == '\n' && (i == 0 || plain[i - 1] != '\r')) return {};
        if (!crlf) lf += plain[i];
    }
    return "\xEF\xBB\xBF" + AnsiToUtf8(lf);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace fuzzsupport;
    QuietMessages();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CalcPage page(false);
    const auto fresh = State(page);
    bool read = false;
    try {
        read = ApplyFormRecords(page, CheckedProjectPlainText(bytes));
    } catch (const EConvertError&) {
        read = true; // records before the bad value stay applied
    } catch (const EProjectDamaged&) {
        if (State(page) != fresh) Fail("a damaged file changed the page");
        return 0;
    }
    CheckFactors(page);
    if (!read || !UnitsConsistent(page)) return 0;

    const std::string plain = FormRecordsText(page);
    for (const std::string& saved : {plain, CompressProjectText(plain), LfUtf8(plain)}) {
        if (saved.empty()) continue;
        CalcPage back(false);
        if (!ApplyFormRecords(back, CheckedProjectPlainText(saved))) Fail("a saved page has no banner");
        ExpectSameState(page, back, "a saved page reads back differently");
    }
    return 0;
}
