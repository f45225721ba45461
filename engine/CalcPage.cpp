#include "CalcPage.h"

#include <algorithm>
#include <cctype>

#include "CalcPageSetup.h"
#include "ColumnDesign.h"
#include "ColumnSizing.h"
#include "DesignLimits.h"
#include "FloatGuard.h"
#include "FloodingCorrelations.h"
#include "MassTransfer.h"
#include "Messages.h"
#include "PackingCatalogue.h"
#include "PressureDrop.h"
#include "TrNoop.h"
#include "UnitLists.h"

namespace
{
constexpr double kTolerance = 1e-6;
constexpr double kStart = 1.2345;
constexpr double kStartEquilibrium = 0.2345;

bool EqualsNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}
} // namespace

const std::vector<std::string>& CalcPage::ResultFieldNames()
{
    static const std::vector<std::string> names = {"FpD",      "UfD",   "UpD",   "UlsD",   "UvsD",
                                                   "CgmaxD",   "dpD",   "dD",    "HTD",    "dPdryD",
                                                   "dPwaterD", "HTUVD", "HTULD", "HTUOVD", "HETPD"};
    return names;
}

template <class T, class... Args> T* CalcPage::Add(Args&&... args)
{
    auto p = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = p.get();
    order_.push_back(raw);
    byName_.emplace(raw->Name(), raw);
    owned_.push_back(std::move(p));
    return raw;
}

TEditD* CalcPage::AddField(const std::string& name, bool mustInput, bool result)
{
    TEditD* f = Add<TEditD>(name);
    if (mustInput) f->SetMyResolved(false);
    if (result) f->SetReadOnly(true);
    fields_.push_back(f);
    return f;
}

TComboBoxU* CalcPage::AddUnit(const std::string& name, TEditD* field)
{
    TComboBoxU* u = Add<TComboBoxU>(name, UnitItemsForField(field->Name()), field);
    u->Loading = true;
    return u;
}

CalcPage::CalcPage(bool installHooks)
{
    HiddenConstants = {"b0=0.05429633", "b1=-0.01563052", "b2=-0.01466563", "b3=-0.00031961"};

    // The order in which the window owns its controls; the legacy project
    // layout is read in exactly this order.
    auto result = [&](const char* f, const char* u) { AddUnit(u, AddField(f, false, true)); };
    result("FpD", "FpU");
    result("CgmaxD", "CgmaxU");
    result("UfD", "UfU");
    result("UpD", "UpU");
    result("dpD", "dpU");
    result("dD", "dU");
    result("UlsD", "UlsU");
    result("UvsD", "UvsU");
    result("dPdryD", "dPdryU");
    result("dPwaterD", "dPwaterU");
    auto input = [&](const char* f, const char* u) { AddUnit(u, AddField(f, true, false)); };
    input("LD", "LU");
    input("DlD", "DlU");
    input("MlD", "MlU");
    input("SLD", "SLU");
    input("DlfD", "DlfU");
    Add<TComboModel>("AfD",
                     std::vector<std::string>{"0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1.0"});
    TEditD* dvf = AddField("DvfD", true, false);
    TEditD* mv = AddField("MvD", true, false);
    TEditD* dv = AddField("DvD", true, false);
    TEditD* v = AddField("VD", true, false);
    AddUnit("VU", v);
    AddUnit("DvU", dv);
    AddUnit("MvU", mv);
    AddUnit("DvfU", dvf);
    std::vector<std::string> percent = {"80", "75", "70", "65", "60", "55", "50", "90", "85", "45", "40"};
    for (int p = 39; p >= 20; --p)
        percent.push_back(std::to_string(p));
    Add<TComboModel>("fpercentD", percent, true);
    std::vector<std::string> packings;
    for (const auto& row : PackingCatalogue())
        if (!row[1].empty()) packings.push_back(row[1]);
    Add<TComboModel>("PTD", packings);
    auto optional = [&](const char* f, const char* u) { AddUnit(u, AddField(f, false, false)); };
    optional("LmdD", "LmdU");
    optional("meD", "meU");
    optional("alfD", "alfU");
    Add<TComboModel>("UfMD",
                     std::vector<std::string>{QT_TRANSLATE_NOOP("Velk", "Rusk-Tovan关联式法"),
                                              QT_TRANSLATE_NOOP("Velk", "Billet关联式法"),
                                              QT_TRANSLATE_NOOP("Velk", "Kister-Gill-Tovan关联式法")});
    result("HTUVD", "HTUVU");
    result("HTULD", "HTULU");
    result("HTUOVD", "HTUOVU");
    result("HETPD", "HETPU");
    for (const char* t :
         {"ProjectD", "DevicenameD", "DeviceNoD", "ProjPD", "Edit1", "Edit2", "Edit3", "Edit4"})
        Add<TTextModel>(t);
    Add<TTextModel>("CommentD", true);
    result("HTD", "HTU");
    Add<TCheckModel>("CBLagrange");
    // Added after the window's order was fixed: see IsAddition.
    additionsBegin_ = order_.size();
    rating_ = Add<TCheckModel>("CBRating");
    Add<TEditD>("StagesD");
    Add<TComboModel>("DesignBasisD", std::vector<std::string>{QT_TRANSLATE_NOOP("Velk", "按泛点率"),
                                                              QT_TRANSLATE_NOOP("Velk", "按压降限值"),
                                                              QT_TRANSLATE_NOOP("Velk", "泛点率和压降兼顾")});
    Add<TEditD>("DpLimitD"); // mbar per m of packing
    Add<TCheckModel>("CBConservative");
    Add<TComboModel>("DesignHetpD",
                     std::vector<std::string>{QT_TRANSLATE_NOOP("Velk", "本页模型"),
                                              QT_TRANSLATE_NOOP("Velk", "Rocha-Bravo-Fair模型"),
                                              QT_TRANSLATE_NOOP("Velk", "各模型最大值")});
    // The engineer's design limits, the diameter step and the column design (DesignLimits.h, ColumnDesign.h).
    for (const char* n : kColumnFields)
        Add<TEditD>(n);

    SetStartStatesAndHints();
    AssignHandlers();

    // The stored layout is loaded: each selector takes its first unit. The
    // hooks are not this page's yet, so they must not fire for another page.
    bool* const fieldHook = TEditD::FieldChangeFlag;
    bool* const unitHook = TComboBoxU::UnitChangeFlag;
    TEditD::FieldChangeFlag = nullptr;
    TComboBoxU::UnitChangeFlag = nullptr;
    for (TControl* c : order_)
        if (auto* u = dynamic_cast<TComboBoxU*>(c)) u->Loaded();
    TEditD::FieldChangeFlag = fieldHook;
    TComboBoxU::UnitChangeFlag = unitHook;

    groups_.flowParameter = Group({"LD", "VD", "DvD", "DlD", "FpD"});
    groups_.maxLoadFactor = Group({"FpD", "CgmaxD"});
    groups_.floodFromLoad = Group({"CgmaxD", "DlD", "DvD", "UfD"});
    groups_.loadFromFlood = Group({"DlD", "DvD", "UfD", "CgmaxD"});
    groups_.billet = Group({"MlD", "MvD", "DlD", "DvD", "FpD", "UfD"});
    groups_.kisterGill = Group({"MlD", "DlD", "DvD", "FpD", "UfD"});
    groups_.operatingVelocity = Group({"UfD", "UpD"});
    groups_.diameter = Group({"VD", "UpD", "DvD", "dpD"});
    groups_.liquidLoad = Group({"LD", "VD", "DvD", "DlD", "dpD", "dD", "UpD", "UlsD"});
    groups_.vapourLoad = Group({"dpD", "dD", "UpD", "UvsD"});
    groups_.slope = Group({"alfD", "meD"});
    groups_.stripping = Group({"meD", "VD", "LD", "LmdD"});
    groups_.pressureDropInputs = Group({"UlsD", "UvsD", "DlD", "DvD", "MlD", "MvD", "SLD"});
    groups_.massTransferInputs =
        Group({"DlD", "MlD", "SLD", "DlfD", "LD", "DvD", "MvD", "DvfD", "VD", "LmdD"});
    groups_.roundingInput = Group({"dpD"});
    groups_.designVelocity = Group({"UfD", "LD", "VD", "DvD", "DlD", "MlD", "MvD", "SLD", "UpD"});
    // What the pressure drop and mass transfer read beyond their checked inputs.
    groups_.pressureDropAll = Group({"UlsD", "UvsD", "DlD", "DvD", "MlD", "MvD", "SLD", "UfD"});
    groups_.massTransferAll =
        Group({"DlD", "MlD", "SLD", "DlfD", "LD", "DvD", "MvD", "DvfD", "VD", "LmdD", "dD", "UvsD"});
    BuildStaleRules();

    if (installHooks) InstallHooks();
}

CalcPage::~CalcPage()
{
    if (TEditD::FieldChangeFlag == &NeedsRecalc) TEditD::FieldChangeFlag = nullptr;
    if (TComboBoxU::UnitChangeFlag == &Modified) TComboBoxU::UnitChangeFlag = nullptr;
}

void CalcPage::InstallHooks()
{
    TEditD::FieldChangeFlag = &NeedsRecalc;
    TComboBoxU::UnitChangeFlag = &Modified;
}

TControl* CalcPage::Control(const std::string& name) const
{
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

TControl* CalcPage::FindControlNoCase(const std::string& name) const
{
    for (TControl* c : order_)
        if (EqualsNoCase(c->Name(), name)) return c;
    return nullptr;
}

bool CalcPage::IsAddition(const TControl* c) const
{
    for (std::size_t i = additionsBegin_; i < order_.size(); ++i)
        if (order_[i] == c) return true;
    return false;
}

TEditD* CalcPage::Field(const std::string& name) const
{
    return dynamic_cast<TEditD*>(Control(name));
}
TComboBoxU* CalcPage::Unit(const std::string& name) const
{
    return dynamic_cast<TComboBoxU*>(Control(name));
}
TComboModel* CalcPage::Combo(const std::string& name) const
{
    return dynamic_cast<TComboModel*>(Control(name));
}
TCheckModel* CalcPage::Check(const std::string& name) const
{
    return dynamic_cast<TCheckModel*>(Control(name));
}
TTextModel* CalcPage::TextBox(const std::string& name) const
{
    return dynamic_cast<TTextModel*>(Control(name));
}

TComboBoxU* CalcPage::UnitOf(const TEditD* field) const
{
    for (TControl* c : order_)
        if (auto* u = dynamic_cast<TComboBoxU*>(c); u && u->Associated() == field) return u;
    return nullptr;
}

std::vector<TEditD*> CalcPage::Group(std::initializer_list<const char*> names) const
{
    std::vector<TEditD*> g;
    for (const char* n : names)
        g.push_back(Field(n));
    return g;
}

void CalcPage::ProjectDChange()
{
    Modified = true;
    NeedsRecalc = true;
}

void CalcPage::AfDChange()
{
    if (NeedsRecalc) return;
    ProjectDChange();
    LDExit();
}

void CalcPage::UfMDChange()
{
    Check("CBLagrange")->SetEnabled(Combo("UfMD")->ItemIndex() == 2);
    AfDChange();
}

void CalcPage::SetDiameterInput(bool input)
{
    TEditD* d = Field("dD");
    d->SetReadOnly(!input);
    d->SetFontColor(input ? clBlack : clBlue);
    d->SetColor(input ? clWindow : clBtnFace);
    d->SetCursor(TCursor::Default);
}

void CalcPage::RatingChange()
{
    SetDiameterInput(rating_->Checked());
    ProjectDChange();
    LDExit();
}

void CalcPage::SetRatingMode(bool rating)
{
    rating_->SetChecked(rating);
    SetDiameterInput(rating);
}

bool CalcPage::RecalcReported()
{
    try {
        LDExit();
        return true;
    } catch (const std::exception& e) {
        ReportError(e);
        return false;
    }
}

bool CalcPage::Solve(const std::vector<TEditD*>& group, TColor colour, double start, const Equation& eq)
{
    return SolveFields(group, colour, true, kTolerance, start, eq);
}

bool CalcPage::RunPass()
{
    // Step 1 never restarts: its result is taken up by the groups below.
    Solve(groups_.flowParameter, EqColour::FlowParameter, kStart, EqFlowParameter);

    const std::string packing = Combo("PTD")->Text();
    const auto& flood = groups_.floodFromLoad;
    const auto& loadFactor = groups_.loadFromFlood;
    // The conservative option takes the lowest of the correlations, whichever is selected.
    const int method = Check("CBConservative")->Checked() ? -2 : Combo("UfMD")->ItemIndex();
    switch (method) {
    case 0: {
        const Equation loadFactor = [&](const double* v) {
            return EqMaxLoadFactor(v, packing, HiddenConstants);
        };
        RequirePositiveCorrelation(groups_.maxLoadFactor, EqColour::LoadFactor, loadFactor);
        if (Solve(groups_.maxLoadFactor, EqColour::LoadFactor, kStart, loadFactor)) return true;
        if (Solve(flood, EqColour::FloodVelocity, kStart, EqFloodVelocityFromLoadFactor)) return true;
        break;
    }
    case 1: {
        const Equation billet = [&](const double* v) { return EqFloodVelocityBillet(v, packing); };
        RequirePositiveCorrelation(groups_.billet, EqColour::FloodVelocity, billet);
        if (Solve(groups_.billet, EqColour::FloodVelocity, kStart, billet)) return true;
        Solve(loadFactor, EqColour::LoadFactor, kStart, EqLoadFactorFromFloodVelocity);
        break;
    }
    case 2: {
        const bool lagrange = Check("CBLagrange")->Checked();
        const Equation kisterGill = [&](const double* v) {
            return EqFloodVelocityKisterGill(v, packing, lagrange);
        };
        RequirePositiveCorrelation(groups_.kisterGill, EqColour::FloodVelocity, kisterGill);
        if (Solve(groups_.kisterGill, EqColour::FloodVelocity, kStart, kisterGill)) return true;
        Solve(loadFactor, EqColour::LoadFactor, kStart, EqLoadFactorFromFloodVelocity);
        break;
    }
    case -2:
        if (SolveConservativeFlood()) return true;
        Solve(loadFactor, EqColour::LoadFactor, kStart, EqLoadFactorFromFloodVelocity);
        break;
    default:
        break;
    }

    const std::string fpercent = Combo("fpercentD")->Text();
    const std::string foaming = Combo("AfD")->Text();
    if (SolveOperatingVelocity(fpercent, foaming)) return true;
    if (Solve(groups_.diameter, EqColour::TheoreticalDiameter, kStart, EqTheoreticalDiameter)) return true;

    // The rounded diameter is not an equation result: it follows dpD, unless
    // a given diameter is rated.
    TEditD* dp = Field("dpD");
    if (!rating_->Checked() && !dp->Text().empty()) {
        const double value = dp->GetValue();
        dp->SetValue(value);
        const double d = CheckedResult([&] { return DesignDiameter(*this, value); });
        Field("dD")->SetValue(d);
    }

    if (Solve(groups_.liquidLoad, EqColour::LiquidLoad, kStart, EqLiquidLoad)) return true;
    if (Solve(groups_.vapourLoad, EqColour::VapourLoad, kStart, EqVapourLoad)) return true;
    if (SolveSlope()) return true;
    if (Solve(groups_.stripping, EqColour::StrippingFactor, kStartEquilibrium, EqStrippingFactor))
        return true;
    return false;
}

bool CalcPage::SolveSlope()
{
    // With a slope of exactly 1 the equilibrium relation has no volatility
    // at all; the volatility stays empty (a note says why) and the rest of
    // the page, which does not need it, goes on.
    TEditD* alpha = groups_.slope[0];
    TEditD* slope = groups_.slope[1];
    double m;
    const bool alphaUnknown =
        alpha->IsBlank() || (alpha->Color() == EqColour::EquilibriumSlope && alpha->MyResolved());
    if (alphaUnknown && !slope->IsBlank() && slope->TryGetValue(m) && m == 1.0)
        return !alpha->IsBlank() && ClearComputedField(*alpha);
    return Solve(groups_.slope, EqColour::EquilibriumSlope, kStartEquilibrium, EqEquilibriumSlope);
}

void CalcPage::ComputePressureDrop()
{
    const double uLs = Field("UlsD")->GetValue();
    const double uVs = Field("UvsD")->GetValue();
    const double uF = Field("UfD")->GetValue();
    const double rhoL = Field("DlD")->GetValue();
    const double rhoV = Field("DvD")->GetValue();
    const double muL = Field("MlD")->GetValue();
    const double muV = Field("MvD")->GetValue();
    const double sigma = Field("SLD")->GetValue();
    FloatGuard guard;
    const double r = uVs / uF;
    const PackingParams& p = CurrentPacking;
    if (r >= 1.0) {
        // Flooded: the holdup model has no meaning there (its effective
        // gravity is zero or negative). Only the dry pressure drop is kept.
        const double dry = guard.Checked(DryPressureDrop(p.S, p.eps, p.theta, muV, rhoV, uVs));
        Field("HTD")->SetText("");
        Field("dPdryD")->SetValue(dry);
        Field("dPwaterD")->SetText("");
        pressureDropCapped_ = false;
        return;
    }
    const PressureDropResult res =
        PressureDropAndHoldup(p.S, p.eps, p.theta, sigma, muV, muL, rhoV, rhoL, uVs, uLs, r);
    guard.Checked(res.hL);
    guard.Checked(res.dPdry);
    guard.Checked(res.dPwet);
    Field("HTD")->SetValue(res.hL);
    Field("dPdryD")->SetValue(res.dPdry);
    Field("dPwaterD")->SetValue(res.dPwet);
    pressureDropCapped_ = res.capped;
}

void CalcPage::ComputeMassTransfer()
{
    MassTransferInputs in{};
    in.L = Field("LD")->GetValue();
    in.d = Field("dD")->GetValue();
    in.rhoL = Field("DlD")->GetValue();
    in.muL = Field("MlD")->GetValue();
    in.rhoV = Field("DvD")->GetValue();
    in.muV = Field("MvD")->GetValue();
    in.uVs = Field("UvsD")->GetValue();
    in.V = Field("VD")->GetValue();
    in.DL = Field("DlfD")->GetValue();
    in.DV = Field("DvfD")->GetValue();
    in.lambda = Field("LmdD")->GetValue();
    FloatGuard guard;
    const MassTransferResult res = MassTransferHeightsFrom(in, CurrentPacking);
    guard.Checked(res.HTUV);
    guard.Checked(res.HTUL);
    guard.Checked(res.HTUOV);
    guard.Checked(res.HETP);
    Field("HTUVD")->SetValue(res.HTUV);
    Field("HTULD")->SetValue(res.HTUL);
    Field("HTUOVD")->SetValue(res.HTUOV);
    Field("HETPD")->SetValue(res.HETP);
}

void CalcPage::LDExit()
{
    if (!NeedsRecalc) return;
    bool settled = false;
    LastMessageTee shown(GetMessageSink());
    std::optional<ScopedMessageSink> scope(&shown);
    try {
        int passes = 0;
        while (RunPass()) {
            // Every restart needs a change of one part in a million somewhere;
            // a case that keeps changing is cut off rather than left to spin.
            if (++passes > kMaxRecalcPasses) {
                ShowMessage(MsgKind::Warning, kInputErrorText);
                throw EVelkError(kNoRootText);
            }
        }
        settled = true;
        if (AllFilled(groups_.pressureDropInputs)) ComputePressureDrop();
        if (AllFilled(groups_.massTransferInputs)) ComputeMassTransfer();
    } catch (const std::exception& e) {
        scope.reset();
        // An abort has shown its messages already; the page names those.
        failure_ = dynamic_cast<const EAbort*>(&e) && !shown.all.empty() ? shown.all : e.what();
        design_ = DesignOutcome{};
        // The warnings about the inputs still hold.
        EvaluateInputWarnings(*this, operation_, settled);
        if (OnOperationChanged) OnOperationChanged();
        throw;
    }
    scope.reset();
    failure_.clear();
    UpdateDesign();
    UpdateOperation();
    NeedsRecalc = false;
    if (OnOperationChanged) OnOperationChanged();
}

void CalcPage::ResetForNew()
{
    for (TControl* c : order_) {
        if (auto* f = dynamic_cast<TEditD*>(c)) {
            f->SetText("");
            f->SetColor(clWindow);
            f->SetReadOnly(false);
            f->SetCursor(TCursor::Default);
        } else if (auto* t = dynamic_cast<TTextModel*>(c); t && !t->MultiLine()) {
            t->SetText("");
        }
    }
    std::vector<TControl*> results;
    for (const auto& n : ResultFieldNames())
        results.push_back(Field(n));
    SetResultStyle(results, false);
    if (rating_->Checked()) SetDiameterInput(true);
    // Nothing is computed on a new page yet.
    stale_.Clear();
    invalid_.clear();
    failure_.clear();
    pressureDropCapped_ = false;
    operation_ = OperatingCheck{};
    if (OnOperationChanged) OnOperationChanged();
}

void CalcPage::ResetAdditions()
{
    if (rating_->Checked()) SetRatingMode(false);
    Field("StagesD")->SetText("");
    Combo("DesignBasisD")->SetItemIndex(0);
    Field("DpLimitD")->SetText("");
    Check("CBConservative")->SetChecked(false);
    Combo("DesignHetpD")->SetItemIndex(0);
    for (const char* n : kColumnFields)
        Field(n)->SetText("");
}
