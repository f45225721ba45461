// Makes the English report template from the Chinese one at build time: the
// parts are copied and every shared string is replaced by its translation
// from the compiled velk_en.qm, so both templates keep one layout.
// Usage: velk_translate_template SOURCE_PARTS_DIR TARGET_PARTS_DIR velk_en.qm
// A shared string that is not in the list below (and so not in the
// translation file) fails the build rather than leaving Chinese in the
// English report.

#include <QByteArray>
#include <QString>
#include <QTranslator>

#include <pugixml.hpp>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "TrNoop.h"

namespace fs = std::filesystem;

namespace {
// The texts of the template's shared strings, so that lupdate finds them.
const char* const kTemplateTexts[] = {
    QT_TRANSLATE_NOOP("Velk", "波纹规整填料塔流体力学计算书"),
    QT_TRANSLATE_NOOP("Velk", "计算日期"),
    QT_TRANSLATE_NOOP("Velk", "项目文件"),
    QT_TRANSLATE_NOOP("Velk", "一、项目信息"),
    QT_TRANSLATE_NOOP("Velk", "项目名称"),
    QT_TRANSLATE_NOOP("Velk", "项目阶段"),
    QT_TRANSLATE_NOOP("Velk", "设备名称"),
    QT_TRANSLATE_NOOP("Velk", "设备位号"),
    QT_TRANSLATE_NOOP("Velk", "备注"),
    QT_TRANSLATE_NOOP("Velk", "二、输入数据"),
    QT_TRANSLATE_NOOP("Velk", "项目"),
    QT_TRANSLATE_NOOP("Velk", "数值"),
    QT_TRANSLATE_NOOP("Velk", "单位"),
    QT_TRANSLATE_NOOP("Velk", "处理量"),
    QT_TRANSLATE_NOOP("Velk", "填料、平衡数据与泛点算法"),
    QT_TRANSLATE_NOOP("Velk", "三、计算结果"),
    QT_TRANSLATE_NOOP("Velk", "注：操作弹性为最小液体负荷与液泛负荷各占设计负荷的百分比；“[Must input]”表示必须输入的数据。"),
};

bool Listed(const char* text)
{
    for (const char* t : kTemplateTexts)
        if (std::strcmp(t, text) == 0) return true;
    return false;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s SOURCE_PARTS_DIR TARGET_PARTS_DIR velk_en.qm\n", argv[0]);
        return 2;
    }
    const fs::path source = argv[1], target = argv[2];
    QTranslator translator;
    if (!translator.load(QString::fromLocal8Bit(argv[3]))) {
        std::fprintf(stderr, "%s: cannot load %s\n", argv[0], argv[3]);
        return 1;
    }
    std::error_code ec;
    fs::remove_all(target, ec);
    fs::create_directories(target, ec);
    fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (ec) {
        std::fprintf(stderr, "%s: cannot copy the parts: %s\n", argv[0], ec.message().c_str());
        return 1;
    }
    const fs::path strings = target / "xl" / "sharedStrings.xml";
    pugi::xml_document doc;
    if (!doc.load_file(strings.c_str(), pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata)) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], strings.c_str());
        return 1;
    }
    for (pugi::xpath_node n : doc.select_nodes("//*[local-name()='t']")) {
        pugi::xml_node t = n.node();
        const char* text = t.text().get();
        if (!Listed(text)) {
            std::fprintf(stderr, "%s: the template text \"%s\" is not listed for translation\n", argv[0], text);
            return 1;
        }
        const QString english = translator.translate("Velk", text);
        if (english.isEmpty()) {
            std::fprintf(stderr, "%s: no English for \"%s\"\n", argv[0], text);
            return 1;
        }
        t.text().set(english.toUtf8().constData());
    }
    if (!doc.save_file(strings.c_str(), "", pugi::format_raw, pugi::encoding_utf8)) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], strings.c_str());
        return 1;
    }
    return 0;
}
