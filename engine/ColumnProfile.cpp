#include "ColumnProfile.h"

#include <cmath>

#include "Messages.h"
#include "TrNoop.h"

const ProfileValue kProfileValues[10] = {
    {"VD", &ProfileStage::V, QT_TRANSLATE_NOOP("Velk", "气相流量")},
    {"DvD", &ProfileStage::rhoV, QT_TRANSLATE_NOOP("Velk", "气相密度")},
    {"MvD", &ProfileStage::muV, QT_TRANSLATE_NOOP("Velk", "气相粘度")},
    {"LD", &ProfileStage::L, QT_TRANSLATE_NOOP("Velk", "液相流量")},
    {"DlD", &ProfileStage::rhoL, QT_TRANSLATE_NOOP("Velk", "液相密度")},
    {"MlD", &ProfileStage::muL, QT_TRANSLATE_NOOP("Velk", "液相粘度")},
    {"SLD", &ProfileStage::sigma, QT_TRANSLATE_NOOP("Velk", "表面张力")},
    {"DlfD", &ProfileStage::DL, QT_TRANSLATE_NOOP("Velk", "液相扩散系数")},
    {"DvfD", &ProfileStage::DV, QT_TRANSLATE_NOOP("Velk", "气相扩散系数")},
    {"meD", &ProfileStage::slope, QT_TRANSLATE_NOOP("Velk", "平衡线斜率")},
};

int ColumnProfile::StageIndex(int number) const
{
    for (std::size_t i = 0; i < stages.size(); ++i)
        if (stages[i].number == number) return static_cast<int>(i);
    return -1;
}

int ColumnProfile::BedOf(int number) const
{
    for (std::size_t i = 0; i < beds.size(); ++i)
        if (number >= beds[i].first && number <= beds[i].last) return static_cast<int>(i);
    return -1;
}

void ValidateProfile(const ColumnProfile& p)
{
    auto fail = [](const std::string& what) { throw EConvertError(what); };
    for (std::size_t i = 0; i < p.stages.size(); ++i) {
        const ProfileStage& s = p.stages[i];
        const std::string name = "stage " + std::to_string(s.number);
        if (i > 0 && s.number <= p.stages[i - 1].number)
            fail(name + ": stage numbers must ascend, each once");
        for (const ProfileValue& v : kProfileValues) {
            const std::optional<double>& x = s.*v.member;
            if (!x) continue;
            const bool slope = v.member == &ProfileStage::slope;
            if (!std::isfinite(*x) || (!slope && *x < 0))
                fail(name + ": " + v.field + " is not a valid value");
        }
    }
    for (std::size_t i = 0; i < p.beds.size(); ++i) {
        const ProfileBed& b = p.beds[i];
        const std::string name = "bed " + std::to_string(b.first) + "-" + std::to_string(b.last);
        if (b.first > b.last) fail(name + ": the first stage is below the last");
        if (p.StageIndex(b.first) < 0 || p.StageIndex(b.last) < 0)
            fail(name + ": not a range of profile stages");
        if (i > 0 && b.first <= p.beds[i - 1].last) fail(name + ": overlaps the bed above it");
        if (b.packing.empty()) fail(name + ": no packing");
        if (b.method < 0 || b.method > 2) fail(name + ": the method must be 0, 1 or 2");
        if (p.rating && !(b.diameter && std::isfinite(*b.diameter) && *b.diameter > 0))
            fail(name + ": rating needs a diameter above zero");
    }
}
