#pragma once
// The one Qt application object of a benchmark program (QGuiApplication or
// QApplication), on the offscreen platform unless one is chosen; made on
// first use and kept to the end.
#include <QByteArray>
#include <QtGlobal>

template <class App> App& BenchApp()
{
    static int argc = 1;
    static char arg0[] = "velk_bench";
    static char* argv[] = {arg0, nullptr};
    static App* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return new App(argc, argv);
    }();
    return *app;
}
