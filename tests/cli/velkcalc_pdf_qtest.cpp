// velk-calc --pdf, read back by poppler (pdfinfo, pdftotext) as an outside
// reader would: the pages a project with a column profile calls for, in
// portrait or landscape, the type never under 7 points, and the tag, the
// packing names and the numbers of the page whole in the text layer, in
// both languages.
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <sstream>

#include "ProfileImport.h"
#include "ProfileRecords.h"

namespace
{

const QString kCalc = QStringLiteral(VELK_BINARY_DIR "/bin/velk-calc");

struct Run {
    int status = -1;
    QString out, err;
};

Run Start(const QString& program, const QStringList& args, const QString& lang = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!lang.isEmpty()) {
        env.insert("LANG", lang);
        env.insert("LC_ALL", lang);
    }
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(180000)) return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// pdftotext maps some CJK glyphs to Kangxi radicals (NFKC folds them back);
// a wrapped text is whole once the line breaks are taken out.
QString Squeezed(const QString& text)
{
    QString s = text.normalized(QString::NormalizationForm_KC);
    s.remove(QRegularExpression("\\s+"));
    return s;
}

struct PageInfo {
    double width = 0, height = 0;
};

std::vector<PageInfo> Pages(const QString& pdf)
{
    const Run info = Start("pdfinfo", {"-f", "1", "-l", "999", pdf});
    std::vector<PageInfo> pages;
    auto it = QRegularExpression("Page\\s+\\d+ size:\\s+([0-9.]+) x ([0-9.]+)").globalMatch(info.out);
    while (it.hasNext()) {
        const auto m = it.next();
        pages.push_back({m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    return pages;
}

QString PageText(const QString& pdf, int page)
{
    return Start("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"}).out;
}

} // namespace

class VelkCalcPdfTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QString project;

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty() ||
            QStandardPaths::findExecutable("pdfinfo").isEmpty())
            QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed: scripts/setup.sh installs it");
        // The atmospheric example (tag T-201, Mellapak-250Y) with the
        // debutanizer's profile in two beds of other packings.
        ColumnProfile profile = ProfilesFromCsvFile(VELK_SOURCE_DIR "/examples/debutanizer.csv").at(0);
        const int last = profile.stages.back().number, middle = profile.stages.front().number + 5;
        profile.beds = {{profile.stages.front().number, middle, "Mellapak-350Y", 0, false, {}},
                        {middle + 1, last, "Flexipac-1", 1, false, {}}};
        std::ifstream in(VELK_SOURCE_DIR "/examples/atmospheric-plain.vel", std::ios::binary);
        std::stringstream plain;
        plain << in.rdbuf();
        project = dir.filePath("T-201.vel");
        std::ofstream(project.toStdString(), std::ios::binary) << plain.str() << ProfileRecordsText(profile);
    }

    void pagesReadBackWholeInBothLanguages_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("ratingHeading");
        QTest::addColumn<QString>("comparisonTitle");
        QTest::addColumn<QString>("stageAxis");
        QTest::addColumn<QString>("dropAxis");
        QTest::newRow("Chinese") << "zh_CN.UTF-8" << QString::fromUtf8("起始板")
                                 << QString::fromUtf8("填料比较") << QString::fromUtf8("理论板")
                                 << QString::fromUtf8("压降(mbar/m)");
        QTest::newRow("English") << "en_US.UTF-8"
                                 << "First stage"
                                 << "Packing comparison"
                                 << "Theoretical stage"
                                 << "Pressure drop (mbar/m)";
    }
    void pagesReadBackWholeInBothLanguages()
    {
        QFETCH(QString, lang);
        QFETCH(QString, ratingHeading);
        QFETCH(QString, comparisonTitle);
        QFETCH(QString, stageAxis);
        QFETCH(QString, dropAxis);
        const QString pdf = dir.filePath(lang + ".pdf");
        const Run calc = Start(kCalc, {"--project", project, "--pdf", pdf}, lang);
        QVERIFY2(calc.status == 0, qPrintable(calc.err));
        // VELK_KEEP_PDF=DIR keeps the files for a look at the pages.
        if (const QString keep = qEnvironmentVariable("VELK_KEEP_PDF"); !keep.isEmpty()) {
            QFile::remove(keep + "/" + lang + ".pdf");
            QFile::copy(pdf, keep + "/" + lang + ".pdf");
            QFile::copy(project, keep + "/T-201.vel");
        }
        const auto json = QJsonDocument::fromJson(calc.out.toUtf8()).object()["fields"].toObject();

        // Report page: portrait A4 (595 x 842 points), the tag, the packing
        // and every number of the page's value fields whole.
        const std::vector<PageInfo> pages = Pages(pdf);
        QVERIFY2(pages.size() >= 8, qPrintable(QString::number(pages.size())));
        QCOMPARE(qRound(pages[0].width), 595);
        QCOMPARE(qRound(pages[0].height), 842);
        const QString report = Squeezed(PageText(pdf, 1));
        // (the catalogue spells the example's packing "Mellapakr-250Y")
        for (const char* whole : {"T-201", "Mellapakr-250Y", "T-201.vel"})
            QVERIFY2(report.contains(whole), qPrintable(whole + QString(" in ") + report));
        for (const char* field :
             {"DlD", "DvD", "MvD", "dD", "UfD", "dPwaterD", "HETPD", "UlsD", "DlfD", "DvfD"}) {
            // The page's display string; a number cell shows its exponent
            // without leading zeros, as a spreadsheet does (4E-0009: 4E-9).
            QString shown = json[field].toObject()["display"].toString();
            shown.replace(QRegularExpression("E([-+])0+(\\d)"), "E\\1\\2");
            QVERIFY2(!shown.isEmpty() && report.contains(shown), qPrintable(QString(field) + "=" + shown));
        }
        // The operating check's captions are not cut at the margin.
        QVERIFY2(
            report.contains(Squeezed(lang.startsWith("en") ? "Design flooding (f×A)" : "设计泛点率(f×A)")),
            qPrintable(report));

        // Charts landscape; the comparison and the rating found whole on
        // their pages, the rating's on landscape pages.
        QVERIFY(pages[1].width > pages[1].height);
        int comparison = 0, rating = 0;
        for (int i = 2; i <= static_cast<int>(pages.size()); ++i) {
            const QString text = Squeezed(PageText(pdf, i));
            if (!comparison && text.contains(Squeezed(comparisonTitle))) comparison = i;
            if (!rating && text.contains(Squeezed(ratingHeading))) rating = i;
        }
        QVERIFY(comparison > 0 && rating > comparison);
        const QString table = Squeezed(PageText(pdf, comparison));
        for (const char* name : {"Mellapakr-250Y", "Mellapak-350Y", "Flexipac-1"})
            QVERIFY2(table.contains(name), qPrintable(table));
        QVERIFY(pages[static_cast<std::size_t>(rating - 1)].width >
                pages[static_cast<std::size_t>(rating - 1)].height);
        QVERIFY(Squeezed(PageText(pdf, rating)).contains("Mellapak-350Y"));
        // The rating's charts close the report, whole on their page: both
        // x-axis captions and the lower chart's caption are there.
        const QString charts = PageText(pdf, static_cast<int>(pages.size()));
        QCOMPARE(static_cast<int>(Squeezed(charts).count(Squeezed(stageAxis))), 2);
        QVERIFY2(Squeezed(charts).contains(Squeezed(dropAxis)), qPrintable(charts));

        // No type under 7 points: a word box of pdftotext is the face's
        // ascent plus descent, at least 1.1 times the type size for the
        // page faces (Liberation 1.117, DejaVu 1.164, Noto CJK more).
        const Run boxes = Start("pdftotext", {"-bbox", pdf, "-"});
        auto it = QRegularExpression("yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">([^<]*)<")
                      .globalMatch(boxes.out);
        double smallest = 1e9;
        QString word;
        while (it.hasNext()) {
            const auto m = it.next();
            const double h = m.captured(2).toDouble() - m.captured(1).toDouble();
            if (h < smallest) smallest = h, word = m.captured(3);
        }
        QVERIFY2(smallest >= 7 * 1.1, qPrintable(QString::number(smallest) + " " + word));
    }

    // A search of the Chinese datasheet finds its words as typed: no
    // character reads back as the radical form that shares its glyph.
    void chineseTextLayerReadsAsTyped()
    {
        const QString pdf = dir.filePath("search.pdf");
        const Run calc = Start(
            kCalc, {"--project", VELK_SOURCE_DIR "/examples/atmospheric.vel", "--pdf", pdf}, "zh_CN.UTF-8");
        QVERIFY2(calc.status == 0, qPrintable(calc.err));
        const QString text = Start("pdftotext", {pdf, "-"}).out;
        for (const char* word : {"项目名称", "塔径", "气相密度", "泛点气速", "计算日期"})
            QVERIFY2(text.contains(QString::fromUtf8(word)), word);
        for (QChar c : text)
            QVERIFY2(c.unicode() < 0x2E80 || c.unicode() > 0x2FDF, qPrintable(QString(c)));
    }

    void failureIsReportedAndWritesNothing()
    {
        const QString pdf = dir.filePath("missing/out.pdf");
        const Run calc = Start(kCalc, {"--project", project, "--pdf", pdf});
        QCOMPARE(calc.status, 1);
        QVERIFY2(calc.err.contains("velk-calc:"), qPrintable(calc.err));
        QVERIFY(!QFileInfo::exists(pdf));
        // Runs that print other results than one case refuse --pdf instead
        // of leaving it out.
        const QString other = dir.filePath("other.pdf");
        for (const QStringList& args : {QStringList{"--compare"}, QStringList{"--profile", VELK_SOURCE_DIR
                                                                              "/examples/debutanizer.csv"}}) {
            const Run refused = Start(kCalc, args + QStringList{"--pdf", other});
            QCOMPARE(refused.status, 2);
            QVERIFY2(refused.err.contains("--pdf"), qPrintable(refused.err));
        }
        QVERIFY(!QFileInfo::exists(other));
    }
};

QTEST_GUILESS_MAIN(VelkCalcPdfTest)
#include "velkcalc_pdf_qtest.moc"
