#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "Language.h"
#include "VelkCalc.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    // Drawing the diagram and writing the report need fonts and images, so
    // those options get a GUI application object; it never opens a window.
    // Every run has an application object: the translations need one.
    std::unique_ptr<QCoreApplication> app;
    for (const auto& a : args)
        if (a == "--diagram" || a == "--report" || a == "--charts" || a == "--pdf" || a == "--column-svg") {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            app = std::make_unique<QGuiApplication>(argc, argv);
            break;
        }
    if (!app)
        app = std::make_unique<QCoreApplication>(argc, argv);
    // Messages in English where the locale is English, Chinese otherwise.
    TLanguage::Apply(TLanguage::FromLocale(QLocale::system()));
    return RunVelkCalc(args, std::cout, std::cerr);
}
