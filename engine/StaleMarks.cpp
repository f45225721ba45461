#include "StaleMarks.h"

#include <algorithm>

#include "EditD.h"

bool StaleMarks::IsStale(const TEditD* f) const
{
    // Only a value can be out of date: a result emptied since (a case run
    // on a copy starts from empty results) carries no mark.
    return f && !f->IsBlank() && std::find(stale_.begin(), stale_.end(), f) != stale_.end();
}

bool StaleMarks::Applies(const ResultDependency& rule) const
{
    const TEditD* r = rule.result;
    if (r->IsBlank() || IsStale(r)) return false;
    if (!rule.anyColour && (r->Color() != rule.colour || !r->MyResolved())) return false;
    for (const TEditD* in : *rule.inputs)
        if (in != r && (in->IsBlank() || IsStale(in))) return true;
    return false;
}

void StaleMarks::Update(const ResultDependency* rules, std::size_t count)
{
    stale_.clear();
    // A mark can make a result downstream stale: repeat until nothing is added.
    for (bool added = true; added;) {
        added = false;
        for (std::size_t i = 0; i < count; ++i)
            if (Applies(rules[i])) {
                stale_.push_back(rules[i].result);
                added = true;
            }
    }
}
