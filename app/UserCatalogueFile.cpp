#include "UserCatalogueFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "Messages.h"
#include "RegularFile.h"
#include "SafeFileReplacer.h"

UserCatalogue ReadUserCatalogueFile(const std::string& path)
{
    try {
        return ParseUserCatalogue(ReadRegularFile(path, kMaxUserCatalogueBytes + 1, "larger than 1024 KB"));
    } catch (const std::exception& e) {
        UserCatalogue c;
        c.errors.push_back({0, 0, e.what()});
        return c;
    }
}

std::vector<UserCatalogueError> LoadUserCatalogueFile(const std::string& path)
{
    UserCatalogue c = ReadUserCatalogueFile(path);
    if (c.errors.empty()) SetUserPackings(std::move(c.rows));
    return c.errors;
}

void WriteUserCatalogueFile(const std::string& path, const std::vector<CatalogueRow>& rows)
{
    SafeReplaceFile(path, UserCatalogueText(rows));
}

std::string DefaultUserCatalogueFile()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(data).filePath(QStringLiteral("velk/packings.csv")).toStdString();
}

std::vector<UserCatalogueError> CommitUserPackings(const std::string& path,
                                                   const std::vector<CatalogueRow>& rows)
{
    std::vector<UserCatalogueError> errors;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::vector<CatalogueRow> before(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(i));
        for (UserCatalogueError& e : CheckUserPacking(rows[i], before, static_cast<int>(i) + 1))
            errors.push_back(std::move(e));
    }
    if (!errors.empty()) return errors;
    if (const QString folder = QFileInfo(QString::fromStdString(path)).absolutePath(); !QDir().mkpath(folder))
        throw EInOutError("Cannot create the folder \"" + folder.toStdString() + "\"");
    WriteUserCatalogueFile(path, rows);
    SetUserPackings(rows);
    return errors;
}
