#include "VelkCalcPdf.h"

#include <ostream>

#include "CalcPage.h"
#include "ColumnRating.h"
#include "ProfileRecords.h"
#include "ReportCommands.h"

bool VelkCalcPdf(CalcPage& page, const std::string& path, const std::string& projectPath, std::ostream& err)
{
    // The profile as the window's rating page holds it after Open: the
    // project's beds, or one bed of the page's packing.
    ColumnProfile profile;
    ProfileRating rating;
    try {
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
                         {&profile, &rating, page.Combo("UfMD")->Items()})) {
        err << "velk-calc: " << note << '\n';
        return false;
    }
    if (!note.empty()) err << "velk-calc: " << note << '\n';
    return true;
}
