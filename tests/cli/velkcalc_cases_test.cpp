// velk-calc --cases, --design-dp and --conservative: every case entry is, for
// "fields", "operation" and "warnings", what a single velk-calc call prints
// for that case's inputs at the section's diameter; the governing case, the
// window and the design objects; usage errors.
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

std::string WriteCsv(const QTemporaryDir& dir, const std::string& text)
{
    const std::string path = dir.filePath("cases.csv").toStdString();
    std::ofstream(path) << text;
    return path;
}

const std::vector<std::string> kPage = {"DlD=800",  "DvD=2.5",   "MlD=0.0003", "MvD=0.00001",
                                        "SLD=0.02", "DlfD=2e-9", "DvfD=1e-5",  "alfD=2"};
const char* const kCases = "name,vapour_mass_flow,liquid_mass_flow,vap_density\n"
                           "最小,1.5,1.25,\n"
                           "正常,3,2.5,\n"
                           "最大,3.6,3,2.6\n";

} // namespace

TEST(VelkCalcCases, EveryCaseEqualsASingleRunAtTheSectionsDiameter)
{
    QTemporaryDir dir;
    const std::string csv = WriteCsv(dir, kCases);
    for (const std::vector<std::string>& extra :
         {std::vector<std::string>{}, {"--rate-diameter", "1.8"}, {"--design-dp", "1.5", "--conservative"}}) {
        std::vector<std::string> args = {"--cases", csv};
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), kPage.begin(), kPage.end());
        const CalcRun r = Calc(args);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        const QJsonObject json = r.json();
        const QJsonArray cases = json["cases"].toArray();
        ASSERT_EQ(cases.size(), 3);
        const double D = json["diameter"].toDouble();
        // The largest theoretical diameter (最大, about 1.52 m) rounds to 1.5 m.
        if (extra.empty()) {
            EXPECT_DOUBLE_EQ(D, 1.5);
        } else if (extra[0] == "--rate-diameter") {
            EXPECT_DOUBLE_EQ(D, 1.8);
        }
        // A rated diameter was sized by no case.
        EXPECT_EQ(json["sizing"].isNull(), !extra.empty() && extra[0] == "--rate-diameter");
        EXPECT_EQ(json["governing"].toString(), QString::fromUtf8("最大"));
        double highest = 0;
        for (const QJsonValue& v : cases) {
            const QJsonObject c = v.toObject();
            EXPECT_TRUE(c["completed"].toBool());
            EXPECT_TRUE(c["error"].isNull());
            const QString dText = c["fields"].toObject()["dD"].toObject()["text"].toString();
            EXPECT_EQ(dText.toDouble(), D);
            std::vector<std::string> single = {"--rate-diameter", dText.toStdString()};
            single.insert(single.end(), extra.begin(), extra.end());
            if (extra.size() && extra[0] == "--rate-diameter")
                single.erase(single.begin() + 2, single.begin() + 4);
            single.insert(single.end(), kPage.begin(), kPage.end());
            for (const char* f : {"VD", "LD", "DvD"})
                single.push_back(std::string(f) + "=" +
                                 c["fields"].toObject()[f].toObject()["text"].toString().toStdString());
            const QJsonObject one = Calc(single).json();
            for (const char* key : {"fields", "operation", "warnings"})
                EXPECT_EQ(c[key], one[key]) << c["name"].toString().toStdString() << " " << key;
            highest = std::max(highest, c["operation"].toObject()["systemFloodPercent"].toDouble());
        }
        EXPECT_EQ(cases[2].toObject()["operation"].toObject()["systemFloodPercent"].toDouble(), highest);
        const QJsonObject w = json["window"].toObject();
        EXPECT_GT(w["turndown"].toDouble(), 1.0);
        EXPECT_NEAR(w["turndown"].toDouble(), w["maxFactor"].toDouble() / w["minFactor"].toDouble(), 1e-12);
        const std::string minLimit = w["minLimit"].toString().toStdString(),
                          maxLimit = w["maxLimit"].toString().toStdString();
        EXPECT_TRUE(minLimit == "min-wetting" || minLimit == "min-f-factor") << minLimit;
        EXPECT_TRUE(maxLimit == "design-flood" || maxLimit == "pressure-drop") << maxLimit;
        EXPECT_EQ(w["minFFactor"].toDouble(), 0.5);
        EXPECT_EQ(json.contains("design"), extra.size() == 3);
        if (extra.size() == 3) {
            const QJsonObject d = json["design"].toObject();
            EXPECT_EQ(d["basis"].toString().toStdString(), "both");
            EXPECT_EQ(d["limit"].toDouble(), 1.5);
            const std::string governs = d["governs"].toString().toStdString();
            EXPECT_TRUE(governs == "flood" || governs == "pressure-drop") << governs;
            EXPECT_GT(d["theoreticalDiameter"].toDouble(), 0.5);
            EXPECT_TRUE(json["conservative"].toObject()["method"].isDouble());
        }
    }
}

TEST(VelkCalcCases, AnEmptyWindowHasNoTurndown)
{
    // Rated at 1.8 m with a limit far below the normal case's drop: the
    // pressure-drop end falls below the minimum-load end.
    QTemporaryDir dir;
    std::vector<std::string> args = {"--cases", WriteCsv(dir, kCases), "--rate-diameter",
                                     "1.8",     "--design-dp",         "0.02"};
    args.insert(args.end(), kPage.begin(), kPage.end());
    const CalcRun r = Calc(args);
    EXPECT_EQ(r.status, 0);
    const QJsonObject w = r.json()["window"].toObject();
    EXPECT_LT(w["maxFactor"].toDouble(), w["minFactor"].toDouble());
    EXPECT_EQ(w["maxLimit"].toString(), "pressure-drop");
    EXPECT_TRUE(w["turndown"].isNull());
    EXPECT_NE(r.err.find("velk-calc: "), std::string::npos);
}

TEST(VelkCalcCases, TheDesignIsTheCaseThatSizedTheSection)
{
    // Under a 0.5 mbar/m limit the wetter, denser case runs nearer its
    // capacity but needs the smaller diameter: the normal case sizes the section.
    QTemporaryDir dir;
    std::vector<std::string> args = {"--cases",
                                     WriteCsv(dir, "name,vapour_mass_flow,liquid_mass_flow,vap_density\n"
                                                   "正常,3,2.5,\n重,3,8,4\n"),
                                     "--design-dp", "0.5"};
    args.insert(args.end(), kPage.begin(), kPage.end());
    const QJsonObject json = Calc(args).json();
    const QJsonArray cases = json["cases"].toArray();
    auto dp = [&](int i) {
        return cases[i].toObject()["fields"].toObject()["dpD"].toObject()["si"].toDouble();
    };
    ASSERT_EQ(cases.size(), 2);
    EXPECT_EQ(json["governing"].toString(), "重");
    EXPECT_EQ(json["sizing"].toString(), QString::fromUtf8("正常")); // named beside the governing case
    EXPECT_GT(dp(0), dp(1));
    EXPECT_EQ(json["design"].toObject()["theoreticalDiameter"].toDouble(), dp(0));
    EXPECT_GE(json["diameter"].toDouble(), dp(0) - 0.04);
}

TEST(VelkCalcCases, DesignObjectOfASingleRun)
{
    const struct {
        std::vector<std::string> args;
        const char* basis;
        const char* governs;
    } table[] = {{{"--design-dp", "0.5"}, "both", "pressure-drop"},
                 {{"--design-dp", "3"}, "both", "flood"},
                 {{"--design-dp", "2", "--design-basis", "pressure-drop"}, "pressure-drop", "pressure-drop"},
                 {{"--design-dp", "3", "--design-basis", "flood"}, "flood", "flood"}};
    for (const auto& row : table) {
        std::vector<std::string> args = {"LD=2.5", "VD=3"};
        args.insert(args.end(), kPage.begin(), kPage.end());
        const CalcRun plain = Calc(args);
        args.insert(args.end(), row.args.begin(), row.args.end());
        const CalcRun r = Calc(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const QJsonObject d = r.json()["design"].toObject();
        EXPECT_EQ(d["basis"].toString().toStdString(), row.basis);
        EXPECT_EQ(d["governs"].toString().toStdString(), row.governs);
        EXPECT_EQ(d["limit"].toDouble(), std::stod(row.args[1]));
        EXPECT_EQ(d["theoreticalDiameter"].toDouble(),
                  r.json()["fields"].toObject()["dpD"].toObject()["si"].toDouble());
        // Where the flood basis governs the page is today's, to the byte.
        if (std::string(row.governs) == "flood") {
            EXPECT_EQ(r.json()["fields"], plain.json()["fields"]) << row.args[1];
        }
        EXPECT_FALSE(plain.json().contains("design"));
    }
}

TEST(VelkCalcCases, UsageErrors)
{
    QTemporaryDir dir;
    const std::string csv = WriteCsv(dir, "name,vapour_mass_flow,liquid_mass_flow\nA,1,x\n");
    const struct {
        std::vector<std::string> args;
        const char* err;
    } table[] = {
        {{"--cases", csv}, "cases.csv:2: liquid_mass_flow: \"x\" is not a number"},
        {{"--cases", dir.filePath("none.csv").toStdString()}, "none.csv"},
        {{"--cases", csv, "--compare"}, "--cases cannot be combined"},
        {{"--design-dp", "0"}, "--design-dp needs a pressure drop above 0 in mbar/m, not '0'"},
        {{"--design-dp", "abc"}, "--design-dp needs a pressure drop above 0"},
        {{"--design-dp", "1e307"}, "--design-dp needs a pressure drop above 0 in mbar/m, not '1e307'"},
        {{"--design-dp", "1", "--design-basis", "max"}, "--design-basis needs flood, pressure-drop or both"},
        {{"--design-basis", "both"}, "--design-basis both needs --design-dp"},
    };
    for (const auto& row : table) {
        const CalcRun r = Calc(row.args);
        EXPECT_EQ(r.status, 2) << row.err;
        EXPECT_NE(r.err.find(row.err), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(VelkCalcCases, TheDesignControlsTravelWithTheProject)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("p.vel").toStdString();
    std::vector<std::string> args = {"LD=2.5",        "VD=3",           "--design-dp", "1", "--design-basis",
                                     "pressure-drop", "--conservative", "--save",      path};
    args.insert(args.end(), kPage.begin(), kPage.end());
    const CalcRun saved = Calc(args);
    ASSERT_EQ(saved.status, 0) << saved.err;
    // Read back without the options: the project alone sizes the same way.
    const CalcRun read = Calc({"--project", path, "--design-dp", "1", "--design-basis", "pressure-drop"});
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(read.json()["fields"], saved.json()["fields"]);
    EXPECT_EQ(read.json()["design"], saved.json()["design"]);
    EXPECT_EQ(saved.json()["design"].toObject()["governs"].toString().toStdString(), "pressure-drop");
    const CalcRun alone = Calc({"--project", path});
    EXPECT_EQ(alone.json()["fields"], saved.json()["fields"]);
}
