#include "VelkCalcProfile.h"

#include <ostream>
#include <sstream>

#include "CalcPage.h"
#include "CaseRunText.h"
#include "ColumnRating.h"
#include "Messages.h"
#include "NumberText.h"
#include "ProfileImport.h"
#include "VelkCalcJson.h"

namespace
{

std::string OptionalNumber(const std::optional<double>& v)
{
    return v ? JsonNumber(*v) : "null";
}

std::string MessageJson(const StageRating& s)
{
    const QString text = StageMessage(s);
    return text.isEmpty() ? "null" : JsonString(text.toStdString());
}

std::string StageJson(const CalcPage& page, const StageRating& s)
{
    std::ostringstream o;
    o << "{\"stage\": " << s.stage << ", \"bed\": " << (s.bed >= 0 ? std::to_string(s.bed + 1) : "null")
      << ", \"completed\": " << (s.completed ? "true" : "false")
      << ", \"error\": " << (s.error.empty() ? "null" : MessageJson(s)) << ", \"skipped\": false, \"note\": null"
      << ", \"fields\": " << FieldsJson(page) << ", \"operation\": " << OperationJson(page.Operation())
      << ", \"warnings\": " << WarningsJson(page.Operation()) << "}";
    return o.str();
}

// A stage that is not rated has no page of its own.
std::string SkippedStageJson(const StageRating& s)
{
    std::ostringstream o;
    o << "{\"stage\": " << s.stage << ", \"bed\": " << (s.bed >= 0 ? std::to_string(s.bed + 1) : "null")
      << ", \"completed\": false, \"error\": null, \"skipped\": true, \"note\": " << MessageJson(s)
      << ", \"fields\": null, \"operation\": null, \"warnings\": []}";
    return o.str();
}

std::string BedJson(const BedRating& b)
{
    std::ostringstream o;
    o << "{\"stages\": [" << b.first << ", " << b.last << "], \"packing\": " << JsonString(b.packing)
      << ", \"method\": " << b.method << ", \"diameter\": " << OptionalNumber(b.diameter)
      << ", \"limitingStage\": " << (b.limitingStage ? std::to_string(*b.limitingStage) : "null")
      << ", \"height\": " << OptionalNumber(b.height)
      << ", \"pressureDrop\": " << OptionalNumber(b.pressureDrop)
      << ", \"note\": " << (b.note.empty() ? "null" : JsonString(CaseText(b.note).toStdString()));
    // Only with a design limit set, so that a rating without one prints as before.
    if (!b.warnings.empty()) {
        OperatingCheck limits;
        limits.warnings = b.warnings;
        o << ", \"warnings\": " << WarningsJson(limits);
    }
    o << "}";
    return o.str();
}

} // namespace

int RunProfileCommand(CalcPage& base, const std::string& csvPath, const std::string& bedsText,
                      const std::optional<std::string>& rateDiameter, std::ostream& out, std::ostream& err)
{
    auto usage = [&](const std::string& why) {
        err << "velk-calc: " << why << "\n";
        return 2;
    };
    ColumnProfile profile;
    try {
        profile = ProfilesFromCsvFile(csvPath).at(0);
    } catch (const std::exception& e) {
        return usage(e.what());
    }
    if (!bedsText.empty())
        if (std::string why = ParseBedsOption(bedsText, profile.beds); !why.empty()) return usage(why);
    for (ProfileBed& b : profile.beds) {
        const auto& items = base.Combo("PTD")->Items();
        if (std::find(items.begin(), items.end(), b.packing) == items.end())
            return usage("unknown packing '" + b.packing + "' in --beds");
        b.lagrange = base.Check("CBLagrange")->Checked();
    }
    if (rateDiameter) {
        // The diameter as --rate-diameter types it into dD, in dD's unit.
        TEditD* d = base.Field("dD");
        double value;
        if (!ParseNumber(Trim(*rateDiameter), value))
            return usage("--rate-diameter needs a number, not '" + *rateDiameter + "'");
        profile.rating = true;
        if (profile.beds.empty()) profile.beds = EffectiveBeds(profile, base);
        for (ProfileBed& b : profile.beds)
            b.diameter = value * d->Exchange();
    }
    try {
        ValidateProfile(profile);
    } catch (const std::exception& e) {
        return usage(e.what());
    }

    std::vector<std::string> stages(profile.stages.size());
    bool all = true;
    const ProfileRating rating = RateProfile(base, profile, [&](const CalcPage& page, const StageRating& s) {
        stages[static_cast<std::size_t>(profile.StageIndex(s.stage))] = StageJson(page, s);
    });
    out << "{\"stages\": [";
    for (std::size_t i = 0; i < stages.size(); ++i) {
        const StageRating& s = rating.stages[i];
        out << (i ? ", " : "") << (s.skipped ? SkippedStageJson(s) : stages[i]);
        // A skipped stage is no packed stage, not an error.
        all = all && (s.skipped || s.completed);
    }
    out << "], \"beds\": [";
    for (std::size_t i = 0; i < rating.beds.size(); ++i)
        out << (i ? ", " : "") << BedJson(rating.beds[i]);
    out << "]}\n";
    return all ? 0 : 1;
}
