#include "Controls.h"

#include <algorithm>

void TControl::SetEnabled(bool e)
{
    if (enabled_ == e)
        return;
    enabled_ = e;
    NotifyViews();
}

void TControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

int TControl::Subscribe(std::function<void()> observer)
{
    const int id = nextObserver_++;
    observers_.emplace_back(id, std::move(observer));
    return id;
}

void TControl::Unsubscribe(int id)
{
    std::erase_if(observers_, [id](const auto& o) { return o.first == id; });
}

void TControl::NotifyViews()
{
    // Copy: an observer may subscribe or unsubscribe while being notified.
    auto observers = observers_;
    for (auto& o : observers)
        o.second();
}

void TTextModel::SetText(const std::string& t)
{
    if (t == text_)
        return;
    text_ = t;
    NotifyViews();
    RunOnChange();
}

void TComboModel::SetItems(std::vector<std::string> items)
{
    items_ = std::move(items);
    if (itemIndex_ >= static_cast<int>(items_.size()))
        itemIndex_ = -1;
    NotifyViews();
}

void TComboModel::SetItemIndex(int i)
{
    if (i < 0 || i >= static_cast<int>(items_.size()))
        i = -1;
    itemIndex_ = i;
    if (i >= 0)
        text_ = items_[i];
    else if (!editable_)
        text_.clear();
    NotifyViews();
}

std::string TComboModel::Text() const
{
    if (editable_)
        return text_;
    return itemIndex_ >= 0 ? items_[itemIndex_] : std::string();
}

void TComboModel::SetText(const std::string& t)
{
    if (!editable_) {
        auto it = std::find(items_.begin(), items_.end(), t);
        SetItemIndex(it == items_.end() ? -1 : static_cast<int>(it - items_.begin()));
        return;
    }
    text_ = t;
    auto it = std::find(items_.begin(), items_.end(), t);
    itemIndex_ = it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
    NotifyViews();
}

void TComboModel::UserSelect(int i)
{
    SetItemIndex(i);
    RunOnChange();
}

void TComboModel::UserEdit(const std::string& t)
{
    if (editable_ && t == text_)
        return;
    SetText(t);
    RunOnChange();
}

void TCheckModel::SetChecked(bool c)
{
    if (checked_ == c)
        return;
    checked_ = c;
    NotifyViews();
}

void TCheckModel::UserClick()
{
    checked_ = !checked_;
    NotifyViews();
    if (OnClick)
        OnClick(this);
}
