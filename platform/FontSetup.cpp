#include "FontSetup.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

void InstallFontSubstitutes()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QStringList substitutes = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                                     QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("AR PL UMing CN")};
    for (const char* name : {"宋体", "SimSun", "新宋体", "NSimSun"})
        QFont::insertSubstitutions(QString::fromUtf8(name), substitutes);
    // Arial: a face with the same metrics, so text widths do not depend on
    // what fontconfig happens to prefer on a machine.
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
}

QString DefaultUiFamily() { return QStringLiteral("宋体"); }
