#include "PdfFont.h"

namespace
{

bool IsSerif(const QString& family)
{
    // The program's serif texts name SimSun (宋体) and its relatives.
    for (const char* name : {"宋体", "SimSun", "新宋体", "NSimSun", "Noto Serif CJK SC"})
        if (family.compare(QString::fromUtf8(name), Qt::CaseInsensitive) == 0) return true;
    return false;
}

} // namespace

QStringList PageFontFamilies(const QString& family)
{
    if (IsSerif(family))
        return {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif"), family,
                QStringLiteral("Noto Serif CJK SC")};
    return {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"), family,
            QStringLiteral("Noto Sans CJK SC")};
}

QFont PageFont(double points, bool bold)
{
    QFont font;
    font.setFamilies(PageFontFamilies(QStringLiteral("Noto Sans CJK SC")));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}
