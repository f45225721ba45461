#include "PackingComparison.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "CaseRun.h"
#include "EfficiencyModels.h"
#include "NumberText.h"
#include "PackingCatalogue.h"
#include "TrNoop.h"

namespace
{

const char* const kFieldNames[kComparisonValues] = {"UfD", "dpD", "dD", "HTD", "dPdryD", "dPwaterD", "HTUOVD", "HETPD"};

// Catalogue rows by family; a name not listed is a family of its own.
const std::map<std::string, const char*>& FamilyTable()
{
    static const char* const kGauze = QT_TRANSLATE_NOOP("Velk", "丝网波纹");
    static const char* const kSheetY = QT_TRANSLATE_NOOP("Velk", "板波纹Y型");
    static const std::map<std::string, const char*> table = {
        {"Flexipac-1", "Flexipac"},     {"Flexipac-2", "Flexipac"},       {"Flexipac-3", "Flexipac"},
        {"Flexipac-4", "Flexipac"},     {"GemPack-1A", "GemPack"},        {"GemPack-2A", "GemPack"},
        {"GemPack-3A", "GemPack"},      {"GemPack-4A", "GemPack"},        {"Sulze-Kock-bx", kGauze},
        {"Mellapak-125Y", "Mellapak"},  {"Mellapakr-250Y", "Mellapak"},   {"Mellapak-350Y", "Mellapak"},
        {"Mellapak-500Y", "Mellapak"},  {"Mellapak-125X", "Mellapak"},    {"Mellapak-250X", "Mellapak"},
        {"Mellapak-350X", "Mellapak"},  {"Mellapak-500X", "Mellapak"},    {"BX(丝网)", kGauze},
        {"CY(丝网)", kGauze},           {"750Y", kSheetY},                {"650Y", kSheetY},
        {"550Y", kSheetY},              {"500Y", kSheetY},                {"CY-800", kGauze},
        {"CY-700", kGauze},             {"SW-1", "SW"},                   {"SW-2", "SW"},
    };
    return table;
}

std::optional<double> FieldValue(const CalcPage& page, const char* name)
{
    const TEditD* f = page.Field(name);
    long double v;
    if (!f || !ParseNumber(Trim(f->Text()), v)) return std::nullopt;
    const double si = static_cast<double>(v * static_cast<long double>(f->Exchange()));
    if (!std::isfinite(si)) return std::nullopt;
    return si;
}

double CatalogueArea(const std::string& type)
{
    for (const CatalogueRow& row : PackingCatalogue())
        if (row[ColType] == type) {
            double a = 0;
            return ParseNumber(NumericPrefix(row[ColArea]), a) ? a : 0.0;
        }
    return 0.0;
}

std::optional<double> SpreadPercent(const std::vector<double>& v)
{
    if (v.size() < 2) return std::nullopt;
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    if (!(*lo > 0)) return std::nullopt;
    return (*hi - *lo) / *lo * 100.0;
}

// The user's own order: a method first (only when it is another one), then
// the packing; the recalculation follows once.
void Choose(CalcPage& page, const std::string& packing, int method, bool lagrange)
{
    if (page.Combo("UfMD")->ItemIndex() != method || (method == 2 && page.Check("CBLagrange")->Checked() != lagrange))
        SelectMethod(page, method, lagrange);
    SelectPacking(page, packing);
}

} // namespace

const char* ComparisonFieldName(ComparisonValue v) { return kFieldNames[static_cast<int>(v)]; }

std::string PackingFamily(const std::string& type)
{
    const auto& table = FamilyTable();
    const auto it = table.find(type);
    return it == table.end() ? type : it->second;
}

const std::vector<std::string>& PackingFamilies()
{
    static const std::vector<std::string> families = [] {
        std::vector<std::string> out;
        for (const CatalogueRow& row : PackingCatalogue()) {
            if (row[ColType].empty()) continue;
            const std::string f = PackingFamily(row[ColType]);
            if (std::find(out.begin(), out.end(), f) == out.end()) out.push_back(f);
        }
        return out;
    }();
    return families;
}

PackingComparison::PackingComparison() : copy_(std::make_unique<CalcPage>(false)) {}
PackingComparison::~PackingComparison() = default;

ComparisonRow PackingComparison::RunOne(const CalcPage& live, const std::string& packing, int method,
                                        bool lagrange)
{
    ComparisonRow row;
    row.packing = packing;
    row.family = PackingFamily(packing);
    row.specificArea = CatalogueArea(packing);
    row.method = method;
    row.lagrange = lagrange;
    CopyPageState(live, *copy_);
    CaseRunResult run = RunCase(*copy_, [&](CalcPage& p) { Choose(p, packing, method, lagrange); });
    row.completed = run.completed;
    row.error = std::move(run.error);
    row.messages = std::move(run.messages);
    // A failed or incomplete row shows its message and no number.
    if (!row.completed) return row;
    for (int i = 0; i < kComparisonValues; ++i) {
        // A value beyond the model is no cell value.
        const bool invalid = copy_->IsInvalid(copy_->Field(kFieldNames[i]));
        row.values[i] = invalid ? std::nullopt : FieldValue(*copy_, kFieldNames[i]);
        row.stale[i] = copy_->IsStale(copy_->Field(kFieldNames[i]));
    }
    row.operation = copy_->Operation();
    row.hetpSpread = EvaluateEfficiency(*copy_, DesignHetpChoice::Specified).spread;
    return row;
}

std::vector<ComparisonRow> PackingComparison::Run(const CalcPage& live, bool allMethods, const RowVisitor& visit)
{
    std::vector<ComparisonRow> rows;
    const TComboModel* methods = live.Combo("UfMD");
    const int current = methods->ItemIndex();
    const bool lagrange = live.Check("CBLagrange")->Checked();
    for (const std::string& packing : live.Combo("PTD")->Items()) {
        if (packing.empty()) continue;
        if (!allMethods) {
            rows.push_back(RunOne(live, packing, current, lagrange));
            if (visit) visit(*copy_, rows.back());
            continue;
        }
        for (int m = 0; m < static_cast<int>(methods->Items().size()); ++m) {
            rows.push_back(RunOne(live, packing, m, lagrange));
            if (visit) visit(*copy_, rows.back());
        }
    }
    if (allMethods) FillMethodSpreads(rows);
    return rows;
}

void FillMethodSpreads(std::vector<ComparisonRow>& rows)
{
    std::map<std::string, std::pair<std::vector<double>, std::vector<double>>> byPacking;
    std::map<std::string, int> counts;
    for (const ComparisonRow& r : rows) {
        ++counts[r.packing];
        if (!r.completed) continue;
        auto& [flood, diameter] = byPacking[r.packing];
        if (const auto& u = r.Value(ComparisonValue::FloodVelocity)) flood.push_back(*u);
        if (const auto& d = r.Value(ComparisonValue::TheoreticalDiameter)) diameter.push_back(*d);
    }
    for (ComparisonRow& r : rows) {
        const auto it = byPacking.find(r.packing);
        // A spread only over all the rows of the packing: two of three
        // correlations say little about how far the third would differ.
        if (it == byPacking.end()) continue;
        const int n = counts[r.packing];
        if (static_cast<int>(it->second.first.size()) == n) r.floodVelocitySpread = SpreadPercent(it->second.first);
        if (static_cast<int>(it->second.second.size()) == n) r.diameterSpread = SpreadPercent(it->second.second);
    }
}

void ChooseComparisonRow(CalcPage& page, const ComparisonRow& row)
{
    page.Modified = true;
    Choose(page, row.packing, row.method, row.lagrange);
    page.LDExit();
}
