// Each comparison row is what the calculation page shows after the user
// chooses that method and packing: checked for every packing and method on
// two cases, against a second page on which the choice is made by hand, and
// against a fresh calculation of the same inputs; an error row keeps none of
// the numbers of the page it came from.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "CaseRun.h"
#include "PackingComparison.h"

namespace
{

using Texts = std::map<std::string, std::string>;

std::string Figure(const std::optional<double>& v) { return v ? std::to_string(*v) : "-"; }

// Every field's text, and the operating check the page drew from them.
Texts FieldTexts(const CalcPage& page)
{
    Texts t;
    for (const TEditD* f : page.ValueFields())
        t[f->Name()] = f->Text();
    const OperatingFigures& o = page.Operation().figures;
    t["~flood%"] = Figure(o.floodPercent);
    t["~Fs"] = Figure(o.FsFactor);
    t["~bed"] = Figure(o.bedHeight);
    for (const OperatingWarning& w : page.Operation().warnings)
        t["~warning " + w.code + " " + w.field] = w.text;
    return t;
}

struct Case {
    const char* name;
    std::vector<std::pair<const char*, const char*>> inputs;
    std::vector<std::pair<const char*, int>> units;
    int method;
    bool lagrange;
};

const Case kCases[] = {
    {"distillation, SI units, first method",
     {{"LD", "2.5"}, {"VD", "3.0"}, {"DlD", "800"}, {"DvD", "2.5"}, {"MlD", "0.0003"}, {"MvD", "0.00001"},
      {"SLD", "0.02"}, {"DlfD", "2e-9"}, {"DvfD", "1e-5"}, {"alfD", "2"}, {"StagesD", "20"}},
     {},
     0,
     false},
    {"absorber, other units, third method with interpolation",
     {{"LD", "12"}, {"VD", "1.1"}, {"DlD", "998"}, {"DvD", "1.2"}, {"MlD", "0.001"}, {"MvD", "0.000018"},
      {"SLD", "0.072"}, {"DlfD", "1.5e-9"}, {"DvfD", "1.6e-5"}, {"meD", "0.8"}, {"StagesD", "12"}},
     {{"dU", 1}, {"dpU", 1}, {"dPwaterU", 1}},
     2,
     true},
};

class PackingComparisonTest : public ::testing::TestWithParam<Case>
{
protected:
    static void TypeCase(CalcPage& page, const Case& c)
    {
        for (auto [unit, index] : c.units)
            page.Unit(unit)->SetItemIndex(index);
        for (auto [field, text] : c.inputs)
            page.Field(field)->SetText(text);
        page.Check("CBLagrange")->SetChecked(c.lagrange);
        page.Combo("UfMD")->SetItemIndex(c.method);
        page.NeedsRecalc = true;
    }

    void SetUp() override
    {
        TypeCase(live, GetParam());
        live.LDExit();
        ASSERT_FALSE(live.Field("HETPD")->Text().empty());
    }

    // The double click on the row, made on a second page that starts where
    // the live one is.
    Texts ByHand(const ComparisonRow& row)
    {
        CalcPage user(false);
        CopyPageState(live, user);
        user.InstallHooks();
        RecordingSink quiet;
        ScopedMessageSink scope(&quiet);
        try {
            ChooseComparisonRow(user, row);
        } catch (const std::exception&) {
        }
        live.InstallHooks();
        return FieldTexts(user);
    }

    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    CalcPage live;
};

} // namespace

TEST_P(PackingComparisonTest, EveryRowEqualsThePageAfterTheSameChoice)
{
    const Texts before = FieldTexts(live);
    const PackingParams packing = CurrentPacking;
    for (bool all : {false, true}) {
        PackingComparison comparison;
        std::vector<Texts> copies;
        const auto rows = comparison.Run(live, all, [&](const CalcPage& copy, const ComparisonRow&) {
            copies.push_back(FieldTexts(copy));
        });
        ASSERT_EQ(rows.size(), all ? 81u : 27u);
        EXPECT_EQ(FieldTexts(live), before);
        EXPECT_FALSE(live.NeedsRecalc);
        EXPECT_EQ(CurrentPacking.a, packing.a);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const ComparisonRow& r = rows[i];
            EXPECT_EQ(r.method, all ? static_cast<int>(i % 3) : GetParam().method);
            EXPECT_EQ(r.packing, live.Combo("PTD")->Items()[all ? i / 3 : i]);
            const Texts byHand = ByHand(r);
            CurrentPacking = packing;
            if (r.packing == "CY-800" && r.method == 2) {
                // No packing factor for the third correlation: an error row,
                // with none of the numbers the page it came from still holds.
                EXPECT_FALSE(r.completed);
                EXPECT_EQ(r.error, "填料参数不全，无法使用该泛点算法。");
                for (int v = 0; v < kComparisonValues; ++v) {
                    EXPECT_FALSE(r.values[v]) << ComparisonFieldName(ComparisonValue(v));
                    EXPECT_EQ(copies[i][ComparisonFieldName(ComparisonValue(v))], "");
                }
            } else {
                EXPECT_EQ(copies[i], byHand) << r.packing << " method " << r.method;
                EXPECT_TRUE(r.completed) << r.packing << " method " << r.method << ": " << r.error;
                for (int v = 0; v < kComparisonValues; ++v)
                    EXPECT_TRUE(r.values[v].has_value()) << r.packing << " " << ComparisonFieldName(ComparisonValue(v));
                EXPECT_EQ(Figure(r.operation.figures.bedHeight), copies[i]["~bed"]);
            }
        }
    }
    EXPECT_TRUE(sink.messages.empty()) << sink.messages.front().text;
}

TEST_P(PackingComparisonTest, FromTypedInputsEveryRowEqualsAFreshCalculation)
{
    // Inputs typed, nothing computed yet: as velk-calc starts.
    CalcPage typed(false);
    TypeCase(typed, GetParam());
    live.InstallHooks();
    PackingComparison comparison;
    std::vector<Texts> copies;
    const auto rows = comparison.Run(typed, true, [&](const CalcPage& copy, const ComparisonRow&) {
        copies.push_back(FieldTexts(copy));
    });
    ASSERT_EQ(rows.size(), 81u);
    const auto& packings = typed.Combo("PTD")->Items();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        CalcPage fresh;
        TypeCase(fresh, GetParam());
        fresh.Combo("PTD")->SetItemIndex(static_cast<int>(i / 3));
        fresh.Combo("UfMD")->SetItemIndex(static_cast<int>(i % 3));
        RecordingSink quiet;
        ScopedMessageSink scope(&quiet);
        EXPECT_EQ(fresh.RecalcReported(), rows[i].completed) << packings[i / 3];
        // A failed row keeps no partial result; the fresh page keeps what it got to.
        if (rows[i].completed) {
            EXPECT_EQ(copies[i], FieldTexts(fresh)) << packings[i / 3] << " method " << i % 3;
        }
        live.InstallHooks();
    }
}

INSTANTIATE_TEST_SUITE_P(TwoCases, PackingComparisonTest, ::testing::ValuesIn(kCases));

TEST(PackingComparisonSpread, IsTheRangeOverTheSmallestOfAllThreeMethods)
{
    auto row = [](const char* packing, int method, double uF, double dp, bool completed = true) {
        ComparisonRow r;
        r.packing = packing;
        r.method = method;
        r.completed = completed;
        r.values[int(ComparisonValue::FloodVelocity)] = uF;
        r.values[int(ComparisonValue::TheoreticalDiameter)] = dp;
        return r;
    };
    std::vector<ComparisonRow> rows = {row("A", 0, 2.0, 1.0), row("A", 1, 2.5, 1.1), row("A", 2, 3.0, 0.8),
                                       row("B", 0, 1.0, 1.0), row("B", 1, 1.2, 1.0), row("B", 2, 0, 0, false)};
    FillMethodSpreads(rows);
    // A: (3.0 - 2.0) / 2.0 = 50 %; (1.1 - 0.8) / 0.8 = 37.5 %.
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(*rows[i].floodVelocitySpread, 50.0);
        EXPECT_DOUBLE_EQ(*rows[i].diameterSpread, 37.5);
    }
    // B: one method failed, so no spread is claimed.
    for (int i = 3; i < 6; ++i)
        EXPECT_FALSE(rows[i].floodVelocitySpread.has_value());
}

TEST(PackingComparisonFamily, EveryCataloguePackingHasAListedFamily)
{
    EXPECT_EQ(PackingFamily("Mellapakr-250Y"), "Mellapak");
    EXPECT_EQ(PackingFamily("CY-800"), PackingFamily("BX(丝网)"));
    EXPECT_EQ(PackingFamilies().size(), 6u);
}

TEST(PackingComparisonCleanStart, AnEmptiedInputMakesEveryRowAnErrorWithoutNumbers)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    CalcPage live;
    for (auto [field, text] : kCases[0].inputs)
        live.Field(field)->SetText(text);
    live.NeedsRecalc = true;
    live.LDExit();
    ASSERT_FALSE(live.Field("UfD")->Text().empty());
    // The user empties the liquid density: the page keeps its old results.
    live.Field("DlD")->SetText("");
    live.NeedsRecalc = true;
    live.LDExit();
    PackingComparison comparison;
    const auto rows = comparison.Run(live, true);
    ASSERT_EQ(rows.size(), 81u);
    for (const ComparisonRow& r : rows) {
        EXPECT_FALSE(r.completed) << r.packing;
        EXPECT_EQ(r.error, std::string(kMissingInputsText) + "DlD") << r.packing;
        for (int v = 0; v < kComparisonValues; ++v)
            EXPECT_FALSE(r.values[v]) << r.packing << " " << ComparisonFieldName(ComparisonValue(v));
        EXPECT_FALSE(r.floodVelocitySpread);
    }
}
