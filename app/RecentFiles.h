#pragma once
// The recent-files list of the File menu, kept apart from any widget so that
// its rules can be exercised without a window; TRecentFilesMenu shows it.
//
// The list lives between the second separator of the File menu and "&E 结束":
// entries newest first, then one separator (present from the first entry on).
// Entries are named "I0", "I1", ... in the order of their creation. Like menu
// items, entries keep their place and name; reopening a file or dropping the
// oldest one moves only captions (paths) from entry to entry.
//
// Option file (read at start, written at close), GBK text with CR LF:
//   line 1  RecentMax, line 2  RecentCount, then RecentCount paths, oldest first,
//   then records "Key=value" (the interface language), which a reader that
//   knows only the list never reaches: it stops after RecentCount paths.
// It is MypathName + ".opt" beside the program; where the program's folder is
// not writable it is kept as $XDG_CONFIG_HOME/velk/<name>.opt instead.

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

class TRecentFiles : public QObject
{
    Q_OBJECT
public:
    struct Entry {
        QString Name;    // "I" + creation number
        QString Caption; // the project file path
    };

    static constexpr int DefaultRecentMax = 9;
    // A larger RecentMax in the option file is cut down to this; the File
    // menu has no room for more and a damaged count must not build a huge menu.
    static constexpr int RecentMaxLimit = 30;

    // mypathName: the program's path without extension (TMyAppConst::MypathName).
    explicit TRecentFiles(const QString& mypathName, QObject* parent = nullptr);

    int RecentFirstIndex() const { return recentFirstIndex_; }
    int RecentCount() const { return static_cast<int>(entries_.size()); }
    int RecentMax() const { return recentMax_; }

    // Entries from the top of the list (newest) down.
    const QList<Entry>& Entries() const { return entries_; }
    // Whether the separator below the entries exists.
    bool HasSeparator() const { return separator_; }

    // Replaces the list with the one in the option file. Without an option
    // file the list stays as it is and false is returned. A damaged file never
    // fails: unreadable numbers, missing or blank lines and absurd counts give
    // the entries that can be read (see the notes in the source).
    bool LoadRecentFiles();
    // After each Open: puts path on top (moving it up when it is listed
    // already, dropping the oldest entry when the list is full).
    void AddRecentFile(const QString& path);
    // Writes the option file; false when neither location could be written
    // (ErrorString() says why). Paths that GBK cannot represent are left out.
    bool SaveRecentFiles();

    // The option file beside the program, the one under the user's config
    // directory, and the one actually read or written last (empty before).
    QString OptionFileName() const { return primary_; }
    QString FallbackOptionFileName() const;
    QString LastOptionFile() const { return lastFile_; }
    QString ErrorString() const { return error_; }

    // Further settings kept after the list ("Language" -> "en"); empty when absent.
    QString Record(const QString& key) const { return records_.value(key); }
    void SetRecord(const QString& key, const QString& value) { records_.insert(key, value); }

    // Where the Open and Save dialogs start. A program folder the user can
    // write to (a build or a folder installation) stays the starting place;
    // an installed program's folder is not, so the dialogs start where the
    // user last was, at first in the folder of the newest recent file whose
    // folder exists, else at home.
    QString DialogFolder(const QString& programFolder, bool programFolderWritable, const QString& lastFolder) const;

    // Trimming as the option file needs it: blanks and control characters at
    // both ends go.
    static QString Trim(const QString& s);

signals:
    void Changed();

private:
    bool PrimaryUsable() const;
    bool WriteTo(const QString& file, const QByteArray& bytes);

    QString primary_;
    int recentFirstIndex_ = 6;
    int recentMax_ = DefaultRecentMax;
    QList<Entry> entries_;
    QMap<QString, QString> records_;
    bool separator_ = false;
    QString lastFile_;
    QString error_;
};
