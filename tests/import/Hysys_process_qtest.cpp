// The HYSYS import against the stand-in running as its own process, as HYSYS
// does: attaching, reading, and what happens when it is not running, hangs,
// or is killed in the middle of a read; an error never shows under the
// progress dialog.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QProgressDialog>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <thread>

#include "AutoRegistry.h"
#include "CalcPage.h"
#include "HysysInterface.h"
#include "LocalAutoClient.h"
#include "Messages.h"
#include "UnitHysys.h"

namespace
{

// A case file: one column whose stages carry the given vapour and liquid
// flows; densities and properties are told apart by the stage index.
QByteArray CaseFile(const std::vector<std::pair<double, double>>& flows, bool duplicate = false)
{
    QByteArray stages;
    for (std::size_t i = 0; i < flows.size(); ++i) {
        if (i) stages += ",";
        const QByteArray n = QByteArray::number(static_cast<int>(i));
        stages += "{\"name\":\"" + n +
                  "__Main TS\",\"vapour\":{\"massFlow\":" + QByteArray::number(flows[i].first) +
                  ",\"massDensity\":2" + n +
                  ",\"viscosity\":0.5},\"liquid\":{\"massFlow\":" + QByteArray::number(flows[i].second) +
                  ",\"massDensity\":60" + n + ",\"viscosity\":0.25,\"surfaceTension\":1" + n + "}}";
    }
    const QByteArray column =
        "{\"name\":\"T-100\",\"type\":\"ColumnOp\",\"columnFlowsheet\":{\"stages\":[" + stages + "]}}";
    QByteArray ops = column + ",{\"name\":\"VLV-100\",\"type\":\"valveop\"}";
    ops += ",{\"name\":\"T-200\",\"type\":\"ColumnOp\",\"columnFlowsheet\":{\"stages\":[]}}";
    if (duplicate) ops += "," + column;
    return "{\"velkHysysCase\":1,\"title\":\"process test\",\"flowsheet\":{\"operations\":[" + ops + "]}}";
}

QStringList Items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Records with each message whether a progress dialog was on screen: a
// message box opened then would sit under it, each waiting on the other.
struct OrderSink : MessageSink {
    void showMessage(MsgKind, const std::string& text, const std::string&) override
    {
        seen.push_back({QString::fromStdString(text), ProgressShown()});
    }
    static bool ProgressShown()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QProgressDialog*>(w) && w->isVisible()) return true;
        return false;
    }
    std::vector<std::pair<QString, bool>> seen;
};

} // namespace

class HysysProcessTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    RecordingSink sink;
    MessageSink* previousSink = nullptr;
    std::unique_ptr<QProcess> standIn;

    QString WriteCase(const QString& name, const QByteArray& text)
    {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly)) f.write(text);
        return f.fileName();
    }

    // Starts velk-hysys and waits until it says it is registered.
    bool Start(const QStringList& args)
    {
        standIn = std::make_unique<QProcess>();
        standIn->setProcessChannelMode(QProcess::MergedChannels);
        standIn->start(QStringLiteral(VELK_HYSYS_EXE), args);
        if (!standIn->waitForStarted(5000)) return false;
        QByteArray out;
        QElapsedTimer timer;
        timer.start();
        while (!out.contains("running as HYSYS.Application") && timer.elapsed() < 10000) {
            if (!standIn->waitForReadyRead(500) && standIn->state() == QProcess::NotRunning) break;
            out += standIn->readAll();
        }
        return out.contains("running as HYSYS.Application");
    }

    void Stop()
    {
        if (!standIn) return;
        if (standIn->state() != QProcess::NotRunning) {
            ::kill(static_cast<pid_t>(standIn->processId()), SIGCONT);
            standIn->terminate();
            if (!standIn->waitForFinished(5000)) {
                standIn->kill();
                standIn->waitForFinished(5000);
            }
        }
        standIn.reset();
    }

    // Kills the stand-in from another thread after delayMs, while this
    // thread is blocked in a call.
    std::thread KillLater(int delayMs)
    {
        const pid_t pid = static_cast<pid_t>(standIn->processId());
        return std::thread([pid, delayMs] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            ::kill(pid, SIGKILL);
        });
    }

    QStringList Messages() const
    {
        QStringList out;
        for (const RecordedMessage& m : sink.messages)
            out << QString::fromStdString(m.text);
        return out;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        // Every instance of this test has a table of its own.
        qputenv("VELK_ROT_DIR", dir.filePath("rot").toUtf8());
        InitHysysInterface();
    }

    void init()
    {
        sink.messages.clear();
        previousSink = GetMessageSink();
        SetMessageSink(&sink);
        LocalAutoConnection::SetDefaultTimeout(LocalAutoConnection::kDefaultTimeoutMs);
    }

    void cleanup()
    {
        Stop();
        ReleaseHysys();
        SetMessageSink(previousSink);
        LocalAutoConnection::SetDefaultTimeout(LocalAutoConnection::kDefaultTimeoutMs);
        SetHysysImportDeadline(0);
        SetHysysProgress({});
    }

    void notRunningShowsTheErrorAtOnce()
    {
        QElapsedTimer timer;
        timer.start();
        TStringList list;
        QVERIFY(!GetHysysColumns(list));
        QVERIFY(timer.elapsed() < 2000);
        QCOMPARE(Messages(), QStringList({"Hysys错误！"}));
        QVERIFY(list.empty());

        CalcPage page;
        TFormHysys form(nullptr, page);
        QCOMPARE(form.ListColumns->count(), 0);
        QCOMPARE(Messages(), QStringList({"Hysys错误！", "Hysys错误！"}));
    }

    void readsTheCaseOfTheRunningProcess()
    {
        const QString file = WriteCase("a.hsc", CaseFile({{90, 90}, {4, 1}, {6, 3}, {6, 2}, {90, 90}}, true));
        QVERIFY(Start({file}));
        TStringList columns;
        QVERIFY(GetHysysColumns(columns));
        QCOMPARE(columns, (TStringList{"T-100", "T-200"}));
        TStringList record;
        GetHysysStageData("T-100", -1, record);
        QCOMPARE(record, (TStringList{"MaxVNo=2", "Fv=6", "Dv=22", "Vv=0.0005", "  ", "MaxLNo=2", "Fl=3",
                                      "Dl=602", "Vl=0.00025", "Sl=0.012"}));
        QVERIFY(sink.messages.empty());

        // Through the dialog: the columns at creation, the first selected.
        CalcPage page;
        TFormHysys form(nullptr, page);
        QCOMPARE(Items(form.ListColumns), QStringList({"T-100", "T-200"}));
        QCOMPARE(form.ListColumns->currentRow(), 0);
        form.SetRGModalIndex(1);
        form.EditStageIndex->setText("3");
        form.BGetDataClick();
        QCOMPARE(form.ListData->item(1)->text(), QString("Fv=6"));
        QCOMPARE(form.ListData->item(7)->text(), QString("Dl=603"));
    }

    void killedDuringAReadFailsWithinTheTimeOut()
    {
        std::vector<std::pair<double, double>> flows;
        for (int i = 0; i < 40; ++i)
            flows.push_back({1.0 + i, 2.0 + i});
        const QString file = WriteCase("slow.hsc", CaseFile(flows));
        QVERIFY(Start({file, "--delay", "100"}));

        CalcPage page;
        TFormHysys form(nullptr, page);
        QCOMPARE(Items(form.ListColumns), QStringList({"T-100", "T-200"}));
        form.ListData->addItem("old");

        std::thread killer = KillLater(800);
        QElapsedTimer timer;
        timer.start();
        form.BGetDataClick();
        const qint64 elapsed = timer.elapsed();
        killer.join();
        // Reading 38 stages takes far longer than 0.8 s; the read ended
        // because the process died, not because it finished or timed out.
        QVERIFY2(elapsed >= 700 && elapsed < 3000, qPrintable(QString::number(elapsed)));
        QCOMPARE(sink.messages.size(), size_t(1));
        QVERIFY2(Messages().first().contains("HYSYS.Application stopped answering"),
                 qPrintable(Messages().first()));
        QCOMPARE(form.ListData->count(), 0);

        // Afterwards HYSYS counts as not running.
        sink.messages.clear();
        QVERIFY(!ConnectHysys());
        QCOMPARE(Messages(), QStringList({"Hysys错误！"}));
    }

    void aSlowServerMeetsTheWholeImportDeadlineOrACancel()
    {
        std::vector<std::pair<double, double>> flows(40, {1.0, 2.0});
        QVERIFY(Start({WriteCase("slow.hsc", CaseFile(flows)), "--delay", "100"}));
        // Deadline: each call answers in time, the import as a whole does not.
        SetHysysImportDeadline(1000);
        TStringList list = {"old"};
        QElapsedTimer timer;
        timer.start();
        QVERIFY_THROWS_EXCEPTION(EAutoError, GetHysysStageData("T-100", -1, list));
        QVERIFY2(timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
        SetHysysImportDeadline(0);
        // Cancel: the progress is asked while the calls wait; an abort from
        // it ends the import at once and adds nothing.
        int asked = 0;
        SetHysysProgress([&asked](int, int) {
            if (++asked == 5) throw EAbort();
        });
        timer.restart();
        QVERIFY_THROWS_EXCEPTION(EAbort, GetHysysStageData("T-100", -1, list));
        SetHysysProgress({});
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(list, TStringList{"old"});
    }

    void aWholeColumnMeetsItsOverallBoundOrACancel()
    {
        // Each stage answers within its own bound; 40 stages at 100 ms a call
        // would take far longer than the column's bound of 1.5 s.
        std::vector<std::pair<double, double>> flows(40, {1.0, 2.0});
        QVERIFY(Start({WriteCase("slow.hsc", CaseFile(flows)), "--delay", "100"}));
        CalcPage page;
        TFormHysys form(nullptr, page);
        QCOMPARE(form.ListColumns->currentRow(), 0);
        sink.messages.clear();
        SetHysysColumnDeadline(1500);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!form.BColumnClick());
        QVERIFY2(timer.elapsed() < 2500, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(Messages(), QStringList({"HYSYS 整塔数据导入超过 1.5 秒，已停止。"}));
        QVERIFY(!form.TakenProfile);

        // Cancel in the progress dialog ends it silently, well before the bound.
        SetHysysColumnDeadline(60000);
        sink.messages.clear();
        QTimer::singleShot(700, &form, [&form] {
            if (auto* progress = form.findChild<QProgressDialog*>()) progress->cancel();
        });
        timer.restart();
        QVERIFY(!form.BColumnClick());
        SetHysysColumnDeadline(0);
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(sink.messages.empty(), qPrintable(Messages().join('|')));
        QVERIFY(!form.TakenProfile);
    }

    // HYSYS stops answering before the dialog opens, before Get data or in
    // the middle of the read: the progress dialog is gone before the error
    // shows, and stays gone.
    void anErrorClosesTheProgressBeforeItsMessage_data()
    {
        QTest::addColumn<int>("stopAfterMs"); // -1: before the dialog lists the columns
        QTest::addColumn<QString>("message");
        QTest::newRow("stopped before the dialog opens") << -1 << QStringLiteral("Hysys错误！");
        QTest::newRow("stopped before Get data") << 0 << QStringLiteral("Hysys错误！");
        QTest::newRow("stopped mid-read") << 800 << QStringLiteral("HYSYS.Application");
    }
    void anErrorClosesTheProgressBeforeItsMessage()
    {
        QFETCH(int, stopAfterMs);
        QFETCH(QString, message);
        std::vector<std::pair<double, double>> flows(40, {1.0, 2.0});
        QVERIFY(Start({WriteCase("slow.hsc", CaseFile(flows)), "--delay", "100"}));
        LocalAutoConnection::SetDefaultTimeout(1500);
        const pid_t pid = static_cast<pid_t>(standIn->processId());
        if (stopAfterMs < 0) ::kill(pid, SIGSTOP);
        OrderSink order;
        const ScopedMessageSink scope(&order);
        CalcPage page;
        TFormHysys form(nullptr, page);
        if (stopAfterMs >= 0) {
            QCOMPARE(Items(form.ListColumns), QStringList({"T-100", "T-200"}));
            form.show();
            std::thread stopper([pid, stopAfterMs] {
                std::this_thread::sleep_for(std::chrono::milliseconds(stopAfterMs));
                ::kill(pid, SIGSTOP);
            });
            if (stopAfterMs == 0) stopper.join();
            form.BGetDataClick();
            if (stopper.joinable()) stopper.join();
        }
        QCOMPARE(order.seen.size(), size_t(1));
        QVERIFY2(order.seen[0].first.contains(message), qPrintable(order.seen[0].first));
        QVERIFY2(!order.seen[0].second, "the message showed under the progress dialog");
        QTest::qWait(800); // past the dialog's minimum duration
        QVERIFY(!OrderSink::ProgressShown());
    }

    void aRestartedStandInIsFoundAgain()
    {
        const QString file = WriteCase("r.hsc", CaseFile({{1, 1}, {2, 2}, {1, 1}}));
        QVERIFY(Start({file}));
        TStringList list;
        QVERIFY(GetHysysColumns(list));
        // Killed hard, it leaves its socket behind.
        standIn->kill();
        standIn->waitForFinished(5000);
        // A call on the old attachment fails; writing to the dead peer must
        // not take this process down.
        QVERIFY_THROWS_EXCEPTION(EAutoError, HysysApp.Get("Version"));
        QVERIFY(!ConnectHysys());
        QVERIFY(Start({file}));
        list.clear();
        QVERIFY(GetHysysColumns(list));
        QCOMPARE(list, (TStringList{"T-100", "T-200"}));

        // A second instance is refused while the first runs.
        QProcess second;
        second.start(QStringLiteral(VELK_HYSYS_EXE), {file});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 3);
        QVERIFY(second.readAllStandardError().contains("already running"));
    }

    void aHungStandInTimesOut()
    {
        const QString file = WriteCase("h.hsc", CaseFile({{1, 1}, {2, 2}, {1, 1}}));
        QVERIFY(Start({file}));
        LocalAutoConnection::SetDefaultTimeout(1000);
        ::kill(static_cast<pid_t>(standIn->processId()), SIGSTOP);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!ConnectHysys());
        const qint64 elapsed = timer.elapsed();
        QVERIFY2(elapsed >= 900 && elapsed < 3000, qPrintable(QString::number(elapsed)));
        QCOMPARE(Messages(), QStringList({"Hysys错误！"}));
    }

    void runningWithoutACaseReportsTheError()
    {
        QVERIFY(Start({}));
        CalcPage page;
        TFormHysys form(nullptr, page);
        QCOMPARE(form.ListColumns->count(), 0);
        QCOMPARE(sink.messages.size(), size_t(1));
        QVERIFY(Messages().first() != "Hysys错误！");
        QVERIFY2(Messages().first().contains("Flowsheet"), qPrintable(Messages().first()));
    }

    void aBrokenCaseFileStopsTheStandIn()
    {
        QProcess p;
        p.start(QStringLiteral(VELK_HYSYS_EXE),
                {WriteCase("bad.hsc", "{\"velkHysysCase\":1,\"flowsheet\":{}}")});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(p.readAllStandardError().contains("\"operations\" must be a list"));
    }
};

QTEST_MAIN(HysysProcessTest)
#include "Hysys_process_qtest.moc"
