// The user's packings through velk-calc and the project file: a user row
// with the numbers of a built-in row gives that row's results in the JSON
// and in the comparison; a broken catalogue exits 2 with its faults and
// changes nothing; a project with a user packing opens and computes the same
// without the catalogue; a project without one is written as before.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "CalcPage.h"
#include "Messages.h"
#include "PackingCatalogue.h"
#include "PackingSelector.h"
#include "SaveFormData.h"
#include "SaveFormDataFile.h"
#include "UserCatalogueFile.h"
#include "UserPackingRecord.h"
#include "VelkCalc.h"

namespace
{
const std::vector<std::string> kInputs = {"LD=2.5",     "VD=3.0",   "DlD=800",  "DvD=2.5",
                                          "MlD=0.0003", "MvD=1e-5", "SLD=0.02", "DlfD=2e-9",
                                          "DvfD=1e-5",  "alfD=2",   "--stages", "20"};
// A note after F, a plain row, a row without F, a 30 degree row.
const std::size_t kBuiltIn[] = {8, 10, 23, 26};

std::string Calc(std::vector<std::string> args, int& status, std::string* errText = nullptr)
{
    args.insert(args.end(), kInputs.begin(), kInputs.end());
    std::ostringstream out, err;
    status = RunVelkCalc(args, out, err);
    if (errText) *errText = err.str();
    return out.str();
}

std::string Write(const QTemporaryDir& dir, const char* name, const std::string& text)
{
    const std::string path = dir.filePath(QString::fromLatin1(name)).toStdString();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Copies of the built-in rows under other names (and, given, a row before them).
std::vector<CatalogueRow> Copies(const std::string& prefix)
{
    std::vector<CatalogueRow> rows;
    for (const std::size_t i : kBuiltIn) {
        CatalogueRow row = PackingCatalogue()[i];
        row[ColType] = prefix + row[ColType];
        rows.push_back(row);
    }
    return rows;
}
} // namespace

TEST(UserPackings, ACopyOfABuiltInRowGivesItsResultsInTheJsonAndTheComparison)
{
    QTemporaryDir dir;
    const std::string file = Write(dir, "own.csv", UserCatalogueText(Copies("Own ")));
    for (const std::size_t i : kBuiltIn) {
        const std::string name = PackingCatalogue()[i][ColType];
        for (const char* method : {"0", "1", "2"}) {
            int builtIn = -1, own = -1;
            const std::string want = Calc({"--packing", name, "--method", method}, builtIn);
            const std::string got =
                Calc({"--packings", file, "--packing", "Own " + name, "--method", method}, own);
            EXPECT_EQ(own, builtIn) << name << " " << method;
            EXPECT_EQ(got, want) << name << " " << method;
        }
    }
    int status = -1;
    const QJsonArray entries =
        QJsonDocument::fromJson(
            QByteArray::fromStdString(Calc({"--packings", file, "--compare", "--all-methods"}, status)))
            .object()
            .value("compare")
            .toArray();
    ASSERT_EQ(entries.size(), 3 * (27 + 4));
    for (qsizetype k = 0; k < 4 * 3; ++k) {
        QJsonObject own = entries[27 * 3 + k].toObject();
        QJsonObject builtIn = entries[static_cast<qsizetype>(kBuiltIn[k / 3]) * 3 + k % 3].toObject();
        EXPECT_EQ(own.take("packing").toString(), "Own " + builtIn.take("packing").toString());
        EXPECT_EQ(own, builtIn) << k;
    }
    // Without the option the command line has the built-in rows only.
    Calc({}, status);
    EXPECT_EQ(PackingCatalogue().size(), kBuiltInPackings);
}

TEST(UserPackings, ABrokenCatalogueExitsTwoWithItsFaultsAndChangesNothing)
{
    QTemporaryDir dir;
    const std::string good = Write(dir, "good.csv", UserCatalogueText(Copies("Own ")));
    const std::string head = UserCatalogueText({});
    const struct {
        const char* file;
        std::string text;
        std::vector<std::string> faults;
    } broken[] = {
        {"range.csv",
         head + "1,A,250,1.5,1.0,12.7,25.4,17.8,45,15.8,2.464,20,\n2,B,250,0.9,1.0,12.7,25.4,17.8,0,15.8,2."
                "464,20,\n",
         {"range.csv:2:4: ", "range.csv:3:9: "}},
        {"names.csv", head + "1,SW-1,643,0.92,0.56,4.5,9.0,6.4,45,5.7,1.992,27,\n", {"names.csv:2:2: "}},
        {"heading.csv", "No,Name\n", {"heading.csv:1:1: ", "heading.csv:1:13: "}},
    };
    for (const auto& b : broken) {
        const std::string path = Write(dir, b.file, b.text);
        int status = -1;
        std::string err;
        EXPECT_EQ(Calc({"--packings", path}, status, &err), "");
        EXPECT_EQ(status, 2) << b.file;
        for (const std::string& fault : b.faults)
            EXPECT_NE(err.find(fault), std::string::npos) << err;

        ASSERT_TRUE(LoadUserCatalogueFile(good).empty());
        const std::vector<CatalogueRow> before = UserPackings();
        EXPECT_FALSE(LoadUserCatalogueFile(path).empty());
        EXPECT_EQ(UserPackings(), before) << b.file;
    }
    SetUserPackings({});
}

TEST(UserPackings, AProjectKeepsItsUserPackingAndComputesTheSameWithoutTheCatalogue)
{
    QTemporaryDir dir;
    const std::string file = Write(dir, "own.csv", UserCatalogueText(Copies("Own ")));
    // Another machine: other user rows before it, and one of the same name with other numbers.
    std::vector<CatalogueRow> other = Copies("Zeta ");
    other.push_back(Copies("Own ")[1]);
    other.back()[ColArea] = "300";
    const std::string otherFile = Write(dir, "other.csv", UserCatalogueText(other));
    const std::string project = dir.filePath("p.vel").toStdString();
    int status = -1;
    const std::string want =
        Calc({"--packings", file, "--packing", "Own Mellapakr-250Y", "--save", project}, status);
    ASSERT_EQ(status, 0);
    const std::string plain = ProjectPlainText(ReadProjectFileBytes(project));
    const auto record = plain.find(std::string(kUserPackingRecord) + "\r\n");
    ASSERT_NE(record, std::string::npos);
    EXPECT_LT(record, plain.find("\r\nPTD\r\n")); // read before the selector
    std::string err;
    EXPECT_EQ(Calc({"--project", project}, status, &err), want) << err;
    EXPECT_EQ(status, 0);
    const std::string there = Calc({"--packings", otherFile, "--project", project}, status, &err);
    EXPECT_EQ(status, 0);
    auto fields = [](const std::string& json) {
        return QJsonDocument::fromJson(QByteArray::fromStdString(json)).object().value("fields");
    };
    EXPECT_EQ(fields(there), fields(want));
    EXPECT_NE(err.find("Own Mellapakr-250Y"), std::string::npos) << err; // the warning names the packing
    SetUserPackings({});
}

TEST(UserPackings, AProjectWithoutAUserPackingIsWrittenAsBefore)
{
    const char* examples[] = {"examples/atmospheric.vel", "examples/high-pressure-plain.vel",
                              "examples/vacuum.vel"};
    for (const char* example : examples) {
        RecordingSink quiet;
        ScopedMessageSink scope(&quiet);
        const std::string plain =
            ProjectPlainText(ReadProjectFileBytes(std::string(VELK_SOURCE_DIR) + "/" + example));
        CalcPage page(false);
        ASSERT_TRUE(ApplyFormRecords(page, plain));
        const std::string before = FormRecordsText(page);
        SetUserPackings(Copies("Own "));
        RefreshPackingItems(*page.Combo("PTD"));
        const std::string after = FormRecordsText(page);
        SetUserPackings({});
        // Only the time of writing (the third line) may differ.
        auto dateless = [](std::string t) {
            const auto a = t.find("\r\n", t.find("\r\n") + 2) + 2;
            return t.erase(a, t.find("\r\n", a) - a);
        };
        EXPECT_EQ(dateless(after), dateless(before)) << example;
        EXPECT_EQ(dateless(after), dateless(plain)) << example;
    }
}
