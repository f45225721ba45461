#include "CaseTableCells.h"

#include <QTableWidgetItem>

#include "CalcPage.h"
#include "NumberText.h"

QString CaseCellNumber(const std::optional<double>& v)
{
    return v ? QString::number(*v, 'g', 6) : QString();
}

std::optional<double> PageFieldValue(const CalcPage& page, const char* field)
{
    const TEditD* f = page.Field(field);
    long double v;
    if (!f || !ParseNumber(Trim(f->Text()), v)) return std::nullopt;
    return static_cast<double>(v * static_cast<long double>(f->Exchange()));
}

QTableWidgetItem* ReadOnlyCell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}
