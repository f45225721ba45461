#include "VelkCalcChecks.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

#include "CalcPage.h"
#include "NumberText.h"

namespace
{

bool EndsWith(const std::string& path, const std::string& ending)
{
    if (path.size() < ending.size()) return false;
    return std::equal(ending.begin(), ending.end(), path.end() - static_cast<std::ptrdiff_t>(ending.size()),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// The smallest column the correlations are taken to: 1 mm, in m.
constexpr double kMinDiameter = 0.001;

} // namespace

std::string OutputNameComplaint(const std::string& option, const std::string& path)
{
    static const struct {
        const char* option;
        std::vector<std::string> endings;
        const char* what;
    } kFormats[] = {
        {"--report", {".xlsx"}, "a workbook: its name must end in .xlsx"},
        {"--pdf", {".pdf"}, "a PDF file: its name must end in .pdf"},
        {"--diagram", {".png", ".svg"}, "a PNG or SVG image: its name must end in .png or .svg"},
    };
    for (const auto& f : kFormats) {
        if (option != f.option || path.empty()) continue;
        for (const std::string& e : f.endings)
            if (EndsWith(path, e)) return "";
        return option + " writes " + f.what + ", not '" + path + "'";
    }
    return "";
}

std::string DiameterComplaint(const CalcPage& page, const std::string& option, const std::string& text)
{
    double d = 0;
    if (!ParseNumber(text, d)) return "";
    // The unit factors of a length are at most 1, so the product stays finite.
    const double si = d * page.Field("dD")->Exchange();
    // A relative margin, so that exactly 1 mm in any unit passes.
    if (si >= kMinDiameter * (1 - 1e-12)) return "";
    return option + " needs a diameter of at least 1 mm, not '" + text + "' (in the current unit of dD)";
}

std::string TypedDiameterComplaint(const CalcPage& page, const std::string& rateDiameter,
                                   const std::vector<std::pair<std::string, std::string>>& values)
{
    if (!rateDiameter.empty()) return DiameterComplaint(page, "--rate-diameter", rateDiameter);
    if (!page.Check("CBRating")->Checked()) return "";
    std::string typed;
    for (const auto& [field, text] : values)
        if (field == "dD") typed = text;
    return typed.empty() ? "" : DiameterComplaint(page, "dD", typed);
}
