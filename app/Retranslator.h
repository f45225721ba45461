#pragma once
// Puts every window into the new interface language when the language is
// switched at run time. Each window reacts to QEvent::LanguageChange with one
// pass over its widgets and actions: a text that is a source text of the
// translation file, or the translation of one, is replaced by the
// translation of that source in the new language. The source found is kept
// on the object, so a second switch needs no guessing; a text that the
// program changed since (a file name, a number) matches nothing and stays.
//
// Windows with texts built from parts (the caption with the file name, the
// hints) handle those parts in their own changeEvent.

#include <QHash>
#include <QObject>
#include <QString>

class QWidget;

class TRetranslator : public QObject
{
    Q_OBJECT
public:
    // Installs itself as an application event filter.
    explicit TRetranslator(QObject* parent = nullptr);
    ~TRetranslator() override;

    // Retranslates root and everything below it.
    void Retranslate(QWidget* root);

    // A text of the translation file: its context and source text.
    struct Source {
        QString context, text;
    };
    // The source behind text (itself when it is a source); an empty text
    // when text is no known text.
    Source SourceOf(const QString& text) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString Swap(QObject* o, const char* key, const QString& current) const;
    void LoadCatalogue();

    QHash<QString, Source> sources_;
    QHash<QString, Source> sourceOfTranslation_;
};
