#pragma once
// One computed case as every output shows it: the fields (inputs as typed,
// results) with their marks, the operating check, what the diameter was
// sized to, the unit system, and whether the results belong to the inputs
// shown (a failed or a pending recalculation). The page, the JSON, the
// workbook and the PDF all read this one value; none of them decides a mark
// of its own.

#include <optional>
#include <string>
#include <vector>

#include "DesignBasis.h"
#include "OperatingCheck.h"
#include "UnitSystem.h"

class CalcPage;

// How a printed value is marked: an invalid one (beyond the model) is struck
// through and followed by kInvalidMark, a stale one (not recalculated for
// the inputs shown) is followed by kStaleMark.
inline constexpr const char* kInvalidMark = "\u2020"; // †
inline constexpr const char* kStaleMark = "\u2021";   // ‡
struct ValueMarks {
    bool invalid = false;
    bool stale = false;
    bool Any() const { return invalid || stale; }
    // The marks as they follow the value ("", "†", "‡" or "†‡").
    std::string Suffix() const;
};

struct CaseFieldState {
    std::string name;
    std::string text;      // as typed, or as the recalculation wrote it
    bool computed = false; // written by the recalculation (not typed)
    bool stale = false;
    bool invalid = false;
};

struct CaseState {
    std::vector<CaseFieldState> fields; // every value field, in the page's order
    OperatingCheck operation;           // figures and warnings of the last recalculation
    DesignOutcome design;               // what the last completed recalculation sized to
    // The choices behind the design, as set on the page.
    DesignBasis basis = DesignBasis::Flood;
    std::string limitText; // DpLimitD as typed (mbar/m)
    bool conservative = false;
    std::optional<int> floodMethod; // the flooding correlation chosen (UfMD's index)
    bool rating = false;
    // The diameter the results rest on (dD, m; none when blank, stale or
    // beyond the model), and whether the rounding went up to the next step so
    // that it keeps the design basis (a step, a pressure-drop basis, a maximum).
    std::optional<double> diameter;
    bool roundedUp = false;
    UnitSystem units = UnitSystem::SI;
    // The inputs changed after the last completed recalculation (an import,
    // Esc, an edit, a failed run): the results shown are not theirs.
    bool notRecalculated = false;
    // The messages of the failed recalculation, one a line; "" when it completed.
    std::string failure;

    bool Failed() const { return !failure.empty(); }
    // nullptr for a name that is no value field.
    const CaseFieldState* Field(const std::string& name) const;
    ValueMarks Marks(const std::string& name) const;
    // The operating figures rest on the results: stale with them.
    ValueMarks FigureMarks() const { return {false, notRecalculated}; }
    bool AnyMarks() const;
    // The design choices differ from a new page's (flood basis, no limit,
    // conservative option off, SI), or load cases exist.
    bool DesignDiffers(bool loadCases) const;
};

// The page as every output shows it, in the display units `units` (the
// engine does not keep them: the output that shows the page passes them).
CaseState CaseStateOf(const CalcPage& page, UnitSystem units = UnitSystem::SI);

// Engine texts of the printed outputs: the mark notes and the notice of
// results not recalculated for the inputs shown.
extern const char* const kInvalidMarkNote;
extern const char* const kStaleMarkNote;
extern const char* const kNotRecalculatedText;
extern const char* const kFailedRecalcText;
