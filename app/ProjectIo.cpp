#include "ProjectIo.h"

#include "Messages.h"

// Bridged to the project file reader and writer once they land.
void LoadProjectFile(CalcPage&, const QString&) { throw EInOutError("Project files are not available yet"); }
void SaveProjectFile(CalcPage&, const QString&) { throw EInOutError("Project files are not available yet"); }
