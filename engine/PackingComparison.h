#pragma once
// Every catalogue packing rated for the duty of a calculation page: each row
// is the page's own recalculation, run on a copy of the page after choosing
// that packing (and method) through the same handlers the user's choice
// runs. The live page, its flags and the shared packing parameters are left
// as they were.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CalcPage.h"
#include "Messages.h"
#include "OperatingCheck.h"

// The result fields a row carries, in SI units.
enum class ComparisonValue : int {
    FloodVelocity,       // UfD, m/s
    TheoreticalDiameter, // dpD, m
    ActualDiameter,      // dD, m
    Holdup,              // HTD, m3/m3
    DryPressureDrop,     // dPdryD, Pa/m
    WetPressureDrop,     // dPwaterD, Pa/m
    HTUOV,               // HTUOVD, m
    HETP,                // HETPD, m
    Count
};
inline constexpr int kComparisonValues = static_cast<int>(ComparisonValue::Count);
// Component name of the field behind a value.
const char* ComparisonFieldName(ComparisonValue v);

struct ComparisonRow {
    std::string packing;     // catalogue type name
    std::string family;      // packing family (see PackingFamily)
    double specificArea = 0; // a of the catalogue, m2/m3
    int method = 0;          // flooding correlation, 0..2
    bool lagrange = false;   // local interpolation (method 2)
    bool completed = false;  // the recalculation ended without an error, every hydraulic input given
    std::string error;       // the error's text (or the missing inputs) when it did not; no values then
    std::vector<RecordedMessage> messages;
    std::array<std::optional<double>, kComparisonValues> values; // empty field: nullopt
    std::array<bool, kComparisonValues> stale{};                 // value kept from before, out of date
    OperatingCheck operation; // the operating figures and warnings of the row's page
    // Spread between the three correlations for this packing, in percent of
    // the smallest value: (max - min) / min * 100. Only when all three
    // methods were run and completed.
    std::optional<double> floodVelocitySpread;
    std::optional<double> diameterSpread;
    // Largest / smallest HETP of the mass-transfer models that completed
    // (EvaluateEfficiency); shown on the page only.
    std::optional<double> hetpSpread;

    const std::optional<double>& Value(ComparisonValue v) const { return values[static_cast<int>(v)]; }
    bool IsStale(ComparisonValue v) const { return stale[static_cast<int>(v)]; }
};

// The family a catalogue packing belongs to (maker's series or kind), for
// filtering; the families are listed in docs/packing-comparison.md.
std::string PackingFamily(const std::string& type);
// The families in catalogue order, each once.
const std::vector<std::string>& PackingFamilies();

class PackingComparison
{
public:
    PackingComparison();
    ~PackingComparison();
    PackingComparison(const PackingComparison&) = delete;
    PackingComparison& operator=(const PackingComparison&) = delete;

    // Called after each row with the copy page as the row's run left it
    // (for writers that need the whole page of the row).
    using RowVisitor = std::function<void(const CalcPage& copy, const ComparisonRow& row)>;

    // One row per catalogue packing in catalogue order, with the page's own
    // method; with allMethods, three rows per packing (methods 0, 1, 2; the
    // third with the page's local-interpolation choice).
    std::vector<ComparisonRow> Run(const CalcPage& live, bool allMethods, const RowVisitor& visit = {});

private:
    ComparisonRow RunOne(const CalcPage& live, const std::string& packing, int method, bool lagrange);
    // The copy the rows run on, made once: building a page is far dearer
    // than copying the state of one into it.
    std::unique_ptr<CalcPage> copy_;
};

// What a double click on a row does on the live page: the row's method (when
// it differs) and packing chosen through the user's handlers, and one
// recalculation, so that the page then shows what the row shows. Errors
// propagate as from any handler; the project counts as changed.
void ChooseComparisonRow(CalcPage& page, const ComparisonRow& row);

// Fills the spreads of rows that hold all three methods of each packing.
void FillMethodSpreads(std::vector<ComparisonRow>& rows);
