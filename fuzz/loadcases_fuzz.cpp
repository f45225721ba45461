// Any bytes as a load-case CSV file (velk-calc --cases): the reader gives
// cases within the documented limits (no NUL byte read, at most 200 cases,
// names non-empty, flows and properties finite and positive) or throws one
// of the program's errors; the cases write out as a text that reads back
// to the same cases.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "LoadCaseCsv.h"
#include "Messages.h"

namespace
{
bool Same(const std::optional<double>& a, const std::optional<double>& b)
{
    return a.has_value() == b.has_value() && (!a || *a == *b);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<LoadCase> cases;
    try {
        cases = ParseLoadCasesCsv(text, "fuzz.csv");
    } catch (const EVelkError&) {
        return 0;
    }
    if (std::memchr(data, 0, size) || size > kMaxLoadCaseBytes) __builtin_trap();
    if (cases.empty() || cases.size() > kMaxLoadCases) __builtin_trap();
    for (const LoadCase& c : cases) {
        if (c.name.empty() || c.name.size() > kMaxLoadCaseName) __builtin_trap();
        if (!c.values.V || !c.values.L || !(*c.values.V > 0) || !(*c.values.L > 0)) __builtin_trap();
        if (!std::isfinite(*c.values.V) || !std::isfinite(*c.values.L)) __builtin_trap();
    }
    const std::vector<LoadCase> back = ParseLoadCasesCsv(WriteLoadCasesCsv(cases), "back.csv");
    if (back.size() != cases.size()) __builtin_trap();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const ProfileStage &a = cases[i].values, &b = back[i].values;
        if (back[i].name != cases[i].name || !Same(a.V, b.V) || !Same(a.L, b.L) || !Same(a.rhoV, b.rhoV) ||
            !Same(a.muV, b.muV) || !Same(a.rhoL, b.rhoL) || !Same(a.muL, b.muL) || !Same(a.sigma, b.sigma) ||
            !Same(a.DL, b.DL) || !Same(a.DV, b.DV) || !Same(a.slope, b.slope))
            __builtin_trap();
    }
    return 0;
}
