#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLocale>

#include "FontSetup.h"
#include "GuiMessageSink.h"
#include "Language.h"
#include "MessageBoxFit.h"
#include "MyAppConst.h"
#include "MyXls.h"
#include "NamedMutex.h"
#include "RecentFiles.h"
#include "Retranslator.h"
#include "SimulatorImport.h"
#include "SingleInstance.h"
#include "UnitMain.h"
#include "WheelGuard.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // A second start while one runs ends at once, silently, after handing
    // its file (or a request to come forward) to the running program.
    NamedMutex mutex("VLKEClient");
    if (mutex.AlreadyExists()) {
        const QStringList args = QApplication::arguments();
        // Too short to name a "*.vel" file: the running window only comes forward.
        const QString file = args.size() > 1 && args.at(1).size() >= 4 ? args.at(1) : QString();
        TSingleInstance::SendToRunning(file);
        return 0;
    }
    InstallFontSubstitutes();
    QFont font(DefaultUiFamily());
    font.setPixelSize(12);
    QApplication::setFont(font);
    QApplication::setApplicationName(QStringLiteral("velk"));
    // The desktop entry's id, so that the desktop matches the window to it.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.velk.Velk"));

    // The language before the first window: the one chosen in the menu
    // (kept in the option file), else the system's.
    TRecentFiles options(TMyAppConst().MypathName());
    options.LoadRecentFiles();
    TLanguage::Apply(TLanguage::FromName(options.Record(QStringLiteral("Language")),
                                         TLanguage::FromLocale(QLocale::system())));
    TRetranslator retranslator;
    // Before the first window, so that every control it makes is guarded.
    TWheelGuard::InstallOnApplication();
    TMessageBoxFit::InstallOnApplication();

    // The message boxes first: the start-up probes may have something to say.
    GuiMessageSink sink;
    ScopedMessageSink scope(&sink);
    MyXlsInitialization();
    InitSimulatorImport();
    const QStringList args = QApplication::arguments();
    TFormVELK window(args.size() > 1 ? args.at(1) : QString());
    sink.setParent(&window);
    window.setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.velk.Velk"),
                                          QIcon(QStringLiteral(":/icons/io.github.velk.Velk.svg"))));
    window.showMaximized();
    TSingleInstance instance;
    instance.Listen();
    QObject::connect(&instance, &TSingleInstance::OpenRequested, &window,
                     [&window](const QString& file) { window.OpenPassedFile(file); });
    QObject::connect(&instance, &TSingleInstance::RaiseRequested, &window, [&window] { window.BringToFront(); });
    const int rc = QApplication::exec();
    MyXlsFinalization();
    return rc;
}
