#include "VelkRun.h"

#include <QCoreApplication>
#include <QLocale>
#include <mutex>
#include <sstream>

#include "Language.h"
#include "VelkCalc.h"

void EnsureVelkApplication()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (QCoreApplication::instance()) return; // the host's own (a Qt GUI in the same process)
        // Never destroyed: Python unloads extension modules at no defined
        // time, and Qt's application object must outlive every run.
        static int argc = 1;
        static char name[] = "velk";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv);
        // As velk-calc: messages in English where the locale is English.
        TLanguage::Apply(TLanguage::FromLocale(QLocale::system()));
    });
}

VelkCalcRun RunVelkCalcInProcess(const std::vector<std::string>& args)
{
    EnsureVelkApplication();
    std::ostringstream out, err;
    VelkCalcRun run;
    run.status = RunVelkCalc(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::string UsageComplaint(const std::string& err)
{
    static const std::string prefix = "velk-calc: ";
    std::string line = err.substr(0, err.find('\n'));
    // The complaint is the last "velk-calc: " line before the hint; messages
    // of the engine may come before it.
    const std::size_t hint = err.find("\nTry 'velk-calc --help'.");
    if (hint != std::string::npos) {
        const std::size_t start = err.rfind(prefix, hint);
        if (start != std::string::npos) line = err.substr(start, hint - start);
    }
    return line.rfind(prefix, 0) == 0 ? line.substr(prefix.size()) : line;
}
