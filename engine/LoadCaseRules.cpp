#include "LoadCaseRules.h"

#include <cmath>

#include "LoadCaseCsv.h"
#include "NumberText.h"
#include "Utf8Text.h"

std::string CaseName(std::string_view text)
{
    // Only blanks: a control character at an end is refused, not dropped.
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

CaseFault CheckCaseName(std::string_view name)
{
    if (Trim(name).empty()) return CaseFault::NoName;
    if (name.size() > kMaxLoadCaseName) return CaseFault::NameTooLong;
    // Blanks at the ends: a name not as stored, which would compare apart from its stored self.
    if (CaseName(name) != name) return CaseFault::NameControl;
    for (char ch : name)
        if (static_cast<unsigned char>(ch) < 32 || ch == 0x7F) return CaseFault::NameControl;
    if (FirstInvalidUtf8(name)) return CaseFault::NameNotUtf8;
    return CaseFault::None;
}

CaseFault CheckCaseValue(double v)
{
    if (!std::isfinite(v)) return CaseFault::NotFinite;
    if (!(v > 0)) return CaseFault::NotPositive;
    return CaseFault::None;
}

CaseFaultAt CheckLoadCase(const LoadCase& c)
{
    if (const CaseFault f = CheckCaseName(c.name); f != CaseFault::None) return {f};
    for (int i = 0; i < 10; ++i)
        if (const std::optional<double>& x = c.values.*kProfileValues[i].member)
            if (const CaseFault f = CheckCaseValue(*x); f != CaseFault::None) return {f, i};
    for (int i = 0; i < 10; ++i) {
        const auto member = kProfileValues[i].member;
        if ((member == &ProfileStage::V || member == &ProfileStage::L) && !(c.values.*member))
            return {CaseFault::NoFlow, i};
    }
    return {};
}
