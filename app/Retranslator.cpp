#include "Retranslator.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QXmlStreamReader>


TRetranslator::TRetranslator(QObject* parent) : QObject(parent)
{
    LoadCatalogue();
    qApp->installEventFilter(this);
}

TRetranslator::~TRetranslator()
{
    if (qApp) qApp->removeEventFilter(this);
}

void TRetranslator::LoadCatalogue()
{
    // The .ts file itself is compiled in beside the .qm: the .qm answers
    // source -> translation only, the way back needs the pairs.
    QFile f(QStringLiteral(":/i18n/velk_en.ts"));
    if (!f.open(QIODevice::ReadOnly)) return;
    QXmlStreamReader xml(&f);
    QString context, source;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement()) continue;
        const auto name = xml.name();
        if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("source")) {
            source = xml.readElementText();
            if (!sources_.contains(source)) sources_.insert(source, Source{context, source});
        } else if (name == QLatin1String("translation")) {
            const QString t = xml.readElementText();
            if (!t.isEmpty() && !sourceOfTranslation_.contains(t))
                sourceOfTranslation_.insert(t, Source{context, source});
        }
    }
}

TRetranslator::Source TRetranslator::SourceOf(const QString& text) const
{
    if (text.isEmpty()) return {};
    if (auto it = sources_.constFind(text); it != sources_.cend()) return *it;
    return sourceOfTranslation_.value(text);
}

QString TRetranslator::Swap(QObject* o, const char* key, const QString& current) const
{
    // Kept as {context, source, text shown}: a text changed since by the
    // program is looked up afresh instead of being put back.
    const QStringList kept = o->property(key).toStringList();
    const Source source = kept.size() == 3 && kept.at(2) == current ? Source{kept.at(0), kept.at(1)} : SourceOf(current);
    if (source.text.isEmpty()) return current;
    const QString shown = QCoreApplication::translate(source.context.toUtf8().constData(), source.text.toUtf8().constData());
    o->setProperty(key, QStringList{source.context, source.text, shown});
    return shown;
}

void TRetranslator::Retranslate(QWidget* root)
{
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        if (w->isWindow()) w->setWindowTitle(Swap(w, "_trTitle", w->windowTitle()));
        for (QAction* a : w->actions())
            a->setText(Swap(a, "_trText", a->text()));
        if (auto* l = qobject_cast<QLabel*>(w)) {
            l->setText(Swap(l, "_trText", l->text()));
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            auto* tb = qobject_cast<QToolButton*>(b);
            if (!tb || !tb->defaultAction()) b->setText(Swap(b, "_trText", b->text()));
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            g->setTitle(Swap(g, "_trTitle", g->title()));
        } else if (auto* t = qobject_cast<QTabWidget*>(w)) {
            for (int i = 0; i < t->count(); ++i)
                t->setTabText(i, Swap(t->widget(i), "_trTab", t->tabText(i)));
        } else if (auto* m = qobject_cast<QMenu*>(w)) {
            m->setTitle(Swap(m, "_trTitle", m->title()));
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < c->count(); ++i) {
                const QByteArray key = "_trItem" + QByteArray::number(i);
                c->setItemText(i, Swap(c, key.constData(), c->itemText(i)));
            }
            // A box sized to its first items keeps that size: measure the new ones.
            if (const auto policy = c->sizeAdjustPolicy(); policy == QComboBox::AdjustToContentsOnFirstShow) {
                c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
                c->setSizeAdjustPolicy(policy);
            }
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            e->setPlaceholderText(Swap(e, "_trPlaceholder", e->placeholderText()));
        }
        if (auto* table = qobject_cast<QTableWidget*>(w)) {
            for (int c = 0; c < table->columnCount(); ++c) {
                if (QTableWidgetItem* h = table->horizontalHeaderItem(c)) {
                    const QByteArray key = "_trHead" + QByteArray::number(c);
                    h->setText(Swap(table, key.constData(), h->text()));
                }
                for (int r = 0; r < table->rowCount(); ++r)
                    if (QTableWidgetItem* it = table->item(r, c)) {
                        const QByteArray key = "_trCell" + QByteArray::number(r) + '_' + QByteArray::number(c);
                        it->setText(Swap(table, key.constData(), it->text()));
                    }
            }
        }
    }
}

bool TRetranslator::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow()) Retranslate(w);
    return QObject::eventFilter(watched, event);
}
