// velk-hysys: a stand-in for a running HYSYS. It opens a case file, enters
// itself in the running-object table as "HYSYS.Application" (a local socket
// per user) and answers the automation calls of the HYSYS import until it is
// ended with Ctrl+C or a termination signal.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>

#include "HysysServerCase.h"
#include "HysysServerObjects.h"
#include "LocalAutoProtocol.h"
#include "LocalAutoServer.h"

namespace
{

int g_signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char c = 1;
    // Only async-signal-safe work here; the event loop does the rest.
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &c, 1);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velk-hysys"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stand-in for a running HYSYS: serves a case file to the HYSYS import of velk."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("case"),
                                 QStringLiteral("Case file (.hsc) to open; without it "
                                                "the stand-in runs with no case open."),
                                 QStringLiteral("[case]"));
    const QCommandLineOption socketOption(
        QStringLiteral("socket"),
        QStringLiteral("Listen under this socket path instead of the per-user one."), QStringLiteral("path"));
    const QCommandLineOption delayOption(QStringLiteral("delay"),
                                         QStringLiteral("Hold every answer back this many milliseconds."),
                                         QStringLiteral("ms"), QStringLiteral("0"));
    parser.addOption(socketOption);
    parser.addOption(delayOption);
    parser.process(app);

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        std::fprintf(stderr, "velk-hysys: only one case file can be open\n");
        return 2;
    }
    bool delayOk = false;
    const int delay = parser.value(delayOption).toInt(&delayOk);
    if (!delayOk || delay < 0 || delay > 600000) {
        std::fprintf(stderr, "velk-hysys: --delay needs a number of milliseconds\n");
        return 2;
    }

    std::shared_ptr<const HysysCaseData> activeCase;
    if (!positional.isEmpty()) {
        try {
            activeCase = std::make_shared<const HysysCaseData>(LoadHysysCase(positional[0].toStdString()));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "velk-hysys: %s\n", e.what());
            return 2;
        }
    }

    LocalAutoServer server(MakeHysysApplication(activeCase));
    server.SetResponseDelay(delay);
    const QString name =
        parser.isSet(socketOption) ? parser.value(socketOption) : LocalAuto::ServerName("HYSYS.Application");
    if (!server.Listen(name)) {
        std::fprintf(stderr, "velk-hysys: cannot register as HYSYS.Application: %s\n",
                     server.ErrorText().toLocal8Bit().constData());
        return 3;
    }

    if (::pipe(g_signalPipe) == 0) {
        auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
        std::signal(SIGINT, OnSignal);
        std::signal(SIGTERM, OnSignal);
    }

    if (activeCase) {
        int columns = 0;
        for (const HysysOperationData& op : activeCase->operations)
            columns += op.IsColumn() ? 1 : 0;
        std::printf("velk-hysys: case \"%s\" open, %d operations of which %d columns\n",
                    activeCase->title.empty() ? activeCase->path.c_str() : activeCase->title.c_str(),
                    static_cast<int>(activeCase->operations.size()), columns);
    } else {
        std::printf("velk-hysys: no case open\n");
    }
    std::printf("velk-hysys: running as HYSYS.Application at %s\n",
                server.FullServerName().toLocal8Bit().constData());
    std::fflush(stdout);

    return app.exec();
}
