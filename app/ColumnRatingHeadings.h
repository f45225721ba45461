#pragma once
// The headings of the column rating page's tables, with their units in the
// chosen display units, and the stages' data as the page shows them.

#include <QStringList>
#include <optional>

// The stages' table: stage, bed, the ten values of kProfileValues with
// their units, the results and the comment.
QStringList ColumnRatingStageHeadings();
// The beds' totals and the beds' definitions.
QStringList ColumnRatingTotalHeadings();
QStringList ColumnRatingBedHeadings();
// Value index of kProfileValues in SI, in the display unit of its column.
std::optional<double> ShownProfileValue(int index, const std::optional<double>& si);
