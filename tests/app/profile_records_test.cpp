// The column profile in the project file: saved and opened again through
// the File commands, skipped by a reader that knows no profile, and absent
// (byte for byte) from a project without one.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "CalcPage.h"
#include "Messages.h"
#include "ProfileRecords.h"
#include "ProjectCommands.h"
#include "SaveFormData.h"
#include "SaveFormDataFile.h"

namespace
{

ColumnProfile SampleProfile()
{
    ColumnProfile p;
    p.source = "CSV 脱丁烷塔.csv T-100";
    p.rating = true;
    for (int n = 1; n <= 3; ++n) {
        ProfileStage s;
        s.number = n;
        s.V = 3.0 + n / 3.0; // not a short decimal: the text must hold every bit
        s.rhoV = 2.5;
        s.muV = 1e-5;
        s.L = 2.5;
        s.rhoL = 800.25;
        s.muL = 0.0003;
        if (n != 2) s.sigma = 0.02; // the middle stage takes it from the page
        if (n == 3) s.slope = -0.5;
        p.stages.push_back(s);
    }
    p.beds = {{1, 1, "Flexipac-1", 0, false, 1.4}, {2, 3, "Mellapak-350Y", 2, true, 1.6}};
    return p;
}

} // namespace

TEST(ProfileRecords, AProjectRoundTripKeepsTheProfileAndOlderReadersSkipIt)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    QTemporaryDir dir;
    const std::string path = dir.filePath("p.vel").toStdString();
    CalcPage page(false);
    page.Field("LD")->SetText("2.5");
    ProjectContext ctx(page);
    ColumnProfile held = SampleProfile(), opened;
    ctx.ExtraRecords = [&] { return ProfileRecordsText(held); };
    ctx.ReadExtra = [&](const std::string& plain, std::size_t* line) -> std::function<void()> {
        ColumnProfile read = ProfileFromFormRecords(plain, line);
        return [&opened, read] { opened = read; };
    };
    ctx.AskSaveFileName = [&](const std::string&, const std::string&) { return path; };
    ASSERT_TRUE(SaveProjectCommand(ctx, true));

    ctx.StartupFileName = path;
    ASSERT_TRUE(OpenProjectCommand(ctx));
    EXPECT_EQ(opened.source, held.source);
    EXPECT_TRUE(opened.rating);
    ASSERT_EQ(opened.stages.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        for (const ProfileValue& v : kProfileValues)
            EXPECT_EQ(opened.stages[i].*v.member, held.stages[i].*v.member) << i << v.field;
    ASSERT_EQ(opened.beds.size(), 2u);
    EXPECT_EQ(opened.beds[1].packing, "Mellapak-350Y");
    EXPECT_EQ(opened.beds[1].method, 2);
    EXPECT_TRUE(opened.beds[1].lagrange);
    EXPECT_EQ(opened.beds[1].diameter, 1.6);

    // A reader that knows no profile gets the page it would get without one.
    const std::string plain = ProjectPlainText(ReadProjectFileBytes(path));
    CalcPage older(false), plainPage(false);
    ASSERT_TRUE(ApplyFormRecords(older, plain));
    ASSERT_TRUE(ApplyFormRecords(plainPage, FormRecordsText(page)));
    for (std::size_t i = 0; i < older.ValueFields().size(); ++i)
        EXPECT_EQ(older.ValueFields()[i]->Text(), plainPage.ValueFields()[i]->Text());
    EXPECT_TRUE(sink.messages.empty());

    // Without a profile nothing is added.
    EXPECT_EQ(ProfileRecordsText(ColumnProfile{}), "");
    EXPECT_TRUE(ProfileFromFormRecords(FormRecordsText(page)).Empty());
}

TEST(ProfileRecords, ADamagedProfileRecordIsRefused)
{
    CalcPage page(false);
    const std::string good = FormRecordsText(page) + ProfileRecordsText(SampleProfile());
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"1;3.33333", "1;x.33333"}, {"2;3;2;1;1.6;", "3;2;2;1;1.6;"}}) {
        std::string bad = good;
        const auto at = bad.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        bad.replace(at, from.size(), to);
        EXPECT_THROW(ProfileFromFormRecords(bad), EConvertError) << to;
    }
}
