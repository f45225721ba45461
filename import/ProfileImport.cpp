#include "ProfileImport.h"

#include <QFileInfo>

#include "HysysInterface.h"
#include "ImportFieldMap.h"
#include "Messages.h"
#include "NumberText.h"
#include "ProiiServerProfile.h"
#include "RegularFile.h"
#include "TextToFloat.h"

namespace
{

// No column has this many stages; a larger count is a fault of the source.
constexpr int kMaxStages = kMaxTrayProfileStages;

// The tray-profile reader skips blank lines anywhere; inside the table of a
// profile a blank row means a lost stage, so it is refused.
void RefuseEmptyRows(const std::string& text, const std::string& source)
{
    int lineNo = 0, blankLine = 0;
    bool header = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(std::string_view(text).substr(start, end - start));
        start = end + 1;
        ++lineNo;
        if (!line.empty() && line[0] == '#') continue;
        if (line.empty()) {
            if (header && blankLine == 0) blankLine = lineNo;
            continue;
        }
        if (blankLine != 0) throw EConvertError(source + ":" + std::to_string(blankLine) + ": an empty row");
        header = true;
    }
}

void SetValue(ProfileStage& s, const char* field, double v)
{
    for (const ProfileValue& pv : kProfileValues)
        if (std::string(pv.field) == field) s.*pv.member = v;
}

} // namespace

std::vector<ColumnProfile> ProfilesFromCsvText(const std::string& text, const std::string& source)
{
    CheckTrayProfileText(text, source);
    RefuseEmptyRows(text, source);
    const SimulationData data = ParseTrayProfile(text, source);
    std::vector<ColumnProfile> out;
    for (const SimColumn& c : data.columns) {
        ColumnProfile p;
        p.source = "CSV " + QFileInfo(QString::fromStdString(source)).fileName().toStdString() + " " + c.name;
        for (const SimTray& t : c.trays) {
            ProfileStage s;
            s.number = t.number;
            // The mass rates as the PRO/II database server gives them.
            s.V = t.vapour.molarRate * t.vapour.molecularWeight;
            s.rhoV = t.vapour.density;
            s.muV = t.vapour.viscosity;
            s.L = t.liquid.molarRate * t.liquid.molecularWeight;
            s.rhoL = t.liquid.density;
            s.muL = t.liquid.viscosity;
            s.sigma = t.liquid.surfaceTension;
            s.DL = t.liquidDiffusivity;
            s.DV = t.vapourDiffusivity;
            s.slope = t.equilibriumSlope;
            s.type = t.stageType;
            p.stages.push_back(s);
        }
        ValidateProfile(p);
        out.push_back(std::move(p));
    }
    return out;
}

std::vector<ColumnProfile> ProfilesFromCsvFile(const std::string& path)
{
    // Opened without following a final link or blocking on a pipe, judged
    // by the open file: a pipe swapped in after a check by name would hang.
    return ProfilesFromCsvText(ReadRegularFile(path, kMaxTrayProfileBytes, "File too large"), path);
}

ColumnProfile ProfileFromProii(const std::string& columnName)
{
    TStringList summary;
    GetProiiColumnData(ProiiDatabase, columnName, summary);
    const double trays = GetListValue(summary, "NumberOfTrays");
    if (!(trays >= 1 && trays <= kMaxStages))
        throw EConvertError("NumberOfTrays " + AutoFloatToStr(trays) + " is out of range");
    ColumnProfile p;
    p.source = "PRO/II " + QFileInfo(QString::fromStdString(ProiiFileName)).fileName().toStdString() + " " +
               columnName;
    for (int t = 1; t <= static_cast<int>(trays); ++t) {
        TStringList lines;
        GetProiiTrayData(ProiiDatabase, columnName, t, lines);
        ProfileStage s;
        s.number = t;
        for (const ImportField& f : kImportFields)
            SetValue(s, f.field, GetListValue(lines, f.proiiKey));
        p.stages.push_back(s);
    }
    ValidateProfile(p);
    return p;
}

ColumnProfile ProfileFromHysys(const std::string& columnName)
{
    if (!ConnectHysys()) throw EAbort();
    const int n = HysysApp.Get("ActiveDocument")
                      .Get("Flowsheet")
                      .Get("Operations")
                      .Call("Item", {AutoVariant(columnName)})
                      .Get("ColumnFlowsheet")
                      .Get("ColumnStages")
                      .Get("Count")
                      .ToInt();
    if (n < 1 || n > kMaxStages) throw EConvertError("stage count " + std::to_string(n) + " is out of range");
    ColumnProfile p;
    p.source = "HYSYS " + columnName;
    for (int i = 0; i < n; ++i) {
        TStringList lines;
        GetHysysStageData(columnName, i, lines);
        if (lines.size() != 10) throw EAbort(); // the attach failed and was reported
        ProfileStage s;
        s.number = i + 1;
        for (const ImportField& f : kImportFields)
            SetValue(s, f.field, TextToFloat(lines[static_cast<std::size_t>(f.hysysLine)].substr(3, 100)));
        p.stages.push_back(s);
    }
    ValidateProfile(p);
    return p;
}
