#pragma once
// The interface language. The program's texts are written in Chinese and
// looked up in context "Velk"; the English interface installs the compiled
// translations/velk_en.ts. Qt's own texts (standard buttons, file dialogs,
// file-system errors) come from Qt's translations: Chinese from the system's
// qtbase_zh_CN, English built in.
//
// The language follows the system locale (English where the locale's
// language is English, Chinese for every other locale, the C locale
// included) unless the user chose one in the menu; the choice is kept in the
// option file as the record "Language=zh" or "Language=en".

#include <QLocale>
#include <QString>

class TLanguage
{
public:
    enum Lang { Chinese, English };

    static Lang FromLocale(const QLocale& locale);
    // "zh" / "en"; anything else gives fallback.
    static Lang FromName(const QString& name, Lang fallback);
    static QString Name(Lang lang);

    // Installs the translators of lang (replacing the ones installed before).
    // Sends QEvent::LanguageChange to every widget when the language changes.
    // False when a translation file could not be loaded (the interface then
    // stays in the source language for the missing part).
    static bool Apply(Lang lang);
    static Lang Current();

    // The text in the interface language: source is a Chinese source text of
    // context "Velk".
    static QString Tr(const char* source);
    static QString Tr(const QString& source);
    static QString Tr(const std::string& source);
};
