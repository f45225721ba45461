// The recalculation sequence over the headless calculation page: a whole
// case, propagation, clearing, method switches and the error paths.
#include <gtest/gtest.h>

#include <cmath>

#include "CalcPage.h"
#include "Messages.h"
#include "PackingCatalogue.h"

namespace {

// Expected values of the reference case (Flexipac-1, first method, f = 80,
// A = 0.8) worked out in python from the published formulas, with X = 0 in
// the effective vapour velocity:
//   phi = L/V*sqrt(rv/rl), C from the outer formula (phi < 0.1), Cmax = Cf*C, ...
constexpr double kPhi = 0.04658474953124562;
constexpr double kCmax = 0.0683631394146694;
constexpr double kUf = 1.2210047121001697;
constexpr double kUp = 0.7814430157441086;
constexpr double kDp = 1.3982892710450237;
constexpr double kD = 1.4;
constexpr double kUls = 0.002030037539437441;
constexpr double kUvs = 0.7795344151439773;
constexpr double kHold = 0.06520150898404213;
constexpr double kDpDry = 86.54678826487897;
constexpr double kDpWet = 132.34507458870078;
constexpr double kM = 0.9473684210526315;
constexpr double kLambda = 1.1368421052631579;
constexpr double kHtuv = 0.12411862927341973;
constexpr double kHtul = 0.04283156451426649;
constexpr double kHtuov = 0.17281135524753322;
constexpr double kHetp = 0.1619662712408296;

class RecalcTest : public ::testing::Test {
protected:
    void SetUp() override { CurrentPacking = PackingParams{}; }
    void Type(const char* field, const char* text) { page.Field(field)->SetText(text); }
    double Si(const char* field) { return page.Field(field)->GetValue(); }
    void TypeReferenceCase(bool withMassTransfer)
    {
        Type("LD", "2.5");
        Type("VD", "3.0");
        Type("DlD", "800");
        Type("DvD", "2.5");
        Type("MlD", "0.0003");
        Type("MvD", "0.00001");
        if (withMassTransfer) {
            Type("SLD", "0.02");
            Type("DlfD", "2e-9");
            Type("DvfD", "1e-5");
            Type("alfD", "2");
        }
    }
    void ExpectNear(const char* field, double expected, double rel = 1e-9)
    {
        EXPECT_NEAR(Si(field), expected, std::fabs(expected) * rel) << field;
    }
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    CalcPage page;
};

} // namespace

TEST_F(RecalcTest, FreshCaseFillsTheSizingGroupsWithTheirColours)
{
    TypeReferenceCase(false);
    ASSERT_TRUE(page.NeedsRecalc);
    page.LDExit();
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_FALSE(page.NeedsRecalc);
    ExpectNear("FpD", kPhi);
    ExpectNear("CgmaxD", kCmax);
    ExpectNear("UfD", kUf);
    ExpectNear("UpD", kUp);
    ExpectNear("dpD", kDp);
    EXPECT_EQ(page.Field("dD")->Text(), "1.4");
    ExpectNear("UlsD", kUls);
    ExpectNear("UvsD", kUvs);
    EXPECT_EQ(page.Field("FpD")->Color(), RGBColor(255, 0, 0));
    EXPECT_EQ(page.Field("CgmaxD")->Color(), RGBColor(0, 0, 255));
    EXPECT_EQ(page.Field("UfD")->Color(), RGBColor(128, 128, 128));
    EXPECT_EQ(page.Field("UpD")->Color(), RGBColor(255, 255, 0));
    EXPECT_EQ(page.Field("dpD")->Color(), RGBColor(0, 255, 255));
    EXPECT_EQ(page.Field("UlsD")->Color(), RGBColor(0xA6, 0xCA, 0xF0));
    EXPECT_EQ(page.Field("UvsD")->Color(), RGBColor(0xC0, 0xDC, 0xC0));
    EXPECT_EQ(page.Field("dD")->Color(), clWindow) << "the rounded diameter carries no equation colour";
    EXPECT_TRUE(page.Field("FpD")->ReadOnly());
    // Pressure drop waits for the surface tension, mass transfer for more.
    EXPECT_EQ(page.Field("dPdryD")->Text(), "");
    EXPECT_EQ(page.Field("HETPD")->Text(), "");
    EXPECT_DOUBLE_EQ(CurrentPacking.a, 560);
    EXPECT_DOUBLE_EQ(CurrentPacking.uLmin, 2.222222222222e-7 * 560);
}

TEST_F(RecalcTest, CompleteCaseComputesPressureDropHoldupAndHeights)
{
    TypeReferenceCase(true);
    page.LDExit();
    ASSERT_TRUE(sink.messages.empty()) << sink.messages[0].text;
    ExpectNear("meD", kM);
    ExpectNear("LmdD", kLambda);
    EXPECT_EQ(page.Field("meD")->Color(), RGBColor(128, 128, 0));
    EXPECT_EQ(page.Field("LmdD")->Color(), RGBColor(192, 192, 192));
    ExpectNear("HTD", kHold, 1e-8);
    ExpectNear("dPdryD", kDpDry, 1e-8);
    ExpectNear("dPwaterD", kDpWet, 1e-8);
    ExpectNear("HTUVD", kHtuv, 1e-8);
    ExpectNear("HTULD", kHtul, 1e-8);
    ExpectNear("HTUOVD", kHtuov, 1e-8);
    ExpectNear("HETPD", kHetp, 1e-8);
    EXPECT_EQ(page.Field("HETPD")->Color(), clWindow);
}

TEST_F(RecalcTest, NothingRunsWhenNothingChanged)
{
    TypeReferenceCase(false);
    page.LDExit();
    page.Field("FpD")->SetText("0.5"); // would be visible if a pass ran... it does set the flag
    page.NeedsRecalc = false;
    page.LDExit();
    EXPECT_EQ(page.Field("FpD")->Text(), "0.5");
}

TEST_F(RecalcTest, ChangingAnInputPropagatesDownstream)
{
    TypeReferenceCase(true);
    page.LDExit();
    const std::string dryBefore = page.Field("dPdryD")->Text();
    Type("SLD", "0.03");
    page.LDExit();
    EXPECT_EQ(page.Field("dPdryD")->Text(), dryBefore) << "the dry drop does not depend on sigma";
    EXPECT_NE(page.Field("dPwaterD")->Text(), "");

    Type("VD", "3.3");
    page.LDExit();
    const double phi = 2.5 / 3.3 * std::sqrt(2.5 / 800.0);
    ExpectNear("FpD", phi);
    EXPECT_NEAR(Si("LmdD"), kM * 3.3 / 2.5, 1e-9);
}

TEST_F(RecalcTest, EmptyingTheVapourFlowClearsItsResultsOverSeveralPasses)
{
    TypeReferenceCase(true);
    page.LDExit();
    const std::string dp = page.Field("dpD")->Text();
    const std::string hetp = page.Field("HETPD")->Text();
    Type("VD", "");
    page.LDExit();
    EXPECT_TRUE(sink.messages.empty());
    for (const char* cleared : {"FpD", "CgmaxD", "UfD", "UpD", "UvsD", "LmdD"}) {
        EXPECT_EQ(page.Field(cleared)->Text(), "") << cleared;
        EXPECT_EQ(page.Field(cleared)->Color(), clWindow) << cleared;
        EXPECT_FALSE(page.Field(cleared)->ReadOnly()) << cleared;
    }
    EXPECT_EQ(page.Field("dpD")->Text(), dp);
    EXPECT_NE(page.Field("UlsD")->Text(), "");
    EXPECT_EQ(page.Field("HETPD")->Text(), hetp);
}

TEST_F(RecalcTest, SwitchingTheMethodResolvesTheSharedColours)
{
    TypeReferenceCase(false);
    page.LDExit();
    const double fp = Si("FpD");
    page.Combo("UfMD")->UserSelect(1);
    EXPECT_FALSE(page.Check("CBLagrange")->Enabled());
    EXPECT_FALSE(page.NeedsRecalc);
    // Billet, worked out in python: hFl = 0.3741*eps*((muL/rhoL)/1.0068122620717291e-06)**0.05 ...
    ExpectNear("UfD", 1.1201362608949366, 1e-8);
    ExpectNear("CgmaxD", 1.1201362608949366 / std::sqrt(797.5 / 2.5), 1e-8);
    EXPECT_DOUBLE_EQ(Si("FpD"), fp);

    page.Combo("UfMD")->UserSelect(2);
    EXPECT_TRUE(page.Check("CBLagrange")->Enabled());
    EXPECT_EQ(page.Field("UfD")->Color(), RGBColor(128, 128, 128));

    page.Combo("UfMD")->UserSelect(0);
    ExpectNear("CgmaxD", kCmax);
    ExpectNear("UfD", kUf);
}

TEST_F(RecalcTest, ChangeHandlersWaitForAPendingEdit)
{
    TypeReferenceCase(false);
    page.LDExit();
    Type("LD", "2.6"); // pending
    page.Combo("AfD")->UserSelect(8);
    EXPECT_TRUE(page.NeedsRecalc) << "the exit of the field will recalculate";
    page.LDExit();
    page.Modified = false;
    page.Combo("fpercentD")->UserEdit("72");
    EXPECT_FALSE(page.NeedsRecalc);
    EXPECT_TRUE(page.Modified);
    ExpectNear("UpD", Si("UfD") * 0.72 * 1.0);
}

TEST_F(RecalcTest, MissingPackingFactorStopsBeforeTheLaterSteps)
{
    TypeReferenceCase(false);
    page.Combo("PTD")->SetItemIndex(23); // CY-800
    ASSERT_EQ(page.Combo("PTD")->Text(), "CY-800");
    page.Combo("UfMD")->SetItemIndex(2);
    EXPECT_THROW(page.LDExit(), EAbort);
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[0].text, "填料参数不全，无法使用该泛点算法。");
    EXPECT_EQ(sink.messages[1].text, "发现错误，可能是输入数据错误！");
    EXPECT_NE(page.Field("FpD")->Text(), "") << "step 1 ran before the error";
    EXPECT_EQ(page.Field("UpD")->Text(), "");
    EXPECT_TRUE(page.NeedsRecalc);
}

TEST_F(RecalcTest, ArithmeticErrorsEndTheRecalculationWithoutNaN)
{
    TypeReferenceCase(false);
    Type("DvD", "900"); // vapour denser than liquid
    EXPECT_FALSE(page.RecalcReported());
    ASSERT_GE(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[0].text, "发现错误，可能是输入数据错误！");
    EXPECT_EQ(sink.messages[1].text, "Invalid floating point operation");
    for (TEditD* f : page.ValueFields())
        EXPECT_EQ(f->Text().find("NAN"), std::string::npos) << f->Name();
    EXPECT_TRUE(page.NeedsRecalc);

    sink.messages.clear();
    Type("DvD", "2.5");
    Type("VD", "0");
    EXPECT_FALSE(page.RecalcReported());
    EXPECT_EQ(sink.messages[0].text, "发现错误，可能是输入数据错误！");
}

TEST_F(RecalcTest, EquilibriumDataMayBeGivenEitherWay)
{
    TypeReferenceCase(false);
    Type("meD", "0.5");
    page.LDExit();
    // 0.9 a = 0.5 (0.9 a + 0.1) gives a = 1/9.
    ExpectNear("alfD", 1.0 / 9.0);
    EXPECT_EQ(page.Field("alfD")->Color(), RGBColor(128, 128, 0));
    ExpectNear("LmdD", 0.5 * 3.0 / 2.5);

    // Emptying the slope withdraws both values computed from it.
    Type("meD", "");
    page.LDExit();
    EXPECT_EQ(page.Field("alfD")->Text(), "");
    EXPECT_EQ(page.Field("LmdD")->Text(), "");

    // A slope of exactly 1 has no volatility: none is written, a note says
    // why, and the rest of the page, which does not need it, is computed.
    Type("meD", "1");
    EXPECT_TRUE(page.RecalcReported());
    EXPECT_EQ(page.Field("alfD")->Text(), "");
    EXPECT_TRUE(sink.messages.empty());
    ExpectNear("LmdD", 1.0 * 3.0 / 2.5);
    ASSERT_FALSE(page.Operation().warnings.empty());
    EXPECT_EQ(page.Operation().warnings.back().code, "negative-volatility");
}

TEST_F(RecalcTest, NewClearsFieldsButKeepsSelections)
{
    TypeReferenceCase(true);
    page.TextBox("ProjectD")->SetText("塔");
    page.TextBox("CommentD")->SetText("说明");
    page.Combo("UfMD")->SetItemIndex(1);
    page.LDExit();
    page.ResetForNew();
    for (TEditD* f : page.ValueFields())
        EXPECT_EQ(f->Text(), "") << f->Name();
    EXPECT_EQ(page.TextBox("ProjectD")->Text(), "");
    EXPECT_EQ(page.TextBox("CommentD")->Text(), "说明");
    EXPECT_EQ(page.Combo("UfMD")->ItemIndex(), 1);
    EXPECT_EQ(page.Field("HETPD")->Color(), clBtnFace);
    EXPECT_TRUE(page.Field("HETPD")->ReadOnly());
    EXPECT_FALSE(page.Field("LD")->ReadOnly());
    EXPECT_TRUE(page.NeedsRecalc);
}

TEST(CalcPageHooks, ANewPageLeavesTheFlagsOfTheHostAlone)
{
    CalcPage host;
    host.Modified = false;
    host.NeedsRecalc = false;
    {
        CalcPage other(false); // its selectors take their first units
    }
    EXPECT_FALSE(host.Modified);
    EXPECT_FALSE(host.NeedsRecalc);
    host.Unit("LU")->SetItemIndex(1);
    EXPECT_TRUE(host.Modified) << "the host's hooks are still in place";
}
