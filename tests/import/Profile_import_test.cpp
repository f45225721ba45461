// Column profiles from the three sources: a tray-profile CSV text, the PRO/II
// database server over a simulation file and HYSYS over a case, all made
// from the same trays, give the same stages and the same rating; a damaged
// CSV is refused whole, with file and line.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include "AutoRegistry.h"
#include "ColumnRating.h"
#include "HysysInterface.h"
#include "HysysServerObjects.h"
#include "ImportTestSupport.h"
#include "Messages.h"
#include "ProfileImport.h"
#include "ProiiServer.h"
#include "ProiiServerProfile.h"

namespace
{

constexpr const char* kVersion = "P1";

SimulationData Simulation()
{
    SimulationData d;
    d.columns = {TestColumn("T-1", 4, {2})};
    return d;
}

// The same trays as HYSYS reports them: viscosity in cP, surface tension in dyn/cm.
HysysCaseData HysysCase(const SimColumn& c)
{
    std::vector<HysysStageData> stages;
    for (const SimTray& t : c.trays) {
        HysysStageData s;
        s.vapour = {
            t.vapour.molarRate * t.vapour.molecularWeight, t.vapour.density, t.vapour.viscosity * 1000, {}};
        s.liquid = {t.liquid.molarRate * t.liquid.molecularWeight, t.liquid.density,
                    t.liquid.viscosity * 1000, *t.liquid.surfaceTension * 1000};
        stages.push_back(s);
    }
    HysysCaseData data;
    data.operations = {TestColumnOp(c.name, stages)};
    return data;
}

void ExpectSameStages(const ColumnProfile& a, const ColumnProfile& b, const char* what)
{
    ASSERT_EQ(a.stages.size(), b.stages.size()) << what;
    for (std::size_t i = 0; i < a.stages.size(); ++i) {
        EXPECT_EQ(a.stages[i].number, b.stages[i].number) << what;
        for (const ProfileValue& v : kProfileValues) {
            const auto &x = a.stages[i].*v.member, &y = b.stages[i].*v.member;
            ASSERT_EQ(x.has_value(), y.has_value()) << what << " " << v.field;
            if (x) {
                EXPECT_NEAR(*x, *y, 1e-12 * std::fabs(*x)) << what << " stage " << i + 1 << " " << v.field;
            }
        }
    }
}

} // namespace

TEST(ProfileImport, TheThreeSourcesGiveTheSameTable)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    QTemporaryDir dir;
    const SimulationData sim = Simulation();
    const ColumnProfile csv = ProfilesFromCsvText(WriteTrayProfile(sim), "t1.csv").at(0);

    AutoRegistry::Instance().RegisterClass(std::string(kProiiProgIdPrefix) + kVersion, [] {
        return AutoObjectPtr(std::make_shared<ProiiDatabaseServer>());
    });
    ProiiServerVersion = kVersion;
    ASSERT_TRUE(ConnectProii());
    OpenProiiFile(WriteSimulation(dir, "t1.prz", sim.columns));
    const ColumnProfile proii = ProfileFromProii("T-1");
    ReleaseProii();
    AutoRegistry::Instance().UnregisterClass(std::string(kProiiProgIdPrefix) + kVersion);

    AutoRegistry::Instance().RegisterActiveObject(
        kHysysProgId, MakeHysysApplication(std::make_shared<HysysCaseData>(HysysCase(sim.columns[0]))));
    const ColumnProfile hysys = ProfileFromHysys("T-1");
    AutoRegistry::Instance().RevokeActiveObject(kHysysProgId);
    ReleaseHysys();

    ExpectSameStages(csv, proii, "PRO/II");
    ExpectSameStages(csv, hysys, "HYSYS");
    EXPECT_DOUBLE_EQ(*csv.stages[2].rhoL, 503); // tray 3 of the test trays
    EXPECT_TRUE(sink.messages.empty());

    CalcPage page(false);
    const ProfileRating a = RateProfile(page, csv), b = RateProfile(page, proii),
                        c = RateProfile(page, hysys);
    for (const StageRating& s : a.stages)
        EXPECT_TRUE(s.completed) << s.stage << ": " << s.error;
    for (const ProfileRating* other : {&b, &c}) {
        for (std::size_t i = 0; i < a.stages.size(); ++i) {
            EXPECT_EQ(a.stages[i].completed, other->stages[i].completed);
            ASSERT_EQ(a.stages[i].floodPercent.has_value(), other->stages[i].floodPercent.has_value());
            if (a.stages[i].floodPercent) {
                EXPECT_NEAR(*a.stages[i].floodPercent, *other->stages[i].floodPercent, 1e-8);
            }
        }
    }
    EXPECT_EQ(a.beds.at(0).diameter, b.beds.at(0).diameter);
    EXPECT_EQ(a.beds.at(0).diameter, c.beds.at(0).diameter);
}

TEST(ProfileImport, ADamagedCsvIsRefusedWithFileAndLine)
{
    const std::string header =
        "column,tray,temperature,pressure,liq_mass_rate,liq_mw,liq_density,liq_viscosity,"
        "liq_surface_tension,vap_mass_rate,vap_mw,vap_density,vap_viscosity\n";
    const std::string row1 = "T,1,350,1000,2.5,60,800,0.0003,0.02,3,58,2.5,0.00001\n";
    const std::string row2 = "T,2,351,1001,2.5,60,800,0.0003,0.02,3,58,2.5,0.00001\n";
    ASSERT_EQ(ProfilesFromCsvText("# profile\n" + header + row1 + row2, "c.csv").at(0).stages.size(), 2u);

    std::string noDensity = header;
    noDensity.replace(noDensity.find("liq_density,"), 12, "");
    const struct {
        std::string text, where;
    } damaged[] = {
        {"# profile\n" + noDensity + row1, "c.csv:2:"}, // missing column
        {"# profile\n" + header + row1 + "T,2,351,1001,2.5,60,eight hundred,0.0003,0.02,3,58,2.5,0.00001\n",
         "c.csv:4:"},                                                          // text in a number
        {"# profile\n" + header + row1 + "\n" + row2, "c.csv:4:"},             // empty row
        {"# profile\n" + header + row1 + ",,,,,,,,,,,,\n" + row2, "c.csv:4:"}, // empty cells
        {"# profile\n" + header + row1 + row2 + row1, "c.csv:5:"},             // stage twice
        {"# profile\n" + header + row1 + std::string("T,2,351,1\0,2.5\n", 15), "c.csv:4: a NUL byte"},
        {"# profile\n" + header + row1 + std::string(70000, ' ') + row2, "c.csv:4: a line longer than 65536"},
        {"# profile\n" + header + std::string(40, ',') + "\n", "c.csv:3: more than 32 fields"},
        {"# profile\n" + header + "T,10001,351,1001,2.5,60,800,0.0003,0.02,3,58,2.5,0.00001\n",
         "c.csv:3: tray 10001 is beyond the 10000 trays"},
    };
    for (const auto& d : damaged) {
        try {
            ProfilesFromCsvText(d.text, "c.csv");
            ADD_FAILURE() << "accepted: " << d.text;
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(d.where, 0), 0u) << e.what();
        }
    }
}

TEST(ProfileImport, StageTypesMarkTheCondenserAndReboilerWhichTheRatingSkips)
{
    // Every stage has both flows: only the marks make two of them no packing.
    const std::string text =
        "column,tray,temperature,pressure,liq_mass_rate,liq_mw,liq_density,liq_viscosity,"
        "liq_surface_tension,vap_mass_rate,vap_mw,vap_density,vap_viscosity,stage_type\n"
        "T,1,350,1000,2.5,60,800,0.0003,0.02,3,58,2.5,0.00001,Condenser\n"
        "T,2,350,1000,2.5,60,800,0.0003,0.02,3,58,2.5,0.00001,\n"
        "T,3,350,1000,2.5,60,800,0.0003,0.02,3,58,2.5,0.00001\n"
        "T,4,350,1000,2.5,60,800,0.0003,0.02,3,58,2.5,0.00001, reboiler \n";
    const ColumnProfile p = ProfilesFromCsvText(text, "t.csv").at(0);
    ASSERT_EQ(p.stages.size(), 4u);
    const std::vector<std::string> types = {"condenser", "", "", "reboiler"};
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(p.stages[i].type, types[i]) << i;
    CalcPage page(false);
    for (auto [f, v] : {std::pair{"DlfD", "2e-9"}, {"DvfD", "1e-5"}, {"alfD", "2"}}) page.Field(f)->SetText(v);
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    const ProfileRating r = RateProfile(page, p);
    const char* notes[] = {kCondenserStageText, nullptr, nullptr, kReboilerStageText};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(r.stages[i].skipped, notes[i] != nullptr) << i;
        EXPECT_EQ(r.stages[i].note, notes[i] ? notes[i] : "") << i;
    }
    // The bed's totals hold the two packed stages and say that two were left out.
    ASSERT_EQ(r.beds.size(), 1u);
    EXPECT_NEAR(*r.beds[0].height, *r.stages[1].HETP + *r.stages[2].HETP, 1e-12);
    EXPECT_FALSE(r.beds[0].note.empty());
    EXPECT_THROW(ProfilesFromCsvText(text.substr(0, text.size() - 12) + ",pump\n", "t.csv"), EConvertError);
}

// The limits of docs/simulator-import.md, each refused before the work:
// more trays than ten full columns, a file beyond 16 MB, and what is not a
// regular file (a named pipe would block a plain open for ever).
TEST(ProfileImport, FilesBeyondTheLimitsOrNotRegularAreRefusedBeforeTheWork)
{
    const std::string header =
        "column,tray,temperature,pressure,liq_mass_rate,liq_mw,liq_density,liq_viscosity,"
        "liq_surface_tension,vap_mass_rate,vap_mw,vap_density,vap_viscosity\n";
    std::string many = header;
    for (int c = 0; c < 11; ++c)
        for (int t = 1; t <= 9091; ++t) // 100,001 trays
            many += "C" + std::to_string(c) + "," + std::to_string(t) + ",350,1000,2,60,800,3e-4,0.02,3,58,2.5,1e-5\n";
    try {
        ProfilesFromCsvText(many, "m.csv");
        ADD_FAILURE() << "100,001 trays were read";
    } catch (const EConvertError& e) {
        EXPECT_EQ(std::string(e.what()), "m.csv:100002: more than 100000 trays in one profile");
    }

    QTemporaryDir dir;
    const std::string big = dir.filePath("big.csv").toStdString();
    const std::string pipe = dir.filePath("pipe.csv").toStdString();
    {
        QFile f(QString::fromStdString(big));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize((16 << 20) + 1)); // sparse: no disk space
    }
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const struct {
        std::string path, why;
    } refused[] = {{big, "File too large"}, {pipe, "Not a regular file"}, {dir.path().toStdString(), "Is a directory"}};
    for (const auto& r : refused) {
        try {
            ProfilesFromCsvFile(r.path);
            ADD_FAILURE() << "read " << r.path;
        } catch (const EInOutError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + r.path + "\". " + r.why);
        }
    }
}
