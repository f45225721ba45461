#include "ComboBoxU.h"

#include "EditD.h"
#include "Messages.h"
#include "NumberText.h"

thread_local bool* TComboBoxU::UnitChangeFlag = nullptr;

TComboBoxU::TComboBoxU(std::string name, std::vector<std::string> items, TEditD* associated)
    : TControl(std::move(name)), items_(std::move(items)), associated_(associated)
{
}

void TComboBoxU::SetItemIndex(int i)
{
    if (i < -1 || i >= static_cast<int>(items_.size()))
        i = -1;
    itemIndex_ = i;
    NotifyViews();
    if (Loading)
        return;
    RunOnChange();
    if (associated_ && i >= 0)
        associated_->SetExchange(ItemFactor(items_[i]));
    if (UnitChangeFlag)
        *UnitChangeFlag = true;
}

void TComboBoxU::Loaded()
{
    Loading = false;
    if (!items_.empty())
        SetItemIndex(0);
}

std::string TComboBoxU::GetUnit() const
{
    if (itemIndex_ < 0)
        return {};
    return ItemUnit(items_[itemIndex_]);
}

double TComboBoxU::ItemFactor(const std::string& item)
{
    const auto bar = item.find('|');
    const std::string factorText = bar == std::string::npos ? std::string() : item.substr(bar + 1, 50);
    double f;
    if (!ParseNumber(Trim(factorText), f) || f == 0)
        throw EConvertError("'" + factorText + "' is not a valid floating point value");
    return f;
}

std::string TComboBoxU::ItemUnit(const std::string& item)
{
    const auto bar = item.find('|');
    return Trim(bar == std::string::npos ? item : item.substr(0, bar));
}
