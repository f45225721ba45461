#include "VelkCalcExtras.h"

#include "Messages.h"
#include "PerformanceCommand.h"

bool VelkCalcDiagram(CalcPage& page, const std::string& path, int width, int height, std::string& why)
{
    try {
        // The page has just been recalculated by the caller.
        const auto in = PerformanceInputFromPage(page, false);
        if (!in) {
            why = "nothing to draw: the diameter, the liquid flow or the vapour flow is empty";
            return false;
        }
        QString error;
        if (!SavePerformanceDiagram(QString::fromStdString(path), QSize(width, height), *in, &error)) {
            why = error.toStdString();
            return false;
        }
        return true;
    } catch (const EAbort&) {
        why = "the diagram needs readable flows and liquid load";
        return false;
    } catch (const std::exception& e) {
        why = e.what();
        return false;
    }
}
