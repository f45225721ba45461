#pragma once
// Where the warnings of the operating check show: the colour of each
// severity, the worst severity per field a warning names, and the figures of
// the operating check that belong to such a field.

#include <QColor>
#include <QString>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ColumnRating.h"
#include "OperatingCheck.h"

// Red for errors, amber for warnings, blue for notes; each reads on white
// with a contrast of at least 4.5 (docs/readable-colours.md).
QColor SeverityColour(WarningSeverity s);
// 0 note, 1 warning, 2 error: the higher, the worse.
int SeverityRank(WarningSeverity s);
// The worst severity among the warnings naming each field.
std::map<std::string, WarningSeverity> WorstSeverityByField(const std::vector<OperatingWarning>& warnings);
// Index of the first warning of the worst severity; nullopt without warnings.
std::optional<std::size_t> WorstWarning(const std::vector<OperatingWarning>& warnings);
bool HasErrorWarning(const std::vector<OperatingWarning>& warnings);
// A rated stage failed (skipped stages are none) or carries an error.
bool RatingHasError(const ProfileRating& rating);
// Indices of the operating figures (in the order of OperatingFigures) that
// show the quantity of a field a warning names.
std::vector<int> FiguresOfField(const std::string& field);
// The summary line: the worst warning's text and how many there are, empty
// without warnings.
QString WarningSummaryText(const std::vector<OperatingWarning>& warnings);
