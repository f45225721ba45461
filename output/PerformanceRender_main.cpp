// performance-render FILE [--size WxH] [L V f uL uLmin]
// Draws the operating performance diagram of one case (SI units) into FILE.

#include "PerformanceDiagram.h"

#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    QSize size = kDefaultDiagramSize;
    const int sizeAt = static_cast<int>(args.indexOf(QStringLiteral("--size")));
    if (sizeAt >= 0) {
        const QStringList wh =
            sizeAt + 1 < args.size() ? args[sizeAt + 1].split(QLatin1Char('x')) : QStringList();
        bool okW = false, okH = false;
        if (wh.size() == 2)
            size = QSize(wh[0].toInt(&okW), wh[1].toInt(&okH));
        if (!okW || !okH) {
            std::fprintf(stderr, "--size needs WxH\n");
            return 2;
        }
        args.remove(sizeAt, 2);
    }
    if (args.size() != 1 && args.size() != 6) {
        std::fprintf(stderr, "usage: performance-render FILE [--size WxH] [L V f uL uLmin]\n");
        return 2;
    }
    TPerformanceInput in;
    in.L = 2.5;
    in.V = 3.0;
    in.f = 80;
    in.uL = 0.004;
    in.uLmin = 5.5556e-5;
    if (args.size() == 6) {
        double* fields[] = {&in.L, &in.V, &in.f, &in.uL, &in.uLmin};
        for (int i = 0; i < 5; ++i) {
            bool ok = false;
            *fields[i] = args[i + 1].toDouble(&ok);
            if (!ok) {
                std::fprintf(stderr, "not a number: %s\n", qPrintable(args[i + 1]));
                return 2;
            }
        }
    }
    QString error;
    if (!SavePerformanceDiagram(args[0], size, in, &error)) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
