#pragma once
// A case of the HYSYS stand-in, read from a case file (JSON, extension
// ".hsc"): the flowsheet's operations and, for each column operation, the
// stages of its column sub-flowsheet with the vapour and the liquid leaving
// each stage. The format is described in docs/simulator-import.md.
//
// Units are those HYSYS reports through automation: mass flow kg/s, mass
// density kg/m3, viscosity cP, surface tension dyn/cm.

#include <optional>
#include <string>
#include <vector>

struct HysysStreamData {
    double massFlow = 0;                  // kg/s
    double massDensity = 0;               // kg/m3
    double viscosity = 0;                 // cP
    std::optional<double> surfaceTension; // dyn/cm; required for the liquid
};

struct HysysStageData {
    std::string name;
    HysysStreamData vapour;
    HysysStreamData liquid;
};

struct HysysOperationData {
    std::string name;
    std::string typeName; // "ColumnOp" for a column; others have no stages
    std::vector<HysysStageData> stages;
    bool IsColumn() const;
};

struct HysysCaseData {
    std::string title;
    std::string path;
    std::vector<HysysOperationData> operations;
};

// Parses case-file text; throws EConvertError naming source and the fault.
HysysCaseData ParseHysysCase(const std::string& text, const std::string& source);
// Reads and parses a case file; EInOutError when it cannot be read.
HysysCaseData LoadHysysCase(const std::string& path);
