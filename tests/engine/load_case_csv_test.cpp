// The load-case CSV reader: what it takes, what it refuses (with the line),
// and the writer's text reading back to the same cases.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "LoadCaseCsv.h"
#include "Messages.h"

namespace
{

std::string Refusal(const std::string& text)
{
    try {
        ParseLoadCasesCsv(text, "c.csv");
    } catch (const EConvertError& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(LoadCaseCsv, ReadsNamesFlowsAndOptionalProperties)
{
    const std::string text = "\xEF\xBB\xBF# cases of the top section\r\n"
                             "Name,Liquid_Mass_Flow,vapour_mass_flow,vap_density,equilibrium_slope\r\n"
                             "\r\n"
                             "\" 最小, 启动 \",1.25,1.5,,0.5\r\n"
                             "正常,2.5,3,2.6,\r\n";
    const std::vector<LoadCase> cases = ParseLoadCasesCsv(text, "c.csv");
    ASSERT_EQ(cases.size(), 2u);
    EXPECT_EQ(cases[0].name, "最小, 启动"); // stored without the blanks at its ends
    EXPECT_EQ(cases[0].values.L, 1.25);
    EXPECT_EQ(cases[0].values.V, 1.5);
    EXPECT_FALSE(cases[0].values.rhoV);
    EXPECT_EQ(cases[0].values.slope, 0.5);
    EXPECT_EQ(cases[1].values.rhoV, 2.6);
    EXPECT_FALSE(cases[1].values.slope);
    EXPECT_FALSE(cases[1].values.muL);
}

TEST(LoadCaseCsv, RefusesDamagedTextNamingTheLine)
{
    const std::string h = "name,vapour_mass_flow,liquid_mass_flow\n";
    const struct {
        std::string text, message;
    } table[] = {
        {"", "c.csv: no header row"},
        {h, "c.csv: no cases"},
        {"name,vapour_mass_flow\nA,1\n", "c.csv:1: the header has no column \"liquid_mass_flow\""},
        {"vapour_mass_flow,liquid_mass_flow\n1,1\n", "c.csv:1: the header has no column \"name\""},
        {"name,name,vapour_mass_flow,liquid_mass_flow\n", "c.csv:1: column \"name\" is named twice"},
        {"name,vap_density,VAP_DENSITY\n", "c.csv:1: column \"VAP_DENSITY\" is named twice"},
        {"name,vapour_mass_flow,liquid_mass_flow,liq_mw\n", "c.csv:1: unknown column \"liq_mw\""},
        {h + "A,1,1\nB,1,x\n", "c.csv:3: liquid_mass_flow: \"x\" is not a number"},
        {h + "A,1,1e999\n", "c.csv:2: liquid_mass_flow: \"1e999\" is not a number"},
        {h + "A,nan,1\n", "c.csv:2: vapour_mass_flow: \"nan\" is not a number"},
        {h + "A,0,1\n", "c.csv:2: vapour_mass_flow: \"0\" must be greater than 0"},
        {h + "A,1,\n", "c.csv:2: liquid_mass_flow of the case \"A\" is empty"},
        {h + "A,1\n", "c.csv:2: liquid_mass_flow of the case \"A\" is empty"},
        {h + ",1,1\n", "c.csv:2: the case has no name"},
        {h + "A,1,1\nA,2,2\n", "c.csv:3: the case \"A\" is given twice"},
        {h + "a,3,2.5\n\"a \",3.3,2.5\n", "c.csv:3: the case \"a\" is given twice"},
        {h + "normal\xff,3,2.5\n", "c.csv:2:7: a byte that is not UTF-8"},
        {h + "A,1,1\nB,\xE5\xA1,1\n", "c.csv:3:3: a byte that is not UTF-8"},
        {"name,vapour_mass_flow,liquid_mass_flow,equilibrium_slope\nA,1,1,0\n",
         "c.csv:2: equilibrium_slope: \"0\" must be greater than 0"},
        {"name,vapour_mass_flow,liquid_mass_flow,equilibrium_slope\nA,1,1,-0.5\n",
         "c.csv:2: equilibrium_slope: \"-0.5\" must be greater than 0"},
        {h + "A,1,1,4\n", "c.csv:2: more fields (4) than the header names (3)"},
        {h + "\"A,1,1\n", "c.csv:2: a quoted field is not closed"},
        {h + "\"A\"x,1,1\n", "c.csv:2: text after a closing quote"},
        {h + "\"A\x01\",1,1\n", "c.csv:2: a control character in the case name"},
        {h + "A,1,1\n" + std::string("B,1,\0", 5) + "1\n", "c.csv:3: a NUL byte"},
        {h + std::string(kMaxLoadCaseName + 1, 'n') + ",1,1\n", "c.csv:2: a case name longer than 200 bytes"},
        {h + std::string(kMaxLoadCaseLine + 1, ' ') + "\n", "c.csv:2: a line longer than 8192 bytes"},
        {h + std::string(32, ',') + "\n", "c.csv:2: more than 32 fields"},
        {std::string(kMaxLoadCaseBytes + 1, '#'), "c.csv: larger than 1024 KB"},
    };
    for (const auto& row : table)
        EXPECT_EQ(Refusal(row.text).substr(0, row.message.size()), row.message) << row.text.substr(0, 80);
    std::string many = h;
    for (std::size_t i = 0; i <= kMaxLoadCases; ++i) {
        many += 'c';
        many += std::to_string(i);
        many += ",1,1\n";
    }
    EXPECT_EQ(Refusal(many), "c.csv:202: more than 200 cases");
}

TEST(LoadCaseCsv, WrittenCasesReadBackTheSame)
{
    LoadCase a{"\"引号\", #1", {}}, b{"#正常", {}};
    a.values.V = 0.1 + 0.2; // no short decimal form
    a.values.L = 1e-300;
    a.values.DV = 1.5e-5;
    b.values.V = 3;
    b.values.L = 2.5;
    b.values.slope = 1.25;
    const std::vector<LoadCase> back = ParseLoadCasesCsv(WriteLoadCasesCsv({a, b}), "w.csv");
    ASSERT_EQ(back.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const LoadCase& want = i ? b : a;
        EXPECT_EQ(back[i].name, want.name);
        EXPECT_EQ(back[i].values.V, want.values.V);
        EXPECT_EQ(back[i].values.L, want.values.L);
        EXPECT_EQ(back[i].values.DV, want.values.DV);
        EXPECT_EQ(back[i].values.slope, want.values.slope);
        EXPECT_FALSE(back[i].values.rhoL);
    }
}

TEST(LoadCaseCsv, WhatExportWritesImportReadsBackForAnyCases)
{
    const char* const pieces[] = {"a", "正常", ",", "\"", "#", " ", ";", "\xF0\x9F\x98\x80"};
    std::mt19937 random(28);
    for (int round = 0; round < 200; ++round) {
        std::vector<LoadCase> cases(1 + random() % 12);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            cases[i].name = std::to_string(i); // unique, no blank at an end
            for (unsigned k = random() % 6; k > 0; --k)
                cases[i].name += pieces[random() % std::size(pieces)];
            cases[i].name += "x";
            for (const ProfileValue& v : kProfileValues)
                if (v.member == &ProfileStage::V || v.member == &ProfileStage::L || random() % 2)
                    cases[i].values.*v.member =
                        std::ldexp(1.0 + random() % 100000 / 3.0, int(random() % 200) - 100);
        }
        // Result cells, a note with a quote and a line break among them.
        std::vector<std::vector<std::string>> results(cases.size(),
                                                      std::vector<std::string>(kLoadCaseResultCount, "1.5"));
        results[0].back() = "a \"note\",\nbroken";
        const std::string text =
            WriteLoadCasesCsv(cases, round % 2 ? results : decltype(results){}, {"window"});
        EXPECT_EQ(text.find("\n# units: name=text, vapour_mass_flow=kg/s,"), text.find('\n'));
        const std::vector<LoadCase> back = ParseLoadCasesCsv(text, "x.csv");
        ASSERT_EQ(back.size(), cases.size()) << text;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            EXPECT_EQ(back[i].name, cases[i].name);
            for (const ProfileValue& v : kProfileValues)
                EXPECT_EQ(back[i].values.*v.member, cases[i].values.*v.member) << text;
        }
    }
}
