#include <QGuiApplication>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "VelkCalc.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    // Drawing the diagram and writing the report need fonts and images, so
    // those options get an application object; it never opens a window.
    std::unique_ptr<QGuiApplication> app;
    for (const auto& a : args)
        if (a == "--diagram" || a == "--report") {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            app = std::make_unique<QGuiApplication>(argc, argv);
            break;
        }
    return RunVelkCalc(args, std::cout, std::cerr);
}
