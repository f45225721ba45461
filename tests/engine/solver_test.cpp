// The equation-field solver: its decision table, the root finder and the
// guards that keep it from writing a value that is not a root.
#include <gtest/gtest.h>

#include <cmath>

#include "BaseLib.h"
#include "EditD.h"
#include "Messages.h"

namespace {
constexpr TColor kColour = RGBColor(255, 0, 0);

// c = a + 2 b, written as a residual with the result last.
double Sum(const double* v) { return v[0] + 2 * v[1] - v[2]; }

class SolverTest : public ::testing::Test {
protected:
    SolverTest() : a("a"), b("b"), c("c")
    {
        a.SetMyResolved(false);
        b.SetMyResolved(false);
    }
    bool Solve() { return SolveFields({&a, &b, &c}, kColour, true, 1e-6, 1.2345, Sum); }
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    TEditD a, b, c;
};
} // namespace

TEST_F(SolverTest, OneBlankResultIsComputedAndMarked)
{
    a.SetText("1");
    b.SetText("2.5");
    EXPECT_TRUE(Solve());
    EXPECT_NEAR(c.GetValue(), 6.0, 1e-9);
    EXPECT_EQ(c.Color(), kColour);
    EXPECT_TRUE(c.ReadOnly());
    EXPECT_EQ(c.Cursor(), TCursor::No);
    // Nothing changed: a second call writes nothing.
    EXPECT_FALSE(Solve());
}

TEST_F(SolverTest, ResolvesWhenAnInputMovesAndIgnoresTinyChanges)
{
    a.SetText("1");
    b.SetText("2");
    ASSERT_TRUE(Solve());
    a.SetText("3");
    EXPECT_TRUE(Solve());
    EXPECT_NEAR(c.GetValue(), 7.0, 1e-9);
    const std::string before = c.Text();
    a.SetText("3.000000001"); // moves c by about one part in 10^10
    EXPECT_FALSE(Solve());
    EXPECT_EQ(c.Text(), before);
}

TEST_F(SolverTest, EmptyingAnInputWithdrawsTheResultThenLeavesTheGroupAlone)
{
    a.SetText("1");
    b.SetText("2");
    ASSERT_TRUE(Solve());
    a.SetText("");
    EXPECT_TRUE(Solve());
    EXPECT_EQ(c.Text(), "");
    EXPECT_EQ(c.Color(), clWindow);
    EXPECT_FALSE(c.ReadOnly());
    EXPECT_EQ(c.Cursor(), TCursor::Default);
    EXPECT_FALSE(Solve()) << "two blanks: nothing to do";
}

TEST_F(SolverTest, NothingHappensWithoutAComputableBlank)
{
    a.SetText("1");
    b.SetText("2");
    c.SetText("9"); // all given by the user
    EXPECT_FALSE(Solve());
    EXPECT_EQ(c.Text(), "9");
    c.SetText("");
    a.SetText("");
    c.SetText("9");
    EXPECT_FALSE(Solve()) << "the only blank is an input";
    EXPECT_EQ(a.Text(), "");
}

TEST_F(SolverTest, TwoBlanksNeitherComputeNorClear)
{
    a.SetText("");
    b.SetText("");
    c.SetText("4");
    c.SetColor(kColour);
    EXPECT_FALSE(Solve());
    EXPECT_EQ(c.Text(), "4");
}

TEST_F(SolverTest, DisabledBlankIsNotAnUnknownAndGivenMembersMayBeBackSolved)
{
    // b is given as a result by the user; a is computable.
    a.SetMyResolved(true);
    b.SetText("2");
    c.SetText("10");
    EXPECT_TRUE(Solve());
    EXPECT_NEAR(a.GetValue(), 6.0, 1e-9);

    TEditD x("x"), y("y"), z("z");
    x.SetText("1");
    y.SetEnabled(false);
    // y is blank but disabled: it is no unknown and is not read, so z is
    // computed with y's element left at zero.
    EXPECT_TRUE(SolveFields({&x, &y, &z}, kColour, true, 1e-6, 1.2345, Sum));
    EXPECT_NEAR(z.GetValue(), 1.0, 1e-9);
    EXPECT_EQ(y.Text(), "");
    TEditD x2("x2"), y2("y2"), z2("z2");
    x2.SetText("1");
    EXPECT_FALSE(SolveFields({&x2, &y2, &z2}, kColour, true, 1e-6, 1.2345, Sum)) << "two enabled blanks";
    y2.SetEnabled(false);
    EXPECT_FALSE(SolveFields({&x2, &y2, &z2}, kColour, false, 1e-6, 1.2345, Sum))
        << "with enabledOnly false the disabled blank counts again";
}

TEST_F(SolverTest, ZeroValuedResultMeasuresAbsoluteChange)
{
    a.SetText("0");
    b.SetText("0");
    ASSERT_TRUE(Solve());
    EXPECT_NEAR(c.GetValue(), 0.0, 1e-12);
    a.SetText("0.0000001");
    EXPECT_FALSE(Solve()) << "|1e-7 - 0| is below the tolerance";
    a.SetText("0.01");
    EXPECT_TRUE(Solve());
}

TEST_F(SolverTest, InputErrorsShowTheWarningAndPassTheErrorOn)
{
    a.SetText("-4");
    b.SetText("1");
    auto sqrtEq = [](const double* v) { return std::sqrt(v[0]) + v[1] - v[2]; };
    EXPECT_THROW(SolveFields({&a, &b, &c}, kColour, true, 1e-6, 1.2345, sqrtEq), EMathError);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "发现错误，可能是输入数据错误！");
    EXPECT_EQ(c.Text(), "") << "no NaN is written";

    sink.messages.clear();
    a.SetText("1x");
    EXPECT_THROW(Solve(), EAbort);
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[0].text, "a是错误数据");
    EXPECT_EQ(sink.messages[1].text, "发现错误，可能是输入数据错误！");
}

TEST_F(SolverTest, AValueWithoutARootIsRefused)
{
    // m * (0.9 a + 0.1) = 0.9 a has no solution for m = 1.
    TEditD alpha("alfD"), m("meD");
    m.SetText("1");
    auto slope = [](const double* v) { return 0.9 * v[0] - (0.9 * v[0] + 0.1) * v[1]; };
    EXPECT_THROW(SolveFields({&alpha, &m}, kColour, true, 1e-6, 0.2345, slope), EVelkError);
    EXPECT_EQ(alpha.Text(), "");
    EXPECT_EQ(sink.messages.back().text, "发现错误，可能是输入数据错误！");

    // A slope just below 1 has a root far out, where the fine derivative
    // drowns in rounding: the value is still accepted (0.9 a = m (0.9 a + 0.1)
    // gives a = 0.1 m / (0.9 (1 - m)) = 111111 for m = 0.999999).
    TEditD alpha2("alfD"), m2("meD");
    m2.SetText("0.999999");
    EXPECT_TRUE(SolveFields({&alpha2, &m2}, kColour, true, 1e-6, 0.2345, slope));
    EXPECT_NEAR(alpha2.GetValue(), 111111.0, 111111.0 * 1e-3);

    // A residual with a jump and no zero crossing at the root.
    TEditD p("p"), q("q");
    q.SetText("0.5");
    auto jump = [](const double* v) { return (v[0] < 1 ? 1.0 : 0.2) - v[1]; };
    EXPECT_THROW(SolveFields({&p, &q}, kColour, true, 1e-6, 1.2345, jump), EVelkError);
}

TEST(FindRoot, ConvergesFromTheStartValueAndLeavesOtherElementsAlone)
{
    ValueArray v{};
    v[0] = 2.0;
    v[2] = 0; // unknown
    auto eq = [](const double* x) { return x[2] * x[2] - x[0]; };
    const double r = FindRoot(v, 2, eq, 1.2345);
    EXPECT_NEAR(r, std::sqrt(2.0), 1e-9);
    EXPECT_EQ(v[0], 2.0);

    // Exponential residual that needs damping from a poor start.
    auto steep = [](const double* x) { return std::exp(x[0]) - 5.0; };
    ValueArray w{};
    EXPECT_NEAR(FindRoot(w, 0, steep, 1.2345), std::log(5.0), 1e-7);
}

TEST(FindRoot, FlatResidualIsNotARoot)
{
    ValueArray v{};
    auto flat = [](const double*) { return 3.0; };
    EXPECT_THROW(FindRoot(v, 0, flat, 1.2345), EVelkError);
    // A flat residual that is zero is a root at the start value.
    auto zero = [](const double*) { return 0.0; };
    EXPECT_DOUBLE_EQ(FindRoot(v, 0, zero, 1.2345), 1.2345);
}

TEST(FieldHelpers, AllFilledAndResultStyle)
{
    TEditD a("a"), b("b");
    a.SetText("1");
    EXPECT_FALSE(AllFilled({&a, &b}));
    b.SetText(" ");
    EXPECT_TRUE(AllFilled({&a, &b})) << "untrimmed text counts";
    TCheckModel box("box");
    SetResultStyle({&a, &box}, false);
    EXPECT_TRUE(a.ReadOnly());
    EXPECT_EQ(a.Color(), clBtnFace);
    EXPECT_EQ(a.FontColor(), clBlue);
    EXPECT_FALSE(box.Enabled());
    SetResultStyle({&a, &box}, true);
    EXPECT_FALSE(a.ReadOnly());
    EXPECT_EQ(a.Color(), clWindow);
    EXPECT_EQ(a.FontColor(), clBlack);
    EXPECT_TRUE(box.Enabled());
    EXPECT_TRUE(ClearComputedField(b)) << "a blank text still differs from an empty one";
    EXPECT_EQ(b.Text(), "");
    TEditD empty("e");
    EXPECT_FALSE(ClearComputedField(empty));
}
