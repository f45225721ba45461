#pragma once
// The seven calculation-page fields that both import dialogs write, in the
// order they are written, with where each value comes from: the key of the
// PRO/II tray list and the line of the HYSYS stage record. Values are in the
// fields' base units (kg/s, kg/m3, Pa.s, N/m).

struct ImportField {
    const char* field;    // value field of the calculation page
    const char* proiiKey; // key in the PRO/II tray property list
    int hysysLine;        // line of the HYSYS stage record (from 0)
};

inline constexpr ImportField kImportFields[] = {
    {"VD", "VapTotalMassRate", 1}, {"DvD", "VapDensityAct", 2}, {"MvD", "VapViscosity", 3},
    {"LD", "LiqTotalMassRate", 6}, {"DlD", "LiqDensityAct", 7}, {"MlD", "LiqViscosity", 8},
    {"SLD", "LiqSurfTension", 9},
};
