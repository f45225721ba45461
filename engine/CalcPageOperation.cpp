// The calculation page's operating check: the result dependencies behind
// the stale marks, and the figures and warnings after a recalculation.
#include "CalcPage.h"

#include <algorithm>

void CalcPage::BuildStaleRules()
{
    const Groups& g = groups_;
    auto rule = [](std::vector<ResultDependency>& rules, const std::vector<TEditD*>& group, TColor colour) {
        rules.push_back({group.back(), &group, colour, false});
    };
    for (std::size_t method = 0; method < staleRules_.size(); ++method) {
        auto& rules = staleRules_[method];
        rule(rules, g.flowParameter, EqColour::FlowParameter);
        const std::size_t m = method % 4;
        if (m == 0) {
            rule(rules, g.maxLoadFactor, EqColour::LoadFactor);
            rule(rules, g.floodFromLoad, EqColour::FloodVelocity);
        } else if (m <= 2) {
            rule(rules, m == 1 ? g.billet : g.kisterGill, EqColour::FloodVelocity);
            rule(rules, g.loadFromFlood, EqColour::LoadFactor);
        }
        rule(rules, method < 4 ? g.operatingVelocity : g.designVelocity, EqColour::OperatingVelocity);
        rule(rules, g.diameter, EqColour::TheoreticalDiameter);
        rule(rules, g.liquidLoad, EqColour::LiquidLoad);
        rule(rules, g.vapourLoad, EqColour::VapourLoad);
        // Either equilibrium field may be the computed one.
        rules.push_back({g.slope[0], &g.slope, EqColour::EquilibriumSlope, false});
        rules.push_back({g.slope[1], &g.slope, EqColour::EquilibriumSlope, false});
        rules.push_back({g.stripping[0], &g.stripping, EqColour::StrippingFactor, false});
        rule(rules, g.stripping, EqColour::StrippingFactor);
        for (const char* n : {"HTD", "dPdryD", "dPwaterD"})
            rules.push_back({Field(n), &g.pressureDropAll, 0, true});
        for (const char* n : {"HTUVD", "HTULD", "HTUOVD", "HETPD"})
            rules.push_back({Field(n), &g.massTransferAll, 0, true});
        rules.push_back({Field("dD"), &g.roundingInput, 0, true});
    }
}

void CalcPage::UpdateOperation()
{
    // The conservative flood velocity depends on the Billet group's fields.
    const int method = Check("CBConservative")->Checked() ? 1 : Combo("UfMD")->ItemIndex();
    const std::size_t limited = DesignLimit() ? 4 : 0;
    const auto& rules = staleRules_[(method >= 0 && method <= 2 ? method : 3) + limited];
    // While rating, dD is an input and not the rounding's result.
    stale_.Update(rules.data(), rules.size() - (rating_->Checked() ? 1 : 0));
    EvaluateOperatingCheck(*this, stale_.Fields(), operation_, ModelState{pressureDropCapped_});
    invalid_ = operation_.invalid;
}

void CalcPage::CopyModelMarks(const CalcPage& from)
{
    invalid_ = from.invalid_;
    pressureDropCapped_ = from.pressureDropCapped_;
}

bool CalcPage::IsInvalid(const TEditD* field) const
{
    return field && std::find(invalid_.begin(), invalid_.end(), field->Name()) != invalid_.end();
}
