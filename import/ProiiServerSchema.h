#pragma once
// What the writer and the reader of simulation database files share: the
// file's marks and its schema, and owners of SQLite handles.

#include <sqlite3.h>

#include <memory>

// "VELK" in the file header, so that other SQLite files are told apart.
inline constexpr int kSimDbApplicationId = 0x56454C4B;
inline constexpr int kSimDbSchemaVersion = 1;
inline constexpr const char* kSimDbFormatName = "velk-simdb";

inline constexpr const char* kSimDbSchema = R"sql(
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
using SimDb = std::unique_ptr<sqlite3, DbCloser>;
using SimStmt = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;
