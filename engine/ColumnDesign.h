#pragma once
// From a section to a column: the packed height with a margin on HETP, the
// split into beds by a maximum height and a maximum number of stages, each
// bed's internals (liquid distributor, hold-down, support; a collector
// between beds) with their vapour pressure drops, the column's total
// pressure drop and a tangent-to-tangent height. Plain figures in SI except
// where said; the rules and defaults are in docs/column-design.md.

#include <optional>
#include <string>
#include <vector>

class CalcPage;

// A stage as the column design takes it: its HETP before the margin, its
// irrigated pressure drop and its percentage of flood (the limiting point).
struct ColumnStage {
    int number = 0;                     // counted from the top
    double hetp = 0;                    // m, before the margin
    double pressureDrop = 0;            // mbar/m
    std::optional<double> floodPercent; // the limiting stage is the bed's highest
};

enum class DistributorType { Pipe, Trough, Pan };
// "pipe", "trough" or "pan".
const char* DistributorTypeName(DistributorType t);

// An internal's vapour pressure drop K rhoV (uVs / phi)^2 / 2 from its open
// area phi (fraction of the column's cross-section) and loss coefficient K.
struct InternalSpec {
    double openArea;  // phi, 0 < phi <= 1
    double lossCoeff; // K, velocity heads at the open area's velocity
    double height;    // m, the column height it takes
};

// Defaults of the internals by type (editable through ColumnDesignInput).
InternalSpec DefaultDistributor(DistributorType t);
InternalSpec DefaultSupport();
InternalSpec DefaultHoldDown();
InternalSpec DefaultCollector();
// The distributor type the liquid load (m3/(m2 h)) and the diameter (m) suggest.
DistributorType SuggestedDistributor(double liquidLoad, double diameter);
// Recommended drip points per m2 of column for a packing of specific area a (m2/m3).
double RecommendedDripPoints(double a);

// The maxima of one bed by packing family (specific area a, m2/m3).
struct BedMaxima {
    double height; // m
    int stages;
};
BedMaxima DefaultBedMaxima(double a);

// Height allowances of the column beyond beds and internals, m.
struct ColumnAllowances {
    double top = 1.0;          // vapour disengagement above the top distributor
    double sump = 2.0;         // bottom sump with the vapour inlet
    double manwayPerBed = 0.6; // access space at each bed's distributor
};

struct ColumnDesignInput {
    std::vector<ColumnStage> stages; // top to bottom, all of one packed section
    double designHETP = 0;           // m, before the margin: what the column reports
    double hetpMargin = 0;           // percent on HETP
    BedMaxima maxima{6.0, 15};
    double diameter = 0;                        // m
    double uVs = 0;                             // m/s, vapour load at the diameter
    double rhoV = 0;                            // kg/m3
    double liquidLoad = 0;                      // m3/(m2 h)
    double area = 0;                            // packing's specific area, m2/m3
    std::optional<DistributorType> distributor; // the engineer's pick; else suggested
    std::optional<InternalSpec> distributorSpec, supportSpec, holdDownSpec, collectorSpec;
    ColumnAllowances allowances;
};

struct DesignedBed {
    int firstStage = 0, stages = 0;
    double packedHeight = 0; // m, with the margin
    double pressureDrop = 0; // mbar, the packing's alone
    int limitingStage = 0;   // stage number of the highest flood percentage (the first on a tie)
};

struct DesignedInternal {
    std::string type;        // "distributor", "support", "hold-down", "collector"
    int bed = 0;             // the bed it serves, from 1
    std::string kind;        // a distributor's type ("pipe", ...), else ""
    double pressureDrop = 0; // mbar
    double height = 0;       // m
};

struct ColumnDesign {
    double designHETP = 0; // m, before the margin
    double hetpMargin = 0; // percent
    double diameter = 0;   // m
    std::vector<DesignedBed> beds;
    std::vector<DesignedInternal> internals; // top to bottom
    double totalPressureDrop = 0;            // mbar, beds and internals
    double height = 0;                       // m, tangent to tangent
    double dripPoints = 0;                   // recommended per m2
    std::vector<std::string> notes;          // engine texts
};

// The number of stages in each of `beds` beds over n stages: equal, the
// first ones one more where they cannot be.
std::vector<int> EqualSplit(int n, int beds);

// Designs the column. Throws EVelkError on input it cannot use (no stage, a
// stage height not above zero) and on a floating-point fault.
ColumnDesign DesignColumn(const ColumnDesignInput& in);

// The HETP the column design takes from the calculation page: the one place
// a chosen design HETP is plugged in. nullopt when the page has none.
std::optional<double> ColumnDesignHetp(const CalcPage& page);
// The column design input of the page's one section times its stages (the
// StagesD field), with the page's margin and maxima given; nullopt with the
// reason in `why` when the page lacks a figure.
std::optional<ColumnDesignInput> ColumnInputOfPage(const CalcPage& page, std::string& why);

// The column of the page, or nullopt with the engine text of the reason.
std::optional<ColumnDesign> PageColumnDesign(const CalcPage& page, std::string& why);
// True when the engineer asked for a column design on the page (a margin or a
// bed maximum set): only then do the report and the PDF carry its drawing.
bool ColumnDesignSet(const CalcPage& page);

extern const char* const kBedTooHighText;
extern const char* const kNoColumnFiguresText;

// The page's controls of the column design (added controls, stored only when
// set): margin in percent, maximum bed height in m, maximum stages per bed.
inline constexpr const char* kHetpMarginField = "HetpMarginD";
inline constexpr const char* kBedMaxHeightField = "BedMaxHeightD";
inline constexpr const char* kBedMaxStagesField = "BedMaxStagesD";
