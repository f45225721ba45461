#include "MyAppConst.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <dlfcn.h>
#include <gnu/libc-version.h>
#include <sys/utsname.h>

namespace
{

QString ExecutablePath()
{
    if (QCoreApplication::instance()) {
        const QString p = QCoreApplication::applicationFilePath();
        if (!p.isEmpty()) return p;
    }
    // Without an application object (tools, early start) the kernel still knows.
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString CLibraryDirectory()
{
    // The directory the dynamic loader took the C library from is the closest
    // Linux counterpart of the Windows system directory.
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&gnu_get_libc_version), &info) != 0 && info.dli_fname) {
        const QFileInfo lib(QString::fromLocal8Bit(info.dli_fname));
        const QString canonical = lib.canonicalFilePath();
        return QFileInfo(canonical.isEmpty() ? lib.absoluteFilePath() : canonical).absolutePath();
    }
    return QStringLiteral("/usr/lib");
}

QString KernelRelease()
{
    utsname u{};
    if (uname(&u) == 0) return QString::fromLocal8Bit(u.release);
    return {};
}

} // namespace

TMyAppConst::TMyAppConst(QObject* owner) : QObject(owner)
{
    setObjectName(QStringLiteral("MyAppConstMain"));
    Recompute();
}

QString TMyAppConst::NoTrailingSeparator(const QString& dir)
{
    QString d = dir;
    while (d.size() > 1 && d.endsWith(QLatin1Char('/')))
        d.chop(1);
    return d;
}

QString TMyAppConst::DirectoryOf(const QString& exePath)
{
    const int slash = exePath.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return QStringLiteral(".");
    if (slash == 0) return QStringLiteral("/");
    return NoTrailingSeparator(exePath.left(slash));
}

QString TMyAppConst::WithoutExtension(const QString& exePath)
{
    const int slash = exePath.lastIndexOf(QLatin1Char('/'));
    const int dot = exePath.lastIndexOf(QLatin1Char('.'));
    // A dot that starts the file name ("/x/.velk") marks a hidden file, not an extension.
    if (dot > slash + 1) return exePath.left(dot);
    return exePath;
}

QString TMyAppConst::OsVersionFrom(const QString& osReleaseText, const QString& kernelRelease)
{
    QString name, version, pretty;
    static const QRegularExpression line(QStringLiteral("^\\s*([A-Z_]+)\\s*=\\s*(.*?)\\s*$"));
    for (const QString& raw : osReleaseText.split(QLatin1Char('\n'))) {
        const auto m = line.match(raw);
        if (!m.hasMatch()) continue;
        QString value = m.captured(2);
        if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        const QString key = m.captured(1);
        if (key == QLatin1String("PRETTY_NAME"))
            pretty = value;
        else if (key == QLatin1String("NAME"))
            name = value;
        else if (key == QLatin1String("VERSION_ID"))
            version = value;
    }
    if (!pretty.trimmed().isEmpty()) return pretty.trimmed();
    if (!name.trimmed().isEmpty()) return (name + QLatin1Char(' ') + version).trimmed();
    return (QStringLiteral("Linux ") + kernelRelease).trimmed();
}

void TMyAppConst::Recompute()
{
    winDir_ = QStringLiteral("/usr");
    sysDir_ = NoTrailingSeparator(CLibraryDirectory());
    tempDir_ = NoTrailingSeparator(QDir::tempPath());

    const QString exe = ExecutablePath();
    mypath_ = DirectoryOf(exe);
    mypathName_ = WithoutExtension(exe);

    QString osRelease;
    for (const char* candidate : {"/etc/os-release", "/usr/lib/os-release"}) {
        QFile f(QString::fromLatin1(candidate));
        if (f.open(QIODevice::ReadOnly)) {
            osRelease = QString::fromUtf8(f.read(64 * 1024));
            break;
        }
    }
    osVersion_ = OsVersionFrom(osRelease, KernelRelease());
}
