#include "ProiiServerFile.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <set>
#include <sys/stat.h>
#include <vector>

#include "Messages.h"
#include "NumberText.h"
#include "ProiiServerSchema.h"
#include "RegularFile.h"

namespace
{

class ProiiServerFileReader
{
public:
    ProiiServerFileReader(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}

    [[noreturn]] void Fail(const std::string& what) const
    {
        throw EInOutError("Cannot read the simulation database \"" + path_ + "\": " + what);
    }
    [[noreturn]] void Bad(const std::string& what) const
    {
        throw EConvertError("The simulation database \"" + path_ + "\" is inconsistent: " + what);
    }

    SimStmt Prepare(const char* sql) const
    {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &s, nullptr) != SQLITE_OK) Fail(sqlite3_errmsg(db_));
        return SimStmt(s);
    }

    // Steps a statement; false when it is done. Rows are counted over the
    // whole file and capped.
    bool Step(sqlite3_stmt* s)
    {
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_ROW) {
            if (++rows_ > kMaxRows) Fail("more than " + std::to_string(kMaxRows) + " rows");
            return true;
        }
        if (rc == SQLITE_DONE) return false;
        if (rc == SQLITE_INTERRUPT)
            Fail("reading took too long; the file is not a plain simulation database");
        Fail(sqlite3_errmsg(db_));
    }

    int Int(sqlite3_stmt* s, int col, const std::string& what) const
    {
        if (sqlite3_column_type(s, col) != SQLITE_INTEGER) Bad(what + " is not a whole number");
        const sqlite3_int64 v = sqlite3_column_int64(s, col);
        if (v < -2147483647 || v > 2147483647) Bad(what + " is out of range");
        return static_cast<int>(v);
    }

    double Real(sqlite3_stmt* s, int col, const std::string& what) const
    {
        const int type = sqlite3_column_type(s, col);
        if (type != SQLITE_INTEGER && type != SQLITE_FLOAT) Bad(what + " is not a number");
        const double v = sqlite3_column_double(s, col);
        if (!std::isfinite(v)) Bad(what + " is not a finite number");
        return v;
    }

    std::optional<double> OptionalReal(sqlite3_stmt* s, int col, const std::string& what) const
    {
        if (sqlite3_column_type(s, col) == SQLITE_NULL) return std::nullopt;
        return Real(s, col, what);
    }

    std::string Text(sqlite3_stmt* s, int col, const std::string& what) const
    {
        if (sqlite3_column_type(s, col) != SQLITE_TEXT) Bad(what + " is not text");
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, col));
        return std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(s, col)));
    }

    static constexpr long long kMaxRows = 4'000'000; // a simulation of 40,000 columns of 50 trays fits

private:
    sqlite3* db_;
    std::string path_;
    long long rows_ = 0;
};

// A file at most this large is read; the largest real simulations are a few
// megabytes.
constexpr std::size_t kMaxSimDbBytes = 256u << 20;
// No statement of the reader runs longer than this, whatever the file holds.
constexpr auto kSimDbDeadline = std::chrono::seconds(30);

int PastDeadline(void* end)
{
    return std::chrono::steady_clock::now() > *static_cast<std::chrono::steady_clock::time_point*>(end) ? 1
                                                                                                        : 0;
}

// The catalogue our schema makes (tables and their automatic indexes): a
// file's catalogue must be exactly this, so that no view, trigger, virtual
// table or extra index of a crafted file ever runs.
const std::set<std::array<std::string, 4>>& ExpectedCatalogue()
{
    static const std::set<std::array<std::string, 4>> expected = [] {
        std::set<std::array<std::string, 4>> rows;
        sqlite3* raw = nullptr;
        sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        SimDb db(raw);
        sqlite3_exec(raw, kSimDbSchema, nullptr, nullptr, nullptr);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(raw, "SELECT type, name, tbl_name, sql FROM sqlite_schema", -1, &s, nullptr);
        SimStmt stmt(s);
        while (sqlite3_step(s) == SQLITE_ROW) {
            std::array<std::string, 4> row;
            for (int i = 0; i < 4; ++i)
                if (const unsigned char* t = sqlite3_column_text(s, i))
                    row[static_cast<std::size_t>(i)] = reinterpret_cast<const char*>(t);
            rows.insert(row);
        }
        return rows;
    }();
    return expected;
}

void CheckCatalogue(ProiiServerFileReader& r)
{
    {
        SimStmt s = r.Prepare("PRAGMA application_id");
        if (!r.Step(s.get()) || sqlite3_column_int(s.get(), 0) != kSimDbApplicationId)
            r.Fail("not a simulation database of this program");
        SimStmt v = r.Prepare("PRAGMA user_version");
        if (!r.Step(v.get()) || sqlite3_column_int(v.get(), 0) != kSimDbSchemaVersion)
            r.Fail("made by another version of the simulation database format");
    }
    std::set<std::array<std::string, 4>> found;
    SimStmt s = r.Prepare("SELECT type, name, tbl_name, sql FROM sqlite_schema");
    while (r.Step(s.get())) {
        std::array<std::string, 4> row;
        for (int i = 0; i < 4; ++i)
            if (const unsigned char* t = sqlite3_column_text(s.get(), i))
                row[static_cast<std::size_t>(i)] = reinterpret_cast<const char*>(t);
        if (!ExpectedCatalogue().count(row))
            r.Fail("not a simulation database of this program: its schema holds the " + row[0] + " \"" +
                   row[1] + "\"");
        found.insert(row);
    }
    if (found.size() != ExpectedCatalogue().size())
        r.Fail("not a simulation database of this program: tables are missing");
}

void ReadSimulationMeta(ProiiServerFileReader& r, SimulationData& data)
{
    {
        SimStmt s = r.Prepare("SELECT key, value FROM simulation");
        while (r.Step(s.get())) {
            const std::string key = r.Text(s.get(), 0, "a simulation key");
            const std::string value = r.Text(s.get(), 1, "the simulation value of " + key);
            if (key == "title") data.title = value;
            if (key == "status") {
                double st = 0;
                if (!ParseNumber(value, st) || st < 0 || st > 1e9 || st != std::floor(st))
                    r.Bad("the status \"" + value + "\" is not a whole number");
                data.status = static_cast<int>(st);
            }
            if (key == "format" && value != kSimDbFormatName)
                r.Fail("format \"" + value + "\" is not " + kSimDbFormatName);
        }
    }
}

std::vector<int> ReadColumnList(ProiiServerFileReader& r, SimulationData& data)
{
    std::vector<int> ids;
    {
        SimStmt s = r.Prepare("SELECT id, name, reflux_ratio, number_of_trays FROM columns ORDER BY id");
        while (r.Step(s.get())) {
            SimColumn c;
            ids.push_back(r.Int(s.get(), 0, "a column id"));
            c.name = r.Text(s.get(), 1, "a column name");
            c.refluxRatio = r.Real(s.get(), 2, "the reflux ratio of " + c.name);
            c.numberOfTrays = r.Int(s.get(), 3, "the number of trays of " + c.name);
            data.columns.push_back(std::move(c));
        }
    }
    return ids;
}

void ReadColumnDetails(ProiiServerFileReader& r, SimulationData& data, const std::vector<int>& ids)
{
    SimStmt heaters = r.Prepare("SELECT name, duty FROM heaters WHERE column_id = ?1 ORDER BY seq");
    SimStmt feeds = r.Prepare("SELECT stream, tray FROM feeds WHERE column_id = ?1 ORDER BY seq");
    SimStmt trays = r.Prepare("SELECT tray, temperature, pressure, liq_molar_rate, liq_mw, liq_density, "
                              "liq_viscosity, liq_surface_tension, liq_thermal_cond, vap_molar_rate, vap_mw, "
                              "vap_density, vap_viscosity, vap_surface_tension, vap_thermal_cond "
                              "FROM trays WHERE column_id = ?1 ORDER BY tray");
    for (std::size_t i = 0; i < data.columns.size(); ++i) {
        SimColumn& c = data.columns[i];
        for (sqlite3_stmt* s : {heaters.get(), feeds.get(), trays.get()}) {
            sqlite3_reset(s);
            sqlite3_bind_int(s, 1, ids[i]);
        }
        while (r.Step(heaters.get()))
            c.heaters.push_back({r.Text(heaters.get(), 0, "a heater name of " + c.name),
                                 r.Real(heaters.get(), 1, "a heater duty of " + c.name)});
        while (r.Step(feeds.get()))
            c.feeds.push_back({r.Text(feeds.get(), 0, "a feed name of " + c.name),
                               r.Int(feeds.get(), 1, "a feed tray of " + c.name)});
        while (r.Step(trays.get())) {
            sqlite3_stmt* s = trays.get();
            SimTray t;
            t.number = r.Int(s, 0, "a tray number of " + c.name);
            const std::string w = c.name + " tray " + std::to_string(t.number) + ": ";
            t.temperature = r.Real(s, 1, w + "temperature");
            t.pressure = r.Real(s, 2, w + "pressure");
            t.liquid.molarRate = r.Real(s, 3, w + "liq_molar_rate");
            t.liquid.molecularWeight = r.Real(s, 4, w + "liq_mw");
            t.liquid.density = r.Real(s, 5, w + "liq_density");
            t.liquid.viscosity = r.Real(s, 6, w + "liq_viscosity");
            t.liquid.surfaceTension = r.Real(s, 7, w + "liq_surface_tension");
            t.liquid.thermalConductivity = r.OptionalReal(s, 8, w + "liq_thermal_cond");
            t.vapour.molarRate = r.Real(s, 9, w + "vap_molar_rate");
            t.vapour.molecularWeight = r.Real(s, 10, w + "vap_mw");
            t.vapour.density = r.Real(s, 11, w + "vap_density");
            t.vapour.viscosity = r.Real(s, 12, w + "vap_viscosity");
            t.vapour.surfaceTension = r.OptionalReal(s, 13, w + "vap_surface_tension");
            t.vapour.thermalConductivity = r.OptionalReal(s, 14, w + "vap_thermal_cond");
            c.trays.push_back(t);
        }
    }
}

} // namespace

SimulationData ReadSimulationFile(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 && errno == ENOENT)
        throw EInOutError("Cannot open the simulation database \"" + path + "\": no such file");
    // Read whole into memory: a pipe or a device is refused, the size is
    // bounded, and SQLite never writes beside the file.
    return ReadSimulationBytes(ReadRegularFile(path, kMaxSimDbBytes, "Too large for a simulation database"),
                               path);
}

SimulationData ReadSimulationBytes(std::string bytes, const std::string& source)
{
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    SimDb db(raw);
    if (rc != SQLITE_OK)
        throw EInOutError("Cannot open the simulation database \"" + source +
                          "\": " + (raw ? sqlite3_errmsg(raw) : "out of memory"));
    // Nothing in the file is trusted: no functions from its schema, no
    // writes to the schema, no statement past the deadline, sorting in memory.
    sqlite3_db_config(raw, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_limit(raw, SQLITE_LIMIT_LENGTH, 1 << 20);
    auto deadline = std::chrono::steady_clock::now() + kSimDbDeadline;
    sqlite3_progress_handler(raw, 1000, PastDeadline, &deadline);
    ProiiServerFileReader r(raw, source);
    if (sqlite3_deserialize(raw, "main", reinterpret_cast<unsigned char*>(bytes.data()),
                            static_cast<sqlite3_int64>(bytes.size()),
                            static_cast<sqlite3_int64>(bytes.size()),
                            SQLITE_DESERIALIZE_READONLY) != SQLITE_OK)
        r.Fail(sqlite3_errmsg(raw));
    SimStmt temp = r.Prepare("PRAGMA temp_store = MEMORY");
    r.Step(temp.get());

    CheckCatalogue(r);
    SimulationData data;
    ReadSimulationMeta(r, data);
    ReadColumnDetails(r, data, ReadColumnList(r, data));
    try {
        ValidateSimulation(data);
    } catch (const EConvertError& e) {
        r.Bad(e.what());
    }
    return data;
}
