// Automation calls across a local socket, the road to a running HYSYS: the
// server runs in a thread of its own here, the client calls through proxies.
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <cmath>
#include <limits>

#include "AutoObject.h"
#include "LocalAutoClient.h"
#include "LocalAutoProtocol.h"
#include "LocalAutoServer.h"

namespace
{

std::atomic<int> g_childrenAlive{0};

class Child : public AutoDispatch
{
public:
    explicit Child(std::string name) : name_(std::move(name))
    {
        ++g_childrenAlive;
        AddProperty("Name", [this](AutoArgs&) { return AutoVariant(name_); });
    }
    ~Child() override { --g_childrenAlive; }
    std::string ClassName() const override { return "Child"; }

private:
    std::string name_;
};

class Probe : public AutoDispatch
{
public:
    Probe()
    {
        AddMethod(
            "Echo", [](AutoArgs& a) { return a.empty() ? AutoVariant() : a[0].Value(); }, 0, 1);
        AddMethod(
            "Twice",
            [](AutoArgs& a) {
                a.at(0).Assign(AutoVariant(a[0].ToInt() * 2));
                return AutoVariant(u"完成");
            },
            1, 1);
        AddMethod(
            "Child",
            [this](AutoArgs& a) {
                last_ = std::make_shared<Child>(Required(a, 0, "Child").ToString());
                return AutoVariant(AutoObjectPtr(last_));
            },
            1, 1);
        AddMethod(
            "IsLastChild",
            [this](AutoArgs& a) {
                const bool same = Required(a, 0, "IsLastChild").ToObject() == last_;
                last_.reset(); // so that only the client's reference remains
                return AutoVariant(same);
            },
            1, 1);
        AddMethod("Fail", [](AutoArgs&) -> AutoVariant { throw EAutoError("Probe", "the probe refuses"); });
        AddMethod(
            "Sleep",
            [](AutoArgs& a) {
                QThread::msleep(static_cast<unsigned long>(a.at(0).ToInt()));
                return a[0].Value();
            },
            1, 1);
    }
    std::string ClassName() const override { return "Probe"; }

private:
    std::shared_ptr<Child> last_;
};

class ServerThread : public QThread
{
public:
    explicit ServerThread(QString name) : name_(std::move(name)) {}
    QSemaphore ready;
    bool listening = false;

protected:
    void run() override
    {
        LocalAutoServer server(std::make_shared<Probe>());
        listening = server.Listen(name_);
        ready.release();
        if (listening) exec();
    }

private:
    QString name_;
};

std::string ErrorText(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EAutoError& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

class HysysSocketTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString name;
    ServerThread* server = nullptr;

    std::shared_ptr<LocalAutoConnection> Connect(int timeoutMs = 5000)
    {
        return LocalAutoConnection::Connect(name, "Probe.Application", timeoutMs);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        name = dir.filePath("probe.sock");
        server = new ServerThread(name);
        server->start();
        QVERIFY2(server->ready.tryAcquire(1, 10000), "the server thread did not start listening within 10 s");
        QVERIFY(server->listening);
    }

    void cleanupTestCase()
    {
        server->quit();
        // A thread that does not end is reported and left (deleting a running thread aborts).
        QVERIFY2(server->wait(QDeadlineTimer(10000)), "the server thread did not end within 10 s");
        delete server;
    }

    void valuesOfEveryTypeTravelUnchanged()
    {
        auto c = Connect();
        QVERIFY(c);
        AutoVariant probe(c->Root("Probe"));
        const std::vector<AutoVariant> values = {AutoVariant(),
                                                 AutoVariant(true),
                                                 AutoVariant(-7),
                                                 AutoVariant(0.1 + 0.2),
                                                 AutoVariant(1e300),
                                                 AutoVariant(std::numeric_limits<double>::denorm_min()),
                                                 AutoVariant(std::string("ÄÖ 模拟 text")),
                                                 AutoVariant(u"宽字符串"),
                                                 AutoVariant(std::string(100000, 'x'))};
        for (const AutoVariant& v : values) {
            const AutoVariant back = probe.Call("Echo", {v});
            QCOMPARE(back.Type(), v.Type());
            QVERIFY(back == v);
        }
        // A missing argument arrives as missing.
        QVERIFY(probe.Call("Echo", {AutoVariant::Missing()}).IsMissing());
    }

    void byReferenceArgumentsComeBack()
    {
        auto c = Connect();
        AutoVariant probe(c->Root("Probe"));
        AutoVariant x(21);
        const AutoVariant r = probe.Call("Twice", {AutoVariant::ByRef(x)});
        QCOMPARE(x.ToInt(), 42);
        QVERIFY(r.ToWString() == u"完成");
        // Passed by value, the caller's variable stays as it was.
        AutoVariant y(5);
        probe.Call("Twice", {y});
        QCOMPARE(y.ToInt(), 5);
    }

    void serverErrorsKeepTheirTextAndTheConnection()
    {
        auto c = Connect();
        AutoVariant probe(c->Root("Probe"));
        try {
            probe.Call("Fail");
            QFAIL("no error");
        } catch (const EAutoError& e) {
            QCOMPARE(std::string(e.what()), std::string("the probe refuses"));
            QCOMPARE(e.Source(), std::string("Probe"));
        }
        QVERIFY(ErrorText([&] { probe.Call("Frobnicate"); }).find("Frobnicate") != std::string::npos);
        QVERIFY(ErrorText([&] { probe.Call("Twice"); }).find("Invalid number of parameters") !=
                std::string::npos);
        QVERIFY(!c->IsBroken());
        QCOMPARE(probe.Call("Echo", {3}).ToInt(), 3);
    }

    void objectsTravelByHandleAndAreReleased()
    {
        auto c = Connect();
        AutoVariant probe(c->Root("Probe"));
        {
            AutoVariant child = probe.Call("Child", {"first"});
            QCOMPARE(child.ToObject()->ClassName(), std::string("Child"));
            QCOMPARE(child.Get("Name").ToString(), std::string("first"));
            // Handed back, the proxy stands for the very object it came from.
            QVERIFY(probe.Call("IsLastChild", {child}).ToBool());
            QCOMPARE(g_childrenAlive.load(), 1);
        }
        // The release travels with the next call.
        probe.Call("Echo");
        QCOMPARE(g_childrenAlive.load(), 0);

        // A local object cannot be passed to the other process.
        auto local = std::make_shared<Child>("local");
        QVERIFY(ErrorText([&] {
                    probe.Call("Echo", {AutoVariant(AutoObjectPtr(local))});
                }).find("cannot be passed") != std::string::npos);
    }

    void aCallThatTakesTooLongGivesUpTheConnection()
    {
        auto c = Connect();
        c->SetTimeout(300);
        AutoVariant probe(c->Root("Probe"));
        QElapsedTimer timer;
        timer.start();
        const std::string text = ErrorText([&] { probe.Call("Sleep", {1500}); });
        QVERIFY2(timer.elapsed() < 1200, qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(text.find("did not answer the call of \"Sleep\" within 0.3 s") != std::string::npos,
                 text.c_str());
        QVERIFY(c->IsBroken());
        timer.restart();
        QVERIFY(ErrorText([&] { probe.Call("Echo"); }).find("no longer connected") != std::string::npos);
        QVERIFY(timer.elapsed() < 100);
        // A new connection is answered once the server is free again.
        auto fresh = Connect();
        QCOMPARE(AutoVariant(fresh->Root("Probe")).Call("Echo", {8}).ToInt(), 8);
    }

    void garbageDoesNotHurtTheServer()
    {
        QLocalSocket raw;
        raw.connectToServer(name);
        QVERIFY(raw.waitForConnected(2000));
        raw.write(QByteArray("\xff\xff\xff\xff garbage", 12));
        raw.waitForBytesWritten(2000);
        // The server drops a peer that sends something that is no request.
        QVERIFY(raw.state() == QLocalSocket::UnconnectedState || raw.waitForDisconnected(2000));

        QLocalSocket shortFrame;
        shortFrame.connectToServer(name);
        QVERIFY(shortFrame.waitForConnected(2000));
        shortFrame.write(LocalAuto::Frame(QByteArray("\x00\x00", 2)));
        shortFrame.waitForBytesWritten(2000);
        QVERIFY(shortFrame.waitForReadyRead(2000)); // answered with an error, not a crash

        auto c = Connect();
        QCOMPARE(AutoVariant(c->Root("Probe")).Call("Echo", {1}).ToInt(), 1);
    }

    void framesAreTakenWholeAndBounded()
    {
        QByteArray buffer = LocalAuto::Frame("abc") + LocalAuto::Frame("de").left(3);
        QByteArray payload;
        QVERIFY(LocalAuto::TakeFrame(buffer, payload));
        QCOMPARE(payload, QByteArray("abc"));
        QVERIFY(!LocalAuto::TakeFrame(buffer, payload));
        buffer += LocalAuto::Frame("de").mid(3);
        QVERIFY(LocalAuto::TakeFrame(buffer, payload));
        QCOMPARE(payload, QByteArray("de"));
        QVERIFY(buffer.isEmpty());
        QByteArray huge("\x7f\x00\x00\x00", 4);
        QVERIFY_THROWS_EXCEPTION(EAutoError, LocalAuto::TakeFrame(huge, payload));
    }

    void nothingListeningMeansNothingRunning()
    {
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!LocalAutoConnection::Connect(dir.filePath("nobody.sock"), "Nobody.Application", 2000));
        QVERIFY(timer.elapsed() < 1000);
    }
};

QTEST_GUILESS_MAIN(HysysSocketTest)
#include "Hysys_socket_qtest.moc"
