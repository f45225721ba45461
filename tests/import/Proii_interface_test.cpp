// PRO/II access through the database server stand-in: server discovery in
// the registry, creating the server, opening a file, the column list, the
// column summary, the tray properties, list lookups and the argument types
// of every automation call.
#include <gtest/gtest.h>

#include <cfenv>

#include "AutoRegistry.h"
#include "ImportTestSupport.h"
#include "Messages.h"
#include "PROIIInterface.h"
#include "ProiiServer.h"
#include "Registry.h"

namespace
{

constexpr const char* kTestVersion = "T1";

class ProiiInterface : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        savedRegistry = RegistryFiles();
        log = std::make_shared<CallLog>();
        AutoRegistry::Instance().RegisterClass(std::string(kProiiProgIdPrefix) + kTestVersion, [this] {
            ++serversCreated;
            return AutoObjectPtr(
                std::make_shared<RecordingObject>(std::make_shared<ProiiDatabaseServer>(), log));
        });
        ProiiServerVersion = kTestVersion;
    }
    void TearDown() override
    {
        ReleaseProii();
        ProiiColumnData.clear();
        AutoRegistry::Instance().UnregisterClass(std::string(kProiiProgIdPrefix) + kTestVersion);
        SetRegistryFiles(savedRegistry);
    }

    // Connects and opens a file of the given columns.
    void Open(const std::vector<SimColumn>& columns, int status = 0)
    {
        ASSERT_TRUE(ConnectProii());
        OpenProiiFile(WriteSimulation(dir, "case.prz", columns, status));
        ASSERT_TRUE(ProiiDatabase.IsObject());
    }

    // Calls made on the database object, in order.
    std::vector<const RecordedCall*> DatabaseCalls() const
    {
        std::vector<const RecordedCall*> out;
        for (const RecordedCall& c : log->calls)
            if (c.object == "Database") out.push_back(&c);
        return out;
    }

    void UseRegistry(const std::string& text) { SetRegistryFiles({WriteText(dir, "registry.reg", text)}); }

    QTemporaryDir dir;
    std::vector<std::string> savedRegistry;
    std::shared_ptr<CallLog> log;
    int serversCreated = 0;
    RecordingSink sink;
    ScopedMessageSink scopedSink{&sink};
};

SimTray WaterTray(int n)
{
    SimTray t = TestTray(n);
    t.temperature = 373.15;
    t.pressure = 101.325;
    t.liquid = {10, 18, 958.4, 0.000282, 0.0589, 0.679};
    t.vapour = {2.5, 18, 0.5976, 9.5e-6, std::nullopt, 0.0248};
    return t;
}

} // namespace

TEST_F(ProiiInterface, ServerVersionIsTheFirstRegisteredProgIdInRegistryOrder)
{
    // Listed out of order in the file; the registry enumerates {0..} first.
    UseRegistry(RegistryWithProgIds(
        {{"{F0}", "SimSciDbs.Database.8"}, {"{A0}", "Excel.Application"}, {"{0B}", "SimSciDbs.Database.7"}}));
    EXPECT_EQ(FindProiiServerVersion(), "7");
}

TEST_F(ProiiInterface, ServerVersionKeepsAtMostFourCharacters)
{
    UseRegistry(RegistryWithProgIds({{"{1}", "SimSciDbs.Database.92abc"}}));
    EXPECT_EQ(FindProiiServerVersion(), "92ab");
    UseRegistry(RegistryWithProgIds({{"{1}", "SimSciDbs.Database."}}));
    EXPECT_EQ(FindProiiServerVersion(), "");
}

TEST_F(ProiiInterface, ServerVersionSkipsEntriesThatNameNoServer)
{
    UseRegistry("Windows Registry Editor Version 5.00\r\n"
                "[HKEY_CLASSES_ROOT\\CLSID\\{1}]\r\n@=\"no ProgID key\"\r\n"
                "[HKEY_CLASSES_ROOT\\CLSID\\{2}\\ProgID]\r\n@=dword:00000005\r\n"
                "[HKEY_CLASSES_ROOT\\CLSID\\{3}\\ProgID]\r\n\"NotDefault\"=\"SimSciDbs.Database.1\"\r\n"
                "[HKEY_CLASSES_ROOT\\CLSID\\{4}\\ProgID]\r\n@=\"SimSciDbs.Database.42\"\r\n");
    EXPECT_EQ(FindProiiServerVersion(), "42");
    UseRegistry(RegistryWithProgIds({{"{1}", "Excel.Application"}, {"{2}", "XSimSciDbs.Database.1"}}));
    EXPECT_EQ(FindProiiServerVersion(), "");
    SetRegistryFiles({});
    EXPECT_EQ(FindProiiServerVersion(), "");
}

TEST_F(ProiiInterface, InstalledRegistryFileNamesThisProgramsServer)
{
    SetRegistryFiles({std::string(VELK_BINARY_DIR) + "/bin/velk-registry.reg"});
    InitProiiInterface();
    EXPECT_EQ(ProiiServerVersion, ProiiDatabaseServer::kVersion);
    EXPECT_TRUE(ConnectProii());
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ProiiInterface, NoServerRegisteredShowsTheErrorOnConnect)
{
    UseRegistry(RegistryWithProgIds({{"{1}", "Excel.Application"}}));
    ProiiServerVersion = FindProiiServerVersion();
    EXPECT_FALSE(ConnectProii());
    EXPECT_FALSE(ProiiServerReady);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "PROII错误！");
    // Nothing to open with: the database stays empty and nothing is shown.
    OpenProiiFile("/nonexistent.prz");
    EXPECT_TRUE(ProiiDatabase.IsEmpty());
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST_F(ProiiInterface, ConnectInitialisesAndAsksForDoublePrecision)
{
    ASSERT_TRUE(ConnectProii());
    EXPECT_TRUE(ProiiServerReady);
    ASSERT_EQ(log->Members(), (std::vector<std::string>{"Initialize", "SetOption"}));
    const RecordedCall& opt = log->calls[1];
    EXPECT_EQ(opt.types, (std::vector<AutoType>{AutoType::String, AutoType::String}));
    EXPECT_EQ(opt.values[0].ToString(), "DoublePrecision");
    EXPECT_EQ(opt.values[1].ToString(), "1");
    EXPECT_EQ(opt.byRef, (std::vector<bool>{false, false}));

    // A second connect resets the old server before making a new one.
    ASSERT_TRUE(ConnectProii());
    EXPECT_EQ(serversCreated, 2);
    EXPECT_EQ(log->Members(),
              (std::vector<std::string>{"Initialize", "SetOption", "Initialize", "Initialize", "SetOption"}));
}

TEST_F(ProiiInterface, FailingServerCallsMakeConnectFail)
{
    log->failWhen = [](const RecordedCall& c) { return c.member == "SetOption"; };
    EXPECT_FALSE(ConnectProii());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "PROII错误！");

    // An old server that fails to reset is let go, so the next try succeeds.
    log->failWhen = [](const RecordedCall& c) { return c.member == "Initialize"; };
    EXPECT_FALSE(ConnectProii());
    log->failWhen = nullptr;
    EXPECT_TRUE(ConnectProii());
    EXPECT_EQ(sink.messages.size(), 2u);
}

TEST_F(ProiiInterface, OpeningPassesThePathByReferenceAndWarnsOnStatus)
{
    ASSERT_TRUE(ConnectProii());
    const std::string path = WriteSimulation(dir, "warn.prz", {TestColumn("T-100", 5)}, 3);
    OpenProiiFile(path);
    const auto open = log->Named("OpenDatabase");
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0]->types, std::vector<AutoType>{AutoType::String});
    EXPECT_EQ(open[0]->byRef, std::vector<bool>{true});
    EXPECT_EQ(open[0]->values[0].ToString(), path);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "模拟文件包含错误/警告信息！");
    // The database stays open and is used.
    TStringList columns;
    GetProiiColumns(ProiiDatabase, columns);
    EXPECT_EQ(columns, TStringList{"T-100"});

    OpenProiiFile(WriteSimulation(dir, "clean.prz", {TestColumn("T-100", 5)}, 0));
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST_F(ProiiInterface, OpeningSomethingElseFailsWithTheServersText)
{
    ASSERT_TRUE(ConnectProii());
    const std::string path = WriteText(dir, "notes.prz", "not a simulation");
    try {
        OpenProiiFile(path);
        FAIL() << "opened a text file";
    } catch (const EAutoError& e) {
        EXPECT_NE(std::string(e.what()).find("notes.prz"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(ProiiDatabase.IsEmpty());
}

TEST_F(ProiiInterface, ColumnsAreListedInTheServersOrder)
{
    Open({TestColumn("T-200", 4), TestColumn("T-100", 6), TestColumn("ABS", 3)});
    TStringList list = {"old"};
    GetProiiColumns(ProiiDatabase, list);
    EXPECT_EQ(list, (TStringList{"T-200", "T-100", "ABS"}));
    const auto names = log->Named("GetObjectNames");
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[2]->types, (std::vector<AutoType>{AutoType::String, AutoType::Integer}));
    EXPECT_EQ(names[2]->values[1].ToInt(), 2);
    EXPECT_EQ(log->Named("GetObjectCount")[0]->values[0].ToString(), "Column");

    TStringList kept = {"kept"};
    GetProiiColumns(AutoVariant(), kept);
    EXPECT_EQ(kept, TStringList{"kept"});
}

TEST_F(ProiiInterface, SummaryOfAColumnWithoutHeatersOrFeedsHasTwoLines)
{
    Open({TestColumn("T-100", 12)});
    TStringList list = {"stale"};
    GetProiiColumnData(ProiiDatabase, "T-100", list);
    EXPECT_EQ(list, (TStringList{"NumberOfTrays=12", "RefluxRatio=2.5"}));
}

TEST_F(ProiiInterface, SummaryListsHeatersThenFeedsInOrder)
{
    Open({TestColumn("T-100", 20, {8, 14}, {{"COND", -1.25}, {"REB", 1.5}})});
    GetProiiColumnData(ProiiDatabase, "T-100", ProiiColumnData);
    EXPECT_EQ(ProiiColumnData, (TStringList{"NumberOfTrays=20", "RefluxRatio=2.5", "COND=-1.25", "REB=1.5",
                                            "FeedT0=8", "FeedT1=14"}));

    // The column name travels as a wide string by reference.
    const auto unit = log->Named("CalculateUnitProps");
    ASSERT_EQ(unit.size(), 1u);
    EXPECT_EQ(unit[0]->types, std::vector<AutoType>{AutoType::WideString});
    EXPECT_EQ(unit[0]->byRef, std::vector<bool>{true});
    const auto activate = log->Named("ActivateObject");
    ASSERT_EQ(activate.size(), 2u);
    EXPECT_EQ(activate[0]->values[0].ToString(), "Column");
    EXPECT_EQ(activate[1]->values[0].ToString(), "ColumnIn");
    for (const RecordedCall* c : activate) {
        EXPECT_EQ(c->types, (std::vector<AutoType>{AutoType::String, AutoType::WideString}));
        EXPECT_EQ(c->byRef, (std::vector<bool>{false, true}));
        EXPECT_EQ(c->values[1].ToString(), "T-100");
    }
    const auto attrs = log->Named("GetAttribute");
    ASSERT_FALSE(attrs.empty());
    EXPECT_EQ(attrs[0]->types, std::vector<AutoType>{AutoType::String});
    bool sawIndexed = false;
    for (const RecordedCall* c : attrs)
        if (c->values[0].ToString() == "FeedTrays") {
            EXPECT_EQ(c->types, (std::vector<AutoType>{AutoType::String, AutoType::Integer}));
            sawIndexed = true;
        }
    EXPECT_TRUE(sawIndexed);
}

TEST_F(ProiiInterface, SummaryFailureKeepsTheLinesReadSoFar)
{
    Open({TestColumn("T-100", 20, {8}, {{"COND", -1.25}, {"REB", 1.5}})});
    log->failWhen = [](const RecordedCall& c) {
        return c.member == "GetAttribute" && c.values[0].ToString() == "CurrentFeeds";
    };
    TStringList list;
    EXPECT_THROW(GetProiiColumnData(ProiiDatabase, "T-100", list), EAutoError);
    EXPECT_EQ(list, (TStringList{"NumberOfTrays=20", "RefluxRatio=2.5", "COND=-1.25", "REB=1.5"}));

    TStringList untouched = {"x"};
    GetProiiColumnData(AutoVariant(), "T-100", untouched);
    EXPECT_EQ(untouched, TStringList{"x"});
}

TEST_F(ProiiInterface, TrayReadWritesSeventeenLinesInOrder)
{
    SimColumn c = TestColumn("T-100", 5);
    c.trays[2] = WaterTray(3);
    Open({c});
    TStringList list = {"old line"};
    GetProiiTrayData(ProiiDatabase, "T-100", 3, list);
    const TStringList expected = {"============ALL==========================",
                                  "Temperature=100",
                                  "Pressure=101.325",
                                  "============Liquid=======================",
                                  "LiqDensityAct=958.4",
                                  "LiqViscosity=0.000282",
                                  "LiqSurfTension=0.0589",
                                  "LiqThermalCond=0.679",
                                  "LiqTotalMolarRate=10",
                                  "LiqTotalMassRate=180",
                                  "============Vapuid=======================",
                                  "VapDensityAct=0.5976",
                                  "VapViscosity=9.5E-6",
                                  "VapSurfTension=0",
                                  "VapThermalCond=0.0248",
                                  "VapTotalMolarRate=2.5",
                                  "VapTotalMassRate=45"};
    EXPECT_EQ(list, expected);
    for (const std::string& line : list) {
        if (line.rfind("====", 0) == 0) {
            EXPECT_EQ(line.size(), 41u) << line;
        }
    }
    // The temporary streams are gone afterwards.
    EXPECT_EQ(ProiiDatabase.Call("GetObjectCount", {"Stream"}).ToInt(), 0);
}

TEST_F(ProiiInterface, TrayReadCallsTheServerInTheDocumentedWay)
{
    Open({TestColumn("T-100", 5)});
    log->calls.clear();
    TStringList list;
    GetProiiTrayData(ProiiDatabase, "T-100", 4, list);

    std::vector<std::string> members;
    for (const RecordedCall* c : DatabaseCalls())
        members.push_back(c->member);
    EXPECT_EQ(members, (std::vector<std::string>{"CalculateUnitProps", "ActivateObject", "CreateObject",
                                                 "CopyTrayToStream", "CalculateStreamProps", "ActivateObject",
                                                 "ActivateObject", "DeleteObject", "CreateObject",
                                                 "CopyTrayToStream", "CalculateStreamProps", "ActivateObject",
                                                 "ActivateObject", "DeleteObject"}));

    const auto copies = log->Named("CopyTrayToStream");
    ASSERT_EQ(copies.size(), 2u);
    const std::vector<AutoType> types = {AutoType::WideString, AutoType::Integer, AutoType::Integer,
                                         AutoType::Integer,    AutoType::Integer, AutoType::String};
    const std::vector<bool> byRef = {true, true, false, false, false, false};
    for (int half = 0; half < 2; ++half) {
        const RecordedCall& c = *copies[static_cast<std::size_t>(half)];
        EXPECT_EQ(c.types, types);
        EXPECT_EQ(c.byRef, byRef);
        EXPECT_EQ(c.values[1].ToInt(), 4);
        EXPECT_EQ(c.values[2].ToInt(), half == 0 ? 2 : 1); // liquid first, then vapour
        EXPECT_EQ(c.values[3].ToInt(), 0);
        EXPECT_EQ(c.values[4].ToInt(), 2);
        EXPECT_EQ(c.values[5].ToString(), half == 0 ? "TmpStream" : "TmpStream1");
    }
    const auto creates = log->Named("CreateObject");
    ASSERT_EQ(creates.size(), 2u);
    EXPECT_EQ(creates[0]->types, (std::vector<AutoType>{AutoType::String, AutoType::String}));
    EXPECT_EQ(creates[1]->values[1].ToString(), "TmpStream1");
    // Stream and bulk-property objects of each half.
    const auto activate = log->Named("ActivateObject");
    ASSERT_EQ(activate.size(), 5u);
    EXPECT_EQ(activate[1]->values[0].ToString(), "Stream");
    EXPECT_EQ(activate[2]->values[0].ToString(), "SrBulkProp");
    EXPECT_EQ(activate[4]->values[1].ToString(), "TmpStream1");
}

TEST_F(ProiiInterface, TrayReadFailureKeepsTheLinesReadSoFar)
{
    Open({TestColumn("T-100", 5)});
    log->failWhen = [](const RecordedCall& c) {
        return c.member == "CreateObject" && c.values[1].ToString() == "TmpStream1";
    };
    TStringList list = {"old"};
    EXPECT_THROW(GetProiiTrayData(ProiiDatabase, "T-100", 2, list), EAutoError);
    ASSERT_EQ(list.size(), 11u);
    EXPECT_EQ(list.back(), "============Vapuid=======================");
    EXPECT_EQ(list[4], "LiqDensityAct=502");

    // A tray the column does not have: the list was already cleared.
    log->failWhen = nullptr;
    try {
        GetProiiTrayData(ProiiDatabase, "T-100", 9, list);
        FAIL() << "tray 9 of 5 was read";
    } catch (const EAutoError& e) {
        EXPECT_NE(std::string(e.what()).find("tray 9"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(list.empty());
}

TEST_F(ProiiInterface, ReadAfterAFailedReadStillWorks)
{
    Open({TestColumn("T-100", 5)});
    int failures = 1;
    log->failWhen = [&failures](const RecordedCall& c) {
        return c.member == "CalculateStreamProps" && failures-- > 0;
    };
    TStringList list;
    EXPECT_THROW(GetProiiTrayData(ProiiDatabase, "T-100", 2, list), EAutoError);
    // The stream "TmpStream" was left behind; a new read replaces it.
    GetProiiTrayData(ProiiDatabase, "T-100", 2, list);
    EXPECT_EQ(list.size(), 17u);
}

// On a real display the platform's event handling, which runs while a reply
// is awaited, leaves floating-point flags set; the values are still read,
// while an operation that really overflows still fails the read.
TEST_F(ProiiInterface, FlagsLeftByOtherCodeDoNotFailATrayButAnOverflowDoes)
{
    SimColumn c = TestColumn("T-100", 3);
    c.trays[1] = WaterTray(2);
    c.trays[2].vapour.molarRate = 1e307; // times a molecular weight of 43: beyond 1.8e308
    Open({c});
    const int all = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
    std::feraiseexcept(all);
    log->failWhen = [all](const RecordedCall&) {
        std::feraiseexcept(all);
        return false;
    };
    TStringList list;
    GetProiiTrayData(ProiiDatabase, "T-100", 2, list);
    ASSERT_EQ(list.size(), 17u);
    EXPECT_EQ(list[1], "Temperature=100");  // 373.15 K
    EXPECT_EQ(list[9], "LiqTotalMassRate=180"); // 10 kmol/s of 18 kg/kmol

    list.clear();
    try {
        GetProiiTrayData(ProiiDatabase, "T-100", 3, list);
        ADD_FAILURE() << "an overflow was taken";
    } catch (const EMathError& e) {
        EXPECT_STREQ(e.what(), "Floating point overflow");
    }
    std::feclearexcept(all);
}

TEST_F(ProiiInterface, EmptyDatabaseReadsNothing)
{
    TStringList list = {"a", "b"};
    GetProiiTrayData(AutoVariant(), "T-100", 3, list);
    EXPECT_EQ(list, (TStringList{"a", "b"}));
}

TEST(ProiiListValue, LooksUpTheFirstLineByKeyWithoutRegardToCase)
{
    const TStringList list = {"============ALL===", "NumberOfTrays=20", "refluxratio=1.5", "RefluxRatio=9",
                              "Spaced= 4.25 ",      "Bad=12abc",        "Exp=1.5E-6"};
    EXPECT_EQ(GetListValue(list, "numberoftrays"), 20.0);
    EXPECT_EQ(GetListValue(list, "RefluxRatio"), 1.5);
    EXPECT_EQ(GetListValue(list, "Spaced"), 4.25);
    EXPECT_EQ(GetListValue(list, "Exp"), 1.5e-6);
    try {
        GetListValue(list, "FeedT0");
        FAIL() << "a missing key converted";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid floating point value");
    }
    EXPECT_THROW(GetListValue(list, "Bad"), EConvertError);
}

TEST_F(ProiiInterface, ServerAnswersInSinglePrecisionUnlessAskedForDouble)
{
    SimColumn c = TestColumn("T-100", 3);
    c.refluxRatio = 0.1;
    const std::string path = WriteSimulation(dir, "p.prz", {c});
    for (const char* option : {"0", "1"}) {
        AutoVariant server(CreateOleObject(std::string(kProiiProgIdPrefix) + kTestVersion));
        server.Call("Initialize");
        server.Call("SetOption", {"DoublePrecision", option});
        AutoVariant db = server.Call("OpenDatabase", {path});
        db.Call("CalculateUnitProps", {"T-100"});
        const double r =
            db.Call("ActivateObject", {"Column", "t-100"}).Call("GetAttribute", {"RefluxRatio"}).ToDouble();
        EXPECT_EQ(r, option[0] == '1' ? 0.1 : static_cast<double>(0.1f));
    }
}

TEST_F(ProiiInterface, ServerRefusesWhatItDoesNotKnowWithClearErrors)
{
    const std::string path = WriteSimulation(dir, "p.prz", {TestColumn("T-100", 3)});
    AutoVariant server(std::make_shared<ProiiDatabaseServer>());
    auto errorOf = [](const std::function<void()>& f) -> std::string {
        try {
            f();
        } catch (const EAutoError& e) {
            return e.what();
        }
        return "(no error)";
    };
    EXPECT_NE(errorOf([&] { server.Call("OpenDatabase", {path}); }).find("Initialize"), std::string::npos);
    server.Call("Initialize");
    EXPECT_NE(errorOf([&] { server.Call("Frobnicate"); }).find("Frobnicate"), std::string::npos);
    EXPECT_NE(errorOf([&] { server.Call("SetOption", {"Colour", "1"}); }).find("Colour"), std::string::npos);
    AutoVariant db = server.Call("OpenDatabase", {path});
    EXPECT_NE(errorOf([&] {
                  db.Call("ActivateObject", {"Column", "T-100"});
              }).find("CalculateUnitProps"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { db.Call("CalculateUnitProps", {"T-999"}); }).find("T-999"), std::string::npos);
    db.Call("CreateObject", {"Stream", "S"});
    EXPECT_NE(errorOf([&] {
                  db.Call("ActivateObject", {"SrBulkProp", "S"}).Call("GetAttribute", {"LiqViscosity"});
              }).find("CalculateStreamProps"),
              std::string::npos);
    db.Call("CopyTrayToStream", {"T-100", 1, 1, 0, 2, "S"});
    db.Call("CalculateStreamProps", {"S"});
    AutoVariant bulk = db.Call("ActivateObject", {"SrBulkProp", "S"});
    EXPECT_EQ(bulk.Call("GetAttribute", {"VapDensityAct"}).ToDouble(), static_cast<double>(21.0f));
    EXPECT_NE(errorOf([&] { bulk.Call("GetAttribute", {"LiqDensityAct"}); }).find("no liquid"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { bulk.Call("GetAttribute", {"Colour"}); }).find("Colour"), std::string::npos);
    EXPECT_NE(errorOf([&] {
                  db.Call("CopyTrayToStream", {"T-100", 1, 3, 0, 2, "S"});
              }).find("phase 3"),
              std::string::npos);
    EXPECT_NE(errorOf([&] { db.Call("CopyTrayToStream", {"T-100", 1, 1, 1, 2, "S"}); }), "(no error)");
}
