// Writing the report workbook of a solved case: template read, 100-odd cells
// written, workbook saved. Target: well under 50 ms.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include "CalcPage.h"
#include "MyXls.h"
#include "PackingCatalogue.h"
#include "ReportCommands.h"

namespace
{

void SolvedCase(CalcPage& page)
{
    CurrentPacking = PackingParams{};
    const std::pair<const char*, const char*> inputs[] = {
        {"LD", "2.5"},      {"VD", "3.0"},   {"DlD", "800"},   {"DvD", "2.5"},   {"MlD", "0.0003"},
        {"MvD", "0.00001"}, {"SLD", "0.02"}, {"DlfD", "2e-9"}, {"DvfD", "1e-5"}, {"alfD", "2"}};
    for (const auto& [field, text] : inputs)
        page.Field(field)->SetText(text);
    page.TextBox("ProjectD")->SetText("乙烯装置");
    page.TextBox("CommentD")->SetText("基准工况");
    page.LDExit();
}

void BM_WriteReportWorkbook(benchmark::State& state)
{
    CalcPage page(false);
    SolvedCase(page);
    MyXlsInitialization();
    // The template is built beside the programs, in bin/ next to bench/.
    const std::string programDir =
        QDir::toNativeSeparators(QDir::cleanPath(QString::fromStdString(ReportProgramDir()) + "/../bin") +
                                 "/")
            .toStdString();
    QTemporaryDir dir;
    const std::string path = dir.filePath("bench.xlsx").toStdString();
    for (auto _ : state) {
        std::string error;
        if (!WriteReportWorkbook(path, page, "/projects/column1.vel", error, programDir)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
}
BENCHMARK(BM_WriteReportWorkbook)->Unit(benchmark::kMillisecond);

} // namespace
