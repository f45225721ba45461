// The main window as a user drives it: typing, leaving fields, Enter, the
// method selector, New, closing, the hint window and the single instance.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QHelpEvent>
#include <QTest>
#include <QToolBar>
#include <QToolTip>
#include <QWheelEvent>

#include "ApplicationHelp.h"
#include "BoundWidgets.h"
#include "ColumnRatingPage.h"
#include "HintWindow.h"
#include "Messages.h"
#include "MyStatusBar.h"
#include "NamedMutex.h"
#include "RecentFiles.h"
#include "PerformanceView.h"
#include "ProfileRecords.h"
#include "SaveFormData.h"
#include "SaveFormDataFile.h"
#include "UnitMain.h"

namespace {

class FakePrompts : public UiPrompts {
public:
    Answer answer = Answer::Cancel;
    QString savePath;
    int questions = 0;
    int saveDialogs = 0;
    QStringList saveTitles;
    Answer askYesNoCancel(QWidget*, const QString& title, const QString& text) override
    {
        ++questions;
        lastTitle = title;
        lastText = text;
        return answer;
    }
    QString askSaveFileName(QWidget*, const QString& title, const QString&, const QString&) override
    {
        ++saveDialogs;
        saveTitles << title;
        return savePath;
    }
    QString askOpenFileName(QWidget*, const QString&) override { return {}; }
    void information(QWidget*, const QString&, const QString&) override {}
    int execDialog(QDialog*) override { return 0; }
    QString lastTitle, lastText;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TFormVELK> w;
    FakePrompts* prompts = nullptr;
    RecordingSink sink;
    QTemporaryDir tmp; // everything the tests write goes here

    static QByteArray ReadAll(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    TEditDWidget* edit(const char* name) { return w->findChild<TEditDWidget*>(QString::fromUtf8(name)); }
    void typeInto(const char* name, const char* text)
    {
        TEditDWidget* e = edit(name);
        QVERIFY(e);
        e->setFocus();
        QTest::keyClicks(e, QString::fromUtf8(text));
        QTest::keyClick(e, Qt::Key_Return); // Enter moves on, which is leaving the field
    }

private slots:
    void init()
    {
        SetMessageSink(&sink);
        sink.messages.clear();
        qputenv("XDG_CONFIG_HOME", tmp.filePath(QStringLiteral("config")).toLocal8Bit());
        w = std::make_unique<TFormVELK>();
        auto p = std::make_unique<FakePrompts>();
        prompts = p.get();
        w->SetPrompts(std::move(p));
        w->show();
        // On an X server without a window manager nobody else activates it.
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->activateWindow();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void cleanup()
    {
        w->Page().Modified = false;
        w.reset();
        SetMessageSink(nullptr);
    }

    void startsBlank()
    {
        QCOMPARE(w->windowTitle(), QStringLiteral("波纹规整填料塔流体力学-空白项目[*]"));
        QCOMPARE(w->PageControlMain()->currentIndex(), 0);
        QCOMPARE(w->PageControlMain()->tabText(2), QStringLiteral("操作性能图"));
        QVERIFY(!w->Page().Modified);
        QVERIFY(!w->Page().Check("CBLagrange")->Enabled());
        QCOMPARE(w->Page().Combo("PTD")->Items().size(), size_t(27));
    }

    void typingAndLeavingFillsResults()
    {
        typeInto("DlD", "800");
        typeInto("MlD", "0.0003");
        typeInto("LD", "2.5");
        typeInto("DvD", "2.5");
        typeInto("MvD", "0.00001");
        typeInto("VD", "3");
        QVERIFY2(sink.messages.empty(), sink.messages.empty() ? "" : sink.messages[0].text.c_str());
        TEditDWidget* fp = edit("FpD");
        QVERIFY(!fp->text().isEmpty());
        QVERIFY(fp->isReadOnly());
        QCOMPARE(fp->palette().color(QPalette::Base), QColor(255, 0, 0));
        QCOMPARE(edit("UfD")->palette().color(QPalette::Base), QColor(128, 128, 128));
        QCOMPARE(edit("UlsD")->palette().color(QPalette::Base), QColor(0xA6, 0xCA, 0xF0));
        QCOMPARE(edit("UfD")->cursor().shape(), Qt::ForbiddenCursor);
        QCOMPARE(edit("dD")->text(), QStringLiteral("1.4"));
        QVERIFY(!w->Page().NeedsRecalc);
        QVERIFY(w->Page().Modified);

        // Emptying an input withdraws what was computed from it.
        TEditDWidget* vd = edit("VD");
        vd->setFocus();
        vd->selectAll();
        QTest::keyClick(vd, Qt::Key_Delete);
        QTest::keyClick(vd, Qt::Key_Tab);
        QVERIFY(edit("FpD")->text().isEmpty());
        QVERIFY(!edit("FpD")->isReadOnly());
        QVERIFY(edit("UpD")->text().isEmpty());
        QVERIFY(!edit("dpD")->text().isEmpty());
    }

    void enterMovesFocusExceptInTheComment()
    {
        TEditDWidget* dl = edit("DlD");
        dl->setFocus();
        QTest::keyClick(dl, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(edit("MlD")));
        auto* comment = w->findChild<TCommentWidget*>(QStringLiteral("CommentD"));
        comment->setFocus();
        QTest::keyClicks(comment, QStringLiteral("ab"));
        QTest::keyClick(comment, Qt::Key_Return);
        QTest::keyClicks(comment, QStringLiteral("cd"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(comment));
        QCOMPARE(QString::fromStdString(w->Page().TextBox("CommentD")->Text()), QStringLiteral("ab\r\ncd"));
    }

    void thirdMethodEnablesInterpolation()
    {
        auto* method = w->findChild<TComboWidget*>(QStringLiteral("UfMD"));
        auto* box = w->findChild<QWidget*>(QStringLiteral("CBLagrange"));
        QVERIFY(method && box);
        method->setCurrentIndex(2);
        emit method->activated(2);
        QVERIFY(box->isEnabled());
        method->setCurrentIndex(1);
        emit method->activated(1);
        QVERIFY(!box->isEnabled());
        method->setCurrentIndex(0);
        emit method->activated(0);
        QVERIFY(!box->isEnabled());
        QVERIFY(w->Page().Modified);
    }

    void newFollowedByCancelChangesNothing()
    {
        typeInto("DlD", "800");
        w->Page().TextBox("ProjectD")->SetText("塔一");
        w->Page().Modified = false;
        prompts->savePath.clear();
        w->MFile_NewClick();
        QCOMPARE(prompts->saveDialogs, 1);
        QCOMPARE(prompts->saveTitles.first(), QStringLiteral("新建"));
        QCOMPARE(edit("DlD")->text(), QStringLiteral("800"));
        QCOMPARE(QString::fromStdString(w->Page().TextBox("ProjectD")->Text()), QStringLiteral("塔一"));
        QCOMPARE(w->windowTitle(), QStringLiteral("波纹规整填料塔流体力学-空白项目[*]"));

        // New with a name clears the fields and keeps the selections.
        w->Page().Combo("UfMD")->SetItemIndex(1);
        prompts->savePath = QStringLiteral("/tmp/new.vel");
        w->MFile_NewClick();
        QCOMPARE(edit("DlD")->text(), QString());
        QCOMPARE(w->Page().Combo("UfMD")->ItemIndex(), 1);
        QCOMPARE(w->windowTitle(), QStringLiteral("波纹规整填料塔流体力学-/tmp/new.vel[*]"));
        QCOMPARE(edit("HETPD")->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));
        QVERIFY2(!w->Page().Modified, "a new project has nothing unsaved");
    }

    void closeQuestionHasThreeAnswers()
    {
        w->Page().Modified = true;
        prompts->answer = UiPrompts::Answer::Cancel;
        QVERIFY(!w->close());
        QCOMPARE(prompts->lastTitle, QStringLiteral("注意！"));
        QCOMPARE(prompts->lastText, QStringLiteral("项目没有保存，你需要保存？"));
        QVERIFY(w->isVisible());

        prompts->answer = UiPrompts::Answer::No;
        QVERIFY(w->close());

        w->show();
        w->Page().Modified = true;
        prompts->answer = UiPrompts::Answer::Yes;
        prompts->savePath.clear(); // the save dialog is cancelled: the work is kept, the window stays
        const int before = prompts->saveDialogs;
        QVERIFY(!w->close());
        QCOMPARE(prompts->saveDialogs, before + 1);
        const QString file = tmp.filePath(QStringLiteral("closing-test.vel"));
        prompts->savePath = file;
        QVERIFY(w->close());
        QVERIFY(QFile::exists(file));
        QVERIFY(!w->Page().Modified);
        QCOMPARE(w->CurrentFileName(), file);

        // Unmodified: no question at all.
        w->show();
        w->Page().Modified = false;
        const int questions = prompts->questions;
        QVERIFY(w->close());
        QCOMPARE(prompts->questions, questions);
    }

    void f1ShowsTheHintAndTheNextKeyHidesIt()
    {
        auto* method = w->findChild<TComboWidget*>(QStringLiteral("UfMD"));
        method->setFocus();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(method));
        QTest::keyClick(method, Qt::Key_F1);
        TSharedHintWindow* hint = w->HintWindow();
        QVERIFY(hint->isVisible());
        QCOMPARE(hint->text(), QStringLiteral("3 种算法结果存在差异。"));
        const QPoint expected = method->mapToGlobal(QPoint(0, 0)) + QPoint(25, -25);
        QCOMPARE(hint->pos(), expected);
        QTest::keyClick(method, Qt::Key_Shift);
        QVERIFY(!hint->isVisible());

        // A control with a help number leaves it to the help.
        TEditDWidget* dlf = edit("DlfD");
        dlf->setFocus();
        QTest::keyClick(dlf, Qt::Key_F1);
        QVERIFY(!hint->isVisible());
        QCOMPARE(w->ApplicationHelp()->HelpContext(), 1);
        QCOMPARE(w->ApplicationHelp()->CHint(), QStringLiteral("计算传质时需要填写此数据,只计算塔径不必填写."));
    }

    void tabMovesOnWithoutMarkingTheProject()
    {
        auto* project = w->findChild<TTextWidget*>(QStringLiteral("ProjectD"));
        project->setFocus();
        w->Page().Modified = false;
        w->Page().NeedsRecalc = false;
        QTest::keyClick(project, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != project);
        QVERIFY(!w->Page().Modified);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
        QVERIFY(w->Page().Modified);
    }

    void toolbarButtonsShowNoHoverHints()
    {
        auto* bar = w->findChild<QToolBar*>();
        QVERIFY(bar);
        QWidget* button = bar->widgetForAction(w->Action(QStringLiteral("BOpen")));
        QVERIFY(button);
        QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(button, &hover);
        QVERIFY(!QToolTip::isVisible());
    }

    void fileMenuEnablesSaveOnlyWhenModified()
    {
        w->Page().Modified = false;
        w->MFileClick();
        QVERIFY(!w->Action(QStringLiteral("MFile_Save"))->isEnabled());
        edit("DlD")->setFocus();
        QTest::keyClicks(edit("DlD"), QStringLiteral("1"));
        w->MFileClick();
        QVERIFY(w->Action(QStringLiteral("MFile_Save"))->isEnabled());
    }

    void startingWithAProjectOpensIt()
    {
        const QString example = QStringLiteral(VELK_SOURCE_DIR "/examples/atmospheric.vel");
        TFormVELK started(example);
        QCOMPARE(started.windowTitle(), QStringLiteral("波纹规整填料塔流体力学-") + example + QStringLiteral("[*]"));
        QCOMPARE(started.CurrentFileName(), example);
        QVERIFY(!started.Page().Modified);
        QVERIFY(!started.Page().NeedsRecalc);
        QVERIFY(!started.Page().Field("HETPD")->Text().empty());
        QCOMPARE(started.RecentFiles()->Entries().first().Caption, example);
        QVERIFY(sink.messages.empty());
        started.Page().Modified = false;
    }

    void unsavedMarkerIsExactWhateverMadeTheChange()
    {
        const QString example = QStringLiteral(VELK_SOURCE_DIR "/examples/atmospheric.vel");
        const QString copy = tmp.filePath(QStringLiteral("marker.vel"));
        QFile::remove(copy);
        QVERIFY(QFile::copy(example, copy));
        auto settled = [&] {
            QCoreApplication::processEvents();
            return w->isWindowModified() == w->Page().Modified;
        };
        // Clean after Open, also once the queued notices have run: closing does not ask.
        w->MFile_OpenClick(copy);
        QVERIFY(settled());
        QVERIFY(!w->isWindowModified());
        const int questions = prompts->questions;
        prompts->answer = UiPrompts::Answer::Cancel;
        QVERIFY(w->close());
        QCOMPARE(prompts->questions, questions);
        w->show();

        // A wheel over the focused packing list, no key pressed: marked at once.
        auto* packing = w->findChild<TComboWidget*>(QStringLiteral("PTD"));
        packing->setFocus();
        const int index = packing->currentIndex();
        QWheelEvent wheel(QPointF(5, 5), packing->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(packing, &wheel);
        QVERIFY(packing->currentIndex() != index);
        QVERIFY(settled());
        QVERIFY(w->isWindowModified());

        // Clean after Save; a change written by code (as an import writes) marks it again.
        w->MFile_SaveClick();
        QVERIFY(settled());
        QVERIFY(!w->isWindowModified());
        w->Page().Field("LD")->SetText("4321");
        QVERIFY(settled());
        QVERIFY(w->isWindowModified());

        // Clean after New.
        prompts->answer = UiPrompts::Answer::No;
        prompts->savePath = tmp.filePath(QStringLiteral("new.vel"));
        w->MFile_NewClick();
        QVERIFY(settled());
        QVERIFY(!w->isWindowModified());
    }

    void aFailedOpenKeepsThePageAndTheProfileAndTheNextSaveWritesThem()
    {
        // A project with a column profile, open in the window.
        const QString path = tmp.filePath(QStringLiteral("with-profile.vel"));
        QFile::remove(path);
        QVERIFY(QFile::copy(QStringLiteral(VELK_SOURCE_DIR "/examples/atmospheric.vel"), path));
        w->MFile_OpenClick(path);
        auto* rating = w->findChild<ColumnRatingPage*>();
        rating->ChooseColumn = [](const QStringList&) { return 0; };
        QVERIFY(rating->ImportCsv(QStringLiteral(VELK_SOURCE_DIR "/examples/debutanizer.csv")));
        w->MFile_SaveClick();
        const std::string profile = ProfileRecordsText(rating->Profile());
        QVERIFY(!profile.empty());
        const QString caption = w->windowTitle();
        const std::string ld = w->Page().Field("LD")->Text();

        // The same project with one stage value "abc", and the example cut after 300 bytes.
        std::string plain = ProjectPlainText(ReadProjectFileBytes(path.toStdString()));
        const auto stage = plain.find("ColumnProfile\r\nString\r\nStage\r\n");
        QVERIFY(stage != std::string::npos);
        plain.insert(plain.find(';', stage) + 1, "abc");
        const QString abc = tmp.filePath(QStringLiteral("abc.vel")), cut = tmp.filePath(QStringLiteral("cut.vel"));
        for (const auto& [file, bytes] :
             {std::pair{abc, QByteArray::fromStdString(plain)},
              {cut, ReadAll(QStringLiteral(VELK_SOURCE_DIR "/examples/atmospheric.vel")).left(300)}}) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        }
        for (const QString& bad : {abc, cut}) {
            sink.messages.clear();
            w->MFile_OpenClick(bad);
            QCoreApplication::processEvents();
            QCOMPARE(sink.messages.size(), size_t(1));
            QVERIFY(QString::fromStdString(sink.messages[0].text).contains(bad));
            QVERIFY(QString::fromStdString(sink.messages[0].text).contains(QStringLiteral("已损坏")));
            QCOMPARE(w->CurrentFileName(), path);
            QCOMPARE(w->windowTitle(), caption);
            QVERIFY(!w->isWindowModified());
            QCOMPARE(w->Page().Field("LD")->Text(), ld);
            QCOMPARE(ProfileRecordsText(rating->Profile()), profile);
        }
        // The next Save writes the profile whole.
        w->Page().Modified = true;
        w->MFile_SaveClick();
        const std::string saved = ProjectPlainText(ReadProjectFileBytes(path.toStdString()));
        QVERIFY(saved.find(profile) != std::string::npos);
    }

    void recentFilesKeepAbsolutePaths()
    {
        // Started in the source folder with a relative path, the list holds
        // the whole path, which works from any other folder.
        const QString old = QDir::currentPath();
        QDir::setCurrent(QStringLiteral(VELK_SOURCE_DIR));
        TFormVELK started(QStringLiteral("examples/atmospheric.vel"));
        QDir::setCurrent(old);
        QCOMPARE(started.RecentFiles()->Entries().first().Caption,
                 QStringLiteral(VELK_SOURCE_DIR "/examples/atmospheric.vel"));
        QVERIFY(sink.messages.empty());
    }

    void diagramCommandDrawsOnlyASizedCase()
    {
        auto* view = w->findChild<TPerformanceView*>(QStringLiteral("MyPaintBox"));
        QVERIFY(view);
        w->MReport_PerClick();
        QCOMPARE(w->PageControlMain()->currentIndex(), 0);
        QVERIFY(!view->hasDiagram());
        QVERIFY(sink.messages.empty());

        for (auto [f, t] : {std::pair{"LD", "2.5"}, {"VD", "3"}, {"DlD", "800"}, {"DvD", "2.5"}, {"MlD", "0.0003"},
                            {"MvD", "0.00001"}})
            w->Page().Field(f)->SetText(t);
        w->MReport_PerClick();
        QCOMPARE(w->PageControlMain()->currentIndex(), 2);
        QVERIFY(view->hasDiagram());
        QVERIFY(!edit("dD")->text().isEmpty());
        QVERIFY(sink.messages.empty());

        // The read-out goes to panel 0 of the hidden status bar.
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(view->width() / 2, view->height() / 2));
        QVERIFY(w->StatusBar()->PanelText(0).startsWith(QStringLiteral("L=")));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(view->width() / 2, view->height() / 2));
        QVERIFY(!w->StatusBar()->isVisible());
    }

    void secondInstanceEndsAtOnce()
    {
        const QString exe = QStringLiteral(VELK_BINARY_DIR "/bin/velk");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QTemporaryDir runtime; // private (0700), as a runtime folder must be
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(exe);
        QVERIFY(first.waitForStarted());
        // Give the first instance time to take the lock (probing would take it).
        QTest::qWait(2000);
        QCOMPARE(first.state(), QProcess::Running);
        QElapsedTimer t;
        QProcess second;
        second.setProcessEnvironment(env);
        t.start();
        second.start(exe);
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(t.elapsed() < 5000);
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
        // A killed instance does not block the next start.
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        NamedMutex after("VLKEClient");
        QVERIFY(!after.AlreadyExists());
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_qtest.moc"
