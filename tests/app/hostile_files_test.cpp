// Files crafted to hang, exhaust or crash the program: pipes and devices
// given to every reader, simulation databases whose tables are views or carry
// triggers, and registry files with absurdly deep key paths.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtEndian>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <sys/stat.h>

#include "ChmFile.h"
#include "ChmSitemap.h"
#include "HysysServerCase.h"
#include "LocalAutoProtocol.h"
#include "LocalAutoServer.h"
#include "Messages.h"
#include "ProiiServerFile.h"
#include "RegistryHive.h"
#include "SaveFormDataFile.h"
#include "XlsxPackage.h"

namespace
{

// The error text of f, or "" when it succeeded.
std::string ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

SimulationData OneColumn()
{
    SimulationData d;
    SimColumn c;
    c.name = "T-100";
    c.refluxRatio = 2;
    c.numberOfTrays = 2;
    for (int n = 1; n <= 2; ++n) {
        SimTray t;
        t.number = n;
        t.temperature = 350;
        t.pressure = 100;
        t.liquid = {0.01, 60, 600, 2e-4, 0.012, std::nullopt};
        t.vapour = {0.01, 55, 20, 1e-5, std::nullopt, std::nullopt};
        c.trays.push_back(t);
    }
    d.columns.push_back(c);
    return d;
}

TEST(HostileFiles, EveryReaderRefusesPipesAndDevicesAtOnce)
{
    QTemporaryDir dir;
    const std::string fifo = dir.filePath("fifo").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        const char* reader;
        std::function<std::string(const std::string&)> read; // the refusal's text
    } readers[] = {
        {"project", [](const std::string& p) { return ErrorOf([&] { ReadProjectFileBytes(p); }); }},
        {"case file", [](const std::string& p) { return ErrorOf([&] { LoadHysysCase(p); }); }},
        {"simulation database", [](const std::string& p) { return ErrorOf([&] { ReadSimulationFile(p); }); }},
        {"template", [](const std::string& p) { return ErrorOf([&] { XlsxPackage().Load(p); }); }},
        {"registry file",
         [](const std::string& p) {
             RegistryHive hive;
             EXPECT_FALSE(hive.LoadFile(p));
             return hive.Warnings().empty() ? std::string() : hive.Warnings().front();
         }},
        {"help file",
         [](const std::string& p) {
             TChmFile chm;
             return chm.Open(QString::fromStdString(p)) ? std::string() : std::string("Not a regular file");
         }},
        {"tray profile",
         [&dir](const std::string& p) {
             QProcess simdb;
             simdb.start(QStringLiteral(VELK_BINARY_DIR "/bin/velk-simdb"),
                         {QStringLiteral("build"), QString::fromStdString(p), dir.filePath("out.prz")});
             simdb.waitForFinished(5000);
             return simdb.exitCode() == 1 ? simdb.readAllStandardError().toStdString() : std::string();
         }},
    };
    for (const auto& r : readers)
        for (const std::string& path : {fifo, std::string("/dev/zero")}) {
            SCOPED_TRACE(std::string(r.reader) + " " + path);
            const auto start = std::chrono::steady_clock::now();
            EXPECT_NE(r.read(path).find("Not a regular file"), std::string::npos);
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
        }
}

TEST(HostileFiles, SimulationDatabaseWithViewsOrTriggersIsRefusedAtOnce)
{
    QTemporaryDir dir;
    const char* spoilers[] = {
        // A recursive view that never ends in place of a table.
        "DROP TABLE columns; CREATE VIEW columns(id, name, reflux_ratio, number_of_trays) AS "
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT i, 'c' || i, 1, 1 FROM n",
        "CREATE TRIGGER t AFTER INSERT ON columns BEGIN SELECT 1; END",
        "CREATE INDEX slow ON trays(temperature * pressure)",
        "CREATE TABLE extra(x)",
    };
    for (const char* sql : spoilers) {
        SCOPED_TRACE(sql);
        const std::string path = dir.filePath("s.prz").toStdString();
        WriteSimulationFile(path, OneColumn());
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_NE(ErrorOf([&] { ReadSimulationFile(path); }).find("schema holds"), std::string::npos);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
    // The untouched file reads.
    const std::string good = dir.filePath("good.prz").toStdString();
    WriteSimulationFile(good, OneColumn());
    EXPECT_EQ(ReadSimulationFile(good).columns.size(), 1u);
}

TEST(HostileFiles, RegistryKeyPathsDeeperThanWindowsAllowsAreSkippedWithFileAndLine)
{
    const struct {
        std::size_t depth;
        bool kept;
    } cases[] = {{512, true}, {513, false}, {1000000, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.depth);
        std::string path = "HKEY_CLASSES_ROOT";
        path.reserve(c.depth * 2 + 20);
        for (std::size_t i = 0; i < c.depth; ++i)
            path += "\\k";
        RegistryHive hive;
        ASSERT_TRUE(hive.LoadText("REGEDIT4\n\n[" + path + "]\n@=\"x\"\n", "deep.reg"));
        EXPECT_EQ(hive.Warnings().empty(), c.kept);
        if (!c.kept) {
            EXPECT_EQ(hive.Warnings().front(), "deep.reg:3: key path deeper than 512 levels, skipped");
        }
        std::string found;
        for (std::size_t i = 0; i < 512; ++i)
            found += "k\\";
        EXPECT_EQ(hive.Find(found) != nullptr, c.kept);
        // Destroying the hive at the end of the scope must not crash.
    }
}

// The sample help file with its directory pages made to lead back to
// themselves: libchm would list or search them for ever.
TEST(HostileFiles, HelpFilesWhoseDirectoryPagesLoopAreRefused)
{
    QFile sample(QStringLiteral(VELK_SOURCE_DIR "/fuzz/corpus/help/VELKHelp.chm"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray good = sample.readAll();
    const qsizetype itsp = qFromLittleEndian<qint64>(good.constData() + 0x48);
    const qsizetype pages = itsp + qFromLittleEndian<qint32>(good.constData() + itsp + 8);
    const qint32 block = qFromLittleEndian<qint32>(good.constData() + itsp + 0x10);
    QByteArray indexPage("PMGI", 4);
    indexPage += QByteArray(4, '\0') + QByteArray("\x01/\x01", 3);
    qToLittleEndian<quint32>(quint32(block - indexPage.size()), indexPage.data() + 4);
    const struct {
        const char* what;
        std::function<void(QByteArray&)> damage;
    } cases[] = {
        {"listing page followed by itself",
         [&](QByteArray& b) { qToLittleEndian<qint32>(0, b.data() + pages + 16); }},
        {"index page that is its own child",
         [&](QByteArray& b) {
             qToLittleEndian<qint32>(1, b.data() + itsp + 0x1c);
             b.replace(pages + block, indexPage.size(), indexPage);
         }},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray bytes = good;
        c.damage(bytes);
        const QString path = dir.filePath(QStringLiteral("loop.chm"));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size());
        out.close();
        TChmFile chm;
        EXPECT_FALSE(chm.Open(path));
    }
    TChmFile chm;
    EXPECT_TRUE(chm.Open(sample.fileName())); // the undamaged file still opens
}

TEST(HostileFiles, MalformedInputsFoundByFuzzingAreDealtWithQuickly)
{
    const struct {
        const char* what;
        std::function<void()> run;
    } cases[] = {
        // Tags that never close: each "<" once scanned to the end of the file.
        {"help contents without \">\"",
         [] {
             QString html;
             for (int i = 0; i < 20000; ++i)
                 html += QStringLiteral("<param name=x ");
             EXPECT_TRUE(TChmSitemap::Parse(html).isEmpty());
         }},
        // Help files whose compression records would make libchm divide by
        // zero, allocate gigabytes, decode with a null decoder or read a
        // block past its buffer (kept as crash-* and oom-* in the corpus).
        {"help files that crash libchm",
         [] {
             const QDir corpus(QStringLiteral(VELK_SOURCE_DIR "/fuzz/corpus/help"));
             const QStringList found = corpus.entryList({QStringLiteral("crash-*"), QStringLiteral("oom-*")});
             EXPECT_GE(found.size(), 5);
             for (const QString& name : found) {
                 TChmFile chm;
                 EXPECT_FALSE(chm.Open(corpus.filePath(name))) << name.toStdString();
             }
         }},
        // A request claiming a million released handles in a few bytes.
        {"automation request with a huge release count",
         [] {
             LocalAutoServer server(nullptr);
             const QByteArray request("\0\0\0\1\0\x0f\xff\xff\0\0\0\0", 12);
             EXPECT_FALSE(server.AnswerOffline(request).isEmpty()); // an error answer
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto start = std::chrono::steady_clock::now();
        c.run();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    }
}

} // namespace
