#pragma once
// How the column rating page spends its width: the results the engineer
// looks for (diameter, % of flood, pressure drop, HETP, notes) come right
// after the stage and bed numbers, every heading and drop-down shows its
// text whole in the current font, and the charts take room only once there
// is something to draw. Layout only: the tables' columns keep their
// numbers, only the order on screen changes.

class QSplitter;
class QTableWidget;
class QWidget;

// Shows the columns [firstResult, firstResult + resultCount) right after
// the first firstResult - dataCount columns, before the stage's data.
void PutResultsFirst(QTableWidget* stages, int firstData, int firstResult, int resultCount);
// Every column as wide as its heading's longest line and its cells (drop-
// down lists in cells included), a text column at most maxTextWidth wide
// (its cells show the whole text as a hint).
void FitColumns(QTableWidget* table, int textColumn = -1, int maxTextWidth = 0);
// Two thirds of the width for the tables, the rest for the charts.
void GiveTablesTheWidth(QSplitter* split);
// The charts beside the tables only while there are curves.
void ShowChartsWhenRated(QWidget* charts, bool rated);
