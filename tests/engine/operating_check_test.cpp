// The operating check: figures, each warning at its threshold, rating a
// given diameter, the flooded case and the stale marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "CalcPage.h"
#include "Messages.h"
#include "PackingCatalogue.h"

namespace {

// Reference case of the recalculation test (Flexipac-1, a = 560, first
// method, f = 80, A = 0.8, L = 2.5, V = 3, rhoL = 800, rhoV = 2.5), worked
// out in python from the published formulas.
constexpr double kUf = 1.2210047121001697;
constexpr double kUls = 0.002030037539437441;
constexpr double kUvs = 0.7795344151439773;
constexpr double kDpWet = 132.34507458870078;
constexpr double kHetp = 0.1619662712408296;

class OperatingCheckTest : public ::testing::Test {
protected:
    void SetUp() override { CurrentPacking = PackingParams{}; }
    void Type(const char* field, const char* text) { page.Field(field)->SetText(text); }
    void TypeReferenceCase()
    {
        const char* values[][2] = {{"LD", "2.5"},      {"VD", "3.0"},     {"DlD", "800"},  {"DvD", "2.5"},
                                   {"MlD", "0.0003"},  {"MvD", "0.00001"}, {"SLD", "0.02"}, {"DlfD", "2e-9"},
                                   {"DvfD", "1e-5"},   {"alfD", "2"}};
        for (auto& v : values)
            Type(v[0], v[1]);
    }
    void Recalc()
    {
        page.NeedsRecalc = true;
        page.LDExit();
    }
    std::vector<std::string> Codes(const char* field = nullptr) const
    {
        std::vector<std::string> codes;
        for (const auto& w : page.Operation().warnings)
            if (!field || w.field == field)
                codes.push_back(w.code);
        return codes;
    }
    std::vector<std::string> StaleFields() const
    {
        std::vector<std::string> names;
        for (TEditD* f : page.ValueFields())
            if (page.IsStale(f))
                names.push_back(f->Name());
        std::sort(names.begin(), names.end());
        return names;
    }
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    CalcPage page;
};

TEST_F(OperatingCheckTest, FiguresOfTheReferenceCase)
{
    TypeReferenceCase();
    Type("StagesD", "10");
    Recalc();
    const OperatingFigures& f = page.Operation().figures;
    const double rel = 1e-6; // the solver's tolerance
    EXPECT_NEAR(*f.floodPercent, 100 * kUvs / kUf, 63.84 * rel);
    EXPECT_DOUBLE_EQ(*f.designFloodPercent, 64.0);
    EXPECT_NEAR(*f.FsFactor, kUvs * std::sqrt(2.5), rel);
    EXPECT_NEAR(*f.capacityFactor, kUvs * std::sqrt(2.5 / 797.5), rel);
    EXPECT_NEAR(*f.liquidLoad, kUls * 3600, 7.3 * rel);
    EXPECT_NEAR(*f.wettingRatio, kUls / (2.222222222222e-7 * 560), 16.3 * rel);
    EXPECT_NEAR(*f.pressureDropMbarPerM, kDpWet / 100, rel);
    EXPECT_EQ(*f.stages, 10);
    EXPECT_NEAR(*f.bedHeight, 10 * kHetp, rel);
    EXPECT_NEAR(*f.bedPressureDrop, kDpWet / 100 * 10 * kHetp, rel);
    EXPECT_TRUE(page.Operation().warnings.empty());

    // Without stages, or with a number that is no whole number, no bed.
    for (const char* stages : {"", "2.5", "0"}) {
        Type("StagesD", stages);
        Recalc();
        EXPECT_FALSE(page.Operation().figures.stages) << stages;
        EXPECT_FALSE(page.Operation().figures.bedHeight) << stages;
    }
}

// Each warning at its threshold and just below it, on fields typed as they
// stand: the check reads the page, whatever computed it.
TEST_F(OperatingCheckTest, EachWarningAtItsThreshold)
{
    struct Case {
        const char* field;
        const char* text;
        const char* warnField;
        const char* code; // nullptr: no warning on warnField
    };
    // Flood 2 m/s and A = 0.8: the system limit is 1.6 m/s, 90 % of it 1.44.
    const Case cases[] = {
        {"UvsD", "2", "UvsD", "flooded"},          {"UvsD", "1.99998", "UvsD", "over-capacity"},
        {"UvsD", "1.6", "UvsD", "over-capacity"},  {"UvsD", "1.59999", "UvsD", "near-flood"},
        {"UvsD", "1.44", "UvsD", "near-flood"},    {"UvsD", "1.43999", "UvsD", nullptr},
        {"UvsD", "1.38", "dD", "near-flood"},      {"UvsD", "1.3798", "dD", nullptr},
        {"dPwaterD", "99.9", "dPwaterD", "model-range"}, {"dPwaterD", "100", "dPwaterD", nullptr},
        {"HTD", "0.97", "HTD", "model-range"},     {"HTD", "0.9699", "HTD", nullptr},
        {"UlsD", "0.0000999", "UlsD", "min-wetting"}, {"UlsD", "0.0001", "UlsD", nullptr},
        // The first method's own range, 0.01 ... 2.
        {"FpD", "0.00999", "FpD", "flow-parameter-range"}, {"FpD", "0.01", "FpD", nullptr},
        {"FpD", "2.01", "FpD", "flow-parameter-range"},    {"FpD", "2", "FpD", nullptr},
        {"alfD", "0", "alfD", "negative-volatility"},      {"alfD", "0.001", "alfD", nullptr},
        {"meD", "1", "alfD", "negative-volatility"},       {"meD", "0.9999", "alfD", nullptr},
    };
    for (const Case& c : cases) {
        // Every field filled, so that nothing is stale; flood 1.2 of 2 m/s,
        // design 80 % x 0.8 = 64 %.
        for (TEditD* f : page.ValueFields())
            f->SetText("1");
        Type("UfD", "2");
        Type("UvsD", "1.2");
        Type("dPdryD", "100");
        Type("dPwaterD", "200");
        Type("HTD", "0.05");
        Type("UlsD", "0.002");
        Type("FpD", "0.05");
        Type("meD", "0.5");
        CurrentPacking.eps = 0.97;
        CurrentPacking.uLmin = 0.0001;
        Type(c.field, c.text);
        page.UpdateOperation();
        const auto codes = Codes(c.warnField);
        if (c.code)
            EXPECT_EQ(codes, std::vector<std::string>{c.code}) << c.field << "=" << c.text;
        else
            EXPECT_TRUE(codes.empty()) << c.field << "=" << c.text << ": " << codes.front();
    }
}

TEST_F(OperatingCheckTest, RatingUsesTheTypedDiameter)
{
    TypeReferenceCase();
    Recalc();
    const std::string sized = page.Field("dD")->Text();
    page.Check("CBRating")->UserClick();
    EXPECT_FALSE(page.Field("dD")->ReadOnly());
    Type("dD", "1.3");
    Recalc();
    // Loads of that column: uVs = 4 V / (pi d^2 rhoV), uLs = 4 L / (pi d^2 rhoL).
    EXPECT_EQ(page.Field("dD")->Text(), "1.3");
    EXPECT_NEAR(page.Field("UvsD")->GetValue(), 12 / (M_PI * 2.5 * 1.69), 1e-6);
    EXPECT_NEAR(page.Field("UlsD")->GetValue(), 10 / (M_PI * 800 * 1.69), 1e-9);
    EXPECT_NEAR(*page.Operation().figures.floodPercent, 100 * 12 / (M_PI * 2.5 * 1.69) / kUf, 1e-4);
    // The typed diameter put the load 10 points above the design basis:
    // no rounding made it so.
    EXPECT_EQ(Codes("dD"), std::vector<std::string>{"above-design"});

    page.Check("CBRating")->UserClick(); // back to sizing at once
    EXPECT_EQ(page.Field("dD")->Text(), sized);
    EXPECT_TRUE(page.Field("dD")->ReadOnly());
    EXPECT_NEAR(page.Field("UvsD")->GetValue(), kUvs, kUvs * 1e-6);
}

TEST_F(OperatingCheckTest, FloodedColumnCompletesWithItsWarning)
{
    TypeReferenceCase();
    Recalc();
    page.Check("CBRating")->UserClick();
    Type("dD", "1.0"); // uVs = 1.528 m/s > uF = 1.221 m/s
    Type("HTD", "0.5");
    EXPECT_NO_THROW(Recalc());
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_FALSE(page.NeedsRecalc);
    EXPECT_EQ(page.Field("HTD")->Text(), "");
    EXPECT_EQ(page.Field("dPwaterD")->Text(), "");
    EXPECT_FALSE(page.Field("dPdryD")->IsBlank());
    EXPECT_EQ(Codes("UvsD"), std::vector<std::string>{"flooded"});
    EXPECT_FALSE(page.Operation().figures.pressureDropMbarPerM);
    // HETP keeps its text, marked beyond the model.
    EXPECT_FALSE(page.Field("HETPD")->IsBlank());
    EXPECT_TRUE(page.IsInvalid(page.Field("HETPD")));
    EXPECT_EQ(Codes("HETPD"), std::vector<std::string>{"model-range"});
}

TEST_F(OperatingCheckTest, StaleAfterEmptyingAnInputUntilItIsTypedAgain)
{
    struct Case {
        const char* input;
        std::vector<std::string> stale; // sorted
    };
    // Which results keep a value whose group was left alone: VD as the
    // recalculation's own example lists it, DlD as the issue found it.
    const Case cases[] = {
        {"VD", {"HETPD", "HTD", "HTULD", "HTUOVD", "HTUVD", "UlsD", "dD", "dPdryD", "dPwaterD", "dpD"}},
        {"DlD",
         {"HETPD", "HTD", "HTULD", "HTUOVD", "HTUVD", "UfD", "UpD", "UvsD", "dD", "dPdryD", "dPwaterD", "dpD"}},
    };
    for (const Case& c : cases) {
        TypeReferenceCase();
        Recalc();
        const std::string text = page.Field(c.input)->Text();
        Type(c.input, "");
        Recalc();
        EXPECT_EQ(StaleFields(), c.stale) << c.input;
        EXPECT_EQ(Codes().size(), c.stale.size()) << c.input;
        EXPECT_FALSE(page.Operation().figures.bedHeight);
        Type(c.input, text.c_str());
        Recalc();
        EXPECT_TRUE(StaleFields().empty()) << c.input;
        EXPECT_TRUE(page.Operation().warnings.empty()) << c.input;
    }
}

TEST_F(OperatingCheckTest, FailedRecalculationAndNewEmptyTheCheck)
{
    TypeReferenceCase();
    Recalc();
    Type("DlD", "");
    Recalc();
    ASSERT_FALSE(StaleFields().empty());
    page.ResetForNew();
    EXPECT_TRUE(StaleFields().empty());
    EXPECT_TRUE(page.Operation().warnings.empty());

    TypeReferenceCase();
    Recalc();
    ASSERT_TRUE(page.Operation().figures.floodPercent);
    Type("DvD", "900"); // rhoV above rhoL: the flooding equation fails
    EXPECT_ANY_THROW(Recalc());
    EXPECT_FALSE(page.Operation().figures.floodPercent);
    EXPECT_TRUE(page.Operation().warnings.empty());
}

} // namespace
