#include "EditD.h"

#include <cmath>

#include "Messages.h"
#include "NumberText.h"

thread_local bool* TEditD::FieldChangeFlag = nullptr;

TEditD::TEditD(std::string name) : TControl(std::move(name)) {}

void TEditD::SetText(const std::string& t)
{
    if (t == text_)
        return;
    text_ = t;
    parsedValid_ = false;
    NotifyViews();
    RunOnChange();
    if (FieldChangeFlag)
        *FieldChangeFlag = true;
}

void TEditD::SetExchange(double f)
{
    // The same factor again converts nothing, so the text is left as typed.
    if (f == exchange_)
        return;
    long double v;
    if (!IsBlank() && ParsedText(v)) {
        // Extended precision throughout, as the stored texts were made.
        const long double converted = v * static_cast<long double>(exchange_) / static_cast<long double>(f);
        if (std::isfinite(converted))
            SetText(FullPrecisionText(converted));
    }
    exchange_ = f;
    NotifyViews();
}

void TEditD::SetMyResolved(bool b)
{
    myResolved_ = b;
    ctl3D_ = b;
    fontColor_ = clBlue;
    NotifyViews();
}

void TEditD::SetReadOnly(bool r)
{
    if (readOnly_ == r)
        return;
    readOnly_ = r;
    NotifyViews();
}

void TEditD::SetColor(TColor c)
{
    if (color_ == c)
        return;
    color_ = c;
    NotifyViews();
}

void TEditD::SetFontColor(TColor c)
{
    if (fontColor_ == c)
        return;
    fontColor_ = c;
    NotifyViews();
}

void TEditD::SetCursor(TCursor c)
{
    if (cursor_ == c)
        return;
    cursor_ = c;
    NotifyViews();
}

bool TEditD::ParsedText(long double& v) const
{
    if (!parsedValid_) {
        parsedOk_ = ParseNumber(Trim(text_), parsed_);
        parsedValid_ = true;
    }
    v = parsed_;
    return parsedOk_;
}

std::string TEditD::FloatStr() const
{
    long double v;
    // The display string allows leading blanks only; trailing ones make it text.
    const bool trailingBlank = !text_.empty() && static_cast<unsigned char>(text_.back()) <= 32;
    if (!trailingBlank && ParsedText(v))
        return DisplayText(v);
    return Trim(text_);
}

std::string TEditD::ShownString() const
{
    std::string s = FloatStr();
    if (!myResolved_ && s.empty() && !readOnly_)
        return kMustInputText;
    return s;
}

bool TEditD::IsBlank() const
{
    for (char c : text_)
        if (static_cast<unsigned char>(c) > 32)
            return false;
    return true;
}

double TEditD::GetValue()
{
    long double v;
    if (ParsedText(v)) {
        const long double si = v * static_cast<long double>(exchange_);
        if (std::fabs(si) <= static_cast<long double>(1.7976931348623157e308))
            return static_cast<double>(si);
    }
    const std::string& name = myLabel_.empty() ? Name() : myLabel_;
    const std::string message =
        IsBlank() ? "警告:“" + name + "”是空白,请补充." : name + "是错误数据";
    ShowMessage(MsgKind::Warning, message);
    if (OnFocusRequest)
        OnFocusRequest(this);
    SetText(" ");
    throw EAbort();
}

bool TEditD::TryGetValue(double& si) const
{
    long double v;
    if (!ParsedText(v))
        return false;
    const long double x = v * static_cast<long double>(exchange_);
    if (!(std::fabs(x) <= static_cast<long double>(1.7976931348623157e308)))
        return false;
    si = static_cast<double>(x);
    return true;
}

void TEditD::SetValue(double x)
{
    const long double shown = static_cast<long double>(x) / static_cast<long double>(exchange_);
    SetText(FullPrecisionText(shown));
}
