// What Save writes, Open reads back equal (random load cases and column
// profiles through the project's records), and every JSON text velk-calc
// writes parses as JSON.
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

// The records' separators, quotes, GBK and non-GBK characters, the line-break mark.
const char* const kPieces[] = {
    "a", "正常", ",", "\"", "#", " ", ";", "\xF0\x9F\x98\x80", "\xE2\x96\xB2", "\xC3\x9F"};

std::string RandomText(std::mt19937& random, const std::string& unique)
{
    std::string s = unique;
    for (unsigned k = random() % 8; k > 0; --k)
        s += kPieces[random() % std::size(kPieces)];
    return s + unique; // no blank at an end
}

void RandomValues(std::mt19937& random, ProfileStage& s, bool flows)
{
    for (const ProfileValue& v : kProfileValues)
        if ((flows && (v.member == &ProfileStage::V || v.member == &ProfileStage::L)) || random() % 2)
            s.*v.member =
                std::ldexp(1.0 + (random() % 1000003) / 7.0, static_cast<int>(random() % 400) - 200);
}

std::string SavedAndOpened(const std::string& records)
{
    return ProjectPlainText(CompressProjectText(FormRecordsText(CalcPage(false)) + records));
}

} // namespace

TEST(RecordsReadBack, CasesAndProfilesComeBackEqual)
{
    std::mt19937 random(27);
    for (int round = 0; round < 60; ++round) {
        std::vector<LoadCase> cases(random() % 20);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            cases[i].name = RandomText(random, std::to_string(i));
            RandomValues(random, cases[i].values, true);
        }
        ColumnProfile profile;
        profile.source = RandomText(random, "s");
        profile.stages.resize(1 + random() % 8);
        for (std::size_t n = 0; n < profile.stages.size(); ++n) {
            profile.stages[n].number = static_cast<int>(n + 1);
            RandomValues(random, profile.stages[n], false);
        }
        profile.beds.push_back(
            {1, static_cast<int>(profile.stages.size()), RandomText(random, "p"), 2, true, 1.25});
        ValidateLoadCases(cases);

        const std::string plain = SavedAndOpened(LoadCaseRecordsText(cases) + ProfileRecordsText(profile));
        const std::vector<LoadCase> back = LoadCasesFromFormRecords(plain);
        const ColumnProfile p = ProfileFromFormRecords(plain);
        ASSERT_EQ(back.size(), cases.size());
        ASSERT_EQ(p.stages.size(), profile.stages.size());
        for (std::size_t i = 0; i < cases.size(); ++i)
            EXPECT_EQ(back[i].name, cases[i].name);
        for (const ProfileValue& v : kProfileValues) {
            for (std::size_t i = 0; i < cases.size(); ++i)
                EXPECT_EQ(back[i].values.*v.member, cases[i].values.*v.member) << cases[i].name;
            for (std::size_t i = 0; i < p.stages.size(); ++i)
                EXPECT_EQ(p.stages[i].*v.member, profile.stages[i].*v.member);
        }
        EXPECT_EQ(p.source, profile.source);
        EXPECT_EQ(p.beds.at(0).packing, profile.beds[0].packing);
    }
}

TEST(RecordsReadBack, ANameSavedWithBlanksAtItsEndsOpensAsItsStoredName)
{
    LoadCase a{"a", {}};
    a.values.V = a.values.L = 1;
    std::string padded = LoadCaseRecordsText({a});
    padded.replace(padded.find(";a\r\n"), 4, "; a \r\n");
    EXPECT_EQ(LoadCasesFromFormRecords(SavedAndOpened(padded)).at(0).name, "a");
}

TEST(VelkCalcJson, EveryTextParsesAsJson)
{
    std::mt19937 random(5);
    QTemporaryDir dir;
    const std::string path = dir.filePath("texts.json").toStdString();
    std::ofstream out(path, std::ios::binary);
    out << "[";
    for (int i = 0; i < 3000; ++i) {
        std::string s;
        for (unsigned k = random() % 12; k > 0; --k)
            s += i % 2 ? std::string(1, static_cast<char>(random() % 256))
                       : kPieces[random() % std::size(kPieces)];
        out << (i ? ", " : "") << JsonString(s);
    }
    out << "]";
    out.close();
    // A strict reader: the bytes must be UTF-8 and the text JSON.
    QProcess python;
    python.start(
        QStringLiteral("python3"),
        {QStringLiteral("-c"),
         QStringLiteral("import json,sys; print(len(json.loads(open(sys.argv[1],'rb').read().decode())))"),
         QString::fromStdString(path)});
    ASSERT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.readAllStandardOutput().trimmed(), "3000")
        << python.readAllStandardError().toStdString();
}
