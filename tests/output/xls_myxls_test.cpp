// TMyXls over the automation layer: the version probe and its extensions, a
// missing spreadsheet program, attaching to a running instance, sheet
// selection and closing the workbook on every path.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "AutoRegistry.h"
#include "MyXls.h"
#include "SpreadsheetApplication.h"

namespace
{

const std::string kTemplate = VELK_BINARY_DIR "/bin/VELK2016-07-15.xltx";

// A spreadsheet program that only answers Application and Version.
class OldSpreadsheet : public AutoDispatch
{
public:
    explicit OldSpreadsheet(std::string version)
    {
        AddProperty("Application", [this](AutoArgs&) { return AutoVariant(shared_from_this()); });
        AddProperty("Version", [version](AutoArgs&) { return AutoVariant(version); });
        AddProperty(
            "Displayalerts", [](AutoArgs&) { return AutoVariant(true); },
            [](AutoArgs&, const AutoVariant&) {});
    }
};

class MyXlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterSpreadsheetComponent();
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override
    {
        auto& reg = AutoRegistry::Instance();
        reg.RevokeActiveObject(SpreadsheetApplication::kProgId);
        reg.UnregisterClass(SpreadsheetApplication::kProgId);
        RegisterSpreadsheetComponent();
        MyXlsInitialization(); // the real probe again for the other tests
    }
    void UseServer(const std::string& version)
    {
        AutoRegistry::Instance().RegisterClass(
            SpreadsheetApplication::kProgId, [version] { return std::make_shared<OldSpreadsheet>(version); });
    }
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    QTemporaryDir dir;
};

} // namespace

TEST_F(MyXlsTest, VersionProbeChoosesTheExtensions)
{
    MyXlsFinalization();
    EXPECT_EQ(XlsDocumentExtension, "");
    MyXlsInitialization();
    EXPECT_EQ(XlsVersion, 16);
    EXPECT_EQ(XlsDocumentExtension, ".xlsx");
    EXPECT_EQ(XlsTemplateExtension, ".xltx");

    const std::pair<const char*, const char*> cases[] = {{"11.0", ".xls"}, {"12.0", ".xlsx"}, {"9", ".xls"}};
    for (const auto& [version, ext] : cases) {
        UseServer(version);
        TMyXls probe("", TMyXls::ModeVersionProbe, "");
        EXPECT_EQ(probe.DocumentExtension, ext) << version;
        EXPECT_EQ(XlsDocumentExtension, ext) << version;
        EXPECT_EQ(XlsTemplateExtension, std::string(ext) == ".xls" ? ".xlt" : ".xltx") << version;
        EXPECT_TRUE(probe.Workbook.IsEmpty());
        EXPECT_TRUE(probe.Sheet.IsEmpty());
    }
    MyXlsFinalization();
    EXPECT_EQ(XlsDocumentExtension, "");
    EXPECT_EQ(XlsTemplateExtension, "");
}

TEST_F(MyXlsTest, NoSpreadsheetProgramShowsTheMessageAndAbortsSilently)
{
    AutoRegistry::Instance().UnregisterClass(SpreadsheetApplication::kProgId);
    EXPECT_THROW(TMyXls("", TMyXls::ModeNewReport, "x.xlsx"), EAbort);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Excel异常!");

    // At start-up the probe ends the same way and leaves the extensions empty.
    sink.messages.clear();
    MyXlsFinalization();
    AutoRegistry::Instance().RegisterClass(SpreadsheetApplication::kProgId, [] { return AutoObjectPtr(); });
    MyXlsInitialization(); // registers nothing new: the identifier is taken
    EXPECT_EQ(XlsDocumentExtension, "");
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Excel异常!");
}

TEST_F(MyXlsTest, RunningInstanceIsUsedAndStaysOpen)
{
    auto running = SpreadsheetApplication::Create();
    std::weak_ptr<SpreadsheetApplication> alive = running;
    AutoRegistry::Instance().RegisterActiveObject(SpreadsheetApplication::kProgId, running);
    running.reset();
    const std::string path = dir.filePath("attached.xlsx").toStdString();
    {
        TMyXls xls(kTemplate, TMyXls::ModeNewReport, path);
        ASSERT_FALSE(alive.expired());
        EXPECT_EQ(alive.lock()->OpenWorkbooks().size(), 1u); // in that instance
        EXPECT_EQ(xls.TemplateName, kTemplate);
        EXPECT_EQ(xls.FileName, path);
        xls.Sheet.Put("Cells", {2, 3}, "x");
        xls.SaveWorkbook();
        EXPECT_TRUE(alive.lock()->DisplayAlerts()); // back on after saving
    }
    ASSERT_FALSE(alive.expired()); // the running instance stays
    EXPECT_TRUE(alive.lock()->OpenWorkbooks().empty());

    // Opening the saved file; the constructor closes what it opened when a
    // later step fails.
    {
        TMyXls xls("", TMyXls::ModeOpenFile, path);
        EXPECT_EQ(xls.Sheet.Get("Cells", {2, 3}).Get("Value").ToString(), "x");
        EXPECT_THROW(xls.SelectSheet(2), EAutoError);
        xls.SelectSheet(1);
        EXPECT_EQ(xls.Sheet.Get("Name").ToString(), "计算报表");
    }
    EXPECT_TRUE(alive.lock()->OpenWorkbooks().empty());
    EXPECT_THROW(TMyXls("", TMyXls::ModeOpenFile, dir.filePath("missing.xlsx").toStdString()), EAutoError);
    EXPECT_THROW(TMyXls(dir.filePath("missing.xltx").toStdString(), TMyXls::ModeNewReport, path), EAutoError);
    EXPECT_TRUE(alive.lock()->OpenWorkbooks().empty());
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(MyXlsTest, StartedInstanceEndsWithTheWrapper)
{
    std::weak_ptr<AutoObject> app;
    {
        TMyXls xls(kTemplate, TMyXls::ModeNewReport, dir.filePath("own.xlsx").toStdString());
        app = xls.Application.ToObject();
        EXPECT_FALSE(app.expired());
    }
    EXPECT_TRUE(app.expired());
}
