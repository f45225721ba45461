#include "LoadCases.h"

#include "CalcPage.h"
#include "Messages.h"
#include "TrNoop.h"

const char* const kNoNormalCaseText = QT_TRANSLATE_NOOP("Velk", "正常工况未算完，无操作弹性范围");
const char* const kEmptyWindowText = QT_TRANSLATE_NOOP("Velk", "最低负荷不低于最高负荷，无操作弹性范围");

// Unfinished: the bodies below are replaced in the next commits.
std::optional<int> NormalCaseIndex(const std::vector<LoadCase>&)
{
    throw EVelkError("NormalCaseIndex: not implemented yet");
}

std::vector<std::string> ApplyLoadCase(CalcPage&, const LoadCase&)
{
    throw EVelkError("ApplyLoadCase: not implemented yet");
}

EnvelopeResult RateLoadCases(const CalcPage&, const std::vector<LoadCase>&, const CaseObserver&)
{
    throw EVelkError("RateLoadCases: not implemented yet");
}

OperatingWindow ComputeOperatingWindow(const CalcPage&)
{
    throw EVelkError("ComputeOperatingWindow: not implemented yet");
}
