// velk-simdb build on many columns: parsing a tray profile and writing the
// simulation database must grow linearly with the columns (40,000 columns
// once took 19 s because every row looked its column up among all others).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "ProiiServerFile.h"
#include "ProiiServerProfile.h"

namespace
{

std::string Profile(int columns)
{
    std::string text = "column,tray,pressure,temperature,liq_molar_rate,liq_mw,liq_density,liq_viscosity,"
                       "liq_surface_tension,vap_molar_rate,vap_mw,vap_density,vap_viscosity\n";
    for (int c = 0; c < columns; ++c)
        for (int t = 1; t <= 2; ++t)
            text += "C" + std::to_string(c) + "," + std::to_string(t) +
                    ",1000,350,0.01,60,600,0.0002,0.012,0.012,55,20,0.00001\n";
    for (int c = 0; c < columns; ++c)
        text += "#@reflux,C" + std::to_string(c) + ",2.5\n#@feed,C" + std::to_string(c) + ",1\n";
    return text;
}

void BM_BuildSimulationFile(benchmark::State& state)
{
    const std::string text = Profile(static_cast<int>(state.range(0)));
    char tmpl[] = "/tmp/velk-simdb-bench-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);
    const std::string out = dir + "/bench.prz";
    for (auto _ : state)
        WriteSimulationFile(out, ParseTrayProfile(text, "bench.csv"));
    state.SetComplexityN(state.range(0));
    ::unlink(out.c_str());
    ::rmdir(dir.c_str());
}
BENCHMARK(BM_BuildSimulationFile)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
