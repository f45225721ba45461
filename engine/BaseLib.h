#pragma once
// The equation-field solver and the small field helpers around it. An
// equation group is an ordered list of value fields bound by one residual
// equation; the solver computes whichever single member is blank and may be
// computed, re-solves it when its inputs change and withdraws it when an
// input is emptied.

#include "TrNoop.h"
#include <array>
#include <functional>
#include <vector>

#include "Controls.h"

class TEditD;

// Working copy of a group's values, SI, element i for field i.
using ValueArray = std::array<double, 201>;
using Equation = std::function<double(const double* values)>;

inline constexpr const char* kInputErrorText = QT_TRANSLATE_NOOP("Velk", "发现错误，可能是输入数据错误！");

// Returns true when a field was written or cleared. Any error is reported
// with the warning above and passed on to the caller.
bool SolveFields(const std::vector<TEditD*>& fields, TColor colour, bool enabledOnly, double tolerance,
                 double startValue, const Equation& equation);

// Damped Newton iteration with a five-point derivative. The iteration is the
// original one, constants and all; on top of it the loop is bounded and a
// value that does not satisfy the equation is refused (EVelkError).
double FindRoot(const ValueArray& values, int unknownIndex, const Equation& equation, double startValue);
// As above; n is the size of the group, used to judge the residual's scale.
double FindRoot(const ValueArray& values, int n, int unknownIndex, const Equation& equation, double startValue);

bool ApplyComputedValue(TEditD& field, TColor colour, double tolerance, double value);
bool ClearComputedField(TEditD& field);
// True when every field has non-empty (untrimmed) text.
bool AllFilled(const std::vector<TEditD*>& fields);
// editable: read-only off, black text, window colour; otherwise read-only,
// blue text, button-face colour. Other controls get their enabled state.
void SetResultStyle(const std::vector<TControl*>& controls, bool editable);

inline constexpr const char* kNoRootText = QT_TRANSLATE_NOOP("Velk", "方程在给定数据下无解或迭代不收敛");

// Upper bound on Newton iterations; the original loop had none.
inline constexpr int kMaxRootIterations = 4000;
