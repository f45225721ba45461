#include "VelkSweep.h"

#include <limits>

#include "CalcPage.h"
#include "CaseRun.h"
#include "Messages.h"
#include "NumberText.h"
#include "PackingCatalogue.h"
#include "VelkCalc.h"
#include "VelkRun.h"

namespace
{

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// As velk-calc types FIELD=TEXT: a result field given is one the user cleared.
void TypeInto(CalcPage& page, const std::string& name, const std::string& text)
{
    TEditD* f = page.Field(name);
    if (f->ReadOnly()) {
        f->SetReadOnly(false);
        f->SetColor(clWindow);
    }
    f->SetText(text);
}

// The "si" of velk-calc's JSON for the field.
double SiValue(const TEditD& f)
{
    long double v;
    if (!ParseNumber(Trim(f.Text()), v)) return kNone;
    return static_cast<double>(v * static_cast<long double>(f.Exchange()));
}

void Record(const CalcPage& page, const CaseRunResult& run, SweepResult& result)
{
    const auto& fields = page.ValueFields();
    for (std::size_t k = 0; k < fields.size(); ++k)
        result.si[k].push_back(run.completed ? SiValue(*fields[k]) : kNone);
    result.completed.push_back(run.completed);
    std::vector<std::string> texts;
    for (const RecordedMessage& m : run.messages)
        texts.push_back(m.text);
    // A case short of an input fails without a message of its own: its error says which.
    if (!run.completed && texts.empty() && !run.error.empty()) texts.push_back(run.error);
    result.messages.push_back(std::move(texts));
}

} // namespace

std::string RunSweep(const std::vector<std::string>& base, const std::string& field,
                     const std::vector<std::string>& values, SweepResult& result)
{
    EnsureVelkApplication();
    result = SweepResult();
    // As a velk-calc run starts: no packing looked up yet.
    CurrentPacking = PackingParams{};
    CalcPage page;
    RecordingSink setupMessages;
    {
        ScopedMessageSink sink(&setupMessages);
        try {
            if (std::string why = SetUpVelkCalcPage(base, page); !why.empty()) return why;
        } catch (const std::exception& e) {
            return e.what();
        }
    }
    if (!page.Field(field)) return "unknown field '" + field + "'";
    for (const TEditD* f : page.ValueFields())
        result.fields.push_back(f->Name());
    result.si.resize(result.fields.size());
    CalcPage work(false);
    for (const std::string& text : values) {
        // Each case from the page as set up, never from the case before.
        CopyPageState(page, work);
        const CaseRunResult run = RunCase(work, [&](CalcPage& p) { TypeInto(p, field, text); });
        Record(work, run, result);
    }
    return "";
}
