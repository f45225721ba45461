// Rating a 100-stage column profile: every stage sized, the bed diameters
// rounded, every stage rated at its bed's diameter (two recalculations per
// stage), over two beds.
#include <benchmark/benchmark.h>

#include "ColumnRating.h"
#include "Messages.h"

namespace
{

ColumnProfile HundredStages()
{
    ColumnProfile p;
    for (int n = 1; n <= 100; ++n) {
        // Loads that rise towards the middle of the column, as in a column
        // with a feed there.
        const double k = 0.6 + 0.4 * (n <= 50 ? n : 101 - n) / 50.0;
        ProfileStage s;
        s.number = n;
        s.L = 2.5 * k;
        s.V = 3.0 * k;
        s.rhoL = 800 - n;
        s.rhoV = 2.5 + 0.01 * n;
        s.muL = 0.0003;
        s.muV = 0.00001;
        s.sigma = 0.02;
        p.stages.push_back(s);
    }
    p.beds = {{1, 50, "Mellapak-350Y", 0, false, {}}, {51, 100, "Mellapak-350Y", 1, false, {}}};
    return p;
}

void BM_RateProfile100(benchmark::State& state)
{
    RecordingSink sink;
    ScopedMessageSink scope(&sink);
    CalcPage page(false);
    for (auto [f, t] : {std::pair{"DlfD", "2e-9"}, {"DvfD", "1e-5"}, {"alfD", "2"}})
        page.Field(f)->SetText(t);
    const ColumnProfile profile = HundredStages();
    int completed = 0;
    for (auto _ : state) {
        const ProfileRating r = RateProfile(page, profile);
        completed = 0;
        for (const StageRating& s : r.stages)
            completed += s.completed && s.error.empty();
        benchmark::DoNotOptimize(r.beds.data());
    }
    if (completed != 100)
        state.SkipWithError(("only " + std::to_string(completed) + " stages rated").c_str());
}
BENCHMARK(BM_RateProfile100)->Unit(benchmark::kMillisecond);

} // namespace
