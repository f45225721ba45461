#pragma once
// Read access to a compiled HTML help file (.chm) through libchm: its
// objects (topics, pictures, style sheets), the settings the help compiler
// stored (contents and index files, default topic, title, language), the map
// from context numbers to topics and the text pop-ups.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

struct chmFile;

class TChmFile
{
public:
    TChmFile() = default;
    ~TChmFile();
    TChmFile(const TChmFile&) = delete;
    TChmFile& operator=(const TChmFile&) = delete;

    // Opens the file; false (and nothing open) when it is missing or not a
    // compiled help file. Opening again closes the previous file first.
    bool Open(const QString& fileName);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }
    QString FileName() const { return fileName_; }

    // Object paths are absolute inside the file ("/index.htm"); a path
    // without the leading slash is taken from the root, letter case is
    // ignored as the help viewer does.
    bool Exists(const QString& objectPath) const;
    std::optional<QByteArray> Read(const QString& objectPath) const;
    QStringList Objects() const; // the ordinary files, sorted

    // Settings stored by the help compiler; empty when not given.
    QString ContentsFile() const { return contents_; }
    QString IndexFile() const { return index_; }
    QString DefaultTopic() const { return defaultTopic_; }
    QString Title() const { return title_; }
    quint32 Lcid() const { return lcid_; }

    // Context number -> topic path ("/topic.htm"), from the compiled map.
    const QMap<quint32, QString>& ContextMap() const { return contextMap_; }
    QString TopicForContext(quint32 id) const { return contextMap_.value(id); }

    // The text of pop-up number id from the pop-up file "/cshelp.txt"
    // (".topic <number>" followed by the text); nullopt when there is none.
    std::optional<QString> TextPopup(quint32 id) const;

    // Text of the file's language (GBK for Chinese help) to Unicode; used for
    // the contents, the index and the pop-ups.
    QString DecodeText(const QByteArray& bytes) const;
    // An HTML page: its own charset declaration first, then the language.
    QString DecodeHtml(const QByteArray& bytes) const;

    // Converts bytes in a named character set (iconv names) to Unicode;
    // nullopt when the bytes are not valid in that set.
    static std::optional<QString> Decode(const QByteArray& bytes, const char* charset);
    // The character set that Windows uses for a language identifier.
    static const char* CharsetForLcid(quint32 lcid);

    // Largest object read; a damaged directory cannot make us allocate more.
    static constexpr qint64 MaxObjectSize = 64LL << 20;

private:
    void ReadSystem();
    void ReadContextMap();
    QString NormalizedPath(const QString& objectPath) const;
    QString FindStoredPath(const QString& compiledPath) const;

    chmFile* handle_ = nullptr;
    QString fileName_;
    QString contents_, index_, defaultTopic_, title_;
    quint32 lcid_ = 0;
    QMap<quint32, QString> contextMap_;
};
