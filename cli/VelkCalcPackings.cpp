#include "VelkCalcPackings.h"

#include <ostream>

#include "PackingCatalogue.h"
#include "UserCatalogueFile.h"

bool TakePackingsOption(std::vector<std::string>& args, std::ostream& err)
{
    std::string file;
    bool given = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--packings") continue;
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            err << "velk-calc: --packings needs a file\nTry 'velk-calc --help'.\n";
            return false;
        }
        file = args[i + 1];
        given = true;
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        --i;
    }
    if (!given) {
        SetUserPackings({});
        return true;
    }
    const auto errors = LoadUserCatalogueFile(file);
    if (errors.empty()) return true;
    err << UserCatalogueErrorsText(errors, "velk-calc: " + file);
    return false;
}
