#include "Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "ReportCommands.h"

#include <memory>
#include <string>

namespace
{
TLanguage::Lang current = TLanguage::Chinese;
bool applied = false;
std::unique_ptr<QTranslator> qtTranslator;
std::unique_ptr<QTranslator> ownTranslator;

void Remove(std::unique_ptr<QTranslator>& t)
{
    if (t) QCoreApplication::removeTranslator(t.get());
    t.reset();
}
} // namespace

TLanguage::Lang TLanguage::FromLocale(const QLocale& locale)
{
    return locale.language() == QLocale::English ? English : Chinese;
}

TLanguage::Lang TLanguage::FromName(const QString& name, Lang fallback)
{
    if (name == QLatin1String("en")) return English;
    if (name == QLatin1String("zh")) return Chinese;
    return fallback;
}

QString TLanguage::Name(Lang lang) { return lang == English ? QStringLiteral("en") : QStringLiteral("zh"); }

TLanguage::Lang TLanguage::Current() { return current; }

bool TLanguage::Apply(Lang lang)
{
    if (applied && lang == current) return true;
    applied = true;
    current = lang;
    Remove(qtTranslator);
    Remove(ownTranslator);
    SetReportTemplateSuffix(lang == English ? "-en" : "");
    bool ok = true;
    // Qt's own texts first, then the program's: the last one installed is
    // asked first, so the program's texts win where both know a text.
    auto t = std::make_unique<QTranslator>();
    if (lang == Chinese) {
        if (t->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(t.get());
            qtTranslator = std::move(t);
        } else {
            ok = false;
        }
    } else {
        if (t->load(QStringLiteral(":/i18n/velk_en.qm"))) {
            QCoreApplication::installTranslator(t.get());
            ownTranslator = std::move(t);
        } else {
            ok = false;
        }
    }
    return ok;
}

QString TLanguage::Tr(const char* source) { return QCoreApplication::translate("Velk", source); }

QString TLanguage::Tr(const QString& source) { return Tr(source.toUtf8().constData()); }

QString TLanguage::Tr(const std::string& source) { return Tr(source.c_str()); }
