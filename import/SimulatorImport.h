#pragma once
// Start-up of the simulator import, run once before any window opens: the
// PRO/II database server of this program is registered and the registry is
// searched for the installed one; the running HYSYS (a process of its own)
// is made reachable through the running-object table.

#include "HysysInterface.h"
#include "PROIIInterface.h"

inline void InitSimulatorImport()
{
    InitProiiInterface();
    InitHysysInterface();
}
