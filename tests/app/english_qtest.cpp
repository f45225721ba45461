// One language at a time: under the English interface no text the main
// window shows (labels, buttons, lists, headings and cells of every page's
// tables, hints, menus, the report dialogs' filters) and none that the
// comparison exports write holds a Chinese character or a full-width quote.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "TypicalCase.h"
#include "ColumnRatingPage.h"
#include "ComparisonExport.h"
#include "CaseRun.h"
#include "ComparisonTableModel.h"
#include "DesignBasis.h"
#include "Language.h"
#include "Messages.h"
#include "PackingComparisonPage.h"
#include "PdfComparison.h"
#include "ProfileImport.h"
#include "UnitMain.h"
#include "XlsxDocument.h"

namespace {
// CJK ideographs and punctuation, full-width forms, curly quotes.
bool Foreign(const QString& s)
{
    for (QChar c : s) {
        const ushort u = c.unicode();
        if ((u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF00 && u <= 0xFFEF) ||
            u == 0x201C || u == 0x201D)
            return true;
    }
    return false;
}

class Walk {
public:
    QStringList found;
    void Check(const QObject* where, const QString& what, const QString& text)
    {
        if (Foreign(text))
            found << where->objectName() + QLatin1Char('/') + what + QStringLiteral(": ") + text;
    }
    void Model(const QObject* where, const QAbstractItemModel* m)
    {
        for (Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
            const int n = o == Qt::Horizontal ? m->columnCount() : m->rowCount();
            for (int i = 0; i < n; ++i)
                for (int role : {int(Qt::DisplayRole), int(Qt::ToolTipRole)})
                    Check(where, QStringLiteral("heading"), m->headerData(i, o, role).toString());
        }
        for (int r = 0; r < m->rowCount(); ++r)
            for (int c = 0; c < m->columnCount(); ++c)
                for (int role : {int(Qt::DisplayRole), int(Qt::ToolTipRole)})
                    Check(where, QStringLiteral("cell %1,%2").arg(r).arg(c), m->index(r, c).data(role).toString());
    }
    void Widget(QWidget* w)
    {
        Check(w, QStringLiteral("tooltip"), w->toolTip());
        Check(w, QStringLiteral("hint"), TLanguage::Tr(w->property("hint").toString()));
        if (w->isWindow())
            Check(w, QStringLiteral("title"), w->windowTitle());
        if (auto* l = qobject_cast<QLabel*>(w))
            Check(w, QStringLiteral("label"), l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            Check(w, QStringLiteral("button"), b->text());
        if (auto* g = qobject_cast<QGroupBox*>(w))
            Check(w, QStringLiteral("group"), g->title());
        if (auto* e = qobject_cast<QLineEdit*>(w))
            Check(w, QStringLiteral("text"), e->text() + e->placeholderText());
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                Check(w, QStringLiteral("item"), c->itemText(i));
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i)
                Check(w, QStringLiteral("tab"), t->tabText(i) + t->tabToolTip(i));
        if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model())
            Model(w, v->model());
    }
};
} // namespace

class EnglishTest : public QObject {
    Q_OBJECT
    QTemporaryDir tmp;
    RecordingSink sink;
    std::unique_ptr<TFormVELK> w;

    TPackingComparisonPage* Comparison() { return w->findChild<TPackingComparisonPage*>(); }

    // The filters and title of the file dialog an action opens.
    QStringList DialogTexts(const char* action)
    {
        QStringList texts;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                texts = d->nameFilters();
                texts << d->windowTitle();
                d->reject();
            }
        });
        poll.start(20);
        w->Action(QString::fromLatin1(action))->trigger();
        return texts;
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", tmp.path().toUtf8());
        QVERIFY(TLanguage::Apply(TLanguage::English));
        SetMessageSink(&sink);
        w = std::make_unique<TFormVELK>();
        // A solved case, a comparison with warnings and a rated profile, so
        // that every table has rows.
        TypeTypicalCase(w->Page());
        w->Page().Field("StagesD")->SetText("20");
        w->Page().LDExit();
        // A given diameter too small for most packings: warnings everywhere.
        w->Page().SetRatingMode(true);
        w->Page().Field("dD")->SetText("0.9");
        w->Page().NeedsRecalc = true;
        w->Page().LDExit();
        auto columns = ProfilesFromCsvFile(VELK_SOURCE_DIR "/examples/debutanizer.csv");
        QVERIFY(!columns.empty());
        w->findChild<ColumnRatingPage*>()->SetProfile(columns.front());
        w->resize(1366, 768);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        for (int i = 0; i < w->PageControlMain()->count(); ++i) {
            w->PageControlMain()->setCurrentIndex(i);
            QApplication::processEvents();
        }
        Comparison()->SetAllMethods(true);
        Comparison()->Recompute();
        QVERIFY(Comparison()->Model()->rowCount() > 27);
    }
    void cleanupTestCase()
    {
        w->Page().Modified = false;
        w.reset();
        SetMessageSink(nullptr);
        TLanguage::Apply(TLanguage::Chinese);
    }

    void everyWidgetOfTheWindowIsEnglish()
    {
        Walk walk;
        walk.Check(w.get(), QStringLiteral("caption"), w->windowTitle());
        for (QWidget* c : w->findChildren<QWidget*>())
            walk.Widget(c);
        // The language menu names each language in its own words.
        for (QAction* a : w->findChildren<QAction*>())
            if (a->objectName() != QLatin1String("MLanguage_Zh"))
                walk.Check(a, QStringLiteral("action"), a->text() + a->toolTip());
        // The comparison's warnings are there to be checked.
        bool warned = false;
        for (const ComparisonRow& r : Comparison()->Model()->Rows())
            warned = warned || !r.operation.warnings.empty();
        QVERIFY(warned);
        QVERIFY2(walk.found.isEmpty(), qPrintable(walk.found.join(QLatin1Char('\n'))));
    }

    void comparisonExportsAreEnglish()
    {
        for (const char* name : {"compare.csv", "compare.xlsx"}) {
            const QString path = tmp.filePath(QString::fromLatin1(name));
            QString error;
            QVERIFY2(Comparison()->ExportTable(path, &error), qPrintable(error));
            QStringList texts;
            if (path.endsWith(QLatin1String(".csv"))) {
                QFile f(path);
                QVERIFY(f.open(QIODevice::ReadOnly));
                texts << QString::fromUtf8(f.readAll());
            } else {
                XlsxDocument doc;
                doc.Load(path.toStdString());
                texts << QString::fromStdString(doc.SheetName(0));
                const XlsxRange used = doc.UsedRange(0);
                QVERIFY(used.lastRow > 27);
                for (int r = used.firstRow; r <= used.lastRow; ++r)
                    for (int c = used.firstCol; c <= used.lastCol; ++c)
                        texts << QString::fromStdString(doc.CellText(0, r, c));
            }
            const QString all = texts.join(QLatin1Char('\n'));
            QVERIFY2(!Foreign(all), qPrintable(name));
            // The gauze packings by their English names.
            QVERIFY2(all.contains(QStringLiteral("BX (gauze)")), qPrintable(name));
        }
    }

    // The PDF's comparison page gives a failed row's error as the page does.
    void comparisonPdfErrorsAreEnglish_data()
    {
        QTest::addColumn<QString>("error");
        QTest::newRow("limit not reached") << QString::fromUtf8(kLimitUnreachedText);
        QTest::newRow("outside the model") << QString::fromUtf8(kOutsideModelText);
        QTest::newRow("missing inputs") << QString::fromUtf8(kMissingInputsText) + QStringLiteral("DlD, DvD");
    }
    void comparisonPdfErrorsAreEnglish()
    {
        QFETCH(QString, error);
        ComparisonRow row;
        row.packing = "Mellapak-250Y";
        row.error = error.toStdString();
        const PageTable table = ComparisonPageTable({row}, false, QStringLiteral("Packing comparison"));
        QCOMPARE(table.rows.size(), std::size_t(1));
        const PageTableRow& printed = table.rows.front();
        QVERIFY(printed.spanFrom >= 0);
        const QString cell = printed.cells.at(printed.spanFrom);
        QCOMPARE(cell, ComparisonErrorText(row));
        QVERIFY2(!cell.isEmpty() && !Foreign(cell), qPrintable(cell));
    }

    void reportDialogsFilterInEnglish_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("filter");
        QTest::newRow("PDF") << "MReport_Pdf" << "PDF files (*.pdf)";
        QTest::newRow("print") << "MReport_Print" << "Excel files (*.xls *xlsx)";
    }
    void reportDialogsFilterInEnglish()
    {
        QFETCH(QString, action);
        QFETCH(QString, filter);
        const QStringList texts = DialogTexts(action.toLatin1().constData());
        QVERIFY(!texts.isEmpty());
        QCOMPARE(texts.first(), filter);
        for (const QString& t : texts)
            QVERIFY2(!Foreign(t), qPrintable(t));
    }
};

QTEST_MAIN(EnglishTest)
#include "english_qtest.moc"
