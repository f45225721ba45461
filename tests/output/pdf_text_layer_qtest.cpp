// The text layer of a PDF page: every Chinese character drawn in the page
// fonts reads back as the ideograph drawn, never as the Kangxi radical or
// radical-supplement form that shares its glyph; a file without such forms
// is left byte for byte as written.
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QtTest>

#include "PdfFont.h"
#include "PdfToUnicode.h"

namespace
{

QByteArray Pdf(const QString& text, const QFont& font)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        QPainter painter(&writer);
        painter.setFont(font);
        painter.drawText(QPointF(100, 200), text);
    }
    return buffer.data();
}

// Everything the text layer can give back.
QString LayerText(const QByteArray& pdf)
{
    QString all;
    for (const auto& map : PdfToUnicodeMaps(pdf))
        for (const QString& t : map)
            all += t;
    return all;
}

bool HasRadical(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() >= 0x2E80 && c.unicode() <= 0x2FDF) return true;
    return false;
}

} // namespace

class PdfTextLayerTest : public QObject
{
    Q_OBJECT
private slots:
    void ideographsReadBackAsDrawn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QFont>("font");
        // 目 气 水 have Kangxi twins; 页 长 门 only supplement forms (no
        // decomposition); 户 is drawn for the Kangxi ⼾ whose decomposition is 戶.
        const QString text = QStringLiteral("项目名称 塔径 气相数据 水 页 长 门 户 比 高");
        QTest::newRow("sans") << text << PageFont(10);
        QTest::newRow("sans bold") << text << PageFont(10, true);
        QFont serif;
        serif.setFamilies(PageFontFamilies(QStringLiteral("宋体")));
        serif.setPointSizeF(10);
        QTest::newRow("serif") << text << serif;
    }
    void ideographsReadBackAsDrawn()
    {
        QFETCH(QString, text);
        QFETCH(QFont, font);
        const QByteArray before = Pdf(text, font);
        // The fault this mends: the writer names radicals (skip if a face
        // without the twins is installed; the check below then still holds).
        if (!HasRadical(LayerText(before))) qInfo("the page font gives no radical forms here");
        const QByteArray after = UnifyPdfTextLayer(before);
        const QString layer = LayerText(after);
        QVERIFY2(!HasRadical(layer), qPrintable(layer));
        for (QChar c : text)
            if (!c.isSpace()) QVERIFY2(layer.contains(c), qPrintable(QString(c) + " not in " + layer));
        // Still a file a reader takes: every object where the table says.
        const qsizetype start = after.lastIndexOf("startxref");
        const qsizetype xref = after.mid(start + 9, 20).trimmed().split('\n').value(0).toLongLong();
        QVERIFY(after.mid(xref).startsWith("xref"));
        QCOMPARE(PdfToUnicodeMaps(after).size(), PdfToUnicodeMaps(before).size());
    }

    void fileWithoutRadicalsIsLeftAsItIs()
    {
        const QByteArray pdf = Pdf(QStringLiteral("T-201 Mellapak 250Y, 1.25 m"), PageFont(10));
        QCOMPARE(UnifyPdfTextLayer(pdf), pdf);
        QCOMPARE(UnifyPdfTextLayer(QByteArray("not a PDF")), QByteArray("not a PDF"));
    }

    void radicalFormsFoldToTheIdeographOfTheFace_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("ideograph");
        QTest::newRow("Kangxi eye") << QStringLiteral("\u2F6C") << QStringLiteral("目");
        QTest::newRow("Kangxi water") << QStringLiteral("\u2F54") << QStringLiteral("水");
        QTest::newRow("supplement page") << QStringLiteral("\u2EDA") << QStringLiteral("页");
        QTest::newRow("plain text") << QStringLiteral("塔径 T-201") << QStringLiteral("塔径 T-201");
    }
    void radicalFormsFoldToTheIdeographOfTheFace()
    {
        QFETCH(QString, form);
        QFETCH(QString, ideograph);
        QCOMPARE(UnifiedIdeographs(form), ideograph);
    }
};

QTEST_MAIN(PdfTextLayerTest)
#include "pdf_text_layer_qtest.moc"
