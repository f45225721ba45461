// A second start hands its file to the running program: the real `velk`
// started while this test holds the lock sends the file over the socket,
// and the window opens it as File > Open would. Messages that are not ours
// are refused. The runtime folder is a temporary one.
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "Messages.h"
#include "NamedMutex.h"
#include "SingleInstance.h"
#include "UnitMain.h"

namespace {
class CountingPrompts : public UiPrompts {
public:
    int questions = 0;
    Answer askYesNoCancel(QWidget*, const QString&, const QString&) override
    {
        ++questions;
        return Answer::No;
    }
};
} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT
    QTemporaryDir runtime;

    // Starts the program as a second instance and waits until it ends.
    int SecondStart(const QStringList& args)
    {
        QProcess p;
        p.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        p.setWorkingDirectory(QStringLiteral(VELK_SOURCE_DIR));
        p.start(QStringLiteral(VELK_BINARY_DIR "/bin/velk"), args);
        // The running instance answers while this test's event loop runs.
        QElapsedTimer t;
        t.start();
        while (p.state() != QProcess::NotRunning && t.elapsed() < 20000)
            QTest::qWait(20);
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", runtime.filePath(QStringLiteral("config")).toUtf8());
    }

    void aSecondStartOpensItsFileInTheRunningWindow()
    {
        RecordingSink sink;
        ScopedMessageSink scope(&sink);
        NamedMutex mutex("VLKEClient");
        QVERIFY(!mutex.AlreadyExists());
        TFormVELK w;
        auto prompts = std::make_unique<CountingPrompts>();
        CountingPrompts* asked = prompts.get();
        w.SetPrompts(std::move(prompts));
        TSingleInstance instance;
        QVERIFY(instance.Listen());
        QVERIFY(instance.ServerPath().startsWith(runtime.path()));
        QCOMPARE(QFileInfo(instance.ServerPath()).permissions() & (QFile::ReadOther | QFile::WriteOther), 0);
        connect(&instance, &TSingleInstance::OpenRequested, &w, &TFormVELK::OpenPassedFile);
        QSignalSpy raised(&instance, &TSingleInstance::RaiseRequested);

        w.Page().Modified = true;
        // A relative argument is taken against the second start's folder.
        QCOMPARE(SecondStart({QStringLiteral("examples/atmospheric.vel")}), 0);
        QCOMPARE(w.CurrentFileName(), QStringLiteral(VELK_SOURCE_DIR "/examples/atmospheric.vel"));
        QCOMPARE(asked->questions, 1); // asked to save first, as File > Open
        QVERIFY(!w.Page().Modified);
        QVERIFY(sink.messages.empty());
        QCOMPARE(SecondStart({}), 0);
        QTRY_COMPARE(raised.count(), 1);
    }

    void onlyWellFormedMessagesAreTaken()
    {
        const struct {
            QByteArray message;
            bool ok;
            QString file;
        } cases[] = {
            {"VELK-RAISE\n", true, {}},
            {"VELK-OPEN\n/a/b.vel\n", true, QStringLiteral("/a/b.vel")},
            {"VELK-OPEN\n/a/\xe9\xa1\xb9.vel\n", true, QString::fromUtf8("/a/\xe9\xa1\xb9.vel")},
            {"VELK-OPEN\nrelative.vel\n", false, {}},
            {"VELK-OPEN\n/a\n/b\n", false, {}},
            {"VELK-OPEN\n/a\xff.vel\n", false, {}},
            {"VELK-OPEN\n\n", false, {}},
            {"HELLO\n", false, {}},
            {"VELK-OPEN\n/" + QByteArray(TSingleInstance::MaxMessageBytes, 'x') + "\n", false, {}},
        };
        for (const auto& c : cases) {
            QString file;
            QCOMPARE(TSingleInstance::ParseMessage(c.message, file), c.ok);
            QCOMPARE(file, c.file);
        }
        QString file;
        QVERIFY(TSingleInstance::ParseMessage(TSingleInstance::Message(QStringLiteral("/x y/z.vel")), file));
        QCOMPARE(file, QStringLiteral("/x y/z.vel"));
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "singleinstance_qtest.moc"
