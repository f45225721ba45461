// Simulation database files: writing and reading them back, the CSV tray
// profile an engineer brings from another simulator, and the velk-simdb tool.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include <sqlite3.h>

#include <cstdio>

#include "ImportTestSupport.h"
#include "Messages.h"
#include "ProiiServerProfile.h"

namespace
{

constexpr const char* kHeader =
    "column,tray,temperature,pressure,liq_molar_rate,liq_mw,liq_density,liq_viscosity,liq_surface_tension,"
    "vap_molar_rate,vap_mw,vap_density,vap_viscosity\n";

std::string Row(const std::string& column, int tray)
{
    const std::string n = std::to_string(tray);
    return column + "," + n + ",3" + n + "0,100" + n + ",0.1,58,5" + n + "0,0.0001,0.006,0.2,56,2" + n +
           ",0.00001\n";
}

std::string ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EVelkError& e) {
        return e.what();
    }
    return "(no error)";
}

struct ToolRun {
    int exitCode;
    QString out;
    QString err;
};

ToolRun Simdb(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(VELK_SIMDB_EXE), args);
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Every stored item in a form that compares exactly (17 significant digits).
std::string Describe(const SimulationData& d)
{
    std::string out = d.title;
    out.append("|").append(std::to_string(d.status)).append("\n");
    char buf[64];
    auto num = [&](double v) {
        std::snprintf(buf, sizeof buf, "%.17g,", v);
        out += buf;
    };
    auto opt = [&](const std::optional<double>& v) { v ? num(*v) : void(out += "-,"); };
    for (const SimColumn& c : d.columns) {
        out.append(c.name).append(":").append(std::to_string(c.numberOfTrays)).append(",");
        num(c.refluxRatio);
        for (const SimHeater& h : c.heaters) {
            out.append(h.name).append("=");
            num(h.duty);
        }
        for (const SimFeed& f : c.feeds)
            out.append(f.stream).append("@").append(std::to_string(f.tray)).append(",");
        for (const SimTray& t : c.trays) {
            out.append("\n").append(std::to_string(t.number)).append(":");
            num(t.temperature);
            num(t.pressure);
            for (const SimPhase* p : {&t.liquid, &t.vapour}) {
                for (double v : {p->molarRate, p->molecularWeight, p->density, p->viscosity})
                    num(v);
                opt(p->surfaceTension);
                opt(p->thermalConductivity);
            }
        }
        out += "\n";
    }
    return out;
}

void ExpectSameData(const SimulationData& a, const SimulationData& b)
{
    EXPECT_EQ(Describe(a), Describe(b));
}

} // namespace

TEST(ProiiFile, WritesAndReadsBackEverything)
{
    QTemporaryDir dir;
    SimulationData d;
    d.title = "Stabiliser, run 7";
    d.status = 2;
    d.columns = {TestColumn("T-100", 20, {8, 14}, {{"COND", -1.25}, {"REB", 1.5}}),
                 TestColumn("ABS", 3, {1, 3})};
    d.columns[0].trays[4].vapour.surfaceTension = 0.0;
    d.columns[0].trays[5].liquid.thermalConductivity.reset();
    const std::string path = dir.filePath("a.prz").toStdString();
    WriteSimulationFile(path, d);
    ExpectSameData(ReadSimulationFile(path), d);
    // The partly written file is not left behind.
    EXPECT_FALSE(QFile::exists(dir.filePath("a.prz.part")));
}

TEST(ProiiFile, InconsistentDataIsRefusedBeforeWriting)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("bad.prz").toStdString();
    auto attempt = [&](const std::function<void(SimulationData&)>& spoil) {
        SimulationData d;
        d.columns = {TestColumn("T-100", 4, {2})};
        spoil(d);
        return ErrorOf([&] { WriteSimulationFile(path, d); });
    };
    EXPECT_NE(attempt([](SimulationData& d) { d.columns.push_back(TestColumn("t-100", 2)); }).find("twice"),
              std::string::npos);
    EXPECT_NE(attempt([](SimulationData& d) { d.columns[0].trays.pop_back(); }).find("data for 3"),
              std::string::npos);
    EXPECT_NE(attempt([](SimulationData& d) { d.columns[0].trays[1].number = 7; }).find("tray 2 is missing"),
              std::string::npos);
    EXPECT_NE(attempt([](SimulationData& d) { d.columns[0].feeds[0].tray = 5; }).find("outside 1 to 4"),
              std::string::npos);
    EXPECT_NE(attempt([](SimulationData& d) { d.columns[0].trays[0].liquid.density = -1; }).find("density"),
              std::string::npos);
    EXPECT_NE(attempt([](SimulationData& d) {
                  d.columns[0].trays[0].liquid.surfaceTension.reset();
              }).find("surface tension is missing"),
              std::string::npos);
    EXPECT_NE(
        attempt([](SimulationData& d) { d.columns[0].trays[2].pressure = std::nan(""); }).find("finite"),
        std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

TEST(ProiiFile, OtherFilesAreNotReadAsSimulations)
{
    QTemporaryDir dir;
    EXPECT_NE(
        ErrorOf([&] { ReadSimulationFile(dir.filePath("none.prz").toStdString()); }).find("no such file"),
        std::string::npos);
    const std::string text = WriteText(dir, "text.prz", std::string(4096, 'x'));
    EXPECT_NE(ErrorOf([&] { ReadSimulationFile(text); }), "(no error)");

    // An SQLite file of some other program.
    const std::string other = dir.filePath("other.prz").toStdString();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(other.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES (1);", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    EXPECT_NE(ErrorOf([&] { ReadSimulationFile(other); }).find("not a simulation database"),
              std::string::npos);
}

TEST(ProiiFile, DamagedContentsAreReportedNotTrusted)
{
    QTemporaryDir dir;
    const std::string path = WriteSimulation(dir, "d.prz", {TestColumn("T-100", 3, {2})});
    auto spoil = [&](const char* sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    };
    spoil("UPDATE trays SET liq_density = 'heavy' WHERE tray = 2");
    EXPECT_NE(ErrorOf([&] { ReadSimulationFile(path); }).find("liq_density is not a number"),
              std::string::npos);
    spoil("UPDATE trays SET liq_density = 502 WHERE tray = 2; UPDATE feeds SET tray = 9");
    EXPECT_NE(ErrorOf([&] { ReadSimulationFile(path); }).find("outside 1 to 3"), std::string::npos);
    spoil("UPDATE feeds SET tray = 2; DELETE FROM trays WHERE tray = 3");
    EXPECT_NE(ErrorOf([&] { ReadSimulationFile(path); }).find("inconsistent"), std::string::npos);
}

TEST(ProiiProfile, ReadsTraysAndTheLinesForColumnsHeatersAndFeeds)
{
    const std::string text = "\xEF\xBB\xBF# exported by hand\n"
                             "#@ title, \"Debutaniser, case B\"\n"
                             "#@ status, 1\n"
                             "#@ reflux, T-100, 2.25\n"
                             "#@ heater, T-100, CONDENSER, -3.5\n"
                             "#@ heater, T-100, REBOILER, 4\n"
                             "#@ feed, T-100, 2\n"
                             "#@ feed, t-100, 3, SIDE\n" +
                             std::string(kHeader) + Row("T-100", 1) + "\r\n" + Row("T-100", 3) +
                             Row("T-100", 2) + Row("ABS", 1);
    const SimulationData d = ParseTrayProfile(text, "p.csv");
    EXPECT_EQ(d.title, "Debutaniser, case B");
    EXPECT_EQ(d.status, 1);
    ASSERT_EQ(d.columns.size(), 2u);
    const SimColumn& c = d.columns[0];
    EXPECT_EQ(c.name, "T-100");
    EXPECT_EQ(c.numberOfTrays, 3);
    EXPECT_EQ(c.refluxRatio, 2.25);
    ASSERT_EQ(c.heaters.size(), 2u);
    EXPECT_EQ(c.heaters[0].name, "CONDENSER");
    EXPECT_EQ(c.heaters[1].duty, 4.0);
    ASSERT_EQ(c.feeds.size(), 2u);
    EXPECT_EQ(c.feeds[0].stream, "FEED1");
    EXPECT_EQ(c.feeds[1].stream, "SIDE");
    EXPECT_EQ(c.feeds[1].tray, 3);
    // Rows in any order; tray 2 is the one whose numbers end in 2.
    EXPECT_EQ(c.trays[1].number, 2);
    EXPECT_EQ(c.trays[1].temperature, 320);
    EXPECT_EQ(c.trays[1].liquid.density, 520);
    EXPECT_EQ(c.trays[1].vapour.density, 22);
    EXPECT_FALSE(c.trays[1].vapour.surfaceTension.has_value());
    EXPECT_EQ(d.columns[1].name, "ABS");
    EXPECT_EQ(d.columns[1].refluxRatio, 0.0);
}

TEST(ProiiProfile, MassRatesAndCelsiusAreConverted)
{
    const std::string text =
        "column,tray,temperature_c,pressure,liq_mass_rate,liq_mw,liq_density,liq_viscosity,"
        "liq_surface_tension,vap_mass_rate,vap_mw,vap_density,vap_viscosity,vap_thermal_cond\n"
        "C1,1,100,101.3,180,18,958,0.00028,0.059,4.5,18,0.6,0.0000123,\n";
    const SimulationData d = ParseTrayProfile(text, "m.csv");
    const SimTray& t = d.columns[0].trays[0];
    EXPECT_DOUBLE_EQ(t.temperature, 373.15);
    EXPECT_DOUBLE_EQ(t.liquid.molarRate, 10.0);
    EXPECT_DOUBLE_EQ(t.vapour.molarRate, 0.25);
    EXPECT_FALSE(t.vapour.thermalConductivity.has_value());
}

TEST(ProiiProfile, FaultsNameTheLine)
{
    auto fault = [](const std::string& text) { return ErrorOf([&] { ParseTrayProfile(text, "f.csv"); }); };
    const std::string h = kHeader;
    EXPECT_NE(fault(h + Row("C", 1) + "C,2,abc,1,1,1,1,1,1,1,1,1,1\n").find("f.csv:3: temperature"),
              std::string::npos);
    EXPECT_NE(fault(h + Row("C", 1) + Row("C", 3)).find("tray 2 is missing"), std::string::npos);
    EXPECT_NE(fault(h + Row("C", 1) + Row("C", 1)).find("f.csv:3: tray 1"), std::string::npos);
    EXPECT_NE(fault("column,tray,colour\n").find("unknown column \"colour\""), std::string::npos);
    EXPECT_NE(fault("column,tray,pressure\n").find("no column \"liq_mw\""), std::string::npos);
    EXPECT_NE(fault("#@ reflux,C,1\n" + h + Row("D", 1)).find("f.csv:1: column \"C\" has no trays"),
              std::string::npos);
    EXPECT_NE(fault(h + Row("C", 2) + Row("C", 1) + "#@ feed,C,3\n").find("not a tray of column"),
              std::string::npos);
    EXPECT_NE(fault(h + "C,1,\"unclosed,1\n").find("not closed"), std::string::npos);
    EXPECT_NE(fault(h + Row("C", 0)).find("start at 1"), std::string::npos);
    EXPECT_NE(fault(h + "C,1.5,1,1,1,1,1,1,1,1,1,1,1\n").find("whole number"), std::string::npos);
    EXPECT_NE(fault(h + "C,1,1,1,1,1,1,1,1,1,1,1,1,extra\n").find("more fields"), std::string::npos);
    EXPECT_NE(fault("#@ colour,red\n" + h + Row("C", 1)).find("unknown line"), std::string::npos);
    EXPECT_NE(fault(h).find("no trays"), std::string::npos);
    EXPECT_NE(fault("").find("no header"), std::string::npos);
    // What velk-simdb reads is checked against the same limits.
    EXPECT_EQ(fault(h + Row("C", 1) + std::string("C,2,1\0,1\n", 9)), "f.csv:3: a NUL byte");
    EXPECT_EQ(fault(std::string((16 << 20) + 1, '\n')), "f.csv: larger than 16 MB");
    // Physically impossible values are refused too.
    EXPECT_NE(fault(h + "C,1,300,1,0.1,0,500,0.001,0.01,0.1,50,20,0.00001\n").find("liq_mw"),
              std::string::npos);
}

TEST(ProiiProfile, DumpedProfileParsesBackToTheSameData)
{
    SimulationData d;
    d.title = "Quote \"and\", comma";
    d.status = 4;
    d.columns = {TestColumn("T,1", 6, {3}, {{"H 1", 1.0 / 3.0}}), TestColumn("T2", 2)};
    d.columns[0].trays[2].liquid.viscosity = 1.234567890123456789e-4;
    ExpectSameData(ParseTrayProfile(WriteTrayProfile(d), "dump"), d);
}

TEST(ProiiSimdbTool, BuildsAFileThatDumpsToTheSameProfile)
{
    QTemporaryDir dir;
    const std::string csv = WriteText(dir, "p.csv",
                                      "#@ reflux,T-100,1.5\n#@ feed,T-100,2,F\n" + std::string(kHeader) +
                                          Row("T-100", 1) + Row("T-100", 2) + Row("T-100", 3));
    const QString out = dir.filePath("p.prz");
    const ToolRun build = Simdb({"build", QString::fromStdString(csv), out});
    EXPECT_EQ(build.exitCode, 0) << build.err.toStdString();
    EXPECT_TRUE(build.out.contains("1 column(s), 3 tray(s)")) << build.out.toStdString();
    const SimulationData read = ReadSimulationFile(out.toStdString());
    EXPECT_EQ(read.columns[0].refluxRatio, 1.5);
    EXPECT_EQ(read.columns[0].trays[2].pressure, 1003);

    const ToolRun dump = Simdb({"dump", out});
    EXPECT_EQ(dump.exitCode, 0);
    ExpectSameData(ParseTrayProfile(dump.out.toStdString(), "dump"), read);
}

TEST(ProiiSimdbTool, BadProfileLeavesNoFileAndSaysWhy)
{
    QTemporaryDir dir;
    const std::string csv = WriteText(dir, "bad.csv", std::string(kHeader) + Row("C", 2));
    const QString out = dir.filePath("bad.prz");
    const ToolRun build = Simdb({"build", QString::fromStdString(csv), out});
    EXPECT_EQ(build.exitCode, 1);
    EXPECT_TRUE(build.err.contains("tray 1 is missing")) << build.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(Simdb({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(Simdb({"dump", dir.filePath("none.prz")}).exitCode, 1);
}

TEST(ProiiSimdbTool, ExampleFileIsBuiltBesideTheProgram)
{
    const SimulationData d = ReadSimulationFile(std::string(VELK_BINARY_DIR) + "/examples/debutanizer.prz");
    ASSERT_NE(d.Column("T-100"), nullptr);
    EXPECT_EQ(d.Column("T-100")->numberOfTrays, 20);
    EXPECT_EQ(d.Column("T-100")->feeds.at(0).tray, 10);
}

TEST(ProiiSimdbTool, ADumpPrintsTheProfilesNumbersDigitForDigit)
{
    // A shortest text that a parser going through the long double read as its neighbour.
    QTemporaryDir dir;
    std::string row = Row("T-100", 1);
    row.replace(row.find(",510,"), 5, ",28.00721298699799,");
    const std::string csv = WriteText(dir, "p.csv", std::string(kHeader) + row);
    const QString out = dir.filePath("p.prz");
    ASSERT_EQ(Simdb({"build", QString::fromStdString(csv), out}).exitCode, 0);
    EXPECT_EQ(ReadSimulationFile(out.toStdString()).columns[0].trays[0].liquid.density, 28.00721298699799);
    EXPECT_TRUE(Simdb({"dump", out}).out.contains(QStringLiteral(",28.00721298699799,")));
}
