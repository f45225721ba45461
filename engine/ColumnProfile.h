#pragma once
// A column profile: the liquid and vapour loads and properties of every
// stage of a column, as a simulator gives them, and the packed beds the
// engineer splits the stages into. Values are SI; a value a stage does not
// carry is taken from the calculation page when the stage is rated.

#include <optional>
#include <string>
#include <vector>

struct ProfileStage {
    int number = 0;                                          // as the source numbers it, 1 at the top
    std::optional<double> V, rhoV, muV, L, rhoL, muL, sigma; // kg/s, kg/m3, Pa.s, N/m
    std::optional<double> DL, DV;                            // diffusivities, m2/s
    std::optional<double> slope;                             // equilibrium slope m
    // The source's stage type: "condenser" or "reboiler" is no packed stage
    // and is skipped; "" a tray or packed stage.
    std::string type;
};

// A value of a stage and the calculation-page field it is written into.
struct ProfileValue {
    const char* field; // value field of the calculation page
    std::optional<double> ProfileStage::*member;
    const char* caption; // short column caption
};
// In the order the import dialogs write the first seven, then the optional ones.
extern const ProfileValue kProfileValues[10];
inline constexpr int kProfileRequiredValues = 7;

struct ProfileBed {
    int first = 0, last = 0;        // stage numbers, both included
    std::string packing;            // catalogue name
    int method = 0;                 // flooding correlation 0, 1, 2
    bool lagrange = false;          // local interpolation of method 2
    std::optional<double> diameter; // m; the given diameter in rating mode
};

struct ColumnProfile {
    std::string source;               // where the stages came from, shown to the user
    std::vector<ProfileStage> stages; // ascending stage numbers
    std::vector<ProfileBed> beds;     // ascending, not overlapping
    bool rating = false;              // rate the beds' given diameters instead of sizing them

    bool Empty() const { return stages.empty(); }
    // Index of the stage with that number, -1 if none.
    int StageIndex(int number) const;
    // Index of the bed holding the stage number, -1 if none.
    int BedOf(int number) const;
};

// Checks stages and beds: stage numbers ascending and unique, values finite
// and positive (the slope may be any finite number), beds within the
// stages, not overlapping, with a packing, a method 0..2 and, in rating
// mode, a positive diameter. Throws EConvertError naming the first fault.
void ValidateProfile(const ColumnProfile& profile);
