// The HYSYS import dialog against the stand-in's object model entered in this
// process's running-object table: listing, reading, and the seven values
// written on OK.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "AutoRegistry.h"
#include "CalcPage.h"
#include "HysysServerObjects.h"
#include "ImportTestSupport.h"
#include "Messages.h"
#include "UnitHysys.h"

namespace
{
const char* const kSeven[] = {"VD", "DvD", "MvD", "LD", "DlD", "MlD", "SLD"};
} // namespace

class HysysDialogTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CalcPage> page;
    RecordingSink sink;
    MessageSink* previousSink = nullptr;

    void Run(std::vector<HysysOperationData> operations)
    {
        auto c = std::make_shared<HysysCaseData>();
        c->operations = std::move(operations);
        AutoRegistry::Instance().RegisterActiveObject(kHysysProgId, MakeHysysApplication(c));
    }

    QStringList Messages() const
    {
        QStringList out;
        for (const RecordedMessage& m : sink.messages)
            out << QString::fromStdString(m.text);
        return out;
    }

    // Sixteen stages: the vapour peaks at stage 12, the liquid at stage 3.
    std::vector<HysysStageData> PeakedStages()
    {
        std::vector<HysysStageData> s;
        for (int i = 0; i < 16; ++i)
            s.push_back(TestStage(1 + i * 0.1, 1, i));
        s[12].vapour.massFlow = 9.5;
        s[3].liquid.massFlow = 7.25;
        return s;
    }

private slots:
    void init()
    {
        page = std::make_unique<CalcPage>();
        sink.messages.clear();
        previousSink = GetMessageSink();
        SetMessageSink(&sink);
        AutoRegistry::Instance().RevokeActiveProvider(kHysysProgId);
    }

    void cleanup()
    {
        AutoRegistry::Instance().RevokeActiveObject(kHysysProgId);
        ReleaseHysys();
        SetMessageSink(previousSink);
        page.reset();
    }

    void creationListsTheColumnsAndSelectsTheFirst()
    {
        Run({TestColumnOp("T-300", {}), TestColumnOp("T-100", {}), TestColumnOp("T-300", {})});
        TFormHysys form(nullptr, *page);
        QCOMPARE(form.ListColumns->count(), 2);
        QCOMPARE(form.ListColumns->item(0)->text(), QString("T-300"));
        QCOMPARE(form.ListColumns->item(1)->text(), QString("T-100"));
        QCOMPARE(form.ListColumns->currentRow(), 0);
        QCOMPARE(form.EditStageIndex->text(), QString("1"));
        QCOMPARE(form.RGModalIndex(), 0);
        QVERIFY(sink.messages.empty());
    }

    void automaticReadTakesEachHalfFromItsOwnStage()
    {
        Run({TestColumnOp("T-100", PeakedStages())});
        TFormHysys form(nullptr, *page);
        form.BGetDataClick();
        QVERIFY2(sink.messages.empty(), qPrintable(Messages().join('|')));
        QCOMPARE(form.ListData->count(), 10);
        QCOMPARE(form.ListData->item(0)->text(), QString("MaxVNo=12"));
        QCOMPARE(form.ListData->item(5)->text(), QString("MaxLNo=3"));

        page->NeedsRecalc = false;
        page->Modified = false;
        const std::string result = page->Field("dD")->Text();
        form.show();
        form.BOK->click();
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
        // Stage 12 for the vapour, stage 3 for the liquid.
        QCOMPARE(page->Field("VD")->Text(), std::string("9.5"));
        QCOMPARE(page->Field("DvD")->Text(), std::string("22"));
        QCOMPARE(page->Field("MvD")->Text(), std::string("0.000022"));
        QCOMPARE(page->Field("LD")->Text(), std::string("7.25"));
        QCOMPARE(page->Field("DlD")->Text(), std::string("503"));
        QCOMPARE(page->Field("MlD")->Text(), std::string("0.00023"));
        QCOMPARE(page->Field("SLD")->Text(), std::string("0.023"));
        QVERIFY(page->NeedsRecalc);
        QVERIFY(page->Modified);
        QCOMPARE(page->Field("dD")->Text(), result); // no recalculation ran
    }

    void namedStageAndItsFaults()
    {
        Run({TestColumnOp("T-100", PeakedStages())});
        TFormHysys form(nullptr, *page);
        form.SetRGModalIndex(1);
        form.EditStageIndex->setText(" 5 ");
        form.BGetDataClick();
        QCOMPARE(form.ListData->item(0)->text(), QString("MaxVNo=5"));
        QCOMPARE(form.ListData->item(5)->text(), QString("MaxLNo=5"));

        for (const char* bad : {"abc", "2.5", "", "99999999999"}) {
            sink.messages.clear();
            form.EditStageIndex->setText(bad);
            form.BGetDataClick();
            QCOMPARE(Messages(), QStringList({QString("'%1' is not a valid integer value").arg(bad)}));
            QCOMPARE(form.ListData->item(0)->text(), QString("MaxVNo=5"));
        }

        // A stage the column does not have: the server's own error; the
        // list was cleared for the read.
        sink.messages.clear();
        form.EditStageIndex->setText("40");
        form.BGetDataClick();
        QCOMPARE(sink.messages.size(), size_t(1));
        QVERIFY2(Messages().first().contains("index 40"), qPrintable(Messages().first()));
        QCOMPARE(form.ListData->count(), 0);
    }

    void getDataWithoutAColumnSaysSo()
    {
        Run({});
        TFormHysys form(nullptr, *page);
        form.ListData->addItem("kept");
        form.BGetDataClick();
        QCOMPARE(Messages(), QStringList({"没有选定塔器模块!"}));
        QCOMPARE(form.ListData->count(), 1);
    }

    void viscosityInPascalSecondsShowsInCentipoise()
    {
        Run({TestColumnOp("T-100", PeakedStages())});
        TFormHysys form(nullptr, *page);
        form.BGetDataClick();
        form.ListData->item(3)->setText("Vv=1.8E-5");
        page->Unit("MvU")->SetItemIndex(1); // cp
        form.BOKClick();
        QVERIFY(sink.messages.empty());
        QCOMPARE(page->Field("MvD")->Text(), std::string("0.018"));
        QCOMPARE(page->Field("MvD")->GetValue(), 1.8e-5);
    }

    void recordOfZerosWritesZeros()
    {
        Run({TestColumnOp("T-100", {TestStage(5, 5), TestStage(0, 0, 1), TestStage(5, 5)})});
        TFormHysys form(nullptr, *page);
        form.BGetDataClick();
        for (const char* f : kSeven)
            page->Field(f)->SetText("3");
        form.BOKClick();
        for (const char* f : kSeven)
            QCOMPARE(page->Field(f)->Text(), std::string("0"));
    }

    void okWithNothingReadChangesNothing()
    {
        Run({TestColumnOp("T-100", {})});
        TFormHysys form(nullptr, *page);
        for (const char* f : kSeven)
            page->Field(f)->SetText("3");
        page->NeedsRecalc = false;
        form.show();
        form.BOK->click();
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
        for (const char* f : kSeven)
            QCOMPARE(page->Field(f)->Text(), std::string("3"));
        QVERIFY(!page->NeedsRecalc);
    }

    void valueThatDoesNotConvertStopsTheWritesAndStillCloses()
    {
        Run({TestColumnOp("T-100", PeakedStages())});
        TFormHysys form(nullptr, *page);
        form.BGetDataClick();
        for (const char* f : kSeven)
            page->Field(f)->SetText("3");
        form.ListData->item(7)->setText("Dl=x");
        form.show();
        form.BOK->click();
        QVERIFY(!form.isVisible());
        QCOMPARE(Messages(), QStringList({"'x' is not a valid floating point value"}));
        QCOMPARE(page->Field("VD")->Text(), std::string("9.5"));
        QCOMPARE(page->Field("LD")->Text(), std::string("7.25"));
        QCOMPARE(page->Field("DlD")->Text(), std::string("3"));
        QCOMPARE(page->Field("MlD")->Text(), std::string("3"));
        QCOMPARE(page->Field("SLD")->Text(), std::string("3"));
    }

    void valuesAreReadFromTheFourthCharacterForAHundred()
    {
        Run({TestColumnOp("T-100", PeakedStages())});
        TFormHysys form(nullptr, *page);
        form.BGetDataClick();
        // Beyond a hundred characters nothing is read, not even junk.
        form.ListData->item(1)->setText(QString("Fv=1") + QString(99, '0') + "junk");
        form.ListData->item(2)->setText("Dv:  4.5");
        form.BOKClick();
        QVERIFY2(sink.messages.empty(), qPrintable(Messages().join('|')));
        QCOMPARE(page->Field("VD")->Text(), std::string("1E99"));
        QCOMPARE(page->Field("DvD")->Text(), std::string("4.5"));
    }

    void dialogIsHeldInTheGlobalWhileItRuns()
    {
        Run({TestColumnOp("T-100", {})});
        QString seen;
        QTimer::singleShot(0, [&] {
            if (!FormHysys) return;
            seen = FormHysys->windowTitle();
            FormHysys->BCancel->click();
        });
        ShowHysysDialog(nullptr, *page);
        QCOMPARE(seen, QString("连接Hysys"));
        QVERIFY(FormHysys == nullptr);
        // Closing does not let go of the application.
        QVERIFY(HysysApp.IsObject());
    }
};

QTEST_MAIN(HysysDialogTest)
#include "Hysys_dialog_qtest.moc"
