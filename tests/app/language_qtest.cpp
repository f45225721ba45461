// Both interface languages: the main window's texts, the engine's messages,
// a standard Qt dialog, a switch at run time, velk-calc's messages and the
// language record of the option file. Expected English texts are the ones
// written in translations/velk_en.ts.
#include <QAction>
#include <QDir>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <sstream>

#include "BoundWidgets.h"
#include "ColumnRatingPage.h"
#include "EngineText.h"
#include "Language.h"
#include "RecentFiles.h"
#include "RegularFile.h"
#include "Retranslator.h"
#include "UnitMain.h"
#include "VelkCalc.h"
#include "XlsxDocument.h"

namespace {
QString U(const char* s) { return QString::fromUtf8(s); }

QString ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        return QString::fromStdString(e.what());
    }
    return QStringLiteral("(no error)");
}

struct Expected {
    QString newAction, calcTab, densityLabel, inputError, floatError, convertError, yesButton, ratingHeading, rateButton;
};

Expected Chinese()
{
    return {U("&N 新建"), U("计算"), U("液相密度"), U("发现错误，可能是输入数据错误！"), U("无效的浮点运算"),
            U("“abc”不是有效的浮点数"), U("是(&Y)"), U("气相流量\nkg/s"), U("校核")};
}

Expected English()
{
    return {U("&New"), U("Calculation"), U("Liquid density"), U("An error was found; the input data may be wrong!"),
            U("Invalid floating point operation"), U("'abc' is not a valid floating point value"), U("&Yes"),
            U("Vapour flow\nkg/s"), U("Rate")};
}
} // namespace

class LanguageTest : public QObject {
    Q_OBJECT
    QTemporaryDir tmp;

    void CheckWindow(TFormVELK& w, const Expected& e)
    {
        QCOMPARE(w.Action(QStringLiteral("MFile_New"))->text(), e.newAction);
        QCOMPARE(w.PageControlMain()->tabText(0), e.calcTab);
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("DlL"))->text(), e.densityLabel);
        QCOMPARE(w.Action(QStringLiteral("MFile_Save"))->shortcut().toString(), QStringLiteral("Ctrl+S"));
        // A heading built from parts, on a page that is not the first.
        QCOMPARE(w.findChild<ColumnRatingPage*>()->StageTable()->horizontalHeaderItem(2)->text(), e.ratingHeading);
        // The same Chinese word means "checked by" in the report's title block.
        QCOMPARE(w.findChild<QPushButton*>(QStringLiteral("BRate"))->text(), e.rateButton);
        // No unit name is cut: the edit field of every unit box holds its longest item.
        QCoreApplication::processEvents();
        for (TComboBoxUWidget* box : w.findChildren<TComboBoxUWidget*>()) {
            QStyleOptionComboBox opt;
            opt.initFrom(box);
            const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, box);
            for (int i = 0; i < box->count(); ++i)
                QVERIFY2(box->fontMetrics().horizontalAdvance(box->itemText(i)) <= field.width(),
                         qPrintable(box->objectName() + QLatin1Char(' ') + box->itemText(i)));
        }
    }
    void CheckTexts(const Expected& e)
    {
        QCOMPARE(EngineText(std::string("发现错误，可能是输入数据错误！")), e.inputError);
        QCOMPARE(EngineText(std::string("Invalid floating point operation")), e.floatError);
        QCOMPARE(EngineText(std::string("'abc' is not a valid floating point value")), e.convertError);
        QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No);
        QCOMPARE(box.button(QDialogButtonBox::Yes)->text(), e.yesButton);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(tmp.isValid());
        qputenv("XDG_CONFIG_HOME", tmp.path().toUtf8());
    }

    void eachLanguageShowsItsTexts_data()
    {
        QTest::addColumn<int>("lang");
        QTest::newRow("Chinese") << int(TLanguage::Chinese);
        QTest::newRow("English") << int(TLanguage::English);
    }
    void eachLanguageShowsItsTexts()
    {
        QFETCH(int, lang);
        QVERIFY(TLanguage::Apply(TLanguage::Lang(lang)));
        const Expected e = lang == TLanguage::English ? English() : Chinese();
        TFormVELK w;
        CheckWindow(w, e);
        CheckTexts(e);
        QCOMPARE(w.windowTitle(), TLanguage::Tr(kBlankCaption) + QStringLiteral("[*]"));
    }

    void aSwitchRetranslatesAnOpenWindow()
    {
        TRetranslator retranslator;
        QVERIFY(TLanguage::Apply(TLanguage::Chinese));
        TFormVELK w;
        w.show();
        for (TLanguage::Lang lang : {TLanguage::English, TLanguage::Chinese, TLanguage::English}) {
            QVERIFY(TLanguage::Apply(lang));
            QCoreApplication::processEvents();
            CheckWindow(w, lang == TLanguage::English ? English() : Chinese());
            QCOMPARE(w.Action(QStringLiteral("MLanguage_En"))->isChecked(), lang == TLanguage::English);
        }
        QCOMPARE(w.windowTitle(), U("Structured Packing Column Hydraulics-Blank project[*]"));
        TLanguage::Apply(TLanguage::Chinese);
    }

    void velkCalcWritesMessagesInTheLanguage()
    {
        for (TLanguage::Lang lang : {TLanguage::Chinese, TLanguage::English}) {
            TLanguage::Apply(lang);
            std::ostringstream out, err;
            QCOMPARE(RunVelkCalc({"LD=2.5", "VD=abc", "DlD=800", "DvD=2.5"}, out, err), 1);
            const Expected e = lang == TLanguage::English ? English() : Chinese();
            QVERIFY2(QString::fromStdString(err.str()).contains(e.inputError), err.str().c_str());
            // The JSON keeps the source texts whatever the language.
            QVERIFY(QString::fromStdString(out.str()).contains(U("发现错误，可能是输入数据错误！")));
        }
        TLanguage::Apply(TLanguage::Chinese);
    }

    void spreadsheetErrorsFollowTheLanguage()
    {
        // Paths holding "%2" must come out as they are, also beside a second part.
        const std::string missing = tmp.filePath(QStringLiteral("no%2where.xlsx")).toStdString();
        const std::string folder = tmp.filePath(QStringLiteral("a%2b.xlsx")).toStdString();
        const std::string junk = tmp.filePath(QStringLiteral("junk.xlsx")).toStdString();
        QVERIFY(QDir().mkpath(QString::fromStdString(folder)));
        QFile f(QString::fromStdString(junk));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("not a zip") > 0);
        f.close();
        // The system's own reason, whatever the locale says.
        const QString why = ErrorOf([&] { ReadRegularFile(folder, 1); });
        XlsxDocument blank;
        blank.NewBlank();
        struct Case {
            std::function<void()> fail;
            QString zh, en;
        };
        const auto path = [](const std::string& p) { return QString::fromStdString(p); };
        const Case cases[] = {
            {[&] { XlsxDocument().Load(missing); },
             U("找不到文件“") + path(missing) + U("”。请检查文件名和路径是否正确。"),
             U("Cannot find the file \"") + path(missing) + U("\". Check that the file name and path are correct.")},
            {[&] { XlsxDocument().Load(folder); }, U("无法打开文件“") + path(folder) + U("”：") + why,
             U("Cannot open the file \"") + path(folder) + U("\": ") + why},
            {[&] { XlsxDocument().Load(junk); },
             U("无法打开文件“") + path(junk) + U("”：文件格式或扩展名无效，不是 Excel 工作簿。"),
             U("Cannot open the file \"") + path(junk) + U("\": the file format or extension is not valid; it is "
                                                        "not an Excel workbook.")},
            {[&] { blank.SetCell(0, 0, 1, "x"); }, U("单元格位置无效：第 0 行，第 1 列。"),
             U("Invalid cell position: row 0, column 1.")},
        };
        for (TLanguage::Lang lang : {TLanguage::Chinese, TLanguage::English}) {
            QVERIFY(TLanguage::Apply(lang));
            for (const Case& c : cases)
                QCOMPARE(ErrorOf(c.fail), lang == TLanguage::English ? c.en : c.zh);
        }
        TLanguage::Apply(TLanguage::Chinese);
    }

    void theLanguageRecordFollowsTheListInTheOptionFile()
    {
        const QString name = tmp.filePath(QStringLiteral("velk"));
        {
            TRecentFiles list(name);
            list.AddRecentFile(QStringLiteral("/p/a.vel"));
            list.AddRecentFile(QStringLiteral("/p/b.vel"));
            list.SetRecord(QStringLiteral("Language"), QStringLiteral("en"));
            QVERIFY(list.SaveRecentFiles());
        }
        QFile f(name + QStringLiteral(".opt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        // A reader of the list alone takes RecentCount paths after the two
        // numbers and never reaches the record.
        QCOMPARE(f.readAll(), QByteArray("9\r\n2\r\n/p/a.vel\r\n/p/b.vel\r\nLanguage=en\r\n"));
        TRecentFiles again(name);
        QVERIFY(again.LoadRecentFiles());
        QCOMPARE(again.RecentCount(), 2);
        QCOMPARE(again.Entries().first().Caption, QStringLiteral("/p/b.vel"));
        QCOMPARE(again.Record(QStringLiteral("Language")), QStringLiteral("en"));
        QCOMPARE(TLanguage::FromName(again.Record(QStringLiteral("Language")), TLanguage::Chinese), TLanguage::English);
    }

    void theLocaleChoosesTheLanguage()
    {
        QCOMPARE(TLanguage::FromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom)), TLanguage::English);
        QCOMPARE(TLanguage::FromLocale(QLocale(QLocale::Chinese, QLocale::China)), TLanguage::Chinese);
        QCOMPARE(TLanguage::FromLocale(QLocale(QLocale::German, QLocale::Germany)), TLanguage::Chinese);
        QCOMPARE(TLanguage::FromLocale(QLocale::c()), TLanguage::Chinese);
    }
};

QTEST_MAIN(LanguageTest)
#include "language_qtest.moc"
