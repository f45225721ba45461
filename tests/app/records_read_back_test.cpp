// What Save writes, Open reads back equal: random load cases and column
// profiles (names of any characters a name may hold, values of any
// magnitude) go through the project's records and come back the same; and
// every text velk-calc writes into its JSON parses as JSON.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <fstream>
#include <random>

#include "CalcPage.h"
#include "LoadCaseRecords.h"
#include "ProfileRecords.h"
#include "SaveFormData.h"
#include "VelkCalcJson.h"

namespace
{

// Separators of the records, quotes, GBK and non-GBK characters, the line-break mark.
const char* const kPieces[] = {
    "a", "正常", ",", "\"", "#", " ", ";", "\xF0\x9F\x98\x80", "\xE2\x96\xB2", "\xC3\x9F"};

std::string RandomText(std::mt19937& random, const std::string& unique)
{
    std::string s = unique;
    for (unsigned k = random() % 8; k > 0; --k)
        s += kPieces[random() % std::size(kPieces)];
    return s + unique; // no blank at an end
}

double RandomValue(std::mt19937& random)
{
    return std::ldexp(1.0 + (random() % 1000003) / 7.0, static_cast<int>(random() % 400) - 200);
}

std::string SavedAndOpened(const std::string& records)
{
    CalcPage page(false);
    return ProjectPlainText(CompressProjectText(FormRecordsText(page) + records));
}

} // namespace

TEST(RecordsReadBack, CasesAndProfilesComeBackEqual)
{
    std::mt19937 random(27);
    for (int round = 0; round < 60; ++round) {
        std::vector<LoadCase> cases(random() % 20);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            cases[i].name = RandomText(random, std::to_string(i));
            for (const ProfileValue& v : kProfileValues)
                if (v.member == &ProfileStage::V || v.member == &ProfileStage::L || random() % 2)
                    cases[i].values.*v.member = RandomValue(random);
        }
        ColumnProfile profile;
        profile.source = RandomText(random, "s");
        profile.rating = random() % 2;
        for (int n = 1; n <= 1 + static_cast<int>(random() % 8); ++n) {
            ProfileStage s;
            s.number = n;
            for (const ProfileValue& v : kProfileValues)
                if (random() % 3) s.*v.member = RandomValue(random);
            profile.stages.push_back(s);
        }
        profile.beds.push_back({1, static_cast<int>(profile.stages.size()), RandomText(random, "p"),
                                static_cast<int>(random() % 3), random() % 2 == 0, RandomValue(random)});
        ValidateLoadCases(cases);

        const std::string plain = SavedAndOpened(LoadCaseRecordsText(cases) + ProfileRecordsText(profile));
        const std::vector<LoadCase> back = LoadCasesFromFormRecords(plain);
        ASSERT_EQ(back.size(), cases.size());
        for (std::size_t i = 0; i < cases.size(); ++i) {
            EXPECT_EQ(back[i].name, cases[i].name);
            for (const ProfileValue& v : kProfileValues)
                EXPECT_EQ(back[i].values.*v.member, cases[i].values.*v.member) << cases[i].name;
        }
        const ColumnProfile p = ProfileFromFormRecords(plain);
        EXPECT_EQ(p.source, profile.source);
        EXPECT_EQ(p.rating, profile.rating);
        ASSERT_EQ(p.stages.size(), profile.stages.size());
        for (std::size_t i = 0; i < p.stages.size(); ++i)
            for (const ProfileValue& v : kProfileValues)
                EXPECT_EQ(p.stages[i].*v.member, profile.stages[i].*v.member);
        ASSERT_EQ(p.beds.size(), 1u);
        EXPECT_EQ(p.beds[0].packing, profile.beds[0].packing);
        EXPECT_EQ(p.beds[0].method, profile.beds[0].method);
        EXPECT_EQ(p.beds[0].lagrange, profile.beds[0].lagrange);
        EXPECT_EQ(p.beds[0].diameter, profile.beds[0].diameter);
    }
}

TEST(RecordsReadBack, ACaseTheTableWouldRefuseIsRefusedEverywhere)
{
    // One rule for the file, the table and the project: these never reach a project.
    const struct {
        std::string name;
        double slope;
    } table[] = {{"a ", 1},      {" a", 1}, {"a\tb", 1}, {"a\r\nb", 1},
                 {"bad\xFF", 1}, {"", 1},   {"a", 0},    {"a", -2}};
    for (const auto& row : table) {
        LoadCase c{row.name, {}};
        c.values.V = 1;
        c.values.L = 1;
        c.values.slope = row.slope;
        EXPECT_THROW(ValidateLoadCases({c}), EConvertError) << row.name;
    }
    LoadCase a{"a", {}}, b{"a", {}};
    a.values.V = a.values.L = b.values.V = b.values.L = 1;
    EXPECT_THROW(ValidateLoadCases({a, b}), EConvertError);
    // A name saved with blanks at its ends (before this rule) opens under its stored name.
    const std::string records = LoadCaseRecordsText({a});
    std::string padded = records;
    padded.replace(padded.find(";a\r\n"), 4, "; a \r\n");
    EXPECT_EQ(LoadCasesFromFormRecords(SavedAndOpened(padded))[0].name, "a");
}

TEST(VelkCalcJson, EveryTextParsesAsJsonAndValidTextIsKept)
{
    std::mt19937 random(5);
    QTemporaryDir dir;
    const std::string path = dir.filePath("texts.json").toStdString();
    std::string array = "[";
    for (int i = 0; i < 3000; ++i) {
        std::string s;
        for (unsigned k = random() % 12; k > 0; --k)
            if (i % 2)
                s += static_cast<char>(random() % 256); // any bytes
            else
                s += kPieces[random() % std::size(kPieces)];
        const std::string json = JsonString(s);
        if (i % 2 == 0) { // valid text: only its quotes are escaped
            std::string want = "\"";
            for (char c : s)
                want += c == '"' ? std::string("\\\"") : std::string(1, c);
            EXPECT_EQ(json, want + "\"");
        }
        array += (i ? ", " : "") + json;
    }
    std::ofstream(path, std::ios::binary) << array << "]";
    // A strict reader: the bytes must be UTF-8 and the text JSON.
    QProcess python;
    python.start(
        QStringLiteral("python3"),
        {QStringLiteral("-c"),
         QStringLiteral("import json,sys; t=json.loads(open(sys.argv[1],'rb').read().decode('utf-8')); "
                        "print(len(t))"),
         QString::fromStdString(path)});
    ASSERT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    EXPECT_EQ(python.readAllStandardOutput().trimmed(), "3000");
}
