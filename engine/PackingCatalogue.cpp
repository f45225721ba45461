#include "PackingCatalogue.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <deque>
#include <memory>
#include <mutex>
#include <numbers>

#include "Messages.h"
#include "NumberText.h"
#include "TextToFloat.h"
#include "TrNoop.h"

thread_local PackingParams CurrentPacking;

namespace {
const std::vector<CatalogueRow>& BuiltInRows()
{
    static const std::vector<CatalogueRow> rows = {
        {"1", "Flexipac-1", "560", "0.91", "0.7", "6.3", "12.7", "8.9", "45", "8.0", "2.464", "32.92", ""},
        {"2", "Flexipac-2", "254", "0.93", "1.0", "12.7", "25.4", "17.8", "45", "15.8", "2.464", "21.95", ""},
        {"3", "Flexipac-3", "135", "0.96", "1.25", "25.4", "50.8", "35.6", "45", "35", "2.464", "15.85", ""},
        {"4", "Flexipac-4", "69", "0.98", "1.50", "50.8", "101.6", "71.2", "45", "70", "2.464", "9.144", ""},
        {"5", "GemPack-1A", "135", "0.96", "1.45", "25.4", "50.8", "35.6", "45", "31.5", "2.099", "9", ""},
        {"6", "GemPack-2A", "254", "0.93", "1.0", "12.7", "25.4", "17.8", "45", "15.8", "2.099", "16", ""},
        {"7", "GemPack-3A", "394", "0.92", "0.9", "9.5", "19.1", "13.5", "45", "10.5", "2.099", "21", ""},
        {"8", "GemPack-4A", "560", "0.93", "0.6", "6.3", "12.7", "8.9", "45", "9.0", "2.099", "32", ""},
        {"9", "Sulze-Kock-bx", "560", "0.91", "0.6", "6.3", "12.7", "8.9", "60", "9.0", "2.464",
         QT_TRANSLATE_NOOP("Velk", "38*Billet法估算"), ""},
        {"10", "Mellapak-125Y", "125", "0.98", "1.25", "25.4", "50.8", "35.6", "45", "35.0", "2.464", "10",
         ""},
        {"11", "Mellapakr-250Y", "250", "0.97", "1.0", "12.7", "25.4", "17.8", "45", "15.8", "2.464", "20",
         ""},
        {"12", "Mellapak-350Y", "350", "0.94", "0.85", "9.5", "19.1", "13.5", "45", "12.0", "2.464", "23",
         ""},
        {"13", "Mellapak-500Y", "500", "0.92", "0.7", "6.3", "12.7", "8.9", "45", "7.3", "2.464", "34", ""},
        {"14", "Mellapak-125X", "125", "0.98", "1.5", "25.4", "50.8", "35.6", "45", "35", "2.464", "4.877",
         ""},
        {"15", "Mellapak-250X", "250", "0.97", "1.25", "12", "24", "17.0", "45", "15.8", "2.464", "7.925",
         ""},
        {"16", "Mellapak-350X", "350", "0.95", "1.1", "8", "16", "11.3", "45", "12", "2.464", "20", ""},
        {"17", "Mellapak-500X", "500", "0.9", "1.0", "6.3", "12.6", "8.9", "45", "7.3", "2.464", "24.99", ""},
        {"18", QT_TRANSLATE_NOOP("Velk", "BX(丝网)"), "450", "0.96", "1.0", "6.3", "10.2", "5.1", "60", "7.5", "1.973",
         QT_TRANSLATE_NOOP("Velk", "21.3*Uf=2.9(化学工程手册3)估算"), ""},
        {"19", QT_TRANSLATE_NOOP("Velk", "CY(丝网)"), "700", "0.85", "0.65", "4.3", "7.3", "5.2", "45", "5.0", "1.973", "70", ""},
        {"20", "750Y", "750", "0.93", "0.50", "4.0", "7.2", "5.4", "45", "5.03", "2.464", "39.93", ""},
        {"21", "650Y", "650", "0.94", "0.57", "4.5", "8.4", "6.14", "45", "5.85", "2.464", QT_TRANSLATE_NOOP("Velk", "39*Billet估算"),
         ""},
        {"22", "550Y", "550", "0.95", "0.65", "5.5", "10", "7.56", "45", "6.97", "2.464", QT_TRANSLATE_NOOP("Velk", "37*Billet法估算"),
         ""},
        {"23", "500Y", "500", "0.95", "0.71", "6.3", "10.2", "8.03", "45", "7.7", "2.464", "34.14", "*-"},
        {"24", "CY-800", "800", "0.92", "0.47", "3.6", "6.8", "4.8", "45", "4.7", "1.973", "*-", ""},
        {"25", "CY-700", "700", "0.90", "0.54", "4.3", "6.2", "4.4", "45", "5.0", "1.973", "70", "*-"},
        {"26", "SW-1", "643", "0.92", "0.56", "4.5", "9.0", "6.4", "45", "5.7", "1.992", "27", "*-"},
        {"27", "SW-2", "450", "0.96", "0.71", "6.5", "13", "7.5", "30", "8.5", "1.922", "32", "*-"},
    };
    return rows;
}
} // namespace

const char* const* CatalogueHeadings()
{
    static const char* const headings[kCatalogueColumns] = {
        QT_TRANSLATE_NOOP("Velk", "序号"),  QT_TRANSLATE_NOOP("Velk", "填料类型PT"), QT_TRANSLATE_NOOP("Velk", "比表面α"),    QT_TRANSLATE_NOOP("Velk", "空隙率e"),     QT_TRANSLATE_NOOP("Velk", "校正系数Cf"), QT_TRANSLATE_NOOP("Velk", "波峰高度h"), QT_TRANSLATE_NOOP("Velk", "波距2B"),
        QT_TRANSLATE_NOOP("Velk", "波长S"), QT_TRANSLATE_NOOP("Velk", "倾角θ"),      QT_TRANSLATE_NOOP("Velk", "水力直径dh"), QT_TRANSLATE_NOOP("Velk", "结构参数Cf1"), "Fp1/3.2808", QT_TRANSLATE_NOOP("Velk", "备注"),
    };
    return headings;
}

std::string NumericPrefix(const std::string& cell)
{
    const std::string trimmed = Trim(cell);
    std::size_t n = 0;
    while (n < trimmed.size()) {
        const char c = trimmed[n];
        const bool numeric =
            (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'E' || c == 'e';
        if (!numeric) break;
        ++n;
    }
    return trimmed.substr(0, n);
}

namespace {
// The converted parameters and prefixes of every row, made once: the
// catalogue is fixed data and the flooding equations look it up at every
// evaluation. A row whose cells do not convert keeps ok = false and is
// converted again on lookup, so that the error is raised as before.
struct ParsedRow {
    bool ok = false;
    PackingParams params;
    std::array<std::string, kCatalogueColumns> prefix;
};

PackingParams ConvertRow(const CatalogueRow& row)
{
    PackingParams p = CurrentPacking;
    p.a = TextToFloat(row[ColArea]);
    p.eps = TextToFloat(row[ColVoid]);
    p.h = TextToFloat(row[ColCrest]) / 1000.0;
    p.B2 = TextToFloat(row[ColBase]) / 1000.0;
    p.S = TextToFloat(row[ColSide]) / 1000.0;
    // Plain double arithmetic: 60 degrees must give 1.0471975511965976.
    p.theta = TextToFloat(row[ColAngle]) * std::numbers::pi / 180.0;
    p.dh = TextToFloat(row[ColHydraulicDiameter]) / 1000.0;
    return p;
}

ParsedRow ParseRow(const CatalogueRow& row)
{
    ParsedRow r;
    try {
        r.params = ConvertRow(row);
        r.ok = true;
    } catch (const EConvertError&) {
        r.ok = false;
    }
    for (int c = 0; c < kCatalogueColumns; ++c)
        r.prefix[c] = NumericPrefix(row[c]);
    return r;
}

// One state of the catalogue: its rows and their conversions together.
struct Catalogue {
    std::vector<CatalogueRow> rows;
    std::vector<ParsedRow> parsed;
};

std::mutex catalogueMutex;
std::atomic<std::size_t> generation{0};
// The last states made are kept: a reader (a rating on a worker, a
// comparison) holds a reference into the one it started with. The user's
// rows change a few times in a session; a reader outliving 64 changes while
// it iterates is none a user could make, and the bound keeps a process that
// changes them without end (a script, a fuzzer) from growing.
constexpr std::size_t kKeptStates = 64;
std::deque<std::unique_ptr<const Catalogue>>& CatalogueStates()
{
    static std::deque<std::unique_ptr<const Catalogue>> states;
    return states;
}

std::atomic<const Catalogue*>& CurrentCatalogue()
{
    static std::atomic<const Catalogue*> current = [] {
        auto c = std::make_unique<Catalogue>();
        c->rows = BuiltInRows();
        for (const CatalogueRow& row : c->rows)
            c->parsed.push_back(ParseRow(row));
        const Catalogue* p = c.get();
        CatalogueStates().push_back(std::move(c));
        return p;
    }();
    return current;
}
} // namespace

const std::vector<CatalogueRow>& PackingCatalogue()
{
    return CurrentCatalogue().load()->rows;
}

bool IsUserPacking(std::size_t i)
{
    return i >= kBuiltInPackings && i < PackingCatalogue().size();
}

std::vector<CatalogueRow> UserPackings()
{
    const auto& rows = PackingCatalogue();
    return {rows.begin() + kBuiltInPackings, rows.end()};
}

std::size_t CatalogueGeneration()
{
    return generation.load();
}

void SetUserPackings(std::vector<CatalogueRow> user)
{
    std::lock_guard lock(catalogueMutex);
    // The same rows again (each run of the command line sets them) make no new state.
    const auto& now = CurrentCatalogue().load()->rows;
    if (now.size() == kBuiltInPackings + user.size() &&
        std::equal(user.begin(), user.end(), now.begin() + kBuiltInPackings, [](const auto& a, const auto& b) {
            return std::equal(a.begin() + 1, a.end(), b.begin() + 1);
        }))
        return;
    auto c = std::make_unique<Catalogue>();
    c->rows = BuiltInRows();
    for (CatalogueRow& row : user) {
        row[ColNumber] = std::to_string(c->rows.size() + 1);
        c->rows.push_back(std::move(row));
    }
    for (const CatalogueRow& row : c->rows)
        c->parsed.push_back(ParseRow(row));
    const Catalogue* p = c.get();
    CatalogueStates().push_back(std::move(c));
    CurrentCatalogue().store(p);
    ++generation;
    if (CatalogueStates().size() > kKeptStates) CatalogueStates().pop_front();
}

std::string LookUpPacking(const std::string& type, int column)
{
    if (column < 0 || column >= kCatalogueColumns)
        throw EVelkError("Catalogue column " + std::to_string(column) + " does not exist");
    const Catalogue& catalogue = *CurrentCatalogue().load();
    const auto& rows = catalogue.rows;
    const auto& parsed = catalogue.parsed;
    // A recalculation looks the same packing up at every evaluation of a
    // flooding equation: the row found last is tried first. The type names
    // of the catalogue are unique (the user's rows are checked for it), so
    // that row is also the first match.
    thread_local std::size_t last = 0;
    const std::size_t start = last < rows.size() && rows[last][ColType] == type ? last : 0;
    for (std::size_t i = start; i < rows.size(); ++i) {
        if (rows[i][ColType] != type)
            continue;
        last = i;
        // Every cell is converted before any is stored, so that a bad cell
        // leaves the previous packing intact instead of a mixture of two.
        const PackingParams p = parsed[i].ok ? parsed[i].params : ConvertRow(rows[i]);
        const double uLmin = CurrentPacking.uLmin;
        CurrentPacking = p;
        CurrentPacking.uLmin = uLmin;
        return parsed[i].prefix[column];
    }
    throw EVelkError("填料库中没有填料类型“" + type + "”。(Packing type '" + type + "' is not in the catalogue.)");
}

void SetMinLiquidLoad()
{
    CurrentPacking.uLmin = 2.222222222222e-7 * CurrentPacking.a;
}
