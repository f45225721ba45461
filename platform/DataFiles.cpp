#include "DataFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "VelkInstallDirs.h"

QString ProgramDirPath()
{
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    // No application object yet (a tool that reads its data first).
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
}

QString DataDirFromProgram() { return QString::fromUtf8(kVelkDataDirFromBinDir); }

QString DataFilePath(const QString& name)
{
    const QString beside = ProgramDirPath() + QLatin1Char('/') + name;
    if (QFileInfo::exists(beside)) return beside;
    const QString shared = QDir::cleanPath(ProgramDirPath() + QLatin1Char('/') + DataDirFromProgram() +
                                           QLatin1Char('/') + name);
    if (QFileInfo::exists(shared)) return shared;
    return beside;
}
