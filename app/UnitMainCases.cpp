// The main window's page "工况校核" and the records the project keeps beside
// the calculation page (the column profile and the load cases).
#include <QCoreApplication>
#include <QTabWidget>

#include "ColumnRatingPage.h"

#include "LoadCaseRecords.h"
#include "LoadCaseReport.h"
#include "LoadCasesPage.h"
#include "PerformanceCommand.h"
#include "PerformanceDiagram.h"
#include "ProfileRecords.h"
#include "UnitMain.h"
#include "UnitSystem.h"
#include "WarningMarks.h"

namespace
{
bool CasesHaveError(const EnvelopeResult& r)
{
    for (const CaseResult& c : r.cases)
        if (!c.completed || HasErrorWarning(c.warnings)) return true;
    return false;
}
} // namespace

void TFormVELK::BuildLoadCasesPage()
{
    pages_->addTab(cases_ = new LoadCasesPage(page_), QCoreApplication::translate("Velk", "工况校核"));
    cases_->OnModified = [this] {
        page_.Modified = true;
        QMetaObject::invokeMethod(this, &TFormVELK::SyncModified, Qt::QueuedConnection);
    };
    cases_->OnCaseLoaded = [this] { pages_->setCurrentIndex(0); };
    cases_->OnRated = [this] {
        SetTabBadge(pages_->indexOf(cases_), CasesHaveError(cases_->Rating()));
        if (paintBox_) paintBox_->update();
    };
}

std::optional<TPerformanceInput> TFormVELK::DiagramWithLoadCases(bool recalculate)
{
    if (!cases_) return PerformanceInputFromPage(page_, recalculate);
    const LoadCaseReport report = cases_->Report();
    return PerformanceInputFromPage(page_, recalculate, &report);
}

// Both are read before either is put in place: a project whose cases do not
// read changes neither the profile nor the cases.
void TFormVELK::ConnectExtraRecords()
{
    project_.ExtraRecords = [this] {
        return ProfileRecordsText(rating_->Profile()) + LoadCaseRecordsText(cases_->Cases());
    };
    project_.ReadExtra = [this](const std::string& plain, std::size_t* failedLine) -> std::function<void()> {
        auto profile = std::make_shared<ColumnProfile>(ProfileFromFormRecords(plain, failedLine));
        auto cases = std::make_shared<std::vector<LoadCase>>(LoadCasesFromFormRecords(plain, failedLine));
        return [this, profile, cases] {
            rating_->SetProfile(std::move(*profile));
            cases_->SetCases(std::move(*cases));
        };
    };
    project_.ExtraOwns = [](std::string_view name) {
        return IsProfileRecordControl(name) || IsLoadCaseRecordControl(name);
    };
    project_.ResetExtra = [this] {
        rating_->Clear();
        cases_->Clear();
        ApplyUnitSystem(page_, CurrentDisplaySystem());
    };
}
