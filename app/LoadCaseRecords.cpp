#include "LoadCaseRecords.h"

#include <QCoreApplication>
#include <cmath>

#include "LoadCaseRules.h"
#include "Messages.h"
#include "NumberText.h"
#include "SaveFormData.h"
#include "SaveFormDataAnsi.h"
#include "SaveFormDataProperties.h"
#include "Utf8Text.h"

namespace
{

constexpr const char* kCaseControl = "LoadCases";
constexpr char kSeparator = ';';
constexpr std::size_t kValues = 10;

void Record(std::string& out, std::string_view value)
{
    for (std::string_view line : {std::string_view(kCaseControl), std::string_view("String"),
                                  std::string_view("Case"), value, std::string_view()}) {
        out += Utf8ToAnsi(line);
        out += "\r\n";
    }
}

LoadCase CaseFrom(const std::string& value)
{
    LoadCase c;
    std::size_t start = 0;
    for (std::size_t i = 0; i < kValues; ++i) {
        const std::size_t p = value.find(kSeparator, start);
        if (p == std::string::npos) throw EConvertError("'" + value + "' is not a load case");
        const std::string part = value.substr(start, p - start);
        if (!Trim(part).empty()) c.values.*kProfileValues[i].member = FloatFromText(part);
        start = p + 1;
    }
    c.name = CaseName(value.substr(start));
    return c;
}

std::string Tr(const char* text)
{
    return QCoreApplication::translate("Velk", text).toStdString();
}

const char* CaseFaultText(CaseFault fault)
{
    switch (fault) {
    case CaseFault::NoName:
        return QT_TRANSLATE_NOOP("Velk", "没有名称");
    case CaseFault::NameTooLong:
        return QT_TRANSLATE_NOOP("Velk", "名称太长");
    case CaseFault::NoFlow:
        return QT_TRANSLATE_NOOP("Velk", "缺少气相或液相流量");
    default:
        return QT_TRANSLATE_NOOP("Velk", "名称含无效字符"); // a control character, not UTF-8
    }
}

} // namespace

void ValidateLoadCases(const std::vector<LoadCase>& cases)
{
    if (cases.size() > kMaxLoadCases)
        throw EConvertError(
            QCoreApplication::translate("Velk", "工况多于 %1 个。").arg(kMaxLoadCases).toStdString());
    CaseNames names;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const LoadCase& c = cases[i];
        // (A QString: GCC 12 warns falsely on a literal plus a temporary std::string.)
        const std::string which =
            Trim(c.name).empty() ? QStringLiteral("#%1").arg(i + 1).toStdString() : ValidUtf8(c.name);
        auto fail = [&](const char* text) {
            throw EConvertError(Tr(QT_TRANSLATE_NOOP("Velk", "工况")) + "“" + which + "”：" + Tr(text));
        };
        const CaseFaultAt fault = CheckLoadCase(c);
        if (fault.fault == CaseFault::NotFinite || fault.fault == CaseFault::NotPositive)
            throw EConvertError(
                QCoreApplication::translate("Velk", "工况“%1”的%2无效。")
                    .arg(QString::fromStdString(which),
                         QCoreApplication::translate("Velk", kProfileValues[fault.value].caption))
                    .toStdString());
        if (fault) fail(CaseFaultText(fault.fault));
        if (!names.Add(c.name)) fail(QT_TRANSLATE_NOOP("Velk", "名称重复"));
    }
}

bool IsLoadCaseRecordControl(std::string_view name)
{
    return name == kCaseControl;
}

std::string LoadCaseRecordsText(const std::vector<LoadCase>& cases)
{
    std::string out;
    for (const LoadCase& c : cases) {
        std::string value;
        for (const ProfileValue& v : kProfileValues) {
            if (const std::optional<double>& x = c.values.*v.member) value += FloatToText(*x);
            value += kSeparator;
        }
        Record(out, value + c.name);
    }
    return out;
}

std::vector<LoadCase> LoadCasesFromFormRecords(std::string_view plain, std::size_t* failedLine)
{
    std::vector<LoadCase> cases;
    const bool isProject = ForEachFormRecord(plain, [&](const FormRecord& r) {
        if (r.control != kCaseControl || r.tag != "String" || r.property != "Case") return;
        if (cases.size() >= kMaxLoadCases)
            throw EProjectTooLarge("more than " + std::to_string(kMaxLoadCases) + " load cases",
                                   EProjectTooLarge::Part::Cases, kMaxLoadCases);
        try {
            cases.push_back(CaseFrom(AnsiToUtf8(r.value)));
        } catch (...) {
            if (failedLine) *failedLine = r.valueLine;
            throw;
        }
    });
    if (!isProject) return cases;
    if (failedLine) *failedLine = 0;
    ValidateLoadCases(cases);
    return cases;
}
