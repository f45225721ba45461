#include "UnitSystem.h"

#include <cstring>

#include "CalcPage.h"
#include "ComboBoxU.h"
#include "EditD.h"
#include "UnitLists.h"

namespace {

// The US unit of each list by its id; lists not named keep their first item.
const char* UsUnitName(const std::string& fieldName, const std::string& listId)
{
    if (fieldName == "UlsD") return "gpm/ft2"; // the liquid load, as US datasheets give it
    static const std::pair<const char*, const char*> kUs[] = {
        {"massflow", "lb/h"}, {"density", "lb/ft3"}, {"viscosity", "cp"}, {"surface", "dyn/cm"},
        {"diffusion", "ft2/h"}, {"velocity", "ft/s"}, {"length", "ft"},   {"pressure", "inH2O/ft"},
    };
    for (const auto& [id, unit] : kUs)
        if (listId == id) return unit;
    return nullptr;
}

} // namespace

int UnitIndexInSystem(const std::string& fieldName, UnitSystem system)
{
    const UnitList* list = UnitListForField(fieldName);
    if (!list) return -1;
    const char* unit = system == UnitSystem::US ? UsUnitName(fieldName, list->id) : nullptr;
    if (!unit) return 0;
    for (std::size_t i = 0; i < list->items.size(); ++i)
        if (std::strcmp(list->items[i].name, unit) == 0) return static_cast<int>(i);
    return 0;
}

void ApplyUnitSystem(CalcPage& page, UnitSystem system)
{
    for (TEditD* f : page.ValueFields()) {
        TComboBoxU* u = page.UnitOf(f);
        const int index = UnitIndexInSystem(f->Name(), system);
        if (u && index >= 0 && u->ItemIndex() != index) u->SetItemIndex(index);
    }
}

const char* UnitSystemName(UnitSystem system) { return system == UnitSystem::US ? "us" : "si"; }

bool UnitSystemFromName(const std::string& name, UnitSystem& system)
{
    if (name == "si") system = UnitSystem::SI;
    else if (name == "us") system = UnitSystem::US;
    else return false;
    return true;
}
