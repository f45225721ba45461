#pragma once
// Program paths and a few system directories, computed once from the running
// system. The properties mirror the ones the main window keeps in its layout;
// assigning any of them recomputes all of them from the system and ignores the
// value given, so a stale value stored somewhere never takes effect.
//
// Linux meaning of each property (none ends with a separator, "/" excepted):
//   WinDir      the operating system's installation prefix, "/usr"
//   SysDir      the directory of the C library loaded into this process,
//               e.g. "/usr/lib/x86_64-linux-gnu"
//   TempDir     the user's temporary directory ($TMPDIR, else "/tmp")
//   Mypath      the directory of the executable
//   MypathName  the executable's full path without its extension
//   OSVersion   PRETTY_NAME of /etc/os-release, else "Linux " + kernel release

#include <QObject>
#include <QString>

class TMyAppConst : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString WinDir READ WinDir WRITE setWinDir)
    Q_PROPERTY(QString SysDir READ SysDir WRITE setSysDir)
    Q_PROPERTY(QString TempDir READ TempDir WRITE setTempDir)
    Q_PROPERTY(QString Mypath READ Mypath WRITE setMypath)
    Q_PROPERTY(QString MypathName READ MypathName WRITE setMypathName)
    Q_PROPERTY(QString OSVersion READ OSVersion WRITE setOSVersion)

public:
    explicit TMyAppConst(QObject* owner = nullptr);

    QString WinDir() const { return winDir_; }
    QString SysDir() const { return sysDir_; }
    QString TempDir() const { return tempDir_; }
    QString Mypath() const { return mypath_; }
    QString MypathName() const { return mypathName_; }
    QString OSVersion() const { return osVersion_; }

    void setWinDir(const QString&) { Recompute(); }
    void setSysDir(const QString&) { Recompute(); }
    void setTempDir(const QString&) { Recompute(); }
    void setMypath(const QString&) { Recompute(); }
    void setMypathName(const QString&) { Recompute(); }
    void setOSVersion(const QString&) { Recompute(); }

    // Pure helpers, public so that they can be checked on their own.
    // The directory part of an executable path, without a trailing separator.
    static QString DirectoryOf(const QString& exePath);
    // The path with the last extension of its file name removed
    // ("/opt/velk/velk.bin" -> "/opt/velk/velk"; dots in folders are kept).
    static QString WithoutExtension(const QString& exePath);
    // The operating system's name from the text of an os-release file;
    // falls back to "Linux " + kernelRelease when the text names none.
    static QString OsVersionFrom(const QString& osReleaseText, const QString& kernelRelease);
    // Removes trailing separators, keeping a lone "/".
    static QString NoTrailingSeparator(const QString& dir);

private:
    void Recompute();

    QString winDir_, sysDir_, tempDir_, mypath_, mypathName_, osVersion_;
};
