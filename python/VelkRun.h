#pragma once
// velk-calc run inside the calling process and thread, for the Python
// module: the same arguments, the same printed JSON and exit status.

#include <string>
#include <vector>

struct VelkCalcRun {
    int status = 0;
    std::string out; // what velk-calc prints on stdout (the JSON)
    std::string err; // what it prints on stderr
};

// Makes the application object the translations need, once per process, if
// the host made none. Safe to call from any thread.
void EnsureVelkApplication();

// Runs velk-calc on the arguments (without the program name).
VelkCalcRun RunVelkCalcInProcess(const std::vector<std::string>& args);

// The complaint of a usage error (exit status 2) without the program's name
// and the hint to --help: "unknown packing 'X'; ...".
std::string UsageComplaint(const std::string& err);
