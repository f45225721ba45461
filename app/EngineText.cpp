#include "EngineText.h"

#include <QRegularExpression>

#include "Language.h"
#include "TrNoop.h"

namespace
{

// Fixed English texts of the lower layers, with their Chinese source text.
struct Fixed {
    const char* english;
    const char* source;
};
const Fixed kFixed[] = {
    {"Invalid floating point operation", QT_TRANSLATE_NOOP("Velk", "无效的浮点运算")},
    {"Floating point division by zero", QT_TRANSLATE_NOOP("Velk", "浮点数被零除")},
    {"Floating point overflow", QT_TRANSLATE_NOOP("Velk", "浮点溢出")},
    {"Invalid floating point value", QT_TRANSLATE_NOOP("Velk", "无效的浮点数值")},
    {"No such file or directory", QT_TRANSLATE_NOOP("Velk", "文件或文件夹不存在")},
    {"Permission denied", QT_TRANSLATE_NOOP("Velk", "没有访问权限")},
    {"Is a directory", QT_TRANSLATE_NOOP("Velk", "这是一个文件夹")},
    {"Not a directory", QT_TRANSLATE_NOOP("Velk", "不是文件夹")},
    {"Not a regular file", QT_TRANSLATE_NOOP("Velk", "不是普通文件")},
    {"File too large for a project", QT_TRANSLATE_NOOP("Velk", "文件太大，不是项目文件")},
    {"No space left on device", QT_TRANSLATE_NOOP("Velk", "磁盘空间不足")},
    {"Read-only file system", QT_TRANSLATE_NOOP("Velk", "文件系统只读")},
    {"File exists", QT_TRANSLATE_NOOP("Velk", "文件已存在")},
    {"Too many levels of symbolic links", QT_TRANSLATE_NOOP("Velk", "符号链接层数过多")},
    {"Input/output error", QT_TRANSLATE_NOOP("Velk", "输入输出错误")},
    {"Cannot compress the project", QT_TRANSLATE_NOOP("Velk", "无法压缩项目")},
};

// Forms with one or two values inside; the values keep their text, except
// that a value that is itself a known text is translated too.
struct Form {
    const char* pattern;
    const char* source; // %1, %2 in order of the pattern's groups
};
const Form kForms[] = {
    {R"re(^'(.*)' is not a valid floating point value$)re", QT_TRANSLATE_NOOP("Velk", "“%1”不是有效的浮点数")},
    {R"re(^'(.*)' is not a valid integer value$)re", QT_TRANSLATE_NOOP("Velk", "“%1”不是有效的整数")},
    {R"re(^'(.*)' is not a valid unit factor$)re", QT_TRANSLATE_NOOP("Velk", "“%1”不是有效的单位换算系数")},
    {R"re(^List index out of bounds \((.*)\)$)re", QT_TRANSLATE_NOOP("Velk", "列表索引越界(%1)")},
    {R"re(^Cannot open file "(.*)"\. (.*)$)re", QT_TRANSLATE_NOOP("Velk", "无法打开文件“%1”。%2")},
    {R"re(^Cannot create file "(.*)"\. (.*)$)re", QT_TRANSLATE_NOOP("Velk", "无法创建文件“%1”。%2")},
    {R"re(^Cannot create folder "(.*)"\. (.*)$)re", QT_TRANSLATE_NOOP("Velk", "无法创建文件夹“%1”。%2")},
    {"^警告:“(.*)”是空白,请补充\\.$", QT_TRANSLATE_NOOP("Velk", "警告:“%1”是空白,请补充.")},
    {"^(.+)是错误数据$", QT_TRANSLATE_NOOP("Velk", "%1是错误数据")},
    {R"re(^填料库中没有填料类型“(.*)”。\(Packing type '.*' is not in the catalogue\.\)$)re",
     QT_TRANSLATE_NOOP("Velk", "填料库中没有填料类型“%1”。")},
};

QString Value(const QString& v)
{
    for (const Fixed& f : kFixed)
        if (v == QLatin1String(f.english)) return TLanguage::Tr(f.source);
    return TLanguage::Tr(v);
}

} // namespace

QString EngineText(const QString& text)
{
    for (const Fixed& f : kFixed)
        if (text == QLatin1String(f.english)) return TLanguage::Tr(f.source);
    for (const Form& f : kForms) {
        const QRegularExpression re(QString::fromUtf8(f.pattern));
        const auto m = re.match(text);
        if (!m.hasMatch()) continue;
        const QString out = TLanguage::Tr(f.source);
        // One arg() call, so that a value holding "%2" is not substituted again.
        return re.captureCount() == 1 ? out.arg(Value(m.captured(1)))
                                      : out.arg(Value(m.captured(1)), Value(m.captured(2)));
    }
    return TLanguage::Tr(text);
}

QString EngineText(const std::string& text) { return EngineText(QString::fromStdString(text)); }
