// Any bytes as a project file's column profile: the records are read or
// refused with a conversion error; a profile that was read is valid, and its
// records, saved and read back, give the same stages and beds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ProfileRecords.h"
#include "SaveFormData.h"
#include "fuzz_support.h"

namespace
{

bool Same(const ColumnProfile& a, const ColumnProfile& b)
{
    if (a.source != b.source || a.rating != b.rating || a.stages.size() != b.stages.size() ||
        a.beds.size() != b.beds.size())
        return false;
    for (std::size_t i = 0; i < a.stages.size(); ++i) {
        if (a.stages[i].number != b.stages[i].number) return false;
        for (const ProfileValue& v : kProfileValues)
            if (a.stages[i].*v.member != b.stages[i].*v.member) return false;
    }
    for (std::size_t i = 0; i < a.beds.size(); ++i) {
        const ProfileBed &x = a.beds[i], &y = b.beds[i];
        if (x.first != y.first || x.last != y.last || x.packing != y.packing || x.method != y.method ||
            x.lagrange != y.lagrange || x.diameter != y.diameter)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace fuzzsupport;
    QuietMessages();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ColumnProfile p;
    try {
        p = ProfileFromFormRecords(ProjectPlainText(bytes));
    } catch (const EConvertError&) {
        return 0;
    } catch (const EProjectDamaged&) {
        return 0; // cut short, or a conversion that cannot be undone
    }
    ValidateProfile(p); // what the reader returns is always valid
    if (p.Empty()) return 0;
    const std::string saved = std::string(kFormRecordBanner) + "\r\n\r\n\r\n" + ProfileRecordsText(p);
    if (!Same(p, ProfileFromFormRecords(saved))) Fail("a saved profile reads back differently");
    return 0;
}
