// Without a GUI application the diagram is refused with a reason instead of
// ending the program in the font database.

#include "PerformanceDiagram.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

TEST(PerformanceWithoutGui, RefusesWithAReason)
{
    int argc = 1;
    char arg0[] = "performance_nogui_test";
    char* argv[] = {arg0, nullptr};
    QCoreApplication app(argc, argv);
    TPerformanceInput in{2.5, 3.0, 80, 0.004, 5.5556e-5};
    const QString file = QDir::temp().filePath(QStringLiteral("velk_nogui_diagram.png"));
    QFile::remove(file);
    QString error;
    EXPECT_FALSE(SavePerformanceDiagram(file, kDefaultDiagramSize, in, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("offscreen")));
    EXPECT_FALSE(QFile::exists(file));
    TImageSurface surface(QSize(100, 100));
    EXPECT_FALSE(DrawPerformanceDiagram(&surface, in).isEmpty());
}
