#include "WarningMarks.h"

#include <QCoreApplication>

QColor SeverityColour(WarningSeverity s)
{
    switch (s) {
    case WarningSeverity::Error: return QColor(200, 0, 0);
    case WarningSeverity::Warning: return QColor(176, 96, 0);
    default: return QColor(0, 0, 160);
    }
}

int SeverityRank(WarningSeverity s)
{
    switch (s) {
    case WarningSeverity::Error: return 2;
    case WarningSeverity::Warning: return 1;
    default: return 0;
    }
}

std::map<std::string, WarningSeverity> WorstSeverityByField(const std::vector<OperatingWarning>& warnings)
{
    std::map<std::string, WarningSeverity> worst;
    for (const OperatingWarning& w : warnings) {
        const auto it = worst.find(w.field);
        if (it == worst.end())
            worst.emplace(w.field, w.severity);
        else if (SeverityRank(w.severity) > SeverityRank(it->second))
            it->second = w.severity;
    }
    return worst;
}

std::optional<std::size_t> WorstWarning(const std::vector<OperatingWarning>& warnings)
{
    std::optional<std::size_t> worst;
    for (std::size_t i = 0; i < warnings.size(); ++i)
        if (!worst || SeverityRank(warnings[i].severity) > SeverityRank(warnings[*worst].severity))
            worst = i;
    return worst;
}

bool HasErrorWarning(const std::vector<OperatingWarning>& warnings)
{
    for (const OperatingWarning& w : warnings)
        if (w.severity == WarningSeverity::Error)
            return true;
    return false;
}

bool RatingHasError(const ProfileRating& rating)
{
    for (const StageRating& s : rating.stages)
        if ((!s.skipped && !s.completed) || HasErrorWarning(s.warnings))
            return true;
    return false;
}

std::vector<int> FiguresOfField(const std::string& field)
{
    // Figures: 0 flood %, 1 design flood %, 2 F-factor, 3 capacity factor,
    // 4 liquid load, 5 wetting ratio, 6 pressure drop, 7 stages, 8 packed
    // height, 9 bed pressure drop.
    static const std::map<std::string, std::vector<int>> figures = {
        {"UvsD", {0}}, {"dD", {1}}, {"dPwaterD", {6, 9}}, {"UlsD", {4, 5}}, {"HETPD", {8}}, {"HTD", {8}},
    };
    const auto it = figures.find(field);
    return it == figures.end() ? std::vector<int>{} : it->second;
}

QString WarningSummaryText(const std::vector<OperatingWarning>& warnings)
{
    const auto worst = WorstWarning(warnings);
    if (!worst)
        return {};
    return QCoreApplication::translate("Velk", "%1 条警告，最严重：%2")
        .arg(warnings.size())
        .arg(QCoreApplication::translate("Velk", warnings[*worst].text.c_str()));
}
