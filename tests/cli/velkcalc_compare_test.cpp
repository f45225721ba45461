// velk-calc --compare: each entry equals, for the keys they share, what a
// single run with --packing and --method prints for the same inputs; for
// every packing and method on two cases.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <sstream>

#include "VelkCalc.h"

namespace
{

QJsonObject Calc(const std::vector<std::string>& args, int& status)
{
    std::ostringstream out, err;
    status = RunVelkCalc(args, out, err);
    return QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).object();
}

struct Case {
    const char* name;
    std::vector<std::string> args;
};

const Case kCases[] = {
    {"distillation, sizing",
     {"--stages", "20", "LD=2.5", "VD=3.0", "DlD=800", "DvD=2.5", "MlD=0.0003", "MvD=1e-5", "SLD=0.02",
      "DlfD=2e-9", "DvfD=1e-5", "alfD=2"}},
    {"absorber in other units with interpolation, rating a 1.2 m column",
     {"--lagrange",  "--rate-diameter", "120",     "--stages",  "12",           "--unit",
      "dD=1",        "--unit",          "LD=1",    "--flood",   "70",           "LD=43200",
      "VD=1.1",      "DlD=998",         "DvD=1.2", "MlD=0.001", "MvD=0.000018", "SLD=0.072",
      "DlfD=1.5e-9", "DvfD=1.6e-5",     "meD=0.8"}},
};

class VelkCalcCompare : public ::testing::TestWithParam<Case>
{
};

} // namespace

TEST_P(VelkCalcCompare, EveryEntryEqualsASingleRun)
{
    std::vector<std::string> args = {"--compare", "--all-methods"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    int status = -1;
    const QJsonArray entries = Calc(args, status).value("compare").toArray();
    ASSERT_EQ(entries.size(), 81);
    EXPECT_EQ(status, 1); // CY-800 has no packing factor for the third correlation
    for (const auto& e : entries) {
        const QJsonObject entry = e.toObject();
        const std::string packing = entry.value("packing").toString().toStdString();
        const int method = entry.value("method").toInt();
        std::vector<std::string> single = {"--packing", packing, "--method", std::to_string(method)};
        single.insert(single.end(), GetParam().args.begin(), GetParam().args.end());
        int singleStatus = -1;
        const QJsonObject one = Calc(single, singleStatus);
        // A flooded row's HETP is beyond the model: no packed height on it.
        const bool hetpInvalid =
            entry.value("fields").toObject().value("HETPD").toObject().value("invalid").toBool();
        if (entry.value("completed").toBool() && !hetpInvalid) {
            EXPECT_FALSE(entry.value("operation").toObject().value("bedHeight").isNull()) << packing;
        }
        // A failed entry shows no number; the single run keeps what it got to.
        for (const char* key : {"fields", "operation", "warnings"}) {
            if (entry.value("completed").toBool())
                EXPECT_EQ(entry.value(key), one.value(key))
                    << packing << " method " << method << " key " << key;
        }
        EXPECT_EQ(entry.value("completed"), one.value("completed")) << packing;
        EXPECT_EQ(singleStatus == 0, entry.value("completed").toBool()) << packing;
        if (entry.value("completed").toBool())
            EXPECT_EQ(entry.value("error").toString(), QString());
        else
            EXPECT_TRUE(one.value("messages").toArray().contains(entry.value("error"))) << packing;
    }
}

INSTANTIATE_TEST_SUITE_P(TwoCases, VelkCalcCompare, ::testing::ValuesIn(kCases));

TEST(VelkCalcCompareOptions, OneEntryPerPackingWithThePagesMethodAndNoStrayCombinations)
{
    int status = -1;
    const QJsonArray entries = Calc({"--compare", "--method", "1", "LD=2.5", "VD=3.0", "DlD=800", "DvD=2.5",
                                     "MlD=0.0003", "MvD=1e-5", "SLD=0.02"},
                                    status)
                                   .value("compare")
                                   .toArray();
    ASSERT_EQ(entries.size(), 27);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(entries.first().toObject().value("packing").toString(), QStringLiteral("Flexipac-1"));
    EXPECT_EQ(entries.last().toObject().value("method").toInt(), 1);
    Calc({"--all-methods"}, status);
    EXPECT_EQ(status, 2);
    Calc({"--compare", "--packing", "SW-1"}, status);
    EXPECT_EQ(status, 2);
}

TEST(VelkCalcCompareOptions, AnEmptiedInputMakesEveryEntryAnErrorWithoutNumbers)
{
    int status = -1;
    const QJsonArray entries =
        Calc({"--compare", "--method", "1", "LD=3.0128", "VD=3.6154", "DlD=800", "DvD=2.5", "MlD=0.0003",
              "MvD=1e-5", "SLD=0.02", "DlfD=2e-9", "DvfD=5e-6", "meD=0.8", "DlD="},
             status)
            .value("compare")
            .toArray();
    ASSERT_EQ(entries.size(), 27);
    EXPECT_EQ(status, 1);
    for (const auto& e : entries) {
        const QJsonObject entry = e.toObject();
        EXPECT_FALSE(entry.value("completed").toBool());
        EXPECT_TRUE(entry.value("error").toString().endsWith(QStringLiteral("DlD")));
        for (const char* f : {"UfD", "dpD", "dD", "HETPD", "dPwaterD"})
            EXPECT_TRUE(entry["fields"].toObject()[f].toObject()["si"].isNull()) << f;
    }
}
