#pragma once
// Helpers for the workbook tests: an independent reader (openpyxl, run by
// the system's Python) and scratch folders.

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <string>

namespace xls_support
{

// Debian's interpreter carries python3-openpyxl; a python3 earlier on PATH
// (a version manager's) may not.
inline QString Python()
{
    return QFile::exists("/usr/bin/python3") ? QStringLiteral("/usr/bin/python3") : QStringLiteral("python3");
}

// The workbook at path as read by openpyxl; an empty object (and the error
// in *error) when it cannot be read.
inline QJsonObject ReadBack(const QString& path, QString* error = nullptr)
{
    QProcess p;
    p.start(Python(), {QStringLiteral(VELK_TEST_DATA_DIR "/xlsx_dump.py"), path});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (error) *error = QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

inline QJsonObject Cells(const QJsonObject& book, const QString& sheet)
{
    return book.value("cells").toObject().value(sheet).toObject();
}

// Runs a Python snippet (with openpyxl available); returns its exit code.
inline int RunPython(const QString& code)
{
    QProcess p;
    p.start(Python(), {QStringLiteral("-c"), code});
    p.waitForFinished(60000);
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

inline std::string Std(const QString& s)
{
    return s.toStdString();
}

} // namespace xls_support
