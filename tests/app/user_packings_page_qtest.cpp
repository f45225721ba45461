// The constants page with the user's packings: a file taken or refused
// whole, the user rows drawn apart, rows added, edited and removed through
// the file, the calculation page following its packing, and F1 on the new
// controls naming the topic.
#include <QFile>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "ApplicationHelp.h"
#include "CalcPage.h"
#include "ConstantsPage.h"
#include "Messages.h"
#include "PackingSelector.h"
#include "SaveFormData.h"
#include "UserCatalogueFile.h"

class UserPackingsPageTest : public QObject
{
    Q_OBJECT
    QTemporaryDir tmp;
    RecordingSink sink;

    std::string Write(const char* name, const std::string& text)
    {
        const std::string path = tmp.filePath(QString::fromLatin1(name)).toStdString();
        QFile f(QString::fromStdString(path));
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray::fromStdString(text));
        return path;
    }
    static CatalogueRow Copy(std::size_t builtIn, const std::string& name)
    {
        CatalogueRow row = PackingCatalogue()[builtIn];
        row[ColType] = name;
        return row;
    }

private slots:
    void initTestCase() { SetMessageSink(&sink); }
    void cleanupTestCase()
    {
        SetUserPackings({});
        SetMessageSink(nullptr);
    }
    void init()
    {
        SetUserPackings({});
        sink.messages.clear();
    }

    void aFileIsTakenWholeOrNotAtAll()
    {
        CalcPage page(false);
        TConstantsPage w(page, {});
        const std::string good = Write("good.csv", UserCatalogueText({Copy(10, "Own A"), Copy(3, "Own B")}));
        QVERIFY(w.OpenCatalogue(good));
        QCOMPARE(w.Grid()->rowCount(), 29);
        QCOMPARE(page.Combo("PTD")->Items().size(), 29u);
        // Built-in rows keep their pairs of colours; user rows stand apart.
        QCOMPARE(w.Grid()->item(0, 1)->foreground().color(), QColor(0xFF, 0, 0));
        QCOMPARE(w.Grid()->item(2, 1)->foreground().color(), QColor(0, 0, 0xFF));
        const QColor user = w.Grid()->item(27, 1)->background().color();
        QVERIFY(user != w.Grid()->item(0, 1)->background().color());
        QCOMPARE(w.Grid()->item(28, 5)->background().color(), user);
        QCOMPARE(w.Grid()->item(27, 0)->text(), QStringLiteral("28"));

        const std::string broken = Write(
            "broken.csv", UserCatalogueText({}) + "1,Own C,250,1.2,1.0,12.7,25.4,17.8,45,15.8,2.464,20,\n");
        QVERIFY(!w.OpenCatalogue(broken));
        QCOMPARE(UserPackings().size(), 2u);
        QCOMPARE(w.FileName(), good);
        QCOMPARE(w.Grid()->rowCount(), 29);
        QCOMPARE(sink.messages.size(), 1u);
        QVERIFY(sink.messages[0].text.find("broken.csv:2:4: ") != std::string::npos);
    }

    void rowsAreAddedEditedAndRemovedThroughTheFile()
    {
        CalcPage page(false);
        TConstantsPage w(page, {});
        const std::string path = tmp.filePath(QStringLiteral("sub/new.csv")).toStdString();
        QVERIFY(w.OpenCatalogue(path)); // not there yet: an empty catalogue
        const struct {
            int index;
            CatalogueRow row;
            bool taken;
            std::vector<std::string> names; // the file's names afterwards
        } steps[] = {
            {-1, Copy(10, "Own A"), true, {"Own A"}},
            {-1, Copy(12, "Own B"), true, {"Own A", "Own B"}},
            {-1, Copy(12, "own b"), false, {"Own A", "Own B"}}, // a repeated name
            {-1, Copy(12, "SW-2"), false, {"Own A", "Own B"}},  // a built-in name
            {0, Copy(10, "Own A2"), true, {"Own A2", "Own B"}},
        };
        for (const auto& s : steps) {
            QCOMPARE(w.StoreRow(s.index, s.row), s.taken);
            const UserCatalogue file = ReadUserCatalogueFile(path);
            QVERIFY(file.errors.empty());
            std::vector<std::string> names;
            for (const CatalogueRow& r : file.rows)
                names.push_back(r[ColType]);
            QVERIFY(names == s.names);
            QCOMPARE(UserPackings().size(), s.names.size());
        }
        // The page's packing follows its row's new name; it is not removed while used.
        page.Combo("PTD")->SetItemIndex(28);
        QCOMPARE(page.Combo("PTD")->Text(), std::string("Own B"));
        QSignalSpy changed(&w, &TConstantsPage::PackingChanged);
        CatalogueRow wider = Copy(12, "Own B2");
        wider[ColArea] = "400";
        QVERIFY(w.StoreRow(1, wider));
        QCOMPARE(page.Combo("PTD")->Text(), std::string("Own B2"));
        QCOMPARE(changed.size(), 1);
        // A row's new numbers alone tell the page's views (the comparison computes again).
        int notices = 0;
        const int subscription = page.Combo("PTD")->Subscribe([&] { ++notices; });
        CatalogueRow other = Copy(10, "Own A2");
        other[ColVoid] = "0.9";
        QVERIFY(w.StoreRow(0, other));
        QVERIFY(notices > 0);
        page.Combo("PTD")->Unsubscribe(subscription);
        QVERIFY(!w.RemoveRow(1));
        QCOMPARE(UserPackings().size(), 2u);
        QVERIFY(w.RemoveRow(0));
        QCOMPARE(ReadUserCatalogueFile(path).rows.size(), 1u);
        QCOMPARE(page.Combo("PTD")->Text(), std::string("Own B2"));
    }

    void aProjectsOwnPackingJoinsTheGrid()
    {
        CalcPage page(false);
        TConstantsPage w(page, {});
        QCOMPARE(w.Grid()->rowCount(), 27);
        CalcPage saved(false);
        SetUserPackings({Copy(10, "Own A")});
        RefreshPackingItems(*saved.Combo("PTD"));
        SelectPackingByName(*saved.Combo("PTD"), "Own A");
        const std::string text = FormRecordsText(saved);
        SetUserPackings({});
        QVERIFY(ApplyFormRecords(page, text));
        QCOMPARE(page.Combo("PTD")->Text(), std::string("Own A"));
        QCOMPARE(w.Grid()->rowCount(), 28);
        QCOMPARE(w.Grid()->item(27, 1)->text(), QStringLiteral("Own A"));
    }

    void theNewControlsNameTheTopic()
    {
        CalcPage page(false);
        TConstantsPage w(page, {});
        for (const char* name : {"BUserPackingsFile", "BUserPackingAdd", "BUserPackingEdit",
                                 "BUserPackingRemove", "UserPackingsFile"}) {
            QWidget* c = w.findChild<QWidget*>(QLatin1String(name));
            QVERIFY2(c, name);
            QCOMPARE(TApplicationHelp::HelpContextOf(c), HelpTopic::UserPackings);
        }
    }
};

QTEST_MAIN(UserPackingsPageTest)
#include "user_packings_page_qtest.moc"
