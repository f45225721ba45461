#include "ProiiServerFile.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <functional>
#include <memory>
#include <set>

#include "Messages.h"
#include "ProiiServerSchema.h"
#include "NumberText.h"
#include "SafeFileReplacer.h"

namespace
{

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

void WriteSimulationFile(const std::string& path, const SimulationData& data)
{
    ValidateSimulation(data);
    // A fresh, unguessable file beside the target, renamed over it at the
    // end: the old database stays whole until the new one is complete.
    SafeFileReplacer replacer(path);
    const std::string& temp = replacer.TempPath();
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(temp.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr);
    SimDb db(raw);
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
        Exec(db.get(), ("PRAGMA application_id = " + std::to_string(kSimDbApplicationId)).c_str(), path);
        Exec(db.get(), ("PRAGMA user_version = " + std::to_string(kSimDbSchemaVersion)).c_str(), path);
        Exec(db.get(), "BEGIN", path);
        Exec(db.get(), kSimDbSchema, path);
    } catch (const EInOutError& e) {
        fail(e.what());
    }

    auto prepare = [&](const char* sql) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db.get(), sql, -1, &s, nullptr) != SQLITE_OK) fail(sqlite3_errmsg(db.get()));
        return SimStmt(s);
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
        SimStmt meta = prepare("INSERT INTO simulation (key, value) VALUES (?1, ?2)");
        for (const auto& [k, v] : std::initializer_list<std::pair<std::string, std::string>>{
                 {"format", kSimDbFormatName}, {"title", data.title}, {"status", std::to_string(data.status)}}) {
            text(meta.get(), 1, k);
            text(meta.get(), 2, v);
            run(meta.get());
        }
        SimStmt col =
            prepare("INSERT INTO columns (id, name, reflux_ratio, number_of_trays) VALUES (?1, ?2, ?3, ?4)");
        SimStmt heater = prepare("INSERT INTO heaters (column_id, seq, name, duty) VALUES (?1, ?2, ?3, ?4)");
        SimStmt feed = prepare("INSERT INTO feeds (column_id, seq, stream, tray) VALUES (?1, ?2, ?3, ?4)");
        SimStmt tray =
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
