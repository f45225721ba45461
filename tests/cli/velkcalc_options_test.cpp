// velk-calc's option values: each one checked before any work, with a usage
// error (exit 2) that names the real reason; --charts writes all its files
// or none.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <sstream>

#include "VelkCalc.h"
#include "app/project_test_support.h"
#include "velkcalc_run.h"

namespace
{

const std::vector<std::string> kCase = {"LD=2.5",     "VD=3.0",   "DlD=800", "DvD=2.5",
                                        "MlD=0.0003", "MvD=1e-5", "SLD=0.02"};

std::vector<std::string> With(std::vector<std::string> options)
{
    options.insert(options.end(), kCase.begin(), kCase.end());
    return options;
}

} // namespace

TEST(VelkCalcOptionValues, BadValuesAreUsageErrorsThatNameTheReason)
{
    projecttest::TempDir dir;
    const std::string csv = VELK_SOURCE_DIR "/examples/debutanizer.csv";
    const std::string rated = dir / "rated.vel"; // a project that rates a given diameter
    ASSERT_EQ(Calc(With({"--rate-diameter", "1.6", "--save", rated})).status, 0);
    const struct {
        std::vector<std::string> args;
        std::string says;
    } cases[] = {
        // The sign of a diameter was squared away: -1 rated a 1 m column.
        {{"--rate-diameter", "-1"}, "--rate-diameter needs a diameter above 0"},
        {{"--rate-diameter", "-0.5"}, "--rate-diameter needs a diameter above 0"},
        {{"--rate-diameter", "0"}, "--rate-diameter needs a diameter above 0"},
        {{"--rate-diameter", "1e999"}, "--rate-diameter needs a diameter above 0"},
        {{"--rate-diameter", "abc"}, "--rate-diameter needs a diameter above 0"},
        // Empty values were taken as if the option were absent.
        {{"--rate-diameter", ""}, "--rate-diameter needs a diameter, not an empty text"},
        {{"--charts", ""}, "--charts needs a folder, not an empty text"},
        {{"--beds", "", "--profile", csv}, "--beds needs FIRST-LAST:PACKING:METHOD,..., not an empty text"},
        {{"--save", ""}, "--save needs a file, not an empty text"},
        // Output files that cannot be files, named as what they are.
        {{"--report", "/dev/null"}, "--report: '/dev/null' is not a regular file"},
        {{"--save", dir.path()}, "--save: '" + dir.path() + "' is a folder"},
        {{"--charts", "/dev/null"}, "--charts: '/dev/null' is not a folder"},
        // Sizes: each side, and the pixels in all (8000 x 8000 = 64 million).
        {{"--size", "20000x20000"}, "--size needs WxH, each side from 50 to 8000"},
        {{"--size", "8000x8000"}, "--size needs WxH, each side from 50 to 8000"},
        {{"--size", "49x100"}, "--size needs WxH, each side from 50 to 8000"},
        // A reversed bed, and stage 0.
        {{"--profile", csv, "--beds", "8-1:Mellapak-250Y:1"}, "--beds: the bed 8-1 runs backwards"},
        {{"--profile", csv, "--beds", "0-4:Mellapak-250Y:1"}, "--beds: stages are counted from 1"},
        // Beyond int: the range is checked before the conversion.
        {{"--profile", csv, "--beds", "1e300-2:Mellapak-250Y:1"}, "--beds needs FIRST-LAST:PACKING:METHOD"},
        // Liquid loads beyond the correlations gave an empty curve.
        {{"--chart-data", "--liquid-loads", "1e6"}, "--liquid-loads: 1000000 m3/(m2 h) lies beyond"},
        {{"--chart-data", "--liquid-loads", "10,300.5"}, "--liquid-loads: 300.5 m3/(m2 h) lies beyond"},
        {{"--stages", "0"}, "--stages needs a whole number of stages from 1"},
        {{"--flood", "-80"}, "--flood needs a percentage of flooding above 0"},
        {{"--flood", "abc"}, "--flood needs a percentage of flooding above 0"},
        // An output named for another format: --report x.pdf wrote a workbook.
        {{"--report", "x.pdf"}, "--report writes a workbook: its name must end in .xlsx, not 'x.pdf'"},
        {{"--report", "xlsx"}, "--report writes a workbook"},
        {{"--pdf", "x.xlsx"}, "--pdf writes a PDF file: its name must end in .pdf, not 'x.xlsx'"},
        {{"--diagram", "x.jpg"}, "--diagram writes a PNG or SVG image: its name must end in .png or .svg"},
        // Below 1 mm once in SI: 1e-320 m ended in a floating-point error.
        {{"--rate-diameter", "1e-320"}, "--rate-diameter needs a diameter of at least 1 mm, not '1e-320'"},
        {{"--rate-diameter", "0.0009"}, "--rate-diameter needs a diameter of at least 1 mm"},
        {{"--unit", "dD=2", "--rate-diameter", "0.99"}, "--rate-diameter needs a diameter of at least 1 mm"},
        {{"--rate-diameter", "1e-320", "--profile", csv},
         "--rate-diameter needs a diameter of at least 1 mm"},
        {{"--project", rated, "dD=1e-320"}, "dD needs a diameter of at least 1 mm, not '1e-320'"},
    };
    for (const auto& c : cases) {
        const CalcRun r = Calc(With(c.args));
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << "nothing is computed";
    }
    // The bounds themselves pass the check.
    for (const auto& ok :
         {std::vector<std::string>{"--liquid-loads", "0,300", "--chart-data"}, {"--rate-diameter", "1.6"}}) {
        const CalcRun r = Calc(With(ok));
        EXPECT_NE(r.status, 2) << r.err;
    }
}

TEST(VelkCalcOptionValues, ChartsWriteAllTheirFilesOrNone)
{
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    projecttest::TempDir dir;
    // Without the diffusion coefficients there is no HETP chart: nothing at all.
    const std::string none = dir / "none";
    const CalcRun failed = Calc(With({"--charts", none}));
    EXPECT_EQ(failed.status, 1);
    EXPECT_TRUE(QDir(QString::fromStdString(none)).isEmpty()) << "files were written";

    const std::string all = dir / "all";
    const CalcRun written = Calc(With({"--charts", all, "DlfD=2e-9", "DvfD=1e-5", "alfD=2"}));
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(QDir(QString::fromStdString(all)).entryList(QDir::Files).size(), 6);

    // One of the six names taken by a folder: none is written, not the others.
    const std::string blocked = dir / "blocked";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(blocked + "/holdup.png")));
    const CalcRun refused = Calc(With({"--charts", blocked, "DlfD=2e-9", "DvfD=1e-5", "alfD=2"}));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("holdup.png"), std::string::npos) << refused.err;
    EXPECT_EQ(QDir(QString::fromStdString(blocked))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"holdup.png"});
}
