// The Rocha-Bravo-Fair heights against a hand calculation of the published
// equations (tests/engine/data/rbf_hand_calculation.py), and the spread and
// design HETP taken over the completed models only.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <numbers>

#include "EfficiencyModels.h"

namespace
{

const double k45 = std::numbers::pi / 4;
const PackingParams k250Y{250, 0.97, 0.0127, 0.0254, 0.0178, k45, 0.0158, 0};
const PackingParams k250X{250, 0.97, 0.012, 0.024, 0.017, k45, 0.0158, 0};

void ExpectRelative(double expected, double actual, const char* what)
{
    EXPECT_NEAR(actual, expected, 1e-10 * std::fabs(expected)) << what;
}

} // namespace

TEST(RochaBravoFair, HeightsOfThreeSystemsMatchTheHandCalculation)
{
    const struct {
        const char* name;
        PackingParams p;
        RbfInputs in;
        double fse;
        double ae, HTUV, HTUL, HTUOV, HETP;
    } cases[] = {
        {"atmospheric",
         k250Y,
         {0.00190559079371946, 2.03597332171079, 870, 0.95, 0.35e-3, 0.011e-3, 0.035, 4e-9, 0.16e-4,
          1.12751677852349, 0.0392785961893495},
         0.35,
         129.541524970675,
         0.404966401720333,
         0.10899732916542,
         0.527862719168592,
         0.49681976123677},
        {"vacuum",
         k250X,
         {0.00126070311297969, 3.80503121372051, 830, 0.33, 0.38e-3, 0.0075e-3, 0.024, 3e-9, 4e-5,
          1.10874524714829, 0.0346281232726109},
         0.35,
         117.546733210986,
         0.377851197812082,
         0.103520464872894,
         0.492629021222484,
         0.467639614419097},
        {"high pressure",
         k250Y,
         {0.00619346206663727, 0.0893705710492833, 470, 38, 0.09e-3, 0.0095e-3, 0.004, 1e-8, 5e-7,
          1.09509202453988, 0.0613668098071907},
         0.35,
         225.879964286775,
         0.117134155797637,
         0.0890877230861246,
         0.21469341083367,
         0.205089818138728},
        // lambda = 1 takes HETP = HTU_OV; a GemPack texture's factor.
        {"atmospheric, lambda 1, GemPack factor",
         k250Y,
         {0.00190559079371946, 2.03597332171079, 870, 0.95, 0.35e-3, 0.011e-3, 0.035, 4e-9, 0.16e-4, 1.0,
          0.0392785961893495},
         0.344,
         127.320813114035,
         0.412029769192199,
         0.110898445371794,
         0.522928214563993,
         0.522928214563993},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::feclearexcept(FE_ALL_EXCEPT);
        const ModelHeights h = RbfHeights(c.in, c.p, c.fse);
        EXPECT_FALSE(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW));
        ExpectRelative(c.ae, h.effectiveArea, "effective area");
        ExpectRelative(c.HTUV, h.HTUV, "HTU_V");
        ExpectRelative(c.HTUL, h.HTUL, "HTU_L");
        ExpectRelative(c.HTUOV, h.HTUOV, "HTU_OV");
        ExpectRelative(c.HETP, h.HETP, "HETP");
    }
    EXPECT_EQ(SurfaceEnhancementFactor("GemPack-2A"), 0.344);
    EXPECT_EQ(SurfaceEnhancementFactor("Mellapakr-250Y"), 0.35);
}

TEST(EfficiencySummary, SpreadAndDesignHetpTakeTheCompletedModelsOnly)
{
    auto model = [](EfficiencyModel m, bool completed, double hetp) {
        EfficiencyModelResult r;
        r.model = m;
        r.completed = completed;
        r.heights.HETP = hetp;
        r.error = completed ? "" : "failed";
        return r;
    };
    using M = EfficiencyModel;
    using C = DesignHetpChoice;
    const double none = -1; // no value expected
    const struct {
        bool specifiedDone, rbfDone;
        double specified, rbf;
        C choice;
        double spread, design;
    } cases[] = {
        {true, true, 0.37, 0.50, C::Specified, 0.50 / 0.37, 0.37},
        {true, true, 0.37, 0.50, C::RochaBravoFair, 0.50 / 0.37, 0.50},
        {true, true, 0.37, 0.50, C::Largest, 0.50 / 0.37, 0.50},
        {true, true, 0.60, 0.50, C::Largest, 0.60 / 0.50, 0.60},
        // A failed model takes no part: no spread of one model, and the
        // largest is the one that completed; choosing the failed one gives none.
        {true, false, 0.37, 9.0, C::Largest, none, 0.37},
        {true, false, 0.37, 9.0, C::RochaBravoFair, none, none},
        {false, true, 9.0, 0.50, C::Specified, none, none},
        {false, false, 9.0, 9.0, C::Largest, none, none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << DesignHetpChoiceName(c.choice) << " " << c.specifiedDone << c.rbfDone);
        const EfficiencyResult r = SummariseEfficiency(
            {model(M::Specified, c.specifiedDone, c.specified), model(M::RochaBravoFair, c.rbfDone, c.rbf)},
            c.choice);
        EXPECT_EQ(r.spread.has_value(), c.spread != none);
        if (r.spread && c.spread != none) {
            EXPECT_DOUBLE_EQ(*r.spread, c.spread);
        }
        const auto design = DesignHetp(r);
        EXPECT_EQ(design.has_value(), c.design != none);
        if (design && c.design != none) {
            EXPECT_DOUBLE_EQ(*design, c.design);
        }
    }
}
