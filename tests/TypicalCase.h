#pragma once
// The column section most tests start from (2.5 kg/s of liquid, 3 kg/s of
// vapour, light organic properties), typed into a page as a user would, and
// a profile stage with the same properties at k times the flows.
#include <utility>

#include "CalcPage.h"
#include "ColumnProfile.h"

inline void TypeTypicalCase(CalcPage& page)
{
    for (auto [field, text] : {std::pair{"LD", "2.5"},
                               {"VD", "3.0"},
                               {"DlD", "800"},
                               {"DvD", "2.5"},
                               {"MlD", "0.0003"},
                               {"MvD", "0.00001"},
                               {"SLD", "0.02"},
                               {"DlfD", "2e-9"},
                               {"DvfD", "1e-5"},
                               {"alfD", "2"}})
        page.Field(field)->SetText(text);
}

inline ProfileStage TypicalStage(int number, double k)
{
    ProfileStage s;
    s.number = number;
    s.L = 2.5 * k;
    s.V = 3.0 * k;
    s.rhoL = 800;
    s.rhoV = 2.5;
    s.muL = 0.0003;
    s.muV = 0.00001;
    s.sigma = 0.02;
    return s;
}
