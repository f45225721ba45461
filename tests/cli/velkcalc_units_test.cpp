// velk-calc --units: the US customary selectors, with the same SI results
// as a case typed in SI, and kept by a saved project.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <sstream>

#include "VelkCalc.h"
#include "app/project_test_support.h"
#include "velkcalc_run.h"

namespace
{

// The definitions, written out here.
constexpr double kLb = 0.45359237, kFt = 0.3048, kCp = 0.001, kDynPerCm = 0.001;

struct Input {
    const char* field;
    double us;        // typed in the US unit
    double siPerUnit; // SI value of one US unit
    const char* usUnit;
};
const Input kUsCase[] = {
    {"LD", 18000, kLb / 3600, "lb/h"},
    {"VD", 22000, kLb / 3600, "lb/h"},
    {"DlD", 50, kLb / (kFt * kFt * kFt), "lb/ft3"},
    {"DvD", 0.16, kLb / (kFt * kFt * kFt), "lb/ft3"},
    {"MlD", 0.3, kCp, "cp"},
    {"MvD", 0.01, kCp, "cp"},
    {"SLD", 20, kDynPerCm, "dyn/cm"},
    {"DlfD", 8e-5, kFt* kFt / 3600, "ft2/h"},
    {"DvfD", 0.4, kFt* kFt / 3600, "ft2/h"},
};

std::string Text(double v)
{
    std::ostringstream o;
    o.precision(17);
    o << v;
    return o.str();
}

std::vector<std::string> UsArgs()
{
    std::vector<std::string> args = {"--units", "us", "alfD=2"};
    for (const Input& i : kUsCase)
        args.push_back(std::string(i.field) + "=" + Text(i.us));
    return args;
}

std::vector<std::string> SiArgs()
{
    std::vector<std::string> args = {"--units", "si", "alfD=2"};
    for (const Input& i : kUsCase)
        args.push_back(std::string(i.field) + "=" + Text(i.us * i.siPerUnit));
    return args;
}

} // namespace

TEST(VelkCalcUnits, UsSelectorsGiveTheSameSiResultsAsTheCaseTypedInSi)
{
    const CalcRun us = Calc(UsArgs()), si = Calc(SiArgs());
    ASSERT_EQ(us.status, 0) << us.err;
    ASSERT_EQ(si.status, 0) << si.err;
    const QJsonObject u = us.fields(), s = si.fields();
    for (const Input& i : kUsCase)
        EXPECT_EQ(u.value(i.field).toObject().value("unit").toString(), i.usUnit) << i.field;
    const std::pair<const char*, const char*> usUnits[] = {
        {"UfD", "ft/s"}, {"UvsD", "ft/s"},       {"UlsD", "gpm/ft2"},      {"dD", "ft"},
        {"HETPD", "ft"}, {"dPdryD", "inH2O/ft"}, {"dPwaterD", "inH2O/ft"}, {"HTD", "m3/m3"},
    };
    for (const auto& [field, unit] : usUnits)
        EXPECT_EQ(u.value(field).toObject().value("unit").toString(), unit) << field;
    EXPECT_EQ(s.value("LD").toObject().value("unit").toString(), "kg/s");
    EXPECT_EQ(s.value("dPdryD").toObject().value("unit").toString(), "Pa");
    // Every field, input or result, holds the same SI value; the factor
    // texts carry 11 or more digits, the results differ by no more.
    int compared = 0;
    for (const QString& name : s.keys()) {
        const QJsonValue a = s.value(name).toObject().value("si"), b = u.value(name).toObject().value("si");
        ASSERT_EQ(a.isDouble(), b.isDouble()) << name.toStdString();
        if (!a.isDouble()) continue;
        EXPECT_NEAR(b.toDouble(), a.toDouble(), 1e-9 * std::fabs(a.toDouble())) << name.toStdString();
        ++compared;
    }
    EXPECT_GE(compared, 25);
    // Shown in the US unit: the SI result over the unit's definition.
    const double dD = s.value("dD").toObject().value("si").toDouble();
    EXPECT_NEAR(u.value("dD").toObject().value("display").toString().toDouble(), dD / kFt, 5e-7 * dD / kFt);
    const double uls = s.value("UlsD").toObject().value("si").toDouble();
    const double gpmPerFt2 = 3.785411784e-3 / 60 / (kFt * kFt);
    EXPECT_NEAR(u.value("UlsD").toObject().value("display").toString().toDouble(), uls / gpmPerFt2,
                5e-7 * uls / gpmPerFt2);
    const double dp = s.value("dPwaterD").toObject().value("si").toDouble();
    const double inH2OPerFt = 1000 * 9.80665 * 0.0254 / kFt;
    EXPECT_NEAR(u.value("dPwaterD").toObject().value("display").toString().toDouble(), dp / inH2OPerFt,
                5e-7 * dp / inH2OPerFt);
}

TEST(VelkCalcUnits, SingleUnitsApplyAfterTheSystemAndBadSystemsAreUsageErrors)
{
    std::vector<std::string> args = UsArgs();
    args.insert(args.begin(), {"--unit", "LD=1"});
    const CalcRun r = Calc(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.fields().value("LD").toObject().value("unit").toString(), "kg/h");
    EXPECT_EQ(r.fields().value("VD").toObject().value("unit").toString(), "lb/h");
    for (const char* bad : {"metric", "US", ""}) {
        const CalcRun b = Calc({"--units", bad, "LD=1"});
        EXPECT_EQ(b.status, 2) << bad;
        EXPECT_NE(b.err.find("--units needs us or si"), std::string::npos) << b.err;
    }
}

TEST(VelkCalcUnits, ProjectSavedWithUsUnitsReopensWithTheSameSelectorsAndValues)
{
    projecttest::TempDir dir;
    const std::string file = dir / "us.vel";
    std::vector<std::string> args = UsArgs();
    args.insert(args.end(), {"--save", file});
    const CalcRun saved = Calc(args);
    ASSERT_EQ(saved.status, 0) << saved.err;
    const CalcRun reopened = Calc({"--project", file});
    ASSERT_EQ(reopened.status, 0) << reopened.err;
    const QJsonObject a = saved.fields(), b = reopened.fields();
    ASSERT_EQ(a.keys(), b.keys());
    for (const QString& name : a.keys()) {
        const QJsonObject x = a.value(name).toObject(), y = b.value(name).toObject();
        EXPECT_EQ(y.value("unit"), x.value("unit")) << name.toStdString();
        EXPECT_EQ(y.value("text"), x.value("text")) << name.toStdString();
        EXPECT_EQ(y.value("si"), x.value("si")) << name.toStdString();
    }
    EXPECT_EQ(b.value("LD").toObject().value("unit").toString(), "lb/h");
    EXPECT_EQ(b.value("LD").toObject().value("text").toString(), "18000");
}
