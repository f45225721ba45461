#include "PackingSelector.h"

#include <algorithm>

#include "CalcPage.h"
#include "PackingCatalogue.h"

std::vector<std::string> CatalogueTypeNames()
{
    std::vector<std::string> names;
    for (const CatalogueRow& row : PackingCatalogue())
        if (!row[ColType].empty()) names.push_back(row[ColType]);
    return names;
}

bool SelectPackingByName(TComboModel& selector, const std::string& name)
{
    const auto& items = selector.Items();
    const auto it = std::find(items.begin(), items.end(), name);
    if (it == items.end()) return false;
    selector.SetItemIndex(static_cast<int>(it - items.begin()));
    return true;
}

bool RefreshPackingItems(TComboModel& selector)
{
    // Set even when the names are the same: a row's numbers may have changed,
    // and the views of the page (the comparison) compute again on the notice.
    std::vector<std::string> names = CatalogueTypeNames();
    const std::string selected = selector.Text();
    selector.SetItems(std::move(names));
    if (SelectPackingByName(selector, selected)) return true;
    selector.SetItemIndex(0);
    return false;
}

bool SelectsUserPacking(const CalcPage& page)
{
    const std::string name = page.Combo("PTD")->Text();
    const auto& rows = PackingCatalogue();
    for (std::size_t i = kBuiltInPackings; i < rows.size(); ++i)
        if (rows[i][ColType] == name) return true;
    return false;
}
