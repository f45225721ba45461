// velk-calc --profile: every stage entry is, for "fields", "operation" and
// "warnings", what a single velk-calc call prints for that stage with the
// bed's packing and method at the bed's diameter; usage errors for a damaged
// file and beds that do not fit.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "VelkCalc.h"
#include "velkcalc_run.h"

namespace
{

const char* const kHeader = "column,tray,temperature,pressure,liq_mass_rate,liq_mw,liq_density,liq_viscosity,"
                            "liq_surface_tension,vap_mass_rate,vap_mw,vap_density,vap_viscosity\n";

std::string WriteCsv(const QTemporaryDir& dir, const std::string& name, const std::string& rows)
{
    const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
    std::ofstream(path) << kHeader << rows;
    return path;
}

const std::vector<std::string> kPageValues = {"DlfD=2e-9", "DvfD=1e-5", "alfD=2"};

} // namespace

TEST(VelkCalcProfile, EveryStageEqualsASingleCalculationAtItsBedsDiameter)
{
    QTemporaryDir dir;
    const std::string csv = WriteCsv(dir, "c.csv",
                                     "T,1,350,1000,2.5,60,800,0.0003,0.02,3,58,2.5,0.00001\n"
                                     "T,2,351,1001,1.25,60,790,0.0003,0.02,1.5,58,2.6,0.00001\n"
                                     "T,3,352,1002,5,60,780,0.00031,0.021,6,58,2.7,0.000011\n");
    for (const bool rating : {false, true}) {
        std::vector<std::string> args = {"--profile", csv, "--beds", "1-2:Flexipac-1:0,3-3:Mellapak-350Y:1"};
        if (rating) args.insert(args.end(), {"--rate-diameter", "1.8"});
        args.insert(args.end(), kPageValues.begin(), kPageValues.end());
        const CalcRun profile = Calc(args);
        ASSERT_EQ(profile.status, 0) << profile.err << profile.out;
        const QJsonObject json = profile.json();
        const QJsonArray beds = json["beds"].toArray(), stages = json["stages"].toArray();
        ASSERT_EQ(beds.size(), 2);
        ASSERT_EQ(stages.size(), 3);
        if (!rating) {
            EXPECT_DOUBLE_EQ(beds[0].toObject()["diameter"].toDouble(), 1.4); // sized by stage 1
            EXPECT_EQ(beds[0].toObject()["limitingStage"].toInt(), 1);
        }
        for (const QJsonValue& v : stages) {
            const QJsonObject stage = v.toObject();
            const QJsonObject bed = beds[stage["bed"].toInt() - 1].toObject();
            std::vector<std::string> single = {
                "--packing",       bed["packing"].toString().toStdString(),
                "--method",        std::to_string(bed["method"].toInt()),
                "--rate-diameter", QString::number(bed["diameter"].toDouble()).toStdString()};
            for (const char* f : {"VD", "DvD", "MvD", "LD", "DlD", "MlD", "SLD"})
                single.push_back(std::string(f) + "=" +
                                 stage["fields"].toObject()[f].toObject()["text"].toString().toStdString());
            single.insert(single.end(), kPageValues.begin(), kPageValues.end());
            const QJsonObject one = Calc(single).json();
            for (const char* key : {"fields", "operation", "warnings"})
                EXPECT_EQ(stage[key], one[key]) << "stage " << stage["stage"].toInt() << " " << key;
            EXPECT_TRUE(stage["completed"].toBool());
        }
    }
}

TEST(VelkCalcProfile, TheCondenserAndTheMarkedReboilerAreSkippedAndBedsMayLeaveStagesOut)
{
    const std::string csv = VELK_SOURCE_DIR "/examples/debutanizer.csv";
    for (const char* beds : {"", "2-20:Mellapakr-250Y:1", "3-20:Mellapakr-250Y:1"}) {
        SCOPED_TRACE(beds);
        std::vector<std::string> args = {"--project", VELK_SOURCE_DIR "/examples/atmospheric.vel",
                                         "--profile", csv};
        if (*beds) args.insert(args.end(), {"--beds", beds});
        const CalcRun r = Calc(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const QJsonObject json = r.json();
        const QJsonArray stages = json["stages"].toArray();
        ASSERT_EQ(stages.size(), 20);
        const int firstPacked = *beds == '3' ? 3 : 2;
        // The bed totals from the stages' own figures: one HETP per stage,
        // pressure drop (Pa/m) over it.
        double height = 0, drop = 0;
        for (const QJsonValue& v : stages) {
            const QJsonObject s = v.toObject();
            // Stage 20 is marked "reboiler" in the file's stage_type column.
            const bool packed = s["stage"].toInt() >= firstPacked && s["stage"].toInt() != 20;
            EXPECT_EQ(s["skipped"].toBool(), !packed) << s["stage"].toInt();
            EXPECT_EQ(s["completed"].toBool(), packed) << s["stage"].toInt();
            EXPECT_TRUE(s["error"].isNull()) << s["error"].toString().toStdString();
            if (!packed) {
                EXPECT_TRUE(
                    s["note"].toString().startsWith(QString::fromUtf8("第%1板").arg(s["stage"].toInt())));
                continue;
            }
            const QJsonObject f = s["fields"].toObject();
            const double hetp = f["HETPD"].toObject()["si"].toDouble();
            height += hetp;
            drop += hetp * f["dPwaterD"].toObject()["si"].toDouble();
        }
        const QJsonObject bed = json["beds"].toArray()[0].toObject();
        EXPECT_NEAR(bed["height"].toDouble(), height, 1e-9);
        EXPECT_NEAR(bed["pressureDrop"].toDouble(), drop / 100, 1e-9);
        // Every bed leaves the reboiler (and the first the condenser) out of its totals, and says so.
        EXPECT_EQ(bed["note"].toString(),
                  QString::fromUtf8("总高和总压降不含段内跳过的板(无流量、冷凝器或再沸器)"));
    }
}

TEST(VelkCalcProfile, DamagedFilesAndBedsThatDoNotFitAreUsageErrors)
{
    QTemporaryDir dir;
    const std::string twice = WriteCsv(dir, "twice.csv",
                                       "T,1,350,1000,2.5,60,800,0.0003,0.02,3,58,2.5,0.00001\n"
                                       "T,1,350,1000,2.5,60,800,0.0003,0.02,3,58,2.5,0.00001\n");
    const std::string good =
        WriteCsv(dir, "good.csv", "T,1,350,1000,2.5,60,800,0.0003,0.02,3,58,2.5,0.00001\n");
    const struct {
        std::vector<std::string> args;
        std::string complaint;
    } cases[] = {
        {{"--profile", twice}, "twice.csv:3:"},
        {{"--profile", good, "--beds", "2-3:Flexipac-1:0"}, "bed 2-3"},
        {{"--profile", good, "--beds", "1-1:NoSuchPacking:0"}, "NoSuchPacking"},
        {{"--profile", good, "--beds", "1-1:Flexipac-1:7"}, "method"},
        {{"--beds", "1-1:Flexipac-1:0"}, "--profile"},
    };
    for (const auto& c : cases) {
        const CalcRun r = Calc(c.args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find(c.complaint), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}
