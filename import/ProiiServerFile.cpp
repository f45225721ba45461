#include "ProiiServerFile.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <functional>
#include <memory>
#include <set>

#include "Messages.h"
#include "NumberText.h"
#include "SafeFileReplacer.h"

namespace
{

// "VELK" in the file header, so that other SQLite files are told apart.
constexpr int kApplicationId = 0x56454C4B;
constexpr int kSchemaVersion = 1;
constexpr const char* kFormatName = "velk-simdb";

constexpr const char* kSchema = R"sql(
CREATE TABLE simulation (
    key   TEXT PRIMARY KEY,
    value TEXT NOT NULL
);
CREATE TABLE columns (
    id              INTEGER PRIMARY KEY,
    name            TEXT NOT NULL UNIQUE COLLATE NOCASE,
    reflux_ratio    REAL NOT NULL,
    number_of_trays INTEGER NOT NULL CHECK (number_of_trays >= 1)
);
CREATE TABLE heaters (
    column_id INTEGER NOT NULL REFERENCES columns(id),
    seq       INTEGER NOT NULL,
    name      TEXT NOT NULL,
    duty      REAL NOT NULL,
    PRIMARY KEY (column_id, seq)
);
CREATE TABLE feeds (
    column_id INTEGER NOT NULL REFERENCES columns(id),
    seq       INTEGER NOT NULL,
    stream    TEXT NOT NULL,
    tray      INTEGER NOT NULL,
    PRIMARY KEY (column_id, seq)
);
CREATE TABLE trays (
    column_id           INTEGER NOT NULL REFERENCES columns(id),
    tray                INTEGER NOT NULL,
    temperature         REAL NOT NULL,
    pressure            REAL NOT NULL,
    liq_molar_rate      REAL NOT NULL,
    liq_mw              REAL NOT NULL,
    liq_density         REAL NOT NULL,
    liq_viscosity       REAL NOT NULL,
    liq_surface_tension REAL NOT NULL,
    liq_thermal_cond    REAL,
    vap_molar_rate      REAL NOT NULL,
    vap_mw              REAL NOT NULL,
    vap_density         REAL NOT NULL,
    vap_viscosity       REAL NOT NULL,
    vap_surface_tension REAL,
    vap_thermal_cond    REAL,
    PRIMARY KEY (column_id, tray)
);
)sql";

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StmtFinalizer {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Db = std::unique_ptr<sqlite3, DbCloser>;
using Stmt = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

class Reader
{
public:
    Reader(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}

    [[noreturn]] void Fail(const std::string& what) const
    {
        throw EInOutError("Cannot read the simulation database \"" + path_ + "\": " + what);
    }
    [[noreturn]] void Bad(const std::string& what) const
    {
        throw EConvertError("The simulation database \"" + path_ + "\" is inconsistent: " + what);
    }

    Stmt Prepare(const char* sql) const
    {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &s, nullptr) != SQLITE_OK) Fail(sqlite3_errmsg(db_));
        return Stmt(s);
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

void Exec(sqlite3* db, const char* sql, const std::string& path)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        std::string text = err ? err : "unknown error";
        sqlite3_free(err);
        throw EInOutError("Cannot write the simulation database \"" + path + "\": " + text);
    }
}

std::string Num(double v)
{
    return FormatGeneral(v, 15, 0);
}

void RequireFinite(double v, const std::string& what)
{
    if (!std::isfinite(v)) throw EConvertError(what + " is not a finite number");
}

void RequirePositive(double v, const std::string& what)
{
    RequireFinite(v, what);
    if (!(v > 0)) throw EConvertError(what + " must be greater than 0 (it is " + Num(v) + ")");
}

void RequireNonNegative(double v, const std::string& what)
{
    RequireFinite(v, what);
    if (v < 0) throw EConvertError(what + " must not be negative (it is " + Num(v) + ")");
}

void ValidatePhase(const SimPhase& p, const std::string& where, bool liquid)
{
    RequireNonNegative(p.molarRate, where + " molar rate");
    RequirePositive(p.molecularWeight, where + " molecular weight");
    RequirePositive(p.density, where + " density");
    RequirePositive(p.viscosity, where + " viscosity");
    if (liquid && !p.surfaceTension) throw EConvertError(where + " surface tension is missing");
    if (p.surfaceTension) RequireNonNegative(*p.surfaceTension, where + " surface tension");
    if (p.thermalConductivity) RequireNonNegative(*p.thermalConductivity, where + " thermal conductivity");
}

std::string Fold(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

} // namespace

const SimTray* SimColumn::Tray(int number) const
{
    for (const SimTray& t : trays)
        if (t.number == number) return &t;
    return nullptr;
}

const SimColumn* SimulationData::Column(const std::string& name) const
{
    const std::string key = Fold(name);
    for (const SimColumn& c : columns)
        if (Fold(c.name) == key) return &c;
    return nullptr;
}

void ValidateSimulation(const SimulationData& data)
{
    if (data.status < 0) throw EConvertError("the status must not be negative");
    std::set<std::string> names;
    for (const SimColumn& c : data.columns) {
        const std::string where = "column \"" + c.name + "\"";
        if (c.name.empty()) throw EConvertError("a column has no name");
        if (!names.insert(Fold(c.name)).second) throw EConvertError(where + " is given twice");
        RequireFinite(c.refluxRatio, where + ": the reflux ratio");
        if (c.numberOfTrays < 1) throw EConvertError(where + " has no trays");
        if (static_cast<int>(c.trays.size()) != c.numberOfTrays)
            throw EConvertError(where + " has " + std::to_string(c.numberOfTrays) + " trays but data for " +
                                std::to_string(c.trays.size()));
        for (std::size_t i = 0; i < c.trays.size(); ++i) {
            const SimTray& t = c.trays[i];
            const std::string tw = where + ", tray " + std::to_string(t.number);
            if (t.number != static_cast<int>(i) + 1)
                throw EConvertError(where + ": tray " + std::to_string(i + 1) +
                                    " is missing or out of order");
            RequirePositive(t.temperature, tw + ": the temperature (K)");
            RequireFinite(t.pressure, tw + ": the pressure");
            ValidatePhase(t.liquid, tw + ": liquid", true);
            ValidatePhase(t.vapour, tw + ": vapour", false);
        }
        for (const SimHeater& h : c.heaters) {
            if (h.name.empty()) throw EConvertError(where + ": a heater has no name");
            RequireFinite(h.duty, where + ": the duty of heater \"" + h.name + "\"");
        }
        for (const SimFeed& f : c.feeds)
            if (f.tray < 1 || f.tray > c.numberOfTrays)
                throw EConvertError(where + ": feed \"" + f.stream + "\" enters at tray " +
                                    std::to_string(f.tray) + ", outside 1 to " +
                                    std::to_string(c.numberOfTrays));
    }
}

SimulationData ReadSimulationFile(const std::string& path)
{
    if (!QFileInfo(QString::fromStdString(path)).isFile())
        throw EInOutError("Cannot open the simulation database \"" + path + "\": no such file");
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    Db db(raw);
    if (rc != SQLITE_OK)
        throw EInOutError("Cannot open the simulation database \"" + path +
                          "\": " + (raw ? sqlite3_errmsg(raw) : "out of memory"));
    Reader r(db.get(), path);

    {
        Stmt s = r.Prepare("PRAGMA application_id");
        if (!r.Step(s.get()) || sqlite3_column_int(s.get(), 0) != kApplicationId)
            r.Fail("not a simulation database of this program");
        Stmt v = r.Prepare("PRAGMA user_version");
        if (!r.Step(v.get()) || sqlite3_column_int(v.get(), 0) != kSchemaVersion)
            r.Fail("made by another version of the simulation database format");
    }

    SimulationData data;
    {
        Stmt s = r.Prepare("SELECT key, value FROM simulation");
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
            if (key == "format" && value != kFormatName)
                r.Fail("format \"" + value + "\" is not " + kFormatName);
        }
    }

    std::vector<int> ids;
    {
        Stmt s = r.Prepare("SELECT id, name, reflux_ratio, number_of_trays FROM columns ORDER BY id");
        while (r.Step(s.get())) {
            SimColumn c;
            ids.push_back(r.Int(s.get(), 0, "a column id"));
            c.name = r.Text(s.get(), 1, "a column name");
            c.refluxRatio = r.Real(s.get(), 2, "the reflux ratio of " + c.name);
            c.numberOfTrays = r.Int(s.get(), 3, "the number of trays of " + c.name);
            data.columns.push_back(std::move(c));
        }
    }

    Stmt heaters = r.Prepare("SELECT name, duty FROM heaters WHERE column_id = ?1 ORDER BY seq");
    Stmt feeds = r.Prepare("SELECT stream, tray FROM feeds WHERE column_id = ?1 ORDER BY seq");
    Stmt trays = r.Prepare("SELECT tray, temperature, pressure, liq_molar_rate, liq_mw, liq_density, "
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

void WriteSimulationFile(const std::string& path, const SimulationData& data)
{
    ValidateSimulation(data);
    // A fresh, unguessable file beside the target, renamed over it at the
    // end: the old database stays whole until the new one is complete.
    SafeFileReplacer replacer(path);
    const std::string& temp = replacer.TempPath();
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(temp.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr);
    Db db(raw);
    if (rc != SQLITE_OK) {
        const std::string why = raw ? sqlite3_errmsg(raw) : "out of memory";
        throw EInOutError("Cannot create the simulation database \"" + path + "\": " + why);
    }
    auto fail = [&](const std::string& why) {
        db.reset();
        throw EInOutError("Cannot write the simulation database \"" + path + "\": " + why);
    };
    try {
        Exec(db.get(), "PRAGMA journal_mode = OFF", path);
        Exec(db.get(), ("PRAGMA application_id = " + std::to_string(kApplicationId)).c_str(), path);
        Exec(db.get(), ("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str(), path);
        Exec(db.get(), "BEGIN", path);
        Exec(db.get(), kSchema, path);
    } catch (const EInOutError& e) {
        fail(e.what());
    }

    auto prepare = [&](const char* sql) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db.get(), sql, -1, &s, nullptr) != SQLITE_OK) fail(sqlite3_errmsg(db.get()));
        return Stmt(s);
    };
    auto run = [&](sqlite3_stmt* s) {
        if (sqlite3_step(s) != SQLITE_DONE) fail(sqlite3_errmsg(db.get()));
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
    };
    auto text = [](sqlite3_stmt* s, int i, const std::string& v) {
        sqlite3_bind_text(s, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    };
    auto optional = [](sqlite3_stmt* s, int i, const std::optional<double>& v) {
        if (v)
            sqlite3_bind_double(s, i, *v);
        else
            sqlite3_bind_null(s, i);
    };

    {
        Stmt meta = prepare("INSERT INTO simulation (key, value) VALUES (?1, ?2)");
        for (const auto& [k, v] : std::initializer_list<std::pair<std::string, std::string>>{
                 {"format", kFormatName}, {"title", data.title}, {"status", std::to_string(data.status)}}) {
            text(meta.get(), 1, k);
            text(meta.get(), 2, v);
            run(meta.get());
        }
        Stmt col =
            prepare("INSERT INTO columns (id, name, reflux_ratio, number_of_trays) VALUES (?1, ?2, ?3, ?4)");
        Stmt heater = prepare("INSERT INTO heaters (column_id, seq, name, duty) VALUES (?1, ?2, ?3, ?4)");
        Stmt feed = prepare("INSERT INTO feeds (column_id, seq, stream, tray) VALUES (?1, ?2, ?3, ?4)");
        Stmt tray =
            prepare("INSERT INTO trays VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, "
                    "?14, ?15, ?16)");
        int id = 0;
        for (const SimColumn& c : data.columns) {
            ++id;
            sqlite3_bind_int(col.get(), 1, id);
            text(col.get(), 2, c.name);
            sqlite3_bind_double(col.get(), 3, c.refluxRatio);
            sqlite3_bind_int(col.get(), 4, c.numberOfTrays);
            run(col.get());
            int seq = 0;
            for (const SimHeater& h : c.heaters) {
                sqlite3_bind_int(heater.get(), 1, id);
                sqlite3_bind_int(heater.get(), 2, seq++);
                text(heater.get(), 3, h.name);
                sqlite3_bind_double(heater.get(), 4, h.duty);
                run(heater.get());
            }
            seq = 0;
            for (const SimFeed& f : c.feeds) {
                sqlite3_bind_int(feed.get(), 1, id);
                sqlite3_bind_int(feed.get(), 2, seq++);
                text(feed.get(), 3, f.stream);
                sqlite3_bind_int(feed.get(), 4, f.tray);
                run(feed.get());
            }
            for (const SimTray& t : c.trays) {
                sqlite3_stmt* s = tray.get();
                sqlite3_bind_int(s, 1, id);
                sqlite3_bind_int(s, 2, t.number);
                sqlite3_bind_double(s, 3, t.temperature);
                sqlite3_bind_double(s, 4, t.pressure);
                sqlite3_bind_double(s, 5, t.liquid.molarRate);
                sqlite3_bind_double(s, 6, t.liquid.molecularWeight);
                sqlite3_bind_double(s, 7, t.liquid.density);
                sqlite3_bind_double(s, 8, t.liquid.viscosity);
                optional(s, 9, t.liquid.surfaceTension);
                optional(s, 10, t.liquid.thermalConductivity);
                sqlite3_bind_double(s, 11, t.vapour.molarRate);
                sqlite3_bind_double(s, 12, t.vapour.molecularWeight);
                sqlite3_bind_double(s, 13, t.vapour.density);
                sqlite3_bind_double(s, 14, t.vapour.viscosity);
                optional(s, 15, t.vapour.surfaceTension);
                optional(s, 16, t.vapour.thermalConductivity);
                run(s);
            }
        }
    }
    try {
        Exec(db.get(), "COMMIT", path);
    } catch (const EInOutError& e) {
        fail(e.what());
    }
    db.reset();
    replacer.Commit();
}
