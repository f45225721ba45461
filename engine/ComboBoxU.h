#pragma once
// The unit selector beside a value field: each item is a unit name padded
// with blanks, "|" and the factor to SI as a decimal text.

#include <string>
#include <vector>

#include "Controls.h"

class TEditD;

class TComboBoxU : public TControl {
public:
    // The thread's hook: set to true on every unit change of any selector.
    static thread_local bool* UnitChangeFlag;

    TComboBoxU(std::string name, std::vector<std::string> items, TEditD* associated);

    const std::vector<std::string>& Items() const { return items_; }
    int ItemIndex() const { return itemIndex_; }
    // From code or by the user alike: runs the change operation (own change
    // handler, factor to the field, hook), except while Loading is set.
    void SetItemIndex(int i);
    TEditD* Associated() const { return associated_; }
    void SetAssociated(TEditD* e) { associated_ = e; }

    // The unit name of the selected item.
    std::string GetUnit() const;

    // Set while a stored layout is being applied: item changes are stored
    // without their effects.
    bool Loading = false;
    // After a layout has been loaded: select the first item and apply its factor.
    void Loaded();

    // Factor of an item: the number after the first "|" (at most 50 characters).
    static double ItemFactor(const std::string& item);
    static std::string ItemUnit(const std::string& item);

private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
    TEditD* associated_;
};
