// velk-calc --efficiency: the models in their order with the hand-calculated
// Rocha-Bravo-Fair heights of the three examples, failed models with null
// numbers and their own error, the design choice, and the page's JSON left
// exactly as it is before the added key.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <fstream>
#include <sstream>

#include "CalcPage.h"
#include "ComparisonTable.h"
#include "EfficiencyModels.h"
#include "EfficiencyPanel.h"
#include "LoadCases.h"
#include "PackingComparison.h"
#include "PerformanceCurves.h"
#include "VelkCalc.h"
#include "VelkCalcExtras.h"
#include "app/project_test_support.h"
#include "velkcalc_run.h"

namespace
{

std::string Example(const char* name)
{
    return std::string(VELK_SOURCE_DIR "/examples/") + name + ".vel";
}

} // namespace

TEST(VelkCalcEfficiency, ModelsOfTheExamplesAndTheDesignChoice)
{
    // Expected: tests/engine/data/rbf_hand_calculation.py.
    const struct {
        const char* example;
        const char* model;
        double rbfHTUV, rbfHTUL, rbfHETP, rbfArea;
    } cases[] = {
        {"atmospheric", "specified", 0.404966401720333, 0.10899732916542, 0.49681976123677, 129.541524970675},
        {"vacuum", "rbf", 0.377851197812082, 0.103520464872894, 0.467639614419097, 117.546733210986},
        {"high-pressure", "max", 0.117134155797637, 0.0890877230861246, 0.205089818138728, 225.879964286775},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.example);
        const CalcRun plain = Calc({"--project", Example(c.example)});
        const CalcRun run = Calc({"--project", Example(c.example), "--efficiency-model", c.model});
        ASSERT_EQ(run.status, 0) << run.err;
        // Everything before the added key is the plain run's output.
        const std::string before = plain.out.substr(0, plain.out.size() - 2) + ", \"efficiency\": {";
        ASSERT_EQ(run.out.compare(0, before.size(), before), 0);

        const QJsonObject json = run.json();
        const QJsonObject e = json["efficiency"].toObject();
        const QJsonArray models = e["models"].toArray();
        ASSERT_EQ(models.size(), 2);
        const QJsonObject specified = models[0].toObject(), rbf = models[1].toObject();
        EXPECT_EQ(specified["name"].toString(), "specified");
        EXPECT_EQ(rbf["name"].toString(), "rbf");
        const QStringList keys = {"name", "HTUV", "HTUL", "HTUOV", "HETP", "effectiveArea", "error"};
        EXPECT_EQ(rbf.keys().size(), keys.size());
        const QJsonObject fields = json["fields"].toObject();
        EXPECT_EQ(specified["HETP"].toDouble(), fields["HETPD"].toObject()["si"].toDouble());
        EXPECT_EQ(specified["HTUV"].toDouble(), fields["HTUVD"].toObject()["si"].toDouble());
        EXPECT_TRUE(specified["effectiveArea"].isNull());
        EXPECT_TRUE(specified["error"].isNull() && rbf["error"].isNull());
        EXPECT_NEAR(rbf["HTUV"].toDouble(), c.rbfHTUV, 1e-9 * c.rbfHTUV);
        EXPECT_NEAR(rbf["HTUL"].toDouble(), c.rbfHTUL, 1e-9 * c.rbfHTUL);
        EXPECT_NEAR(rbf["HETP"].toDouble(), c.rbfHETP, 1e-9 * c.rbfHETP);
        EXPECT_NEAR(rbf["effectiveArea"].toDouble(), c.rbfArea, 1e-9 * c.rbfArea);

        const double s = specified["HETP"].toDouble(), r = rbf["HETP"].toDouble();
        EXPECT_DOUBLE_EQ(e["spread"].toDouble(), std::max(s, r) / std::min(s, r));
        EXPECT_EQ(e["design"].toString(), c.model);
        const std::string m = c.model;
        EXPECT_EQ(e["designHETP"].toDouble(), m == "specified" ? s : m == "rbf" ? r : std::max(s, r));
    }
}

TEST(VelkCalcEfficiency, FailedModelsHaveNullNumbersAndTheirOwnError)
{
    const struct {
        const char* what;
        std::vector<std::string> args;
    } cases[] = {
        // A 1.2 m column floods at the atmospheric case's loads.
        {"flooded",
         {"--project", Example("atmospheric"), "--rate-diameter", "1.2", "--efficiency-model", "max"}},
        {"no diffusion coefficient",
         {"--project", Example("atmospheric"), "DlfD=", "--efficiency-model", "max"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CalcRun run = Calc(c.args);
        const QJsonObject e = run.json()["efficiency"].toObject();
        for (const auto& v : e["models"].toArray()) {
            const QJsonObject m = v.toObject();
            for (const char* key : {"HTUV", "HTUL", "HTUOV", "HETP", "effectiveArea"})
                EXPECT_TRUE(m[key].isNull()) << key;
            EXPECT_FALSE(m["error"].toString().isEmpty());
        }
        EXPECT_TRUE(e["spread"].isNull());
        EXPECT_TRUE(e["designHETP"].isNull());
        EXPECT_TRUE(run.json()["messages"].toArray().isEmpty()) << "a model's failure is not the page's";
    }
}

TEST(VelkCalcEfficiency, AreaBeyondTheSheetsIsNotedAndOptionsAreChecked)
{
    // At 2.2 m the high-pressure case has F_t = 3.04:
    // a_e = 0.35 * F_t * a is above a, shown as it is with a note.
    const CalcRun wide =
        Calc({"--project", Example("high-pressure"), "--rate-diameter", "2.2", "--efficiency"});
    const QJsonObject rbf = wide.json()["efficiency"].toObject()["models"].toArray()[1].toObject();
    EXPECT_GT(rbf["effectiveArea"].toDouble(), 250.0);
    EXPECT_NE(wide.err.find("(ae/a>1)"), std::string::npos);
    EXPECT_EQ(Calc({"--project", Example("high-pressure"), "--efficiency"}).err.find("(ae/a>1)"),
              std::string::npos);

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--efficiency-model", "delft"},
                                                {"--efficiency-model"},
                                                {"--efficiency", "--compare"},
                                                {"--efficiency-model", "max", "--chart-data"}}) {
        const CalcRun run = Calc(bad);
        EXPECT_EQ(run.status, 2) << bad[0];
        EXPECT_NE(run.err.find("--efficiency"), std::string::npos) << run.err;
    }
}

TEST(VelkCalcEfficiency, TheChoiceFeedsThePackedHeightAndIsKeptInTheProject)
{
    // 12 stages times the chosen HETP (the hand-calculated RBF one for rbf
    // and max, which is the larger here).
    const double rbf = 0.49681976123677;
    for (const char* m : {"specified", "rbf", "max"}) {
        SCOPED_TRACE(m);
        const QJsonObject json =
            Calc({"--project", Example("atmospheric"), "--stages", "12", "--efficiency-model", m}).json();
        const double hetp = std::string(m) == "specified" ? json["fields"]["HETPD"]["si"].toDouble() : rbf;
        const QJsonObject op = json["operation"].toObject();
        EXPECT_NEAR(op["bedHeight"].toDouble(), 12 * hetp, 1e-9);
        EXPECT_NEAR(op["bedPressureDrop"].toDouble(), op["pressureDropMbarPerM"].toDouble() * 12 * hetp,
                    1e-9);
    }

    projecttest::TempDir dir;
    auto bytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    ASSERT_EQ(Calc({"--project", Example("atmospheric"), "--save", dir / "plain.vel"}).status, 0);
    ASSERT_EQ(Calc({"--project", Example("atmospheric"), "--efficiency-model", "specified", "--save",
                    dir / "default.vel"})
                  .status,
              0);
    ASSERT_EQ(
        Calc({"--project", Example("atmospheric"), "--efficiency-model", "max", "--save", dir / "max.vel"})
            .status,
        0);
    // The start state is not stored; another choice is, and comes back.
    EXPECT_EQ(bytes(dir / "plain.vel"), bytes(dir / "default.vel"));
    EXPECT_NE(bytes(dir / "plain.vel"), bytes(dir / "max.vel"));
    const QJsonObject reopened = Calc({"--project", dir / "max.vel", "--efficiency"}).json();
    EXPECT_EQ(reopened["efficiency"]["design"].toString(), "max");
    EXPECT_NEAR(reopened["efficiency"]["designHETP"].toDouble(), rbf, 1e-9);
}

TEST(VelkCalcEfficiency, LoadCasesTakeTheChosenHetp)
{
    // The atmospheric case's own loads as a load case: the chosen model's HETP
    // of the hand calculation, the page's own with the start state.
    CalcPage page;
    std::string kept, why;
    ASSERT_TRUE(VelkCalcLoadProject(page, Example("atmospheric"), kept, why)) << why;
    LoadCase normal;
    normal.name = "normal";
    normal.values.V = 14000.0 / 3600;
    normal.values.L = 12000.0 / 3600;
    const auto specified = RateLoadCases(page, {normal}).cases.at(0).HETP;
    SetDesignHetpChoice(page, DesignHetpChoice::RochaBravoFair);
    const auto rbf = RateLoadCases(page, {normal}).cases.at(0).HETP;
    ASSERT_TRUE(specified && rbf);
    EXPECT_NEAR(*specified, 0.370633706818912, 1e-9);
    EXPECT_NEAR(*rbf, 0.49681976123677, 1e-9);

    // What the calculation page shows beside its heights, in HETPD's unit.
    page.NeedsRecalc = true;
    page.LDExit();
    EXPECT_EQ(EfficiencyFigureTexts(page), QStringList({"0.4968", "1.34", "0.4968", "m"}));
    SetDesignHetpChoice(page, DesignHetpChoice::Specified);
    page.UnitOf(page.Field("HETPD"))->SetItemIndex(1);
    const QStringList texts = EfficiencyFigureTexts(page);
    EXPECT_EQ(texts[2], QString::number(0.370633706818912 / page.Field("HETPD")->Exchange(), 'g', 4));
    EXPECT_EQ(texts[3].toStdString(), page.UnitOf(page.Field("HETPD"))->GetUnit());
    EXPECT_NE(texts[3], "m");
}

TEST(VelkCalcEfficiency, ComparisonPageShowsTheSpreadTheExportsDoNot)
{
    CalcPage page;
    std::string kept, why;
    ASSERT_TRUE(VelkCalcLoadProject(page, Example("atmospheric"), kept, why)) << why;
    PackingComparison comparison;
    const std::vector<ComparisonRow> rows = comparison.Run(page, false);
    const auto row =
        std::find_if(rows.begin(), rows.end(), [](const auto& r) { return r.packing == "Mellapakr-250Y"; });
    ASSERT_NE(row, rows.end());
    ASSERT_TRUE(row->hetpSpread);
    // The hand-calculated RBF HETP over the page's own.
    EXPECT_NEAR(*row->hetpSpread, 0.49681976123677 / 0.370633706818912, 1e-9);
    for (bool all : {false, true}) {
        const auto exported = ComparisonColumns(all), shown = ComparisonPageColumns(all);
        EXPECT_EQ(std::count(exported.begin(), exported.end(), ComparisonColumn::HetpSpread), 0);
        const auto hetp = std::find(shown.begin(), shown.end(), ComparisonColumn::HETP);
        ASSERT_NE(hetp, shown.end());
        EXPECT_EQ(*(hetp + 1), ComparisonColumn::HetpSpread);
        EXPECT_EQ(shown.size(), exported.size() + 1);
    }
}

TEST(VelkCalcEfficiency, HetpChartCarriesTheSecondModel)
{
    CalcPage page;
    std::string kept, why;
    ASSERT_TRUE(VelkCalcLoadProject(page, Example("atmospheric"), kept, why)) << why;
    page.NeedsRecalc = true;
    page.LDExit();
    PerformanceCurves curves;
    ASSERT_TRUE(ComputePageCurves(page, DefaultCurveLiquidLoads(), curves, why)) << why;
    ASSERT_GT(curves.hetpRbf.size(), 10u);
    // At the case's own F-factor the curve is the case's hand-calculated height.
    const auto at = std::find_if(curves.hetpRbf.begin(), curves.hetpRbf.end(),
                                 [&](const CurvePoint& p) { return p.x == curves.operating.F; });
    ASSERT_NE(at, curves.hetpRbf.end());
    EXPECT_NEAR(at->y, 0.49681976123677, 1e-9);
    // It ends before flood, as the holdup it rests on does.
    EXPECT_LT(curves.hetpRbf.back().x, curves.hetp.back().x + 1e-12);
}
