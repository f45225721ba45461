#pragma once
// Headless models of the controls of the main window. Each model holds the
// whole state a widget shows (text, selection, enabled, read-only, colours,
// cursor), so that the calculation, the project files and the report run
// without a window system; a widget only binds to its model.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Windows colour values: red in the low byte, green in the second, blue in
// the third; system colours carry 0xFF in the high byte.
using TColor = std::int32_t;
constexpr TColor RGBColor(int r, int g, int b) { return static_cast<TColor>(r | (g << 8) | (b << 16)); }
constexpr TColor clWindow = static_cast<TColor>(0xFF000005u);  // -16777211
constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000Fu); // -16777201
constexpr TColor clBlack = RGBColor(0, 0, 0);
constexpr TColor clBlue = RGBColor(0, 0, 255);
constexpr TColor clRed = RGBColor(255, 0, 0);
constexpr TColor clGray = RGBColor(128, 128, 128);

enum class TCursor { Default, No };

class TControl {
public:
    using Handler = std::function<void(TControl* sender)>;

    explicit TControl(std::string name) : name_(std::move(name)) {}
    virtual ~TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    const std::string& Name() const { return name_; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool e);

    const std::string& Hint() const { return hint_; }
    void SetHint(std::string h) { hint_ = std::move(h); }
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int n) { helpContext_ = n; }

    // The control's own handlers, as the window assigns them.
    Handler OnChange;
    Handler OnExit;

    // Runs the exit handler; the view calls it when the control loses focus.
    virtual void DoExit();

    // Views observe the model; an observer runs after every state change.
    int Subscribe(std::function<void()> observer);
    void Unsubscribe(int id);

protected:
    void NotifyViews();
    void RunOnChange()
    {
        if (OnChange)
            OnChange(this);
    }

private:
    std::string name_;
    bool enabled_ = true;
    std::string hint_;
    int helpContext_ = 0;
    std::vector<std::pair<int, std::function<void()>>> observers_;
    int nextObserver_ = 1;
};

// A plain text box, or the multi-line comment box (lines joined by CR LF).
class TTextModel : public TControl {
public:
    TTextModel(std::string name, bool multiLine = false) : TControl(std::move(name)), multiLine_(multiLine) {}
    const std::string& Text() const { return text_; }
    void SetText(const std::string& t); // runs OnChange when the text differs
    bool MultiLine() const { return multiLine_; }

private:
    std::string text_;
    bool multiLine_;
};

// A drop-down list (no typing) or an editable combo box.
class TComboModel : public TControl {
public:
    TComboModel(std::string name, std::vector<std::string> items, bool editable = false)
        : TControl(std::move(name)), items_(std::move(items)), editable_(editable)
    {
    }
    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(std::vector<std::string> items);
    int ItemIndex() const { return itemIndex_; }
    // From code: no change handler runs, as for a plain combo box. Values
    // outside the list select nothing (-1).
    void SetItemIndex(int i);
    // The text: the selected item, or for an editable box what was typed.
    std::string Text() const;
    // Editable box only: sets the text from code (no change handler).
    void SetText(const std::string& t);
    bool Editable() const { return editable_; }

    // What a user does: the change handler runs afterwards.
    void UserSelect(int i);
    void UserEdit(const std::string& t);

private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
    std::string text_;
    bool editable_;
};

class TCheckModel : public TControl {
public:
    explicit TCheckModel(std::string name) : TControl(std::move(name)) {}
    bool Checked() const { return checked_; }
    void SetChecked(bool c); // from code: no click handler
    void UserClick();        // toggles and runs OnClick
    Handler OnClick;

private:
    bool checked_ = false;
};
