#include "UserPackingRecord.h"

#include <QCoreApplication>

#include "CalcPage.h"
#include "CsvText.h"
#include "Messages.h"
#include "PackingCatalogue.h"
#include "PackingSelector.h"
#include "UserPackings.h"

bool IsUserPackingRecord(std::string_view control)
{
    return AsciiLower(std::string(control)) == AsciiLower(kUserPackingRecord);
}

std::string UserPackingRecordValue(const CalcPage& page)
{
    const std::string name = page.Combo("PTD")->Text();
    const auto& rows = PackingCatalogue();
    for (std::size_t i = kBuiltInPackings; i < rows.size(); ++i)
        if (rows[i][ColType] == name) return UserPackingLine(rows[i]);
    return {};
}

namespace
{
bool SameCells(const CatalogueRow& a, const CatalogueRow& b)
{
    // The row number is where the row stands, not what it is.
    return std::equal(a.begin() + 1, a.end(), b.begin() + 1);
}
} // namespace

std::string TakeUserPackingRecord(CalcPage& page, const std::string& value)
{
    CatalogueRow row;
    if (!UserPackingFromLine(value, row)) throw EConvertError("'" + value + "' is not a packing's row");
    std::vector<CatalogueRow> user = UserPackings();
    std::vector<CatalogueRow> others;
    CatalogueRow* same = nullptr;
    for (CatalogueRow& r : user) {
        if (r[ColType] == row[ColType])
            same = &r;
        else
            others.push_back(r);
    }
    if (const auto errors = CheckUserPacking(row, others); !errors.empty())
        throw EConvertError("'" + value + "': " + errors.front().what);
    if (!same) {
        if (user.size() >= kMaxUserPackings) throw EConvertError("'" + value + "': the catalogue is full");
        user.push_back(row);
    } else if (!SameCells(*same, row)) {
        *same = row;
        const QString text = QCoreApplication::translate(
            "Velk", "项目中的填料“%1”与用户填料库中的同名填料数据不同，本项目按项目中保存的数据计算。");
        ShowMessage(MsgKind::Warning, text.arg(QString::fromStdString(row[ColType])).toStdString());
    }
    SetUserPackings(std::move(user));
    RefreshPackingItems(*page.Combo("PTD"));
    return row[ColType];
}
