#include "PrivateRuntime.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// True when path is a folder (not a link) owned by us with mode 0700; a
// folder we make here gets that mode.
bool CheckFolder(const QString& path, bool create, QString* why)
{
    const QByteArray native = QFile::encodeName(path);
    if (create && ::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        *why = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat st;
    if (::lstat(native.constData(), &st) != 0) {
        *why = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        *why = QCoreApplication::translate("Velk", "%1 不是文件夹").arg(path);
        return false;
    }
    if (st.st_uid != ::geteuid()) {
        *why = QCoreApplication::translate("Velk", "%1 属于其他用户").arg(path);
        return false;
    }
    if ((st.st_mode & 07777) != 0700) {
        *why = QCoreApplication::translate("Velk", "%1 的权限不是 0700").arg(path);
        return false;
    }
    return true;
}

} // namespace

bool IsPrivateFolder(const QString& path, QString* error)
{
    QString why;
    if (CheckFolder(path, false, &why)) return true;
    if (error) *error = why;
    return false;
}

QString PrivateRuntimeDir(QString* error)
{
    QString why;
    const QString forced = qEnvironmentVariable("VELK_ROT_DIR");
    if (!forced.isEmpty()) {
        if (CheckFolder(forced, true, &why)) return QDir::cleanPath(forced);
        if (error) *error = why;
        return {};
    }
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && CheckFolder(runtime, false, &why)) return QDir::cleanPath(runtime);

    const QString name = QStringLiteral("velk-%1").arg(::geteuid());
    QStringList tried;
    if (!why.isEmpty()) tried << why;
    // The temporary folder is shared: another user may hold our name there
    // already, so the user's cache folder is the fall-back.
    QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty()) cache = QDir::homePath() + QStringLiteral("/.cache");
    for (const QString& base : {QDir::tempPath(), cache}) {
        QDir().mkpath(base);
        const QString candidate = QDir(base).filePath(name);
        if (CheckFolder(candidate, true, &why)) return candidate;
        tried << why;
    }
    if (error)
        *error = QCoreApplication::translate("Velk", "找不到只属于本用户的运行文件夹：%1")
                     .arg(tried.join(QStringLiteral("; ")));
    return {};
}

bool PeerIsSameUser(qintptr fd, QString* error)
{
    struct ucred cred {
    };
    socklen_t length = sizeof cred;
    if (::getsockopt(static_cast<int>(fd), SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0 ||
        length != sizeof cred) {
        if (error)
            *error = QCoreApplication::translate("Velk", "无法确认连接另一端的用户：%1")
                         .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (cred.uid != ::geteuid()) {
        if (error)
            *error = QCoreApplication::translate("Velk", "连接另一端属于其他用户（用户号 %1），已拒绝。")
                         .arg(cred.uid);
        return false;
    }
    return true;
}
