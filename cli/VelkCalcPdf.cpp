#include "VelkCalcPdf.h"

#include <ostream>

#include "CalcPage.h"
#include "ColumnRating.h"
#include "LoadCaseRecords.h"
#include "CaseRunText.h"
#include "ProfileRecords.h"
#include "SaveFormData.h"
#include "SaveFormDataFile.h"
#include "ReportCommands.h"

bool VelkCalcPdf(CalcPage& page, const std::string& path, const std::string& projectPath, std::ostream& err)
{
    // The profile as the window's rating page holds it after Open: the
    // project's beds, or one bed of the page's packing; the cases as the
    // page "工况校核" rates them.
    ColumnProfile profile;
    ProfileRating rating;
    std::vector<LoadCase> cases;
    EnvelopeResult envelope;
    try {
        if (!projectPath.empty()) cases = LoadCasesFromFormRecords(ProjectPlainText(ReadProjectFileBytes(projectPath)));
        if (!cases.empty()) envelope = RateLoadCases(page, cases);
        if (!projectPath.empty()) profile = ReadProfileRecords(projectPath);
        if (!profile.Empty()) {
            if (profile.beds.empty()) profile.beds = EffectiveBeds(profile, page);
            ValidateProfile(profile);
            rating = RateProfile(page, profile);
        }
    } catch (const std::exception& e) {
        err << "velk-calc: " << e.what() << '\n';
        return false;
    }
    std::string note;
    if (!ExportReportPdf(path, page, projectPath, note, {},
                         {&profile, &rating, page.Combo("UfMD")->Items()}, {&cases, &envelope, CaseTextUtf8})) {
        err << "velk-calc: " << note << '\n';
        return false;
    }
    if (!note.empty()) err << "velk-calc: " << note << '\n';
    return true;
}
