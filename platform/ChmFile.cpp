#include "ChmFile.h"

#include "ChmDirectory.h"
#include "IconvText.h"
#include "RegularFile.h"

#include <QFile>

#include <cstdint>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <QRegularExpression>

#include <chm_lib.h>
#include <iconv.h>

#include <cerrno>

namespace
{

quint32 U32(const QByteArray& b, qsizetype at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 U16(const QByteArray& b, qsizetype at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
    return quint16(p[0] | p[1] << 8);
}

// The bytes up to the first NUL.
QByteArray CString(const QByteArray& b, qsizetype from, qsizetype end)
{
    const qsizetype nul = b.indexOf('\0', from);
    const qsizetype stop = (nul < 0 || nul > end) ? end : nul;
    return b.mid(from, stop - from);
}

int CollectFiles(chmFile*, chmUnitInfo* ui, void* context)
{
    auto* list = static_cast<QStringList*>(context);
    const QString path = QString::fromUtf8(ui->path);
    if (path.startsWith(QLatin1Char('/')) && !path.endsWith(QLatin1Char('/')) &&
        !path.startsWith(QLatin1String("/#")) && !path.startsWith(QLatin1String("/$")))
        list->append(path);
    return CHM_ENUMERATOR_CONTINUE;
}

} // namespace

TChmFile::~TChmFile()
{
    Close();
}

bool TChmFile::Open(const QString& fileName)
{
    Close();
    // chm_open happily takes a directory, a pipe or a device; only regular
    // files qualify. The checked file is opened by chm_open through its
    // descriptor, so nothing can be swapped in between.
    int fd = -1;
    try {
        fd = OpenRegularFile(QFile::encodeName(fileName).toStdString());
    } catch (const std::exception&) {
        return false;
    }
    char magic[4] = {};
    struct stat st;
    const bool isChm = ::fstat(fd, &st) == 0 && st.st_size >= 0x60 && ::pread(fd, magic, 4, 0) == 4 &&
                       std::memcmp(magic, "ITSF", 4) == 0 && ChmFileIsSound(fd, st.st_size);
    if (isChm) handle_ = chm_open(("/proc/self/fd/" + std::to_string(fd)).c_str());
    ::close(fd);
    if (!handle_) return false;
    fileName_ = fileName;
    ReadSystem();
    ReadContextMap();
    return true;
}

void TChmFile::Close()
{
    if (handle_) chm_close(handle_);
    handle_ = nullptr;
    fileName_.clear();
    contents_.clear();
    index_.clear();
    defaultTopic_.clear();
    title_.clear();
    lcid_ = 0;
    contextMap_.clear();
}

QString TChmFile::NormalizedPath(const QString& objectPath) const
{
    QString p = objectPath;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!p.startsWith(QLatin1Char('/'))) p.prepend(QLatin1Char('/'));
    return p;
}

bool TChmFile::Exists(const QString& objectPath) const
{
    if (!handle_) return false;
    chmUnitInfo ui{};
    return chm_resolve_object(handle_, NormalizedPath(objectPath).toUtf8().constData(), &ui) ==
           CHM_RESOLVE_SUCCESS;
}

std::optional<QByteArray> TChmFile::Read(const QString& objectPath) const
{
    if (!handle_) return std::nullopt;
    chmUnitInfo ui{};
    const QByteArray path = NormalizedPath(objectPath).toUtf8();
    if (path.size() > CHM_MAX_PATHLEN ||
        chm_resolve_object(handle_, path.constData(), &ui) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (ui.length > static_cast<LONGUINT64>(MaxObjectSize)) return std::nullopt;
    QByteArray data;
    data.resize(static_cast<qsizetype>(ui.length));
    if (ui.length == 0) return data;
    const LONGINT64 got = chm_retrieve_object(handle_, &ui, reinterpret_cast<unsigned char*>(data.data()), 0,
                                              static_cast<LONGINT64>(ui.length));
    if (got <= 0) return std::nullopt;
    data.resize(static_cast<qsizetype>(got));
    return data;
}

QStringList TChmFile::Objects() const
{
    QStringList files;
    if (handle_) chm_enumerate(handle_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, &CollectFiles, &files);
    files.sort(Qt::CaseInsensitive);
    return files;
}

void TChmFile::ReadSystem()
{
    // #SYSTEM: a version word, then records of (code, length, data).
    const auto sys = Read(QStringLiteral("/#SYSTEM"));
    if (!sys || sys->size() < 4) return;
    const QByteArray& b = *sys;
    QByteArray contents, index, topic, title;
    qsizetype pos = 4;
    while (pos + 4 <= b.size()) {
        const quint16 code = U16(b, pos);
        const quint16 len = U16(b, pos + 2);
        const qsizetype data = pos + 4;
        const qsizetype end = std::min<qsizetype>(data + len, b.size());
        switch (code) {
        case 0:
            contents = CString(b, data, end);
            break;
        case 1:
            index = CString(b, data, end);
            break;
        case 2:
            topic = CString(b, data, end);
            break;
        case 3:
            title = CString(b, data, end);
            break;
        case 4:
            if (end - data >= 4) lcid_ = U32(b, data);
            break;
        default:
            break;
        }
        pos = data + len;
    }
    contents_ = DecodeText(contents);
    index_ = DecodeText(index);
    defaultTopic_ = DecodeText(topic);
    title_ = DecodeText(title);
}

QString TChmFile::FindStoredPath(const QString& compiledPath) const
{
    // Help compilers store the topic as written in the project, sometimes
    // with the folder the project was compiled in; drop leading folders until
    // the name is one of the file's objects.
    QString p = compiledPath;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (p.startsWith(QLatin1Char('/')))
        p.remove(0, 1);
    for (int guard = 0; !p.isEmpty() && guard < 64; ++guard) {
        if (Exists(p)) return NormalizedPath(p);
        const int slash = p.indexOf(QLatin1Char('/'));
        if (slash < 0) break;
        p.remove(0, slash + 1);
    }
    return {};
}

void TChmFile::ReadContextMap()
{
    // #IVB: the byte length of the table, then (context number, offset into #STRINGS) pairs.
    const auto ivb = Read(QStringLiteral("/#IVB"));
    const auto strings = Read(QStringLiteral("/#STRINGS"));
    if (!ivb || !strings || ivb->size() < 4) return;
    const qsizetype declared = U32(*ivb, 0);
    const qsizetype end = std::min<qsizetype>(4 + declared, ivb->size());
    for (qsizetype at = 4; at + 8 <= end; at += 8) {
        const quint32 id = U32(*ivb, at);
        const quint32 offset = U32(*ivb, at + 4);
        if (offset >= static_cast<quint32>(strings->size())) continue;
        const QString stored = DecodeText(CString(*strings, offset, strings->size()));
        const QString path = FindStoredPath(stored);
        if (!path.isEmpty() && !contextMap_.contains(id)) contextMap_.insert(id, path);
    }
}

std::optional<QString> TChmFile::TextPopup(quint32 id) const
{
    const auto raw = Read(QStringLiteral("/cshelp.txt"));
    if (!raw) return std::nullopt;
    const QString text = DecodeText(*raw);
    static const QRegularExpression topic(QStringLiteral("^\\.topic\\s+(\\S+)[^\\n]*$"),
                                          QRegularExpression::MultilineOption |
                                              QRegularExpression::CaseInsensitiveOption);
    auto it = topic.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        bool ok = false;
        const quint32 number = m.captured(1).toUInt(&ok, 0);
        if (!ok || number != id) continue;
        const qsizetype start = m.capturedEnd(0);
        const auto next = topic.match(text, start);
        const qsizetype stop = next.hasMatch() ? next.capturedStart(0) : text.size();
        QString body = text.mid(start, stop - start);
        body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        return body.trimmed();
    }
    return std::nullopt;
}

std::optional<QString> TChmFile::Decode(const QByteArray& bytes, const char* charset)
{
    if (auto utf8 = IconvConvert("UTF-8", charset, bytes))
        return QString::fromUtf8(*utf8);
    return std::nullopt;
}

const char* TChmFile::CharsetForLcid(quint32 lcid)
{
    switch (lcid & 0xFFFF) {
    case 0x0804: // Chinese (PRC)
    case 0x1004: // Chinese (Singapore)
        return "GBK";
    case 0x0404: // Chinese (Taiwan)
    case 0x0C04: // Chinese (Hong Kong)
    case 0x1404: // Chinese (Macao)
        return "BIG5";
    case 0x0411:
        return "SHIFT_JIS";
    case 0x0412:
        return "CP949";
    case 0x0419:
        return "CP1251";
    default:
        return "CP1252";
    }
}

QString TChmFile::DecodeText(const QByteArray& bytes) const
{
    if (lcid_ != 0)
        if (auto s = Decode(bytes, CharsetForLcid(lcid_))) return *s;
    return QString::fromUtf8(bytes);
}

QString TChmFile::DecodeHtml(const QByteArray& bytes) const
{
    static const QRegularExpression meta(QStringLiteral("<meta[^>]*charset\\s*=\\s*[\"']?([A-Za-z0-9_.:-]+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = meta.match(QString::fromLatin1(bytes.left(2048)));
    if (m.hasMatch()) {
        QByteArray charset = m.captured(1).toLatin1().toUpper();
        if (charset == "GB2312") charset = "GBK"; // pages labelled GB2312 routinely use GBK characters
        if (auto s = Decode(bytes, charset.constData())) return *s;
    }
    return DecodeText(bytes);
}
