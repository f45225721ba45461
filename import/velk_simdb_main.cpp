// velk-simdb: builds the simulation database files that the PRO/II import
// reads, from a tray profile in CSV form, and writes a file's contents back
// out as such a profile.
//
//   velk-simdb build PROFILE.csv OUTPUT.prz
//   velk-simdb dump FILE.prz

#include <cstdio>
#include <cstring>
#include <string>

#include "ProiiServerFile.h"
#include "ProiiServerProfile.h"
#include "RegularFile.h"

namespace
{

int Usage(FILE* to)
{
    std::fprintf(to,
                 "Usage:\n"
                 "  velk-simdb build PROFILE.csv OUTPUT.prz   build a simulation file from a tray profile\n"
                 "  velk-simdb dump FILE.prz                  write a simulation file as a tray profile\n"
                 "The profile format is described in docs/simulator-import.md.\n");
    return to == stdout ? 0 : 2;
}

int Build(const std::string& profile, const std::string& output)
{
    const SimulationData data =
        ParseTrayProfile(ReadRegularFile(profile, kMaxTrayProfileBytes, "Too large for a tray profile"), profile);
    WriteSimulationFile(output, data);
    std::size_t trays = 0;
    for (const SimColumn& c : data.columns)
        trays += c.trays.size();
    std::printf("velk-simdb: wrote %s: %zu column(s), %zu tray(s), status %d\n", output.c_str(),
                data.columns.size(), trays, data.status);
    return 0;
}

int Dump(const std::string& path)
{
    const std::string text = WriteTrayProfile(ReadSimulationFile(path));
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
        return Usage(stdout);
    try {
        if (argc == 4 && std::strcmp(argv[1], "build") == 0) return Build(argv[2], argv[3]);
        if (argc == 3 && std::strcmp(argv[1], "dump") == 0) return Dump(argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velk-simdb: %s\n", e.what());
        return 1;
    }
    return Usage(stderr);
}
