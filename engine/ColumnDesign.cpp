#include "ColumnDesign.h"

#include <algorithm>
#include <cmath>

#include "CalcPage.h"
#include "EfficiencyModels.h"
#include "FloatGuard.h"
#include "Messages.h"
#include "NumberText.h"
#include "PackingCatalogue.h"
#include "TrNoop.h"

const char* const kBedTooHighText =
    QT_TRANSLATE_NOOP("Velk", "单个理论板的填料高度已超过床层最大高度：每个床层一块板。");
const char* const kNoColumnFiguresText =
    QT_TRANSLATE_NOOP("Velk", "塔设计需要理论板数、HETP(等板高度)、湿塔压降和实际塔径。");

namespace
{
const char* const kBadInputText =
    QT_TRANSLATE_NOOP("Velk", "塔设计的输入无效：板数、HETP和塔径须为大于0的数。");

// The sources and the judgement behind these numbers are in docs/column-design.md.
constexpr InternalSpec kPipe{0.75, 1.0, 0.5}, kTrough{0.50, 1.0, 0.6}, kPan{0.25, 1.5, 0.6};
constexpr InternalSpec kSupport{0.90, 1.0, 0.15}, kHoldDown{0.90, 0.5, 0.10}, kCollector{0.20, 1.5, 1.0};
constexpr double kPanMaxDiameter = 1.2;   // m: a pan above it is heavy and hard to level
constexpr double kPipeMinLiquidLoad = 80; // m3/(m2 h): a gravity head above it grows too deep

double InternalDrop(const InternalSpec& s, double uVs, double rhoV)
{
    const double u = uVs / s.openArea;
    return s.lossCoeff * rhoV * u * u / 2.0 / 100.0; // Pa to mbar
}

DesignedBed MakeBed(const ColumnDesignInput& in, std::size_t first, int n, double factor)
{
    DesignedBed b;
    b.firstStage = in.stages[first].number;
    b.stages = n;
    b.limitingStage = b.firstStage;
    double worst = -INFINITY, hetp = 0, drop = 0;
    bool uniform = true;
    for (std::size_t i = first; i < first + static_cast<std::size_t>(n); ++i) {
        const ColumnStage& s = in.stages[i];
        hetp += s.hetp;
        drop += s.pressureDrop * s.hetp;
        uniform =
            uniform && s.hetp == in.stages[first].hetp && s.pressureDrop == in.stages[first].pressureDrop;
        if (s.floodPercent && *s.floodPercent > worst) {
            worst = *s.floodPercent;
            b.limitingStage = s.number;
        }
    }
    // One section times its stages: stages x HETP x (1 + margin), as a hand
    // calculation forms it, not a sum that loses the last digit.
    const ColumnStage& top = in.stages[first];
    b.packedHeight = uniform ? n * top.hetp * factor : hetp * factor;
    b.pressureDrop = uniform ? top.pressureDrop * b.packedHeight : drop * factor;
    return b;
}

// The beds of a split into k: the stage counts of EqualSplit, in order.
std::vector<DesignedBed> Split(const ColumnDesignInput& in, int k, double factor)
{
    std::vector<DesignedBed> beds;
    std::size_t first = 0;
    for (int n : EqualSplit(static_cast<int>(in.stages.size()), k)) {
        beds.push_back(MakeBed(in, first, n, factor));
        first += static_cast<std::size_t>(n);
    }
    return beds;
}

// The fewest beds that keep every bed within both maxima; one stage a bed
// when even that breaks the height (said in the notes).
std::vector<DesignedBed> FewestBeds(const ColumnDesignInput& in, double factor,
                                    std::vector<std::string>& notes)
{
    const int n = static_cast<int>(in.stages.size());
    // The height is compared with a hair of slack: a bed exactly at the
    // maximum (in decimal) stays one bed whatever the last bit says.
    const double maxHeight = in.maxima.height * (1 + 1e-12);
    for (int k = std::max(1, (n + in.maxima.stages - 1) / in.maxima.stages); k <= n; ++k) {
        std::vector<DesignedBed> beds = Split(in, k, factor);
        if (std::all_of(beds.begin(), beds.end(),
                        [&](const DesignedBed& b) { return b.packedHeight <= maxHeight; }))
            return beds;
    }
    notes.emplace_back(kBedTooHighText);
    return Split(in, n, factor);
}

void AddInternals(const ColumnDesignInput& in, ColumnDesign& out)
{
    const DistributorType type =
        in.distributor ? *in.distributor : SuggestedDistributor(in.liquidLoad, in.diameter);
    const InternalSpec dist = in.distributorSpec ? *in.distributorSpec : DefaultDistributor(type);
    const InternalSpec support = in.supportSpec ? *in.supportSpec : kSupport;
    const InternalSpec hold = in.holdDownSpec ? *in.holdDownSpec : kHoldDown;
    const InternalSpec collector = in.collectorSpec ? *in.collectorSpec : kCollector;
    auto add = [&](const char* what, int bed, const InternalSpec& s, const char* kind) {
        out.internals.push_back(
            {what, bed, kind, CheckedResult([&] { return InternalDrop(s, in.uVs, in.rhoV); }), s.height});
    };
    for (std::size_t i = 0; i < out.beds.size(); ++i) {
        const int bed = static_cast<int>(i) + 1;
        add("distributor", bed, dist, DistributorTypeName(type));
        add("hold-down", bed, hold, "");
        add("support", bed, support, "");
        if (i + 1 < out.beds.size()) add("collector", bed, collector, "");
    }
}
} // namespace

const char* DistributorTypeName(DistributorType t)
{
    switch (t) {
    case DistributorType::Pipe:
        return "pipe";
    case DistributorType::Pan:
        return "pan";
    default:
        return "trough";
    }
}

InternalSpec DefaultDistributor(DistributorType t)
{
    return t == DistributorType::Pipe ? kPipe : t == DistributorType::Pan ? kPan : kTrough;
}
InternalSpec DefaultSupport()
{
    return kSupport;
}
InternalSpec DefaultHoldDown()
{
    return kHoldDown;
}
InternalSpec DefaultCollector()
{
    return kCollector;
}

DistributorType SuggestedDistributor(double liquidLoad, double diameter)
{
    if (liquidLoad >= kPipeMinLiquidLoad) return DistributorType::Pipe;
    return diameter < kPanMaxDiameter ? DistributorType::Pan : DistributorType::Trough;
}

double RecommendedDripPoints(double a)
{
    return a < 200 ? 60 : a < 400 ? 100 : 150;
}

BedMaxima DefaultBedMaxima(double a)
{
    if (a < 200) return {8.0, 15};
    if (a < 400) return {6.0, 15};
    return {4.0, 20};
}

std::vector<int> EqualSplit(int n, int beds)
{
    std::vector<int> out;
    if (n <= 0 || beds <= 0) return out;
    beds = std::min(beds, n);
    for (int i = 0; i < beds; ++i)
        out.push_back(n / beds + (i < n % beds ? 1 : 0));
    return out;
}

ColumnDesign DesignColumn(const ColumnDesignInput& in)
{
    auto positive = [](double v) { return std::isfinite(v) && v > 0; };
    bool ok = !in.stages.empty() && positive(in.designHETP) && positive(in.diameter) && positive(in.uVs) &&
              positive(in.rhoV) && positive(in.maxima.height) && in.maxima.stages >= 1 &&
              std::isfinite(in.hetpMargin) && in.hetpMargin >= 0;
    for (const ColumnStage& s : in.stages)
        ok = ok && positive(s.hetp) && std::isfinite(s.pressureDrop) && s.pressureDrop >= 0;
    if (!ok) throw EVelkError(kBadInputText);
    ColumnDesign out;
    out.designHETP = in.designHETP;
    out.hetpMargin = in.hetpMargin;
    out.diameter = in.diameter;
    out.dripPoints = RecommendedDripPoints(in.area);
    const double factor = 1.0 + in.hetpMargin / 100.0;
    out.beds = FewestBeds(in, factor, out.notes);
    AddInternals(in, out);
    double drop = 0, height = in.allowances.top + in.allowances.sump;
    for (const DesignedBed& b : out.beds) {
        drop += b.pressureDrop;
        height += b.packedHeight + in.allowances.manwayPerBed;
    }
    for (const DesignedInternal& i : out.internals) {
        drop += i.pressureDrop;
        height += i.height;
    }
    out.totalPressureDrop = CheckedResult([&] { return drop; });
    out.height = CheckedResult([&] { return height; });
    return out;
}

namespace
{
std::optional<double> Valid(const CalcPage& page, const char* name)
{
    const TEditD* f = page.Field(name);
    double v;
    if (!f || page.IsStale(f) || page.IsInvalid(f) || f->IsBlank() || !f->TryGetValue(v) ||
        !std::isfinite(v) || !(v > 0))
        return std::nullopt;
    return v;
}

std::optional<double> Typed(const CalcPage& page, const char* name)
{
    double v;
    const TEditD* f = page.Field(name);
    if (!f || !ParseNumber(TrimView(f->Text()), v) || !std::isfinite(v)) return std::nullopt;
    return v;
}
} // namespace

std::optional<ColumnDesign> PageColumnDesign(const CalcPage& page, std::string& why)
{
    try {
        if (const auto in = ColumnInputOfPage(page, why)) return DesignColumn(*in);
    } catch (const std::exception& e) {
        why = e.what();
    }
    return std::nullopt;
}

bool ColumnDesignSet(const CalcPage& page)
{
    for (const char* name : {kHetpMarginField, kBedMaxHeightField, kBedMaxStagesField})
        if (Typed(page, name)) return true;
    return false;
}

std::optional<double> ColumnDesignHetp(const CalcPage& page)
{
    // The engineer's design HETP (the page's own model unless another is chosen).
    const std::optional<double> hetp = ChosenHetp(page);
    return hetp && std::isfinite(*hetp) && *hetp > 0 ? hetp : std::nullopt;
}

std::optional<ColumnDesignInput> ColumnInputOfPage(const CalcPage& page, std::string& why)
{
    const OperatingFigures& fig = page.Operation().figures;
    const auto hetp = ColumnDesignHetp(page), d = Valid(page, "dD"), uVs = Valid(page, "UvsD"),
               rhoV = Valid(page, "DvD");
    if (!fig.stages || !hetp || !d || !uVs || !rhoV || !fig.pressureDropMbarPerM) {
        why = kNoColumnFiguresText;
        return std::nullopt;
    }
    ColumnDesignInput in;
    for (int n = 1; n <= *fig.stages; ++n)
        in.stages.push_back({n, *hetp, *fig.pressureDropMbarPerM, fig.floodPercent});
    in.designHETP = *hetp;
    in.diameter = *d;
    in.uVs = *uVs;
    in.rhoV = *rhoV;
    in.liquidLoad = fig.liquidLoad.value_or(0);
    in.area = CurrentPacking.a;
    in.maxima = DefaultBedMaxima(in.area);
    if (const auto m = Typed(page, kHetpMarginField)) in.hetpMargin = *m;
    if (const auto h = Typed(page, kBedMaxHeightField)) in.maxima.height = *h;
    if (const auto s = Typed(page, kBedMaxStagesField)) in.maxima.stages = static_cast<int>(*s);
    return in;
}
