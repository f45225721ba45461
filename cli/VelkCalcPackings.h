#pragma once
// velk-calc's --packings FILE: the user's catalogue, which the command line
// reads only when named (the window reads its data folder's by default).

#include <iosfwd>
#include <string>
#include <vector>

// Takes "--packings FILE" out of args and makes FILE's rows the user's
// rows (none without the option, so that one run leaves nothing to the
// next). False, with the complaint or every fault of the file on err, when
// the option lacks its file or the file has faults: the usage error.
bool TakePackingsOption(std::vector<std::string>& args, std::ostream& err);
