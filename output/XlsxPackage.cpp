#include "XlsxPackage.h"

#include <zip.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "AutoError.h"
#include "Messages.h"
#include "RegularFile.h"
#include "SafeFileReplacer.h"
#include "SheetMessage.h"

namespace
{

// Guards against a damaged or malicious file inflating without bound: a
// report workbook is a few kilobytes.
constexpr zip_uint64_t kMaxPartSize = 64u * 1024 * 1024;
constexpr zip_uint64_t kMaxTotalSize = 256u * 1024 * 1024;

std::string Native(const std::string& path)
{
    return QDir::toNativeSeparators(QString::fromStdString(path)).toStdString();
}

struct ZipCloser {
    zip_t* z;
    ~ZipCloser()
    {
        if (z) zip_discard(z);
    }
};

} // namespace

void XlsxPackage::Load(const std::string& path)
{
    parts_.clear();
    index_.clear();
    if (!QFileInfo::exists(QString::fromStdString(path)))
        throw EAutoError(SheetMessage(
            QT_TRANSLATE_NOOP("Velk", "找不到文件“%1”。请检查文件名和路径是否正确。"), {Native(path)}));
    // Read whole from a regular file with a bound first: a pipe or a device
    // named as template or workbook must not stall or exhaust the program.
    std::string bytes;
    try {
        bytes = ReadRegularFile(path, kMaxTotalSize, "File too large");
    } catch (const EInOutError& e) {
        throw EAutoError(
            SheetMessage(QT_TRANSLATE_NOOP("Velk", "无法打开文件“%1”：%2"), {Native(path), e.what()}));
    }
    zip_error_t zerr;
    zip_error_init(&zerr);
    zip_source_t* src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &zerr);
    ZipCloser zc{src ? zip_open_from_source(src, ZIP_RDONLY, &zerr) : nullptr};
    zip_error_fini(&zerr);
    if (!zc.z) {
        if (src) zip_source_free(src);
        throw EAutoError(SheetMessage(
            QT_TRANSLATE_NOOP("Velk", "无法打开文件“%1”：文件格式或扩展名无效，不是 Excel 工作簿。"),
            {Native(path)}));
    }
    const zip_int64_t n = zip_get_num_entries(zc.z, 0);
    zip_uint64_t total = 0;
    for (zip_int64_t i = 0; i < n; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(zc.z, static_cast<zip_uint64_t>(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            throw EAutoError(
                SheetMessage(QT_TRANSLATE_NOOP("Velk", "文件“%1”已损坏，无法读取。"), {Native(path)}));
        std::string name = st.name;
        if (name.empty() || name.back() == '/') continue; // a folder entry
        if (!(st.valid & ZIP_STAT_SIZE) || st.size > kMaxPartSize || (total += st.size) > kMaxTotalSize)
            throw EAutoError(
                SheetMessage(QT_TRANSLATE_NOOP("Velk", "文件“%1”过大或已损坏，无法打开。"), {Native(path)}));
        std::string data(static_cast<std::size_t>(st.size), '\0');
        zip_file_t* f = zip_fopen_index(zc.z, static_cast<zip_uint64_t>(i), 0);
        if (!f)
            throw EAutoError(
                SheetMessage(QT_TRANSLATE_NOOP("Velk", "文件“%1”已损坏，无法读取。"), {Native(path)}));
        const zip_int64_t got = zip_fread(f, data.data(), st.size);
        zip_fclose(f);
        if (got < 0 || static_cast<zip_uint64_t>(got) != st.size)
            throw EAutoError(
                SheetMessage(QT_TRANSLATE_NOOP("Velk", "文件“%1”已损坏，无法读取。"), {Native(path)}));
        Set(name, std::move(data));
    }
}

void XlsxPackage::Save(const std::string& path) const
{
    const QString target = QString::fromStdString(path);
    const QFileInfo info(target);
    if (!info.absoluteDir().exists())
        throw EAutoError(
            SheetMessage(QT_TRANSLATE_NOOP("Velk", "无法保存“%1”：文件夹不存在。"), {Native(path)}));
    if (info.exists() && !info.isFile())
        throw EAutoError(
            SheetMessage(QT_TRANSLATE_NOOP("Velk", "无法保存“%1”：已有同名的文件夹。"), {Native(path)}));
    // Build the zip in memory first; SafeReplaceFile then replaces the target only
    // once the new file is complete.
    zip_error_t zerr;
    zip_error_init(&zerr);
    zip_source_t* mem = zip_source_buffer_create(nullptr, 0, 0, &zerr);
    if (!mem)
        throw EAutoError(SheetMessage(QT_TRANSLATE_NOOP("Velk", "无法保存“%1”：内存不足。"), {Native(path)}));
    zip_source_keep(mem);
    zip_t* z = zip_open_from_source(mem, ZIP_TRUNCATE, &zerr);
    if (!z) {
        zip_source_free(mem);
        throw EAutoError(SheetMessage(QT_TRANSLATE_NOOP("Velk", "无法保存“%1”。"), {Native(path)}));
    }
    auto add = [&](const std::string& name, const std::string& data) {
        zip_source_t* src = zip_source_buffer(z, data.data(), data.size(), 0);
        if (!src || zip_file_add(z, name.c_str(), src, ZIP_FL_ENC_UTF_8) < 0) {
            if (src) zip_source_free(src);
            zip_discard(z);
            zip_source_free(mem);
            throw EAutoError(SheetMessage(QT_TRANSLATE_NOOP("Velk", "无法保存“%1”。"), {Native(path)}));
        }
    };
    const std::string ct = "[Content_Types].xml";
    if (Has(ct)) add(ct, Get(ct));
    for (const auto& [name, data] : parts_)
        if (name != ct) add(name, data);
    if (zip_close(z) != 0) {
        zip_discard(z);
        zip_source_free(mem);
        throw EAutoError(SheetMessage(QT_TRANSLATE_NOOP("Velk", "无法保存“%1”。"), {Native(path)}));
    }
    std::string bytes;
    zip_stat_t st;
    if (zip_source_stat(mem, &st) == 0 && zip_source_open(mem) == 0) {
        bytes.resize(static_cast<std::size_t>(st.size));
        const zip_int64_t got = zip_source_read(mem, bytes.data(), st.size);
        zip_source_close(mem);
        if (got < 0 || static_cast<zip_uint64_t>(got) != st.size) bytes.clear();
    }
    zip_source_free(mem);
    if (bytes.empty())
        throw EAutoError(SheetMessage(QT_TRANSLATE_NOOP("Velk", "无法保存“%1”。"), {Native(path)}));

    try {
        SafeReplaceFile(path, bytes);
    } catch (const EInOutError&) {
        throw EAutoError(SheetMessage(QT_TRANSLATE_NOOP("Velk", "无法保存“%1”：文件正在使用或没有写入权限。"),
                                      {Native(path)}));
    }
}

const std::string& XlsxPackage::Get(const std::string& part) const
{
    auto it = index_.find(part);
    if (it == index_.end())
        throw EAutoError(SheetMessage(QT_TRANSLATE_NOOP("Velk", "工作簿缺少部件“%1”，文件已损坏。"), {part}));
    return parts_[it->second].second;
}

void XlsxPackage::Set(const std::string& part, std::string data)
{
    auto it = index_.find(part);
    if (it != index_.end()) {
        parts_[it->second].second = std::move(data);
    } else {
        index_[part] = parts_.size();
        parts_.emplace_back(part, std::move(data));
    }
}

void XlsxPackage::Remove(const std::string& part)
{
    auto it = index_.find(part);
    if (it == index_.end()) return;
    parts_.erase(parts_.begin() + static_cast<std::ptrdiff_t>(it->second));
    index_.clear();
    for (std::size_t i = 0; i < parts_.size(); ++i)
        index_[parts_[i].first] = i;
}

std::vector<std::string> XlsxPackage::PartNames() const
{
    std::vector<std::string> names;
    for (const auto& p : parts_)
        names.push_back(p.first);
    return names;
}
