// The PRO/II import dialog driven through its handlers and buttons, against
// the database server stand-in and simulation files written by the test.
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "CalcPage.h"
#include "ImportTestSupport.h"
#include "Messages.h"
#include "PROIIInterface.h"
#include "ProiiServer.h"
#include "UnitProii.h"

namespace
{
const char* const kSeven[] = {"VD", "DvD", "MvD", "LD", "DlD", "MlD", "SLD"};

QStringList Items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QStringList Items(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

QStringList Texts(const RecordingSink& sink)
{
    QStringList out;
    for (const RecordedMessage& m : sink.messages)
        out << QString::fromStdString(m.text);
    return out;
}
} // namespace

class ProiiDialogTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<CalcPage> page;
    RecordingSink sink;
    MessageSink* previousSink = nullptr;

    std::string File(const std::vector<SimColumn>& columns, int status = 0, const std::string& name = "t.prz")
    {
        return WriteSimulation(*dir, name, columns, status);
    }

    // A dialog with the file open and the first column picked.
    std::unique_ptr<TFormProii> OpenWithColumn(const std::vector<SimColumn>& columns)
    {
        auto form = std::make_unique<TFormProii>(nullptr, *page);
        form->OpenFile(QString::fromStdString(File(columns)));
        form->ListColumns->setCurrentRow(0);
        return form;
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        page = std::make_unique<CalcPage>();
        sink.messages.clear();
        previousSink = GetMessageSink();
        SetMessageSink(&sink);
        RegisterProiiServerComponent();
        ProiiServerVersion = ProiiDatabaseServer::kVersion;
        ProiiColumnData.clear();
    }

    void cleanup()
    {
        ReleaseProii();
        SetMessageSink(previousSink);
        page.reset();
    }

    void columnOfTwentyTraysOffersTheTraysWithTheSecondSelected()
    {
        TFormProii form(nullptr, *page);
        QCOMPARE(Items(form.StageIndex), QStringList({"1", "2", "3", "4", "5"}));
        QCOMPARE(form.StageIndex->currentText(), QString("1"));

        form.OpenFile(QString::fromStdString(File({TestColumn("T-100", 20, {8}), TestColumn("T-200", 1)})));
        QVERIFY(sink.messages.empty());
        QCOMPARE(Items(form.ListColumns), QStringList({"T-100", "T-200"}));
        QVERIFY(form.ListColumns->selectedItems().isEmpty());

        form.ListColumns->setCurrentRow(0); // the engineer picks a column
        QStringList trays;
        for (int i = 1; i <= 20; ++i)
            trays << QString::number(i);
        QCOMPARE(Items(form.StageIndex), trays);
        QCOMPARE(form.StageIndex->currentText(), QString("2"));
        QCOMPARE(Items(form.ListBoxColumnData),
                 QStringList({"NumberOfTrays=20", "RefluxRatio=2.5", "FeedT0=8"}));
        QCOMPARE(ProiiColumnData, (TStringList{"NumberOfTrays=20", "RefluxRatio=2.5", "FeedT0=8"}));

        // A single tray leaves nothing selected.
        form.ListColumns->setCurrentRow(1);
        QCOMPARE(Items(form.StageIndex), QStringList({"1"}));
        QCOMPARE(form.StageIndex->currentIndex(), -1);
    }

    void automaticModeReadsTheTrayAboveTheFirstFeed()
    {
        auto form = OpenWithColumn({TestColumn("T-100", 20, {8, 14})});
        QCOMPARE(form->RGModalIndex(), 0);
        form->BGetDataClick();
        QVERIFY2(sink.messages.empty(), qPrintable(Texts(sink).join('|')));
        QCOMPARE(form->StageIndex->currentText(), QString("7"));
        QCOMPARE(form->ListData->count(), 17);
        QCOMPARE(form->ListData->item(4)->text(), QString("LiqDensityAct=507"));

        // A named tray is read as chosen.
        form->SetRGModalIndex(1);
        form->StageIndex->setCurrentIndex(11);
        form->BGetDataClick();
        QCOMPARE(form->ListData->item(4)->text(), QString("LiqDensityAct=512"));
        QCOMPARE(form->StageIndex->currentText(), QString("12"));
    }

    void okWritesTheSevenFieldsAndStartsNoRecalculation()
    {
        auto form = OpenWithColumn({TestColumn("T-100", 20, {8})});
        form->BGetDataClick();
        page->Unit("LU")->SetItemIndex(1);  // kg/h
        page->Unit("MlU")->SetItemIndex(1); // cp
        page->Field("DlfD")->SetText("0.000000001");
        page->NeedsRecalc = false;
        page->Modified = false;
        const std::string fp = page->Field("FpD")->Text();
        int shown = 0; // the page is told to show its state anew
        page->OnOperationChanged = [&shown] { ++shown; };

        form->show();
        form->BOK->click();
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QVERIFY2(sink.messages.empty(), qPrintable(Texts(sink).join('|')));

        // Tray 7: vapour 7.25 kmol/s x 47, liquid 7.5 kmol/s x 57.
        QCOMPARE(page->Field("VD")->Text(), std::string("340.75"));
        QCOMPARE(page->Field("DvD")->Text(), std::string("27"));
        QCOMPARE(page->Field("MvD")->Text(), std::string("7E-6"));
        QCOMPARE(page->Field("LD")->Text(), std::string("1539000.00000431")); // 427.5 kg/s in kg/h
        QCOMPARE(page->Field("DlD")->Text(), std::string("507"));
        QCOMPARE(page->Field("MlD")->Text(), std::string("0.7")); // 0.0007 Pa.s in cp
        QCOMPARE(page->Field("SLD")->Text(), std::string("0.007"));
        QCOMPARE(page->Field("DlfD")->Text(), std::string("0.000000001"));
        QCOMPARE(page->Field("FpD")->Text(), fp);
        QVERIFY(page->NeedsRecalc);
        QVERIFY(page->Modified);
        QCOMPARE(shown, 1);
        page->OnOperationChanged = nullptr;
        // Closing let go of the database and the server.
        QVERIFY(ProiiDatabase.IsEmpty());
        QVERIFY(ProiiServer.IsEmpty());
    }

    void okBeforeAnyReadChangesNothing()
    {
        TFormProii form(nullptr, *page);
        for (const char* f : kSeven)
            page->Field(f)->SetText("1");
        page->NeedsRecalc = false;
        form.show();
        form.BOK->click();
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
        for (const char* f : kSeven)
            QCOMPARE(page->Field(f)->Text(), std::string("1"));
        QVERIFY(!page->NeedsRecalc);
        QVERIFY(sink.messages.empty());
    }

    void valueThatDoesNotConvertStopsTheWritesAndStillCloses()
    {
        auto form = OpenWithColumn({TestColumn("T-100", 20, {8})});
        form->BGetDataClick();
        for (const char* f : kSeven)
            page->Field(f)->SetText("1");
        QList<QListWidgetItem*> density = form->ListData->findItems("LiqDensityAct=", Qt::MatchStartsWith);
        QCOMPARE(density.size(), 1);
        density.first()->setText("LiqDensityAct=abc");

        form->show();
        form->BOK->click();
        QVERIFY(!form->isVisible());
        QCOMPARE(Texts(sink), QStringList({"'abc' is not a valid floating point value"}));
        // Written before the fault, in the mapping order ...
        QCOMPARE(page->Field("VD")->Text(), std::string("340.75"));
        QCOMPARE(page->Field("DvD")->Text(), std::string("27"));
        QCOMPARE(page->Field("MvD")->Text(), std::string("7E-6"));
        QCOMPARE(page->Field("LD")->Text(), std::string("427.5"));
        // ... and kept after it.
        QCOMPARE(page->Field("DlD")->Text(), std::string("1"));
        QCOMPARE(page->Field("MlD")->Text(), std::string("1"));
        QCOMPARE(page->Field("SLD")->Text(), std::string("1"));
    }

    void missingKeyOnOkIsAConversionError()
    {
        auto form = OpenWithColumn({TestColumn("T-100", 20, {8})});
        form->BGetDataClick();
        page->Field("DvD")->SetText("1");
        delete form->ListData->findItems("VapDensityAct=", Qt::MatchStartsWith).first();
        form->BOKClick();
        QCOMPARE(Texts(sink), QStringList({"'' is not a valid floating point value"}));
        QCOMPARE(page->Field("VD")->Text(), std::string("340.75"));
        QCOMPARE(page->Field("DvD")->Text(), std::string("1"));
    }

    void noServerRegisteredShowsTheErrorAndKeepsTheLists()
    {
        ProiiServerVersion = "";
        TFormProii form(nullptr, *page);
        form.ListColumns->addItem("OLD");
        form.OpenFile(QString::fromStdString(File({TestColumn("T-100", 3)})));
        QCOMPARE(Texts(sink), QStringList({"PROII错误！"}));
        QCOMPARE(Items(form.ListColumns), QStringList({"OLD"}));
        QVERIFY(ProiiDatabase.IsEmpty());
    }

    void fileProblemsAreReported()
    {
        TFormProii form(nullptr, *page);
        form.OpenFile(QString::fromStdString(File({}, 0, "empty.prz")));
        QCOMPARE(Texts(sink), QStringList({"该模拟文件中没有塔器模块!"}));

        sink.messages.clear();
        form.OpenFile(QString::fromStdString(File({TestColumn("T-100", 3)}, 2, "warn.prz")));
        QCOMPARE(Texts(sink), QStringList({"模拟文件包含错误/警告信息！"}));
        QCOMPARE(Items(form.ListColumns), QStringList({"T-100"}));

        // A file the server cannot open: its own error, the columns kept.
        sink.messages.clear();
        form.OpenFile(QString::fromStdString(WriteText(*dir, "junk.prz", "junk")));
        QCOMPARE(sink.messages.size(), size_t(1));
        QVERIFY(Texts(sink).first().contains("junk.prz"));
        QCOMPARE(Items(form.ListColumns), QStringList({"T-100"}));
    }

    void getDataNeedsAColumnAndAFeedForTheAutomaticTray()
    {
        TFormProii form(nullptr, *page);
        form.OpenFile(QString::fromStdString(File({TestColumn("T-100", 5), TestColumn("T-200", 5, {3})})));
        form.ListData->addItem("kept");
        form.BGetDataClick(); // no column selected: nothing, silently
        QVERIFY(sink.messages.empty());
        QCOMPARE(Items(form.ListData), QStringList({"kept"}));

        form.ListColumns->setCurrentRow(0); // no feeds: no "FeedT0" line
        form.BGetDataClick();
        QCOMPARE(Texts(sink), QStringList({"'' is not a valid floating point value"}));
        QCOMPARE(Items(form.ListData), QStringList({"kept"}));

        // A named tray with none selected reads tray 0, which the server
        // refuses after the list was cleared for the read.
        sink.messages.clear();
        form.SetRGModalIndex(1);
        form.StageIndex->setCurrentIndex(-1);
        form.BGetDataClick();
        QCOMPARE(sink.messages.size(), size_t(1));
        QVERIFY(Texts(sink).first().contains("no tray 0"));
        QCOMPARE(form.ListData->count(), 0);
    }

    void openingAnotherFileKeepsWhatWasRead()
    {
        auto form = OpenWithColumn({TestColumn("T-100", 20, {8})});
        form->BGetDataClick();
        const QStringList data = Items(form->ListData);
        const QStringList summary = Items(form->ListBoxColumnData);
        form->OpenFile(
            QString::fromStdString(File({TestColumn("C-1", 4), TestColumn("C-2", 4)}, 0, "other.prz")));
        QCOMPARE(Items(form->ListColumns), QStringList({"C-1", "C-2"}));
        QVERIFY(form->ListColumns->selectedItems().isEmpty());
        QCOMPARE(Items(form->ListData), data);
        QCOMPARE(Items(form->ListBoxColumnData), summary);
        QCOMPARE(form->StageIndex->count(), 20);
        QCOMPARE(form->StageIndex->currentText(), QString("7"));
    }

    void readOnlyOrMissingFilesAreRefused()
    {
        const QString path = QString::fromStdString(File({TestColumn("T-100", 3)}));
        QVERIFY(TFormProii::IsAcceptableFile(path));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QString why;
        QVERIFY(!TFormProii::IsAcceptableFile(path, &why));
        QVERIFY(why.contains("只读"));
        QVERIFY(!TFormProii::IsAcceptableFile(dir->filePath("none.prz")));
        QVERIFY(!TFormProii::IsAcceptableFile(dir->filePath("no/such/folder/x.prz")));
    }

    void dialogIsHeldInTheGlobalWhileItRuns()
    {
        QString seen;
        QTimer::singleShot(0, [&] {
            if (!FormProii) return;
            seen = FormProii->windowTitle();
            FormProii->BCancel->click();
        });
        ShowProiiDialog(nullptr, *page);
        QCOMPARE(seen, QString("连接Proii"));
        QVERIFY(FormProii == nullptr);
    }
};

QTEST_MAIN(ProiiDialogTest)
#include "Proii_dialog_qtest.moc"
