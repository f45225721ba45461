// Runs on a copy of a calculation page: the copy gives what the page itself
// gives after the same choice, and the live page notices nothing.
#include <gtest/gtest.h>

#include <algorithm>

#include "TypicalCase.h"
#include "CaseRun.h"

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
