#include "ProfileRecords.h"

#include <cmath>

#include "Messages.h"
#include "NumberText.h"
#include "SaveFormData.h"
#include "SaveFormDataAnsi.h"
#include "SaveFormDataFile.h"
#include "SaveFormDataProperties.h"

namespace
{

constexpr const char* kProfileControl = "ColumnProfile";
constexpr const char* kBedControl = "ColumnProfileBed";
constexpr char kSeparator = ';';

void Record(std::string& out, std::string_view control, std::string_view tag, std::string_view property,
            std::string_view value)
{
    for (std::string_view line : {control, tag, property, value, std::string_view()}) {
        out += Utf8ToAnsi(line);
        out += "\r\n";
    }
}

std::string Join(const std::vector<std::string>& parts)
{
    std::string s;
    for (std::size_t i = 0; i < parts.size(); ++i)
        s += (i ? std::string(1, kSeparator) : std::string()) + parts[i];
    return s;
}

std::vector<std::string> Split(const std::string& s, std::size_t maxParts)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (parts.size() + 1 < maxParts) {
        const std::size_t p = s.find(kSeparator, start);
        if (p == std::string::npos) break;
        parts.push_back(s.substr(start, p - start));
        start = p + 1;
    }
    parts.push_back(s.substr(start)); // the last part may hold the separator (a packing name)
    return parts;
}

std::string Optional(const std::optional<double>& v)
{
    return v ? FloatToText(*v) : std::string();
}

std::optional<double> OptionalFrom(const std::string& text)
{
    if (Trim(text).empty()) return std::nullopt;
    return FloatFromText(text);
}

ProfileStage StageFrom(const std::string& value)
{
    const std::vector<std::string> parts = Split(value, 12);
    if (parts.size() != 11) throw EConvertError("'" + value + "' is not a profile stage");
    ProfileStage s;
    s.number = static_cast<int>(OrdFromText(parts[0], 0, 1000000));
    for (std::size_t i = 0; i < 10; ++i)
        s.*kProfileValues[i].member = OptionalFrom(parts[i + 1]);
    return s;
}

ProfileBed BedFrom(const std::string& value)
{
    const std::vector<std::string> parts = Split(value, 6);
    if (parts.size() != 6) throw EConvertError("'" + value + "' is not a profile bed");
    ProfileBed b;
    b.first = static_cast<int>(OrdFromText(parts[0], 0, 1000000));
    b.last = static_cast<int>(OrdFromText(parts[1], 0, 1000000));
    b.method = static_cast<int>(OrdFromText(parts[2], 0, 2));
    b.lagrange = OrdFromText(parts[3], 0, 1) == 1;
    b.diameter = OptionalFrom(parts[4]);
    b.packing = parts[5];
    return b;
}

} // namespace

std::string ProfileRecordsText(const ColumnProfile& p)
{
    if (p.Empty()) return {};
    std::string out;
    Record(out, kProfileControl, "String", "Source", p.source);
    Record(out, kProfileControl, "Enum", "Rating", p.rating ? "True" : "False");
    for (const ProfileStage& s : p.stages)
        Record(out, kProfileControl, "String", "Stage", Join([&] {
                   std::vector<std::string> parts{std::to_string(s.number)};
                   for (const ProfileValue& v : kProfileValues)
                       parts.push_back(Optional(s.*v.member));
                   return parts;
               }()));
    for (const ProfileBed& b : p.beds)
        Record(out, kBedControl, "String", "Bed",
               Join({std::to_string(b.first), std::to_string(b.last), std::to_string(b.method),
                     b.lagrange ? "1" : "0", Optional(b.diameter), b.packing}));
    return out;
}

bool IsProfileRecordControl(std::string_view name)
{
    return name == kProfileControl || name == kBedControl;
}

namespace
{

// Takes one of the profile's own records into p.
void AddProfileRecord(ColumnProfile& p, const FormRecord& r)
{
    if (r.control == kProfileControl && r.tag == "String" && r.property == "Source") {
        p.source = AnsiToUtf8(r.value);
    } else if (r.control == kProfileControl && r.tag == "Enum" && r.property == "Rating") {
        p.rating = BooleanFromIdentifier(AnsiToUtf8(r.value));
    } else if (r.control == kProfileControl && r.tag == "String" && r.property == "Stage") {
        if (p.stages.size() >= kMaxProfileStages)
            throw EProjectTooLarge("more than " + std::to_string(kMaxProfileStages) + " profile stages",
                                   EProjectTooLarge::Part::Stages, kMaxProfileStages);
        p.stages.push_back(StageFrom(AnsiToUtf8(r.value)));
    } else if (r.control == kBedControl && r.tag == "String" && r.property == "Bed") {
        if (p.beds.size() >= kMaxProfileBeds)
            throw EProjectTooLarge("more than " + std::to_string(kMaxProfileBeds) + " profile beds",
                                   EProjectTooLarge::Part::Beds, kMaxProfileBeds);
        p.beds.push_back(BedFrom(AnsiToUtf8(r.value)));
    }
}

} // namespace

ColumnProfile ProfileFromFormRecords(std::string_view plain, std::size_t* failedLine)
{
    ColumnProfile p;
    const bool isProject = ForEachFormRecord(plain, [&](const FormRecord& r) {
        if (!IsProfileRecordControl(r.control)) return;
        try {
            AddProfileRecord(p, r);
        } catch (const EProjectTooLarge&) {
            throw;
        } catch (...) {
            if (failedLine) *failedLine = r.valueLine;
            throw;
        }
    });
    if (!isProject) return p;
    if (failedLine) *failedLine = 0;
    ValidateProfile(p);
    return p;
}

ColumnProfile ReadProfileRecords(const std::string& path)
{
    return ProfileFromFormRecords(ProjectPlainText(ReadProjectFileBytes(path)));
}
