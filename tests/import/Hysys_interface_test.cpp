// HYSYS access against the stand-in's object model entered in the running-
// object table of this process: attaching, the column list, the stage record
// and its search rules, and the calls made on the way.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <set>

#include "AutoRegistry.h"
#include "HysysInterface.h"
#include "HysysServerObjects.h"
#include "ImportTestSupport.h"
#include "Messages.h"

namespace
{

class HysysInterface : public ::testing::Test
{
protected:
    void SetUp() override
    {
        log = std::make_shared<CallLog>();
        // Only the in-process entry: no other process is asked.
        AutoRegistry::Instance().RevokeActiveProvider(kHysysProgId);
    }
    void TearDown() override
    {
        AutoRegistry::Instance().RevokeActiveObject(kHysysProgId);
        ReleaseHysys();
    }

    void Run(std::vector<HysysOperationData> operations)
    {
        auto c = std::make_shared<HysysCaseData>();
        c->title = "test";
        c->operations = std::move(operations);
        RunCase(c);
    }
    void RunCase(std::shared_ptr<const HysysCaseData> c)
    {
        AutoRegistry::Instance().RegisterActiveObject(
            kHysysProgId, std::make_shared<RecordingObject>(MakeHysysApplication(std::move(c)), log));
    }
    void RunColumn(std::vector<HysysStageData> stages) { Run({TestColumnOp("T-100", std::move(stages))}); }

    // Indices asked of the stage collection.
    std::set<int> StagesRead() const
    {
        std::set<int> out;
        for (const RecordedCall& c : log->calls)
            if (c.object == "Stages" && c.member == "Item") out.insert(c.values[0].ToInt());
        return out;
    }

    TStringList Record(int stageIndex, const std::string& column = "T-100")
    {
        TStringList list;
        GetHysysStageData(column, stageIndex, list);
        return list;
    }

    std::shared_ptr<CallLog> log;
    RecordingSink sink;
    ScopedMessageSink scopedSink{&sink};
};

HysysOperationData Valve(const std::string& name)
{
    HysysOperationData op;
    op.name = name;
    op.typeName = "valveop";
    return op;
}

} // namespace

TEST_F(HysysInterface, NotRunningShowsTheErrorAndReadsNothing)
{
    EXPECT_FALSE(ConnectHysys());
    EXPECT_FALSE(HysysAttached);
    TStringList list = {"x"};
    EXPECT_FALSE(GetHysysColumns(list));
    GetHysysStageData("T-100", -1, list);
    EXPECT_EQ(list, TStringList{"x"});
    ASSERT_EQ(sink.messages.size(), 3u);
    for (const RecordedMessage& m : sink.messages)
        EXPECT_EQ(m.text, "Hysys错误！");
}

TEST_F(HysysInterface, AnApplicationThatDoesNotAnswerItsVersionIsNotAttached)
{
    RunColumn({TestStage(1, 1), TestStage(1, 1), TestStage(1, 1)});
    log->failWhen = [](const RecordedCall& c) { return c.member == "Version"; };
    EXPECT_FALSE(ConnectHysys());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Hysys错误！");
    log->failWhen = nullptr;
    EXPECT_TRUE(ConnectHysys());
    EXPECT_TRUE(HysysAttached);
}

TEST_F(HysysInterface, ColumnOperationsAreListedOnceInFirstSeenOrder)
{
    Run({TestColumnOp("T-100", {}), Valve("VLV-1"), TestColumnOp("T-200", {}), TestColumnOp("T-100", {})});
    TStringList list = {"T-200"};
    EXPECT_TRUE(GetHysysColumns(list));
    EXPECT_EQ(list, (TStringList{"T-200", "T-100"}));
    EXPECT_TRUE(sink.messages.empty());

    // Each listing attaches afresh and asks only for the column operations.
    EXPECT_EQ(log->Named("Version").size(), 1u);
    for (const RecordedCall* c : log->Named("Operations")) {
        EXPECT_EQ(c->types, std::vector<AutoType>{AutoType::String});
        EXPECT_EQ(c->values[0].ToString(), "ColumnOp");
    }
    const auto items = log->Named("Item");
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[2]->types, std::vector<AutoType>{AutoType::Integer});
    EXPECT_EQ(items[2]->values[0].ToInt(), 2);
}

TEST_F(HysysInterface, AutomaticSearchSkipsTheEndStages)
{
    RunColumn({TestStage(100, 100, 0), TestStage(1, 2, 1), TestStage(3, 1, 2), TestStage(2, 4, 3),
               TestStage(0.5, 0.5, 4), TestStage(100, 100, 5)});
    EXPECT_EQ(Record(-1), (TStringList{"MaxVNo=2", "Fv=3", "Dv=12", "Vv=0.000012", "  ", "MaxLNo=3", "Fl=4",
                                       "Dl=503", "Vl=0.00023", "Sl=0.023"}));
    EXPECT_EQ(StagesRead(), (std::set<int>{1, 2, 3, 4}));
    // The column is found by name among all operations.
    const auto byName = log->Named("Item");
    ASSERT_FALSE(byName.empty());
    EXPECT_EQ(byName[0]->object, "Operations");
    EXPECT_EQ(byName[0]->types, std::vector<AutoType>{AutoType::String});
    EXPECT_EQ(log->Named("Operations")[0]->types.size(), 0u);
}

TEST_F(HysysInterface, TiesKeepTheLowerStageAndTheHalvesAreIndependent)
{
    RunColumn({TestStage(0, 0), TestStage(5, 1, 1), TestStage(5, 2, 2), TestStage(4, 7, 3),
               TestStage(4, 7, 4), TestStage(0, 0)});
    const TStringList r = Record(-1);
    EXPECT_EQ(r[0], "MaxVNo=1");
    EXPECT_EQ(r[2], "Dv=11");
    EXPECT_EQ(r[5], "MaxLNo=3");
    EXPECT_EQ(r[7], "Dl=503");
}

TEST_F(HysysInterface, NamedStageIsReadAloneWhateverTheOthers)
{
    RunColumn({TestStage(50, 50, 0), TestStage(50, 50, 1), TestStage(1.5, 2.5, 2), TestStage(50, 50, 3)});
    EXPECT_EQ(Record(2), (TStringList{"MaxVNo=2", "Fv=1.5", "Dv=12", "Vv=0.000012", "  ", "MaxLNo=2",
                                      "Fl=2.5", "Dl=502", "Vl=0.00022", "Sl=0.022"}));
    EXPECT_EQ(StagesRead(), std::set<int>{2});
    // An end stage named by the engineer is read too.
    log->calls.clear();
    EXPECT_EQ(Record(0)[1], "Fv=50");
    EXPECT_EQ(StagesRead(), std::set<int>{0});
}

TEST_F(HysysInterface, ViscositiesAndSurfaceTensionAreDividedByAThousand)
{
    HysysStageData s = TestStage(12.5, 8, 0);
    s.vapour.viscosity = 0.5;
    s.vapour.massDensity = 3.25;
    s.liquid.viscosity = 0.018;
    s.liquid.surfaceTension = 20;
    RunColumn({TestStage(0, 0), s, TestStage(0, 0)});
    EXPECT_EQ(Record(-1), (TStringList{"MaxVNo=1", "Fv=12.5", "Dv=3.25", "Vv=0.0005", "  ", "MaxLNo=1",
                                       "Fl=8", "Dl=500", "Vl=0.000018", "Sl=0.02"}));
}

// On a real display the platform's event handling, which runs while a reply
// is awaited, leaves floating-point flags set; a finite value is still read.
TEST_F(HysysInterface, FlagsLeftByOtherCodeDoNotFailTheRecordButAnInvalidValueDoes)
{
    HysysStageData s = TestStage(11.533, 8, 0);
    s.liquid.viscosity = 0.018;
    RunColumn({TestStage(0, 0), s, TestStage(0, 0)});
    const int all = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
    std::feraiseexcept(all);
    log->failWhen = [all](const RecordedCall&) {
        std::feraiseexcept(all);
        return false;
    };
    const TStringList record = Record(-1);
    ASSERT_EQ(record.size(), 10u);
    EXPECT_EQ(record[1], "Fv=11.533");
    EXPECT_EQ(record[8], "Vl=0.000018"); // 0.018 mPa s

    for (double bad : {std::nan(""), HUGE_VAL}) {
        AutoRegistry::Instance().RevokeActiveObject(kHysysProgId);
        s.liquid.viscosity = bad;
        RunColumn({TestStage(0, 0), s, TestStage(0, 0)});
        std::feclearexcept(all);
        TStringList list;
        EXPECT_THROW(GetHysysStageData("T-100", -1, list), EMathError) << bad;
        EXPECT_TRUE(list.empty());
    }
    std::feclearexcept(all);
}

TEST_F(HysysInterface, NoFlowAboveZeroGivesARecordOfZeros)
{
    const TStringList zeros = {"MaxVNo=0", "Fv=0", "Dv=0", "Vv=0", "  ",
                               "MaxLNo=0", "Fl=0", "Dl=0", "Vl=0", "Sl=0"};
    RunColumn({TestStage(9, 9), TestStage(0, -1, 1), TestStage(-2, 0, 2), TestStage(9, 9)});
    EXPECT_EQ(Record(-1), zeros);

    // Only one half may be empty.
    AutoRegistry::Instance().RevokeActiveObject(kHysysProgId);
    RunColumn({TestStage(9, 9), TestStage(0, 3, 1), TestStage(9, 9)});
    const TStringList r = Record(-1);
    EXPECT_EQ(TStringList(r.begin(), r.begin() + 4), TStringList(zeros.begin(), zeros.begin() + 4));
    EXPECT_EQ(r[5], "MaxLNo=1");

    // Two stages or fewer: none is examined.
    AutoRegistry::Instance().RevokeActiveObject(kHysysProgId);
    RunColumn({TestStage(9, 9), TestStage(9, 9)});
    log->calls.clear();
    EXPECT_EQ(Record(-1), zeros);
    EXPECT_TRUE(StagesRead().empty());
}

TEST_F(HysysInterface, TheRecordIsAddedToWhatTheListHolds)
{
    RunColumn({TestStage(0, 0), TestStage(1, 1, 1), TestStage(0, 0)});
    TStringList list = {"keep"};
    GetHysysStageData("T-100", -1, list);
    ASSERT_EQ(list.size(), 11u);
    EXPECT_EQ(list[0], "keep");
    EXPECT_EQ(list[1], "MaxVNo=1");
    EXPECT_EQ(log->Named("Version").size(), 1u);
}

TEST_F(HysysInterface, FailuresAfterTheAttachPropagateAndAddNothing)
{
    RunCase(nullptr); // running, but with no case open
    TStringList list = {"x"};
    EXPECT_THROW(GetHysysColumns(list), EAutoError);
    EXPECT_EQ(list, TStringList{"x"});
    EXPECT_TRUE(sink.messages.empty());

    AutoRegistry::Instance().RevokeActiveObject(kHysysProgId);
    RunColumn({TestStage(0, 0), TestStage(1, 1, 1), TestStage(2, 2, 2), TestStage(0, 0)});
    try {
        GetHysysStageData("T-999", -1, list);
        FAIL() << "an unknown column was read";
    } catch (const EAutoError& e) {
        EXPECT_NE(std::string(e.what()).find("T-999"), std::string::npos) << e.what();
    }
    log->failWhen = [](const RecordedCall& c) { return c.member == "LightLiquidPhase"; };
    EXPECT_THROW(GetHysysStageData("T-100", -1, list), EAutoError);
    EXPECT_EQ(list, TStringList{"x"});

    // A stage the column does not have.
    log->failWhen = nullptr;
    EXPECT_THROW(GetHysysStageData("T-100", 7, list), EAutoError);
    EXPECT_EQ(list, TStringList{"x"});
    EXPECT_TRUE(sink.messages.empty());
}

namespace
{

// A HYSYS whose collections report whatever count it is given.
class CountingHysys : public AutoObject
{
public:
    explicit CountingHysys(int count) : count_(count) {}
    AutoVariant Invoke(const std::string& name, AutoInvoke, AutoArgs&) override
    {
        if (name == "Count") return AutoVariant(count_);
        if (name == "Version") return AutoVariant("9");
        if (name == "Name") return AutoVariant("T-100");
        for (const char* number : {"MassFlow", "MassDensity", "Viscosity", "SurfaceTension"})
            if (name == number) return AutoVariant(1.0);
        return AutoVariant(AutoObjectPtr(std::make_shared<CountingHysys>(count_)));
    }

private:
    int count_;
};

} // namespace

TEST_F(HysysInterface, CountsFromTheServerAreCheckedBeforeAnyLoop)
{
    for (int count : {-1, -2147483647 - 1, 2147483647, kMaxHysysStages + 1}) {
        SCOPED_TRACE(count);
        AutoRegistry::Instance().RevokeActiveObject(kHysysProgId);
        AutoRegistry::Instance().RegisterActiveObject(kHysysProgId, std::make_shared<CountingHysys>(count));
        TStringList list = {"x"};
        EXPECT_THROW(GetHysysColumns(list), EAutoError);
        EXPECT_THROW(GetHysysStageData("T-100", -1, list), EAutoError);
        EXPECT_EQ(list, TStringList{"x"});
    }
    // At the bound the search runs (stages 1 to n-2).
    AutoRegistry::Instance().RevokeActiveObject(kHysysProgId);
    AutoRegistry::Instance().RegisterActiveObject(kHysysProgId, std::make_shared<CountingHysys>(3));
    TStringList list;
    GetHysysStageData("T-100", -1, list);
    EXPECT_EQ(list.front(), "MaxVNo=1");
}
