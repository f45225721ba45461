#include "BedsOption.h"

#include <cmath>

#include "NumberText.h"

namespace {

bool WholeNumber(const std::string& s, int& out)
{
    double v;
    // The range first: casting a double beyond int's range is undefined.
    if (!ParseNumber(Trim(s), v) || !(v >= 0 && v <= 1e6) || v != std::floor(v)) return false;
    out = static_cast<int>(v);
    return true;
}

} // namespace

std::string ParseBedsOption(const std::string& text, std::vector<ProfileBed>& beds)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        const std::string part = text.substr(start, end - start);
        start = end + 1;
        const auto first = part.find(':'), last = part.rfind(':'), dash = part.find('-');
        ProfileBed b;
        if (first == std::string::npos || first == last || dash == std::string::npos || dash > first ||
            !WholeNumber(part.substr(0, dash), b.first) ||
            !WholeNumber(part.substr(dash + 1, first - dash - 1), b.last))
            return "--beds needs FIRST-LAST:PACKING:METHOD, not '" + part + "'";
        b.packing = part.substr(first + 1, last - first - 1);
        const std::string method = Trim(part.substr(last + 1));
        if (method != "0" && method != "1" && method != "2")
            return "--beds: the method must be 0, 1 or 2, not '" + method + "'";
        b.method = method[0] - '0';
        beds.push_back(b);
    }
    return "";
}
