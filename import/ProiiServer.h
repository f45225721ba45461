#pragma once
// The PRO/II database server of this program: an automation server with the
// members the PRO/II import calls, reading simulation database files
// (ProiiServerFile.h) in place of PRO/II's own.
//
// Server members:
//   Initialize                 resets the server (options back to defaults);
//                              needed before OpenDatabase
//   SetOption(name, value)     "DoublePrecision", "0" or "1": reals in double
//                              rather than single precision
//   OpenDatabase(path)         the open database (ProiiServerDatabase.h)
// Any other member is an automation error.

#include <memory>
#include <string>

#include "AutoObject.h"
#include "ProiiServerObjects.h"

class ProiiDatabaseServer : public AutoDispatch
{
public:
    // The version suffix this server is registered under.
    static constexpr const char* kVersion = "10";
    static constexpr const char* kProgIdPrefix = "SimSciDbs.Database.";

    ProiiDatabaseServer();
    std::string ClassName() const override { return "SimSciDbs.Database"; }

    static std::string ProgId() { return std::string(kProgIdPrefix) + kVersion; }

private:
    std::shared_ptr<ProiiServerOptions> options_;
    bool initialized_ = false;
};

// Enters the server in the automation class registry under ProgId() (later
// calls do nothing more).
void RegisterProiiServerComponent();
