#include "ColumnRatingLayout.h"

#include <QHeaderView>
#include <QSplitter>
#include <QTableWidget>

void PutResultsFirst(QTableWidget* stages, int firstData, int firstResult, int resultCount)
{
    QHeaderView* h = stages->horizontalHeader();
    for (int k = 0; k < resultCount; ++k) {
        const int from = h->visualIndex(firstResult + k);
        h->moveSection(from, firstData + k);
    }
}

void FitColumns(QTableWidget* table, int textColumn, int maxTextWidth)
{
    table->resizeColumnsToContents();
    if (textColumn < 0 || textColumn >= table->columnCount())
        return;
    if (table->columnWidth(textColumn) > maxTextWidth)
        table->setColumnWidth(textColumn, maxTextWidth);
    for (int r = 0; r < table->rowCount(); ++r)
        if (QTableWidgetItem* item = table->item(r, textColumn); item && item->toolTip().isEmpty())
            item->setToolTip(item->text());
}

void GiveTablesTheWidth(QSplitter* split)
{
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 1);
    split->setSizes({2000, 1000}); // a proportion until the splitter has its width
}

void ShowChartsWhenRated(QWidget* charts, bool rated) { charts->setVisible(rated); }
