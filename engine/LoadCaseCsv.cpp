#include "LoadCaseCsv.h"

#include "Messages.h"

// Unfinished: replaced by the reader in the next commits.
std::vector<LoadCase> ParseLoadCasesCsv(const std::string&, const std::string&)
{
    throw EVelkError("ParseLoadCasesCsv: not implemented yet");
}

std::string WriteLoadCasesCsv(const std::vector<LoadCase>&)
{
    throw EVelkError("WriteLoadCasesCsv: not implemented yet");
}
