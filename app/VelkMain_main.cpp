#include <QApplication>
#include <QFont>
#include <QLocale>

#include "FontSetup.h"
#include "GuiMessageSink.h"
#include "Language.h"
#include "MyAppConst.h"
#include "MyXls.h"
#include "NamedMutex.h"
#include "RecentFiles.h"
#include "Retranslator.h"
#include "SimulatorImport.h"
#include "UnitMain.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // A second start while one runs ends at once, silently.
    NamedMutex mutex("VLKEClient");
    if (mutex.AlreadyExists())
        return 0;
    InstallFontSubstitutes();
    QFont font(DefaultUiFamily());
    font.setPixelSize(12);
    QApplication::setFont(font);
    QApplication::setApplicationName(QStringLiteral("velk"));

    // The language before the first window: the one chosen in the menu
    // (kept in the option file), else the system's.
    TRecentFiles options(TMyAppConst().MypathName());
    options.LoadRecentFiles();
    TLanguage::Apply(TLanguage::FromName(options.Record(QStringLiteral("Language")),
                                         TLanguage::FromLocale(QLocale::system())));
    TRetranslator retranslator;

    // The message boxes first: the start-up probes may have something to say.
    GuiMessageSink sink;
    ScopedMessageSink scope(&sink);
    MyXlsInitialization();
    InitSimulatorImport();
    const QStringList args = QApplication::arguments();
    TFormVELK window(args.size() > 1 ? args.at(1) : QString());
    sink.setParent(&window);
    window.showMaximized();
    const int rc = QApplication::exec();
    MyXlsFinalization();
    return rc;
}
