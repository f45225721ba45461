#include "DesignBasis.h"

#include "Messages.h"
#include "TrNoop.h"

const char* const kSkippedMethodText = QT_TRANSLATE_NOOP("Velk", "填料参数不全，未参与最保守泛点：");
const char* const kLimitUnreachedText =
    QT_TRANSLATE_NOOP("Velk", "在系统极限负荷以内湿塔压降达不到压降限值，无法按压降确定塔径。");

const char* DesignBasisName(DesignBasis b)
{
    switch (b) {
    case DesignBasis::PressureDrop: return "pressure-drop";
    case DesignBasis::Both: return "both";
    default: return "flood";
    }
}

// Unfinished: replaced by the search in the next commit.
std::optional<double> PressureDropLimitedVelocity(const PressureDropPoint&, double)
{
    throw EVelkError("PressureDropLimitedVelocity: not implemented yet");
}

FloodVelocities AllFloodVelocities(const std::string&, const std::vector<std::string>&, bool, double, double,
                                   double, double, double)
{
    throw EVelkError("AllFloodVelocities: not implemented yet");
}
