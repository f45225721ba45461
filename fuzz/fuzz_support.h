#pragma once
// Shared checks of the fuzz targets: what must hold after any input.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CalcPage.h"
#include "Messages.h"

namespace fuzzsupport
{

// Messages are not expected from reading; any that come are dropped here.
inline void QuietMessages()
{
    static RecordingSink sink;
    static bool installed = false;
    if (!installed) {
        SetMessageSink(&sink);
        installed = true;
    }
    sink.messages.clear();
}

[[noreturn]] inline void Fail(const std::string& why)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", why.c_str());
    std::abort();
}

// Every field keeps a usable unit factor whatever the file said.
inline void CheckFactors(const CalcPage& page)
{
    for (const TEditD* f : page.ValueFields())
        if (!(f->Exchange() > 0) || !(f->Exchange() < 1e308))
            Fail(f->Name() + " got the factor " + std::to_string(f->Exchange()));
}

// True when each field's factor is its selector's: only then does the saved
// state read back as the same state (a selector's index converts its field).
inline bool UnitsConsistent(const CalcPage& page)
{
    for (const TEditD* f : page.ValueFields()) {
        const TComboBoxU* u = page.UnitOf(f);
        if (u && u->ItemIndex() >= 0 && TComboBoxU::ItemFactor(u->Items()[u->ItemIndex()]) != f->Exchange())
            return false;
    }
    return true;
}

inline std::vector<std::string> State(const CalcPage& page)
{
    std::vector<std::string> out;
    for (const TControl* c : page.Controls()) {
        std::string s = c->Name() + ":";
        if (auto* f = dynamic_cast<const TEditD*>(c))
            s += f->Text() + "|" + std::to_string(f->Exchange()) + "|" + std::to_string(f->ReadOnly()) + "|" +
                 std::to_string(f->Color());
        else if (auto* u = dynamic_cast<const TComboBoxU*>(c))
            s += std::to_string(u->ItemIndex());
        else if (auto* combo = dynamic_cast<const TComboModel*>(c))
            // An editable box counts by its text: "80" typed and item "80"
            // selected are the same fraction.
            s += combo->Editable() ? combo->Text() : std::to_string(combo->ItemIndex());
        else if (auto* t = dynamic_cast<const TTextModel*>(c))
            s += t->Text();
        else if (auto* check = dynamic_cast<const TCheckModel*>(c))
            s += std::to_string(check->Checked());
        out.push_back(s);
    }
    return out;
}

// Fails with the first control whose state differs.
inline void ExpectSameState(const CalcPage& a, const CalcPage& b, const char* what)
{
    const auto sa = State(a), sb = State(b);
    for (std::size_t i = 0; i < sa.size(); ++i)
        if (sa[i] != sb[i]) Fail(std::string(what) + ": [" + sa[i] + "] became [" + sb[i] + "]");
}

} // namespace fuzzsupport
