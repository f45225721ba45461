#pragma once
// Which result fields hold values that no longer follow from the inputs: a
// result keeps its last value when an input of its group is emptied and the
// group is left alone (two blanks), and everything computed from it keeps
// its value too. The marks are set after a completed recalculation.

#include <cstddef>
#include <vector>

#include "Controls.h"

class TEditD;

// A result and the fields it is computed from. The rule applies only while
// the result carries `colour` (the equation that computed it), or always
// when `anyColour` is set (values written without an equation colour).
struct ResultDependency {
    const TEditD* result;
    const std::vector<TEditD*>* inputs; // the result itself may be among them
    TColor colour;
    bool anyColour;
};

class StaleMarks {
public:
    // Marks every result with text that has an applying rule with a blank
    // or marked input; all other marks are dropped.
    void Update(const ResultDependency* rules, std::size_t count);
    void Clear() { stale_.clear(); }
    bool IsStale(const TEditD* f) const;
    const std::vector<const TEditD*>& Fields() const { return stale_; }

private:
    bool Applies(const ResultDependency& rule) const;
    std::vector<const TEditD*> stale_;
};
