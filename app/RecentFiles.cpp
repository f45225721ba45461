#include "RecentFiles.h"

#include "IconvText.h"
#include "Messages.h"
#include "RegularFile.h"
#include "SafeFileReplacer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cerrno>
#include <climits>
#include <iconv.h>
#include <optional>
#include <unistd.h>

namespace
{

std::optional<QString> FromGbk(const QByteArray& bytes)
{
    if (auto utf8 = IconvConvert("UTF-8", "GBK", bytes)) return QString::fromUtf8(*utf8);
    // A hand-edited option file may well be UTF-8; take it when it is valid.
    if (auto same = IconvConvert("UTF-8", "UTF-8", bytes)) return QString::fromUtf8(*same);
    return std::nullopt;
}

std::optional<QByteArray> ToGbk(const QString& text)
{
    return IconvConvert("GBK", "UTF-8", text.toUtf8());
}

// A whole number, or nothing for words. Numbers too long for an int saturate,
// so that "a count in the millions" and worse are clamped like any big count.
std::optional<long long> WholeNumber(const QString& line)
{
    static const QRegularExpression re(QStringLiteral("^([+-]?)([0-9]+)$"));
    const auto m = re.match(TRecentFiles::Trim(line));
    if (!m.hasMatch()) return std::nullopt;
    const QString digits = m.captured(2);
    const bool negative = m.captured(1) == QLatin1String("-");
    long long v = digits.size() > 12 ? LLONG_MAX / 2 : digits.toLongLong();
    return negative ? -v : v;
}

constexpr qint64 MaxOptionFileBytes = 1 << 20;
constexpr int MaxPathChars = 4096;

} // namespace

TRecentFiles::TRecentFiles(const QString& mypathName, QObject* parent)
    : QObject(parent), primary_(mypathName + QStringLiteral(".opt"))
{
}

QString TRecentFiles::Trim(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s.at(b).unicode() <= 0x20)
        ++b;
    while (e > b && s.at(e - 1).unicode() <= 0x20)
        --e;
    return s.mid(b, e - b);
}

QString TRecentFiles::FallbackOptionFileName() const
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty()) return {};
    return config + QStringLiteral("/velk/") + QFileInfo(primary_).fileName();
}

bool TRecentFiles::PrimaryUsable() const
{
    const QFileInfo file(primary_);
    if (file.exists()) return file.isFile() && file.isWritable();
    const QFileInfo dir(file.absolutePath());
    return dir.isDir() && dir.isWritable();
}

bool TRecentFiles::LoadRecentFiles()
{
    // The writable location is the one the list was last saved to; the other
    // one may hold an older list (or a seed shipped with the program).
    QStringList candidates{primary_, FallbackOptionFileName()};
    if (!PrimaryUsable()) std::swap(candidates[0], candidates[1]);
    // The first candidate that opens as a regular file, judged by the open
    // file: a pipe swapped in after a check by name would hang the start.
    QString path;
    int fd = -1;
    for (const QString& c : candidates) {
        if (c.isEmpty()) continue;
        try {
            fd = OpenRegularFile(QFile::encodeName(c).toStdString());
            path = c;
            break;
        } catch (const EInOutError&) {
        }
    }
    if (path.isEmpty()) return false;

    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    // A sound option file is a few hundred bytes; reading no more than this
    // keeps a huge or runaway file from stalling the start of the program.
    const QByteArray data = f.read(MaxOptionFileBytes);
    f.close();
    lastFile_ = path;

    QList<QByteArray> lines = data.split('\n');
    for (QByteArray& l : lines)
        if (l.endsWith('\r')) l.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast(); // the CR LF after the last line

    auto lineText = [&](int i) -> QString {
        if (i >= lines.size()) return {};
        return FromGbk(lines.at(i)).value_or(QString());
    };

    // Damaged files: a RecentMax that is not a number, or below 1, falls back
    // to the default (below 1 the list could not take a single entry); above
    // the limit it is cut down. A RecentCount that is not a number makes the
    // whole list untrustworthy: the list starts empty and is rewritten at
    // close. Blank or missing path lines give no entry (an entry without a
    // path could only fail when clicked).
    int max = DefaultRecentMax;
    if (auto v = WholeNumber(lineText(0)); v && *v >= 1)
        max = static_cast<int>(std::min<long long>(*v, RecentMaxLimit));
    long long count = 0;
    if (auto v = WholeNumber(lineText(1)); v && *v > 0) count = *v;

    QStringList paths; // oldest first
    const long long available = std::min<long long>(count, lines.size() - 2);
    for (long long i = 0; i < available; ++i) {
        const QString p = Trim(lineText(static_cast<int>(i) + 2));
        if (p.isEmpty() || p.size() > MaxPathChars) continue;
        paths.append(p);
    }
    // Records follow the listed paths; a key may hold letters only and a
    // value nothing but printable ASCII, anything else is skipped.
    static const QRegularExpression record(QStringLiteral("^([A-Za-z]+)=([\\x21-\\x7e]*)$"));
    records_.clear();
    for (qsizetype i = 2 + std::max<long long>(available, 0); i < lines.size(); ++i)
        if (const auto m = record.match(QString::fromLatin1(lines.at(i))); m.hasMatch())
            records_.insert(m.captured(1), m.captured(2));

    // More paths than RecentMax allows: keep the newest, which come last.
    if (paths.size() > max) paths = paths.mid(paths.size() - max);

    recentMax_ = max;
    entries_.clear();
    separator_ = false;
    for (const QString& p : paths) {
        // Each new entry goes on top, so the first path of the file ends lowest.
        entries_.prepend(Entry{QStringLiteral("I%1").arg(entries_.size()), p});
        separator_ = true;
    }
    emit Changed();
    return true;
}

void TRecentFiles::AddRecentFile(const QString& path)
{
    const QString key = Trim(path);
    if (key.isEmpty()) return;

    for (qsizetype k = 0; k < entries_.size(); ++k) {
        if (Trim(entries_[k].Caption) != key) // exact: letter case counts
            continue;
        const QString moved = entries_[k].Caption;
        for (qsizetype i = k; i > 0; --i)
            entries_[i].Caption = entries_[i - 1].Caption;
        entries_[0].Caption = moved;
        emit Changed();
        return;
    }

    if (RecentCount() >= recentMax_) {
        for (qsizetype i = entries_.size() - 1; i > 0; --i)
            entries_[i].Caption = entries_[i - 1].Caption;
        entries_[0].Caption = path;
    } else {
        entries_.prepend(Entry{QStringLiteral("I%1").arg(entries_.size()), path});
        separator_ = true;
    }
    emit Changed();
}

bool TRecentFiles::WriteTo(const QString& file, const QByteArray& bytes)
{
    if (file.isEmpty()) return false;
    QDir().mkpath(QFileInfo(file).absolutePath());
    // Written aside and renamed, so an interrupted write never leaves half a list.
    return SafeReplaceFile(file, bytes, &error_);
}

bool TRecentFiles::SaveRecentFiles()
{
    QList<QByteArray> paths;
    for (qsizetype n = entries_.size() - 1; n >= 0; --n) {
        const QString p = Trim(entries_[n].Caption);
        if (p.isEmpty()) continue;
        if (auto gbk = ToGbk(p)) paths.append(*gbk);
        // A path with characters outside GBK cannot be written faithfully;
        // leaving it out keeps the file consistent.
    }
    QByteArray bytes;
    bytes += QByteArray::number(recentMax_) + "\r\n";
    bytes += QByteArray::number(paths.size()) + "\r\n";
    for (const QByteArray& p : paths)
        bytes += p + "\r\n";
    for (auto it = records_.cbegin(); it != records_.cend(); ++it)
        bytes += it.key().toLatin1() + '=' + it.value().toLatin1() + "\r\n";

    error_.clear();
    if (PrimaryUsable() && WriteTo(primary_, bytes)) {
        lastFile_ = primary_;
        return true;
    }
    const QString fallback = FallbackOptionFileName();
    if (WriteTo(fallback, bytes)) {
        lastFile_ = fallback;
        return true;
    }
    if (error_.isEmpty()) error_ = tr("no writable location for %1").arg(primary_);
    return false;
}

QString TRecentFiles::DialogFolder(const QString& programFolder, bool programFolderWritable,
                                   const QString& lastFolder) const
{
    if (programFolderWritable) return programFolder;
    if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir()) return lastFolder;
    for (const Entry& entry : entries_) {
        const QFileInfo f(entry.Caption);
        if (f.isAbsolute() && f.dir().exists()) return f.absolutePath();
    }
    return QDir::homePath();
}
