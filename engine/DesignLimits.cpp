#include "DesignLimits.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "CalcPage.h"
#include "ColumnSizing.h"
#include "NumberText.h"
#include "TrNoop.h"

const char* const kLimitFloodText =
    QT_TRANSLATE_NOOP("Velk", "“气相负荷”超过泛点率上限(占系统极限负荷的百分数)。");
const char* const kLimitFsText = QT_TRANSLATE_NOOP("Velk", "F因子低于F因子下限。");
const char* const kLimitFsRoundedText =
    QT_TRANSLATE_NOOP("Velk", "F因子低于F因子下限：塔径向上圆整使气速降低所致，塔径不为此向下圆整。");
const char* const kLimitBedDpText = QT_TRANSLATE_NOOP("Velk", "床层压降超过床层压降上限。");
const char* const kLimitWettingText =
    QT_TRANSLATE_NOOP("Velk", "“液相负荷”低于润湿率下限(最小液体负荷的倍数)。");
const char* const kLimitWettingRoundedText = QT_TRANSLATE_NOOP(
    "Velk", "“液相负荷”低于润湿率下限：塔径向上圆整使液相负荷降低所致，塔径不为此向下圆整。");

namespace
{
constexpr double kInch = 0.0254, kFoot = 0.3048; // m, exact by definition
// Below this part of a step a diameter counts as on the step: the sizing's
// own tolerance, not a diameter a fabricator could tell apart.
constexpr double kStepSlack = 1e-9;

std::optional<double> FieldLimit(const CalcPage& page, const char* name)
{
    const TEditD* f = page.Field(name);
    return f ? ParseLimit(f->Text()) : std::nullopt;
}

bool PressureDropBasis(const CalcPage& page)
{
    double mbar;
    return page.Combo("DesignBasisD")->ItemIndex() > 0 &&
           ParseNumber(TrimView(page.Field("DpLimitD")->Text()), mbar) && mbar > 0 &&
           mbar <= std::numeric_limits<double>::max() / 100.0;
}
} // namespace

std::optional<double> ParseLimit(const std::string& text)
{
    double v;
    if (!ParseNumber(TrimView(text), v) || !std::isfinite(v) || !(v > 0)) return std::nullopt;
    return v;
}

DesignLimits DesignLimitsOf(const CalcPage& page)
{
    DesignLimits l;
    l.maxFloodPercent = FieldLimit(page, kLimitFloodField);
    l.minFsFactor = FieldLimit(page, kLimitFsField);
    l.maxBedPressureDrop = FieldLimit(page, kLimitBedDpField);
    l.minWettingRatio = FieldLimit(page, kLimitWettingField);
    return l;
}

std::optional<WarningSeverity> BeyondMaximum(double value, double limit)
{
    if (!(value > limit)) return std::nullopt;
    return value > limit * (1.0 + kLimitErrorFraction) ? WarningSeverity::Error : WarningSeverity::Warning;
}

std::optional<WarningSeverity> BeyondMinimum(double value, double limit)
{
    if (!(value < limit)) return std::nullopt;
    return value < limit * (1.0 - kLimitErrorFraction) ? WarningSeverity::Error : WarningSeverity::Warning;
}

void AddLimitWarnings(const DesignLimits& limits, const OperatingFigures& fig, double roundedUp,
                      std::vector<OperatingWarning>& out)
{
    auto add = [&](const char* code, const char* field, const char* text, std::optional<WarningSeverity> s) {
        if (s) out.push_back({code, field, text, *s});
    };
    // The system limit A * uF is uF itself when no foaming factor applies.
    const std::optional<double> flood = fig.systemFloodPercent ? fig.systemFloodPercent : fig.floodPercent;
    if (limits.maxFloodPercent && flood)
        add("limit-flood", "UvsD", kLimitFloodText, BeyondMaximum(*flood, *limits.maxFloodPercent));
    // A minimum the theoretical diameter would have met was broken by rounding up.
    auto rounded = [&](double value, double limit) {
        return roundedUp > 1.0 && !(value * roundedUp < limit);
    };
    if (limits.minFsFactor && fig.FsFactor)
        add("limit-f-factor", "UvsD",
            rounded(*fig.FsFactor, *limits.minFsFactor) ? kLimitFsRoundedText : kLimitFsText,
            BeyondMinimum(*fig.FsFactor, *limits.minFsFactor));
    if (limits.maxBedPressureDrop && fig.bedPressureDrop)
        add("limit-bed-pressure-drop", "dPwaterD", kLimitBedDpText,
            BeyondMaximum(*fig.bedPressureDrop, *limits.maxBedPressureDrop));
    if (limits.minWettingRatio && fig.wettingRatio)
        add("limit-wetting", "UlsD",
            rounded(*fig.wettingRatio, *limits.minWettingRatio) ? kLimitWettingRoundedText
                                                                : kLimitWettingText,
            BeyondMinimum(*fig.wettingRatio, *limits.minWettingRatio));
}

std::optional<double> ParseDiameterStep(const std::string& text)
{
    const std::string_view t = TrimView(text);
    struct Unit {
        const char* suffix;
        double metres;
    };
    // Longest suffix first: "mm" before "m".
    for (const Unit u : {Unit{"mm", 0.001}, Unit{"in", kInch}, Unit{"ft", kFoot}, Unit{"m", 1.0}}) {
        const std::string_view s(u.suffix);
        if (t.size() <= s.size() || t.substr(t.size() - s.size()) != s) continue;
        double v;
        if (!ParseNumber(TrimView(t.substr(0, t.size() - s.size())), v) || !std::isfinite(v) || !(v > 0))
            return std::nullopt;
        const double step = v * u.metres;
        // A step below a millimetre or above 100 m is no fabricator's grid.
        if (!(step >= 0.001 && step <= 100.0)) return std::nullopt;
        return step;
    }
    return std::nullopt;
}

std::string FeetAndInchesText(double metres)
{
    if (!std::isfinite(metres) || metres < 0 || metres > 1e6) return "";
    // Tenths of an inch, whole: 71.99 in is 6 ft 0 in, never 5 ft 12 in.
    const long long tenths = std::llround(metres / kInch * 10.0);
    const long long feet = tenths / 120, rest = tenths % 120;
    std::string inches = std::to_string(rest / 10);
    if (rest % 10) inches += "." + std::to_string(rest % 10);
    return std::to_string(feet) + " ft " + inches + " in";
}

double RoundUpToStep(double dp, double step)
{
    if (!std::isfinite(dp) || !(step > 0)) return std::nan("");
    const double n = std::max(1.0, std::ceil(dp / step - kStepSlack));
    // To the nanometre, so that 18 steps of 0.1 m print as 1.8.
    return std::round(n * step * 1e9) / 1e9;
}

double RoundUpToGrid(double dp)
{
    const double mm = dp * 1000.0;
    return RoundUpToStep(dp, mm < 100.0 ? 0.010 : mm < 1000.0 ? 0.050 : 0.100);
}

bool RoundsUp(const CalcPage& page)
{
    const TEditD* step = page.Field(kDiameterStepField);
    return (step && ParseDiameterStep(step->Text())) || PressureDropBasis(page) ||
           DesignLimitsOf(page).AnyMaximum();
}

double DesignDiameter(const CalcPage& page, double dp)
{
    const TEditD* stepField = page.Field(kDiameterStepField);
    if (const auto step = stepField ? ParseDiameterStep(stepField->Text()) : std::nullopt)
        return RoundUpToStep(dp, *step);
    if (PressureDropBasis(page) || DesignLimitsOf(page).AnyMaximum()) return RoundUpToGrid(dp);
    return RoundColumnDiameter(dp);
}
