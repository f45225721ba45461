// The command-line calculator's interface: options, JSON and exit status.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <sstream>

#include "VelkCalc.h"
#include "velkcalc_run.h"

namespace
{

const std::vector<std::string> kCase = {"LD=2.5",   "VD=3.0",   "DlD=800",   "DvD=2.5",   "MlD=0.0003",
                                        "MvD=1e-5", "SLD=0.02", "DlfD=2e-9", "DvfD=1e-5", "alfD=2"};

std::vector<std::string> With(std::vector<std::string> options)
{
    options.insert(options.end(), kCase.begin(), kCase.end());
    return options;
}

} // namespace

TEST(VelkCalc, CompleteCasePrintsEveryFieldAndThePacking)
{
    const CalcRun r = Calc(kCase);
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject j = r.json();
    EXPECT_TRUE(j.value("completed").toBool());
    EXPECT_TRUE(j.value("messages").toArray().isEmpty());
    const QJsonObject fields = j.value("fields").toObject();
    EXPECT_EQ(fields.size(), 27);
    const QJsonObject fp = fields.value("FpD").toObject();
    EXPECT_EQ(fp.value("color").toString(), "#FF0000");
    EXPECT_TRUE(fp.value("readOnly").toBool());
    EXPECT_EQ(fp.value("unit").toString(), QString::fromUtf8("无量纲"));
    EXPECT_NEAR(fp.value("si").toDouble(), 0.04658474953124562, 1e-12);
    EXPECT_EQ(fields.value("dD").toObject().value("display").toString(), "1.4");
    EXPECT_EQ(fields.value("dD").toObject().value("color").toString(), "window");
    EXPECT_TRUE(fields.value("ProjectD").isUndefined());
    EXPECT_TRUE(fields.value("LD").toObject().value("si").isDouble());
    EXPECT_DOUBLE_EQ(j.value("packing").toObject().value("a").toDouble(), 560);
}

TEST(VelkCalc, UnitsApplyBeforeTheTypedTexts)
{
    const CalcRun r = Calc(With({"--unit", "LD=1"})); // kg/h: 2.5 kg/h
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject ld = r.json().value("fields").toObject().value("LD").toObject();
    EXPECT_EQ(ld.value("unit").toString(), "kg/h");
    EXPECT_EQ(ld.value("text").toString(), "2.5");
    EXPECT_NEAR(ld.value("si").toDouble(), 2.5 * 0.000277777777777, 1e-15);
}

TEST(VelkCalc, ErrorsStillPrintTheJsonWithTheirMessages)
{
    const CalcRun r = Calc(With({"--packing", "CY-800", "--method", "2"}));
    EXPECT_EQ(r.status, 1);
    const QJsonObject j = r.json();
    EXPECT_FALSE(j.value("completed").toBool());
    const QJsonArray msgs = j.value("messages").toArray();
    ASSERT_EQ(msgs.size(), 2);
    EXPECT_EQ(msgs[0].toString(), QString::fromUtf8("填料参数不全，无法使用该泛点算法。"));
    EXPECT_EQ(msgs[1].toString(), QString::fromUtf8("发现错误，可能是输入数据错误！"));

    const CalcRun bad = Calc({"LD=2.5", "VD=abc", "DlD=800", "DvD=2.5"});
    EXPECT_EQ(bad.status, 1);
    const QJsonArray m2 = bad.json().value("messages").toArray();
    ASSERT_GE(m2.size(), 1);
    EXPECT_EQ(m2[0].toString(), QString::fromUtf8("VD是错误数据"));
}

TEST(VelkCalc, UsageErrorsExitWithTwoAndPrintNoJson)
{
    for (const auto& args : std::vector<std::vector<std::string>>{{"XX=1"},
                                                                  {"--packing", "Nope"},
                                                                  {"--method", "3"},
                                                                  {"--unit", "LD=9"},
                                                                  {"--unit", "LD"},
                                                                  {"--foaming", "0.85"},
                                                                  {"--frobnicate"},
                                                                  {"=5"},
                                                                  {"--size", "10x10"}}) {
        const CalcRun r = Calc(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_TRUE(r.out.empty()) << args[0];
        EXPECT_NE(r.err.find("velk-calc:"), std::string::npos) << args[0];
    }
    const CalcRun help = Calc({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--packing"), std::string::npos);
}

TEST(VelkCalc, MethodsAndOptionsReachTheCalculation)
{
    const CalcRun billet = Calc(With({"--method", "1"}));
    ASSERT_EQ(billet.status, 0);
    EXPECT_NEAR(billet.json()["fields"].toObject()["UfD"].toObject()["si"].toDouble(), 1.1201362608949366,
                1e-8);
    const CalcRun flood = Calc(With({"--flood", "72", "--foaming", "1.0"}));
    const QJsonObject f = flood.json()["fields"].toObject();
    EXPECT_NEAR(f["UpD"].toObject()["si"].toDouble(), f["UfD"].toObject()["si"].toDouble() * 0.72, 1e-9);
    const CalcRun lagrange = Calc(With({"--method", "2", "--lagrange"}));
    const CalcRun fitted = Calc(With({"--method", "2"}));
    ASSERT_EQ(lagrange.status, 0);
    EXPECT_NE(lagrange.json()["fields"].toObject()["UfD"].toObject()["text"].toString(),
              fitted.json()["fields"].toObject()["UfD"].toObject()["text"].toString());
}

TEST(VelkCalc, RatingAndStagesReachTheOperationAndWarnings)
{
    // d = 1.3 m: uVs = 4 V / (pi d^2 rhoV); flood velocity of the case 1.2210047 m/s.
    const CalcRun r = Calc(With({"--rate-diameter", "1.3", "--stages", "10"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject j = r.json();
    const QJsonObject op = j["operation"].toObject();
    EXPECT_NEAR(op["floodPercent"].toDouble(), 100 * 12 / (M_PI * 2.5 * 1.69) / 1.2210047121001697, 1e-4);
    EXPECT_DOUBLE_EQ(op["designFloodPercent"].toDouble(), 64);
    EXPECT_EQ(op["stages"].toInt(), 10);
    EXPECT_EQ(j["fields"].toObject()["dD"].toObject()["display"].toString(), "1.3");
    const QJsonArray warnings = j["warnings"].toArray();
    // 74 % of uF is 92.6 % of A uF = 0.8 uF; the rated diameter is no rounding.
    ASSERT_EQ(warnings.size(), 2);
    EXPECT_EQ(warnings[0].toObject()["code"].toString(), "near-flood");
    EXPECT_EQ(warnings[0].toObject()["field"].toString(), "UvsD");
    EXPECT_EQ(warnings[1].toObject()["code"].toString(), "above-design");
    EXPECT_EQ(warnings[1].toObject()["field"].toString(), "dD");
    EXPECT_EQ(warnings[1].toObject()["severity"].toString(), "warning");
    EXPECT_NEAR(op["systemFloodPercent"].toDouble(), op["floodPercent"].toDouble() / 0.8, 1e-9);

    // Without the options: no stages, nothing to warn about, nothing stale.
    const QJsonObject plain = Calc(kCase).json();
    EXPECT_TRUE(plain["operation"].toObject()["stages"].isNull());
    EXPECT_TRUE(plain["warnings"].toArray().isEmpty());
    for (const QJsonValue& f : plain["fields"].toObject())
        EXPECT_FALSE(f.toObject()["stale"].toBool(true));
    EXPECT_EQ(Calc(With({"--stages", "0"})).status, 2);
}

TEST(VelkCalc, ChartDataGivesTheGeneralisedFloodPressureDropWhereThePackingHasAFactor)
{
    // Kister and Gill, 40.9 Fp^0.7 Pa/m with Fp in 1/m: Mellapak 250Y has
    // Fp = 20/ft = 65.616/m, 65.616^0.7 = 18.705, 765.0 Pa/m = 7.650 mbar/m.
    const CalcRun r = Calc(With({"--chart-data", "--packing", "Mellapakr-250Y"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NEAR(r.json()["floodPressureDrop"].toDouble(), 7.650, 0.001);
    // CY-800 has no packing factor: no reference.
    const CalcRun none = Calc(With({"--chart-data", "--packing", "CY-800"}));
    ASSERT_EQ(none.status, 0) << none.err;
    EXPECT_TRUE(none.json()["floodPressureDrop"].isNull());
}

// --strict: 3 only for a completed run with an error-severity warning, in
// the single case as in any comparison entry; the JSON marks what is
// beyond the model.
TEST(VelkCalc, StrictExitsThreeOnErrorSeverityWarnings)
{
    const std::vector<std::string> flooded = {"--rate-diameter", "1.0"}; // uVs 1.53 > uF 1.22 m/s
    const CalcRun plain = Calc(With(flooded));
    EXPECT_EQ(plain.status, 0);
    const CalcRun strict = Calc(With({"--strict", "--rate-diameter", "1.0"}));
    EXPECT_EQ(strict.status, 3);
    const QJsonObject j = strict.json();
    EXPECT_EQ(j["warnings"].toArray()[0].toObject()["severity"].toString(), "error");
    EXPECT_TRUE(j["fields"].toObject()["HETPD"].toObject()["invalid"].toBool());
    EXPECT_FALSE(j["fields"].toObject()["dPdryD"].toObject()["invalid"].toBool(true));
    EXPECT_EQ(Calc(With({"--strict"})).status, 0);                // 64 % of flood
    EXPECT_EQ(Calc({"--strict", "LD=2.5", "DlD=800"}).status, 0); // nothing to judge
    EXPECT_EQ(Calc({"--strict", "--method", "2", "LD=100", "VD=2", "DlD=500", "DvD=50", "MlD=0.0001"}).status,
              1);
    // A comparison at a load that floods some packings: an error in any row.
    EXPECT_EQ(Calc(With({"--compare", "--strict", "--rate-diameter", "0.8"})).status, 3);
}

TEST(VelkCalc, ChartDataPrintsTheCurvesInTheirUnits)
{
    const CalcRun r = Calc(With({"--chart-data", "--liquid-loads", "0,20"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject j = r.json();
    const QJsonArray dp = j["pressureDrop"].toArray();
    ASSERT_EQ(dp.size(), 3); // 0 (the dry line), the case's own load, 20
    EXPECT_EQ(dp[0]["liquidLoad"].toDouble(), 0);
    EXPECT_TRUE(dp[0]["flood"].isNull());
    // The case's own liquid load: uLs = 0.00203 m/s is 7.31 m3/(m2 h).
    EXPECT_NEAR(dp[1]["liquidLoad"].toDouble(), 0.002030037539437441 * 3600, 1e-9);
    EXPECT_EQ(dp[2]["liquidLoad"].toDouble(), 20);
    for (int i = 1; i < 3; ++i) {
        const QJsonArray flood = dp[i]["flood"].toArray();
        const QJsonArray last = dp[i]["points"].toArray().last().toArray();
        ASSERT_EQ(flood.size(), 2);
        EXPECT_GT(flood[0].toDouble(), last[0].toDouble()); // F, Pa^0.5
        EXPECT_TRUE(flood[1].isNull()) << "no pressure drop is made up at flood";
    }
    EXPECT_FALSE(j["holdup"].toArray().isEmpty());
    EXPECT_FALSE(j["hetp"].toArray().isEmpty());
    EXPECT_EQ(Calc(With({"--chart-data", "--liquid-loads", "5,x"})).status, 2);
}
