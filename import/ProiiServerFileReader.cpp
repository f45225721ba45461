#include "ProiiServerFile.h"

#include <QFileInfo>

#include <cmath>

#include "Messages.h"
#include "NumberText.h"
#include "ProiiServerSchema.h"

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

    // Steps a statement; false when it is done.
    bool Step(sqlite3_stmt* s) const
    {
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
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

private:
    sqlite3* db_;
    std::string path_;
};

} // namespace

SimulationData ReadSimulationFile(const std::string& path)
{
    if (!QFileInfo(QString::fromStdString(path)).isFile())
        throw EInOutError("Cannot open the simulation database \"" + path + "\": no such file");
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    SimDb db(raw);
    if (rc != SQLITE_OK)
        throw EInOutError("Cannot open the simulation database \"" + path +
                          "\": " + (raw ? sqlite3_errmsg(raw) : "out of memory"));
    ProiiServerFileReader r(db.get(), path);

    {
        SimStmt s = r.Prepare("PRAGMA application_id");
        if (!r.Step(s.get()) || sqlite3_column_int(s.get(), 0) != kSimDbApplicationId)
            r.Fail("not a simulation database of this program");
        SimStmt v = r.Prepare("PRAGMA user_version");
        if (!r.Step(v.get()) || sqlite3_column_int(v.get(), 0) != kSimDbSchemaVersion)
            r.Fail("made by another version of the simulation database format");
    }

    SimulationData data;
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
    try {
        ValidateSimulation(data);
    } catch (const EConvertError& e) {
        r.Bad(e.what());
    }
    return data;
}
