#include "CaseState.h"

#include <cmath>

#include "CalcPage.h"
#include "DesignLimits.h"
#include "NumberText.h"
#include "TrNoop.h"

const char* const kInvalidMarkNote =
    QT_TRANSLATE_NOOP("Velk", "† 超出模型适用范围，数值仅供参考，不作为结果。");
const char* const kStaleMarkNote = QT_TRANSLATE_NOOP("Velk", "‡ 未按所示输入重新计算。");
const char* const kNotRecalculatedText =
    QT_TRANSLATE_NOOP("Velk", "计算结果未按所示输入重新计算，标有“‡”的数值不属于这些输入。");
const char* const kFailedRecalcText = QT_TRANSLATE_NOOP("Velk", "计算失败：");

std::string ValueMarks::Suffix() const
{
    return std::string(invalid ? kInvalidMark : "") + (stale ? kStaleMark : "");
}

const CaseFieldState* CaseState::Field(const std::string& name) const
{
    for (const CaseFieldState& f : fields)
        if (f.name == name) return &f;
    return nullptr;
}

ValueMarks CaseState::Marks(const std::string& name) const
{
    const CaseFieldState* f = Field(name);
    return f ? ValueMarks{f->invalid, f->stale} : ValueMarks{};
}

bool CaseState::AnyMarks() const
{
    for (const CaseFieldState& f : fields)
        if (f.stale || f.invalid) return true;
    return false;
}

bool CaseState::DesignDiffers(bool loadCases) const
{
    return loadCases || basis != DesignBasis::Flood || !limitText.empty() || conservative ||
           units != UnitSystem::SI;
}

CaseState CaseStateOf(const CalcPage& page, UnitSystem units)
{
    CaseState s;
    s.notRecalculated = page.NeedsRecalc;
    s.failure = page.LastFailure();
    s.fields.reserve(page.ValueFields().size());
    for (const TEditD* f : page.ValueFields()) {
        // Computed: an equation's result (its colour) or a formula's (read-only,
        // as the rounded diameter and the heights are; a rated diameter is typed).
        CaseFieldState fs{f->Name(), f->Text(), f->Color() != clWindow || f->ReadOnly(), page.IsStale(f),
                          page.IsInvalid(f)};
        // A computed value the inputs shown did not produce.
        if (s.notRecalculated && fs.computed && !f->IsBlank()) fs.stale = true;
        s.fields.push_back(std::move(fs));
    }
    s.operation = page.Operation();
    s.design = page.Design();
    s.basis = static_cast<DesignBasis>(page.Combo("DesignBasisD")->ItemIndex());
    s.limitText = Trim(page.Field("DpLimitD")->Text());
    s.conservative = page.Check("CBConservative")->Checked();
    if (const int m = page.Combo("UfMD")->ItemIndex(); m >= 0) s.floodMethod = m;
    s.rating = page.Check("CBRating")->Checked();
    // As every output marks it: not after a failed or a pending recalculation.
    if (const CaseFieldState* mark = s.Field("dD"); mark && !mark->stale && !mark->invalid) {
        const TEditD* d = page.Field("dD");
        double v = 0;
        if (!d->IsBlank() && d->TryGetValue(v) && std::isfinite(v) && v > 0) s.diameter = v;
    }
    s.roundedUp = RoundsUp(page);
    s.units = units;
    return s;
}
