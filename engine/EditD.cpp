#include "EditD.h"

#include <cmath>

#include "Messages.h"
#include "NumberText.h"

bool* TEditD::FieldChangeFlag = nullptr;

TEditD::TEditD(std::string name) : TControl(std::move(name)) {}

void TEditD::SetText(const std::string& t)
{
    if (t == text_)
        return;
    text_ = t;
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
    const std::string trimmed = Trim(text_);
    long double v;
    if (!trimmed.empty() && ParseNumber(trimmed, v)) {
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

std::string TEditD::FloatStr() const
{
    long double v;
    if (ParseNumber(text_, v))
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

bool TEditD::IsBlank() const { return Trim(text_).empty(); }

double TEditD::GetValue()
{
    const std::string trimmed = Trim(text_);
    long double v;
    if (ParseNumber(trimmed, v)) {
        const long double si = v * static_cast<long double>(exchange_);
        if (std::fabs(si) <= static_cast<long double>(1.7976931348623157e308))
            return static_cast<double>(si);
    }
    const std::string& name = myLabel_.empty() ? Name() : myLabel_;
    const std::string message =
        trimmed.empty() ? "警告:“" + name + "”是空白,请补充." : name + "是错误数据";
    ShowMessage(MsgKind::Warning, message);
    if (OnFocusRequest)
        OnFocusRequest(this);
    SetText(" ");
    throw EAbort();
}

void TEditD::SetValue(double x)
{
    const long double shown = static_cast<long double>(x) / static_cast<long double>(exchange_);
    SetText(FullPrecisionText(shown));
}
