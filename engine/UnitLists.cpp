#include "UnitLists.h"

#include <map>
#include "TrNoop.h"

namespace {

const UnitList kMassFlow{"massflow", 22,
                         {{"kg/s", "1.000000000000000"},
                          {"kg/h", "0.000277777777777"},
                          {"kg/m", "0.016666666666666"},
                          {"t/h", "0.277777777777777"},
                          {"lb/h", "0.000125997880556"},
                          {"lb/s", "0.453592370000000"},
                          {"klb/h", "0.125997880555556"}}};
const UnitList kDensity{"density", 24, {{"kg/m3", "1.0000000000"}, {"g/l", "1.0000000000"}, {"t/m3", "1000.0000000"}, {"lb/ft3", "16.018463374"}}};
const UnitList kViscosity{"viscosity", 25, {{"Pa.s", "1.0000000000"}, {"cp", "0.00100000000"}, {"lb/ft.h", "0.00041337887321"}}};
const UnitList kSurface{"surface", 26,
                        {{"N/m", "1.0000000000"}, {"dyn/cm", "0.00100000000"}, {"kg/s2", "1.0000000000"}, {"lbf/ft", "14.593902937"}}};
const UnitList kDiffusion{"diffusion", 27,
                          {{"m2/s", "1.0000000000"}, {"m2/h", "0.0002777777"}, {"cm2/s", "0.00010000000"}, {"ft2/h", "0.0000258064"}}};
const UnitList kVelocity{"velocity", 22,
                         {{"m/s", "1.0000000000"},
                          {"m3/m2.s", "1.0000000000"},
                          {"m/h", "0.0002777777"},
                          {"m3/m2.h", "0.0002777777"},
                          {"km/h", "0.2777777777"},
                          {"ft/s", "0.3048000000"},
                          {"ft/min", "0.0050800000"},
                          {"gpm/ft2", "0.00067909722222"}}};
const UnitList kLength{"length", 22, {{"m", "1.0000000000"}, {"cm", "0.0100000000"}, {"mm", "0.001"}, {"ft", "0.3048000000"}, {"in", "0.0254000000"}}};
const UnitList kPressure{"pressure", 23,
                         {{"Pa", "1.0000000000"},
                          {"mmH2O", "10.000000000"},
                          {"kPa", "1000.0000000"},
                          {"kg/cm2", "100000.00000"},
                          {"MPa", "1000000.0000"},
                          {"mbar/m", "100.00000000"},
                          {"inH2O/ft", "817.22083333"},
                          {"psi/ft", "22620.594794"}}};
const UnitList kHoldup{"holdup", 26, {{"m3/m3", "1.0000000000"}}};
const UnitList kDimResult{"dimresult", 19, {{QT_TRANSLATE_NOOP("Velk", "无量纲"), "1.00000000"}}};
const UnitList kDimInput{"diminput", 26, {{QT_TRANSLATE_NOOP("Velk", "无量纲"), "1.0000000000"}}};

const std::map<std::string, const UnitList*>& FieldMap()
{
    static const std::map<std::string, const UnitList*> m = {
        {"LD", &kMassFlow},     {"VD", &kMassFlow},       {"DlD", &kDensity},     {"DvD", &kDensity},
        {"MlD", &kViscosity},   {"MvD", &kViscosity},     {"SLD", &kSurface},     {"DlfD", &kDiffusion},
        {"DvfD", &kDiffusion},  {"UfD", &kVelocity},      {"UpD", &kVelocity},    {"UlsD", &kVelocity},
        {"UvsD", &kVelocity},   {"dpD", &kLength},        {"dD", &kLength},       {"HTUVD", &kLength},
        {"HTULD", &kLength},    {"HTUOVD", &kLength},     {"HETPD", &kLength},    {"dPdryD", &kPressure},
        {"dPwaterD", &kPressure}, {"HTD", &kHoldup},      {"FpD", &kDimResult},   {"CgmaxD", &kDimResult},
        {"LmdD", &kDimInput},   {"meD", &kDimInput},      {"alfD", &kDimInput},
    };
    return m;
}

int Utf8Length(const std::string& s)
{
    int n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

} // namespace

const UnitList* UnitListForField(const std::string& fieldName)
{
    auto it = FieldMap().find(fieldName);
    return it == FieldMap().end() ? nullptr : it->second;
}

std::string PadUnitName(const std::string& name, int width)
{
    std::string s = name;
    for (int n = Utf8Length(name); n < width; ++n)
        s += ' ';
    return s;
}

std::vector<std::string> UnitItemsForField(const std::string& fieldName)
{
    const UnitList* list = UnitListForField(fieldName);
    std::vector<std::string> items;
    if (!list)
        return items;
    for (std::size_t i = 0; i < list->items.size(); ++i) {
        int width = list->width;
        // The vapour viscosity's second item was padded one wider.
        if (fieldName == "MvD" && i == 1)
            width = 26;
        items.push_back(PadUnitName(list->items[i].name, width) + "|" + list->items[i].factor);
    }
    return items;
}
