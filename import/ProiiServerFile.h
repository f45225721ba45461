#pragma once
// The simulation database file that the PRO/II database server stand-in
// reads: an SQLite file holding the columns of one simulation, their heaters
// and feeds, and the liquid and vapour leaving each tray. The schema is
// documented in docs/simulation-database.md.
//
// Units are those the import expects: temperature K, pressure kPa, molar
// rates kmol/s, molecular weights kg/kmol, densities kg/m3, viscosities
// Pa.s, surface tension N/m, thermal conductivity W/(m.K). Heater duties are
// kept in whatever unit the source simulator used; they are shown, not used.

#include <optional>
#include <string>
#include <vector>

struct SimPhase {
    double molarRate = 0;                      // kmol/s
    double molecularWeight = 0;                // kg/kmol
    double density = 0;                        // kg/m3
    double viscosity = 0;                      // Pa.s
    std::optional<double> surfaceTension;      // N/m; required for the liquid
    std::optional<double> thermalConductivity; // W/(m.K)
};

struct SimTray {
    int number = 0;
    double temperature = 0; // K
    double pressure = 0;    // kPa
    SimPhase liquid;
    SimPhase vapour;
    // Read from a tray profile for the column rating only; simulation files
    // have no place for them.
    std::optional<double> liquidDiffusivity, vapourDiffusivity; // m2/s
    std::optional<double> equilibriumSlope;
    // What the source says the stage is: "condenser", "reboiler" or "" (a
    // tray or packed stage); a tray profile's optional stage_type column.
    std::string stageType;
};

struct SimHeater {
    std::string name;
    double duty = 0;
};

struct SimFeed {
    std::string stream;
    int tray = 0;
};

struct SimColumn {
    std::string name;
    double refluxRatio = 0;
    int numberOfTrays = 0;
    std::vector<SimHeater> heaters; // in the simulator's order
    std::vector<SimFeed> feeds;     // in the simulator's order
    std::vector<SimTray> trays;     // ascending tray numbers

    const SimTray* Tray(int number) const;
};

struct SimulationData {
    std::string title;
    // Number of errors and warnings the simulation run reported.
    int status = 0;
    std::vector<SimColumn> columns;

    // Column by name, compared without regard to case (simulator names are).
    const SimColumn* Column(const std::string& name) const;
};

// Checks the data for what the file and the server rely on: unique column
// names, trays 1..n each once, feed trays within the column, finite numbers
// in range. Throws EConvertError naming the first fault.
void ValidateSimulation(const SimulationData& data);

// Reads a simulation file. Throws EInOutError when the file cannot be opened
// or is not a simulation database, EConvertError when its contents are
// inconsistent.
// The file must be a regular file of at most 256 MB; it is read into memory
// and only the tables of this program's schema are accepted (no views,
// triggers or other objects), every statement has a deadline and the rows are
// capped.
SimulationData ReadSimulationFile(const std::string& path);
// The same for the bytes of a file; source names it in messages.
SimulationData ReadSimulationBytes(std::string bytes, const std::string& source);

// Writes a simulation file (validated first); an existing file is replaced
// only once the new one is complete. Throws EInOutError or EConvertError.
void WriteSimulationFile(const std::string& path, const SimulationData& data);
