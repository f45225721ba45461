// Runs on a copy of a calculation page: the copy keeps no result its own
// inputs do not give, shows what the page itself shows after the same
// choice, and the live page notices nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "CaseRun.h"
#include "TypicalCase.h"

namespace
{

struct FieldState {
    std::string text;
    TColor colour;
    bool readOnly;
    bool operator==(const FieldState&) const = default;
};

std::vector<FieldState> Snapshot(const CalcPage& page)
{
    std::vector<FieldState> s;
    for (const TEditD* f : page.ValueFields())
        s.push_back({f->Text(), f->Color(), f->ReadOnly()});
    return s;
}

// The fields the engine writes on a page that has computed everything.
std::vector<std::string> ComputedNames(const CalcPage& page)
{
    std::vector<std::string> names;
    for (const TEditD* f : page.ValueFields())
        if (f->ReadOnly() && !f->Text().empty()) names.push_back(f->Name());
    return names;
}

class CaseRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CurrentPacking = PackingParams{};
        TypeTypicalCase(live);
        live.Unit("dU")->SetItemIndex(1); // a non-SI display unit must travel too
        live.LDExit();
    }
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    CalcPage live;
};

} // namespace

TEST_F(CaseRunTest, CopyAfterAChoiceEqualsThePageAfterTheSameChoice)
{
    struct Choice {
        const char* packing;
        int method;
        bool lagrange;
    };
    for (const Choice c : {Choice{"Mellapak-125X", 0, false}, Choice{"Mellapak-350Y", 1, false},
                           Choice{"Flexipac-2", 2, true}}) {
        const auto before = Snapshot(live);
        const PackingParams packing = CurrentPacking;
        CalcPage copy(false);
        CopyPageState(live, copy);
        EXPECT_EQ(Snapshot(copy), before);
        const CaseRunResult run = RunCase(copy, [&](CalcPage& p) {
            SelectMethod(p, c.method, c.lagrange);
            SelectPacking(p, c.packing);
        });
        ASSERT_TRUE(run.completed) << c.packing << ": " << run.error;
        // Nothing of the run reached the live page or the engine's state.
        EXPECT_EQ(Snapshot(live), before);
        EXPECT_FALSE(live.NeedsRecalc);
        EXPECT_EQ(CurrentPacking.a, packing.a);
        EXPECT_EQ(CurrentPacking.uLmin, packing.uLmin);

        // The same choice made by the user on a second live page.
        CalcPage user(false);
        CopyPageState(live, user);
        user.InstallHooks();
        user.Check("CBLagrange")->SetChecked(c.lagrange);
        user.Combo("UfMD")->UserSelect(c.method);
        const auto& items = user.Combo("PTD")->Items();
        user.Combo("PTD")->UserSelect(
            static_cast<int>(std::find(items.begin(), items.end(), c.packing) - items.begin()));
        user.NeedsRecalc = true;
        user.LDExit();
        live.InstallHooks();
        EXPECT_EQ(Snapshot(copy), Snapshot(user)) << c.packing;
        EXPECT_NE(Snapshot(copy), before) << c.packing;
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(CaseRunTest, AFailedRunGivesTheSpecificMessageAndLeavesTheLivePageAlone)
{
    CalcPage copy(false);
    CopyPageState(live, copy);
    const auto before = Snapshot(live);
    // The third correlation needs a packing factor that this packing lacks.
    const CaseRunResult run = RunCase(copy, [](CalcPage& p) {
        SelectMethod(p, 2, false);
        SelectPacking(p, "CY-800");
    });
    EXPECT_FALSE(run.completed);
    EXPECT_EQ(run.error, "填料参数不全，无法使用该泛点算法。");
    EXPECT_EQ(Snapshot(live), before);
    EXPECT_TRUE(sink.messages.empty()) << "a copy's messages must not reach the live sink";

    const CaseRunResult unknown = RunCase(copy, [](CalcPage& p) { SelectPacking(p, "no such packing"); });
    EXPECT_FALSE(unknown.completed);
    EXPECT_NE(unknown.error.find("no such packing"), std::string::npos);
}

TEST_F(CaseRunTest, NoResultOfTheLivePageOrOfTheCaseBeforeSurvivesInACase)
{
    const std::vector<std::string> computed = ComputedNames(live);
    ASSERT_GE(computed.size(), 15u);
    struct Step {
        const char* what;
        std::function<void(CalcPage&)> change;
        const char* error; // "" when the case completes
    } steps[] = {
        {"an input emptied", [](CalcPage& p) { p.Field("DlD")->SetText(""); }, "数据不全：DlD"},
        {"two inputs emptied", [](CalcPage& p) { p.Field("VD")->SetText(""), p.Field("SLD")->SetText(""); },
         "数据不全：VD, SLD"},
        {"a failing correlation",
         [](CalcPage& p) {
             SelectMethod(p, 2, false);
             SelectPacking(p, "CY-800");
         },
         "填料参数不全，无法使用该泛点算法。"},
        {"a complete case", [](CalcPage& p) { SelectPacking(p, "Mellapak-125Y"); }, ""},
    };
    CalcPage copy(false);
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        // Also the copy of the case before: only the live page's state is taken over.
        CopyPageState(live, copy);
        const CaseRunResult run = RunCase(copy, s.change);
        EXPECT_EQ(run.completed, s.error[0] == 0);
        EXPECT_EQ(run.error, s.error);
        for (const std::string& name : computed) {
            EXPECT_EQ(copy.Field(name)->Text().empty(), !run.completed) << name;
            // Only a value can be stale: an emptied result carries no mark nor warning.
            EXPECT_FALSE(copy.IsStale(copy.Field(name))) << name;
        }
        for (const OperatingWarning& w : copy.Operation().warnings)
            EXPECT_NE(w.code, "stale") << w.field;
    }
    EXPECT_FALSE(live.NeedsRecalc);
}

TEST_F(CaseRunTest, AFloatingPointFaultOfACaseIsCalledByWhatItMeans)
{
    CalcPage copy(false);
    CopyPageState(live, copy);
    // No vapour: the flow parameter divides by zero.
    const CaseRunResult run = RunCase(copy, [](CalcPage& p) { p.Field("VD")->SetText("0"); });
    ASSERT_FALSE(run.completed);
    EXPECT_EQ(run.error, kOutsideModelText);
    EXPECT_TRUE(copy.Field("FpD")->Text().empty());
}
