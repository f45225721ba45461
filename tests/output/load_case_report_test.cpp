// The load cases' rows shared by the page, the CSV, the workbook and the
// PDF: nothing at all without cases (the diagram's input included), the
// pressure drop in the display unit, the window's paragraph, and the
// diagram's points and band.
#include <gtest/gtest.h>

#include <cstdio>

#include "LoadCaseReport.h"
#include "PerformanceDiagram.h"
#include "PressureDropDisplay.h"

namespace
{

struct Sample {
    std::vector<LoadCase> cases;
    EnvelopeResult rating;
};

Sample TwoCases()
{
    Sample s;
    LoadCase a;
    a.name = "最小";
    a.values.V = 1.5;
    a.values.L = 1.25;
    LoadCase b = a;
    b.name = "最大";
    b.values.V = 3.6;
    b.values.L = 3.0;
    b.values.rhoL = 900;
    s.cases = {a, b};
    for (const LoadCase& c : s.cases) {
        CaseResult r;
        r.name = c.name;
        r.completed = true;
        r.figures.floodPercent = c.name == "最小" ? 30.0 : 72.5;
        r.figures.systemFloodPercent = c.name == "最小" ? 30.0 : 72.5;
        r.figures.pressureDropMbarPerM = c.name == "最小" ? 0.5 : 2.25;
        r.HETP = 0.4;
        s.rating.cases.push_back(r);
    }
    s.rating.governing = 1;
    s.rating.normal = 0;
    s.rating.diameter = 1.6;
    s.rating.window.valid = true;
    s.rating.window.minFactor = 0.35;
    s.rating.window.maxFactor = 1.4;
    s.rating.window.turndown = 4;
    s.rating.window.minLimit = "min-wetting";
    s.rating.window.maxLimit = "pressure-drop";
    s.rating.window.minL = 0.4375; // 0.35 x 1.25
    s.rating.window.minV = 0.525;
    s.rating.window.maxL = 1.75;
    s.rating.window.maxV = 2.1;
    return s;
}

std::string G6(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

} // namespace

// The sheet in either system: the case's own values, the liquid load, the
// HETP and the diameter in US units from the exact definitions, and in SI
// the very texts the sheet has always had (the values' headings bare).
TEST(LoadCaseReport, SheetFollowsTheUnitSystem)
{
    const double ft = 0.3048, lb = 0.45359237, gpmFt2 = 3.785411784e-3 * 60 / (ft * ft);
    struct Row {
        UnitSystem system;
        std::string vHeading, loadHeading, hetpHeading, v, rhoL, load, hetp, window;
    };
    const Row rows[] = {
        {UnitSystem::SI, "", "液体喷淋密度(m3/(m2·h))", "HETP(m)", "3.6", "900", "10", "0.4", "塔径 1.6 m"},
        {UnitSystem::US, "(lb/h)", "液体喷淋密度(gpm/ft2)", "HETP(ft)", G6(3.6 * 3600 / lb),
         G6(900 * ft * ft * ft / lb), G6(10 / gpmFt2), G6(0.4 / ft), "塔径 " + G6(1.6 / ft) + " ft"},
    };
    Sample s = TwoCases();
    s.rating.cases[1].figures.liquidLoad = 10;
    for (const Row& row : rows) {
        SetDisplaySystem(row.system);
        const LoadCaseSheetText t = LoadCaseSheetRows({&s.cases, &s.rating, {}});
        const std::vector<std::string>& h = t.table.at(0);
        const std::vector<std::string>& c = t.table.at(2);
        // name, ten values (V first, rhoL fifth), flood, capacity, F, load, drop, holdup, HETP, note
        ASSERT_EQ(h.size(), 19u);
        EXPECT_EQ(h[1].substr(h[1].size() - row.vHeading.size()), row.vHeading);
        EXPECT_EQ(h[1].find('('), row.vHeading.empty() ? std::string::npos : h[1].size() - row.vHeading.size());
        EXPECT_EQ(h[14], row.loadHeading);
        EXPECT_EQ(h[17], row.hetpHeading);
        EXPECT_EQ(c[1], row.v);
        EXPECT_EQ(c[5], row.rhoL);
        EXPECT_EQ(c[14], row.load);
        EXPECT_EQ(c[17], row.hetp);
        EXPECT_EQ(t.window.at(0).substr(0, row.window.size()), row.window);
    }
    SetDisplaySystem(UnitSystem::SI);
}

TEST(LoadCaseReport, WithoutCasesThereIsNothingAndTheDiagramStaysAsItIs)
{
    const std::vector<LoadCase> none;
    const EnvelopeResult rating;
    const LoadCaseReport report{&none, &rating, {}};
    EXPECT_FALSE(report.Present());
    const LoadCaseSheetText t = LoadCaseSheetRows(report);
    EXPECT_TRUE(t.title.empty() && t.table.empty() && t.window.empty());
    EXPECT_EQ(LoadCaseCsv(report), QByteArray("\xEF\xBB\xBF"));
    EXPECT_EQ(LoadCaseWindowText(rating), "");
    TPerformanceInput in;
    AddLoadCasesToDiagram(in, report);
    AddLoadCasesToDiagram(in, {});
    EXPECT_TRUE(in.cases.empty());
    EXPECT_FALSE(in.window.has_value());
}

TEST(LoadCaseReport, RowsCarryTheCasesTheirResultsAndTheWindow)
{
    const Sample s = TwoCases();
    const LoadCaseReport report{&s.cases, &s.rating, {}};
    SetPressureDropUnit(PressureDropUnit::Mbar);
    const LoadCaseSheetText t = LoadCaseSheetRows(report);
    ASSERT_EQ(t.table.size(), 3u);
    ASSERT_EQ(t.table[0].size(), 1u + 10u + 8u);
    EXPECT_EQ(t.table[0][11], "泛点率(%)");
    EXPECT_EQ(t.table[1][0], "最小");
    EXPECT_EQ(t.table[1][1], "1.5");
    EXPECT_EQ(t.table[1][5], "(计算页)"); // no liquid density of its own
    EXPECT_EQ(t.table[2][5], "900");
    EXPECT_EQ(t.table[2][11], "72.5");
    EXPECT_EQ(t.table[2][15], "2.25");
    // 2.25 mbar/m are 225 Pa/m.
    SetPressureDropUnit(PressureDropUnit::Pa);
    EXPECT_EQ(LoadCaseSheetRows(report).table[2][15], "225");
    EXPECT_EQ(LoadCaseSheetRows(report).table[0][15], "压降(Pa/m)");
    SetPressureDropUnit(PressureDropUnit::Mbar);

    ASSERT_EQ(t.window.size(), 1u);
    const std::string w = t.window[0];
    for (const char* part : {"塔径 1.6 m；控制工况：最大", "最小按等液气比", "最低 35%（最小润湿）",
                             "最高 140%（压降限值）", "操作弹性 4"})
        EXPECT_NE(w.find(part), std::string::npos) << part << " in " << w;

    TPerformanceInput in;
    AddLoadCasesToDiagram(in, report);
    ASSERT_EQ(in.cases.size(), 2u);
    EXPECT_EQ(in.cases[1].L, 3.0);
    EXPECT_EQ(in.cases[1].V, 3.6);
    EXPECT_FALSE(in.cases[0].governing);
    EXPECT_TRUE(in.cases[1].governing);
    ASSERT_TRUE(in.window.has_value());
    EXPECT_EQ(in.window->Lmax, 1.75);

    // No window: its note instead, and no band.
    Sample noWindow = TwoCases();
    noWindow.rating.window = {};
    noWindow.rating.window.note = "正常工况未算完，无操作弹性范围";
    EXPECT_NE(LoadCaseWindowText(noWindow.rating).find("操作范围：正常工况未算完"), std::string::npos);
    TPerformanceInput bare;
    AddLoadCasesToDiagram(bare, {&noWindow.cases, &noWindow.rating, {}});
    EXPECT_FALSE(bare.window.has_value());

    // An empty window (lowest end above the highest): its note, no ratio below 1, no band.
    Sample empty = TwoCases();
    empty.rating.window.minFactor = 1.2;
    empty.rating.window.maxFactor = 0.9;
    empty.rating.window.turndown = 0.75;
    empty.rating.window.note = "最低负荷不低于最高负荷，无操作弹性范围";
    const std::string e = LoadCaseWindowText(empty.rating);
    EXPECT_NE(e.find("操作范围：最低负荷不低于最高负荷"), std::string::npos) << e;
    EXPECT_EQ(e.find("操作弹性 0.75"), std::string::npos) << e;
    TPerformanceInput reversed;
    AddLoadCasesToDiagram(reversed, {&empty.cases, &empty.rating, {}});
    EXPECT_FALSE(reversed.window.has_value());
}
