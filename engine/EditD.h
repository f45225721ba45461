#pragma once
// The unit-aware value field: holds the number as the user sees it, in the
// unit of its selector, and hands the engine its value in SI units.

#include <functional>
#include <string>

#include "Controls.h"

class TEditD : public TControl {
public:
    // The thread's hook: set to true on every text change of any value field.
    static thread_local bool* FieldChangeFlag;

    explicit TEditD(std::string name);

    const std::string& Text() const { return text_; }
    // Runs OnChange and the change hook when the text differs.
    void SetText(const std::string& t);

    // Factor from the display unit to SI. Setting it converts the text so the
    // SI value stays the same (a text that is not a number is left alone).
    double Exchange() const { return exchange_; }
    void SetExchange(double f);

    // false marks a must-input field; setting it also sets the border and
    // the blue font.
    bool MyResolved() const { return myResolved_; }
    void SetMyResolved(bool b);

    // Caption that names the field in messages; empty: the component name.
    const std::string& MyLabel() const { return myLabel_; }
    void SetMyLabel(std::string caption) { myLabel_ = std::move(caption); }

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool r);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor c);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);
    bool Ctl3D() const { return ctl3D_; }

    // The display string: the text as a number with 7 significant digits, or
    // the trimmed text when it is not a number.
    std::string FloatStr() const;
    // What the field shows when it is not being edited: the display string,
    // or "[Must input]" on an empty editable must-input field.
    std::string ShownString() const;

    // The value in SI units. On a text that is not a number: shows the
    // field's message, asks the view for the focus, sets the text to one
    // blank and throws EAbort.
    double GetValue();
    // The value in SI units without a message: false when the text is not a
    // number (or is blank).
    bool TryGetValue(double& si) const;
    // Writes x (SI) as the 15-digit text in the display unit.
    void SetValue(double x);

    // True when the trimmed text is empty.
    bool IsBlank() const;

    // The view gives the field the focus and selects all its text.
    std::function<void(TEditD*)> OnFocusRequest;

private:
    // The text parsed once: the solver reads the same texts many times.
    bool ParsedText(long double& v) const;

    std::string text_;
    mutable bool parsedValid_ = false;
    mutable bool parsedOk_ = false;
    mutable long double parsed_ = 0;
    double exchange_ = 1.0;
    bool myResolved_ = true;
    std::string myLabel_;
    bool readOnly_ = false;
    TColor color_ = clWindow;
    TColor fontColor_ = clBlue;
    TCursor cursor_ = TCursor::Default;
    bool ctl3D_ = true;
};

inline constexpr const char* kMustInputText = "[Must input]";
