#pragma once
// Cells of the tables that list cases rated on copies of the calculation
// page (the column rating's stages, the load cases).

#include <QString>
#include <optional>

class CalcPage;
class QTableWidgetItem;

// Six significant digits; empty for no value.
QString CaseCellNumber(const std::optional<double>& v);
// A page field's SI value as its text and unit give it; nullopt when blank or not a number.
std::optional<double> PageFieldValue(const CalcPage& page, const char* field);
// A cell that can be selected but not edited.
QTableWidgetItem* ReadOnlyCell(const QString& text);
