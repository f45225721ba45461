#pragma once
// The client side of automation across processes: a connection to a server
// process (see LocalAutoServer.h) and proxies of its objects that implement
// AutoObject, so that callers use a remote object exactly as a local one.
//
// Calls block, as COM calls to an out-of-process server do, but never for
// long: every call has a time-out (5 seconds unless set otherwise). A server
// that dies during a call, closes the connection or does not answer in time
// makes the call fail with an EAutoError naming the program identifier, and
// the connection is then broken for good: later calls on any of its proxies
// fail at once. A fresh attach makes a new connection.

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AutoObject.h"

class QLocalSocket;

// The socket is not in a private folder of the user, or the process serving
// it runs as another user: nothing was exchanged.
class ELocalPeerRefused : public EAutoError
{
public:
    ELocalPeerRefused(const std::string& peer, const std::string& text) : EAutoError(peer, text) {}
};

class LocalAutoConnection : public std::enable_shared_from_this<LocalAutoConnection>
{
public:
    static constexpr int kDefaultTimeoutMs = 5000;

    // Connects to the server listening under serverName. Returns nullptr
    // when no server listens there (nothing running); peerName (the program
    // identifier) names the server in error texts. Throws ELocalPeerRefused
    // when the socket's folder is not private or the server is another user.
    static std::shared_ptr<LocalAutoConnection>
    Connect(const QString& serverName, const std::string& peerName, int timeoutMs = DefaultTimeout());
    ~LocalAutoConnection();
    LocalAutoConnection(const LocalAutoConnection&) = delete;
    LocalAutoConnection& operator=(const LocalAutoConnection&) = delete;

    // The proxy of the server's root object.
    AutoObjectPtr Root(const std::string& className);

    AutoVariant Invoke(quint32 handle, const std::string& member, AutoInvoke kind, AutoArgs& args);
    // Queues a handle for release with the next call.
    void Release(quint32 handle);

    bool IsBroken() const { return broken_; }
    int Timeout() const { return timeoutMs_; }
    void SetTimeout(int ms) { timeoutMs_ = ms; }

    // The time-out new connections get (tests shorten it).
    static int DefaultTimeout();
    static void SetDefaultTimeout(int ms);

    // Called about every 50 ms while a call waits for its answer, so that a
    // window can stay responsive and offer a Cancel; it may throw (an abort,
    // a deadline), which gives up the call and breaks the connection.
    using WaitHook = std::function<void()>;
    static void SetWaitHook(WaitHook hook);

private:
    LocalAutoConnection(std::unique_ptr<QLocalSocket> socket, std::string peerName, int timeoutMs);
    [[noreturn]] void Fail(const std::string& text);
    QByteArray Exchange(const QByteArray& request, const std::string& member);
    // Waits for more of the answer until the deadline, calling the wait hook
    // between short slices; false when nothing came.
    bool WaitForAnswer(int remainingMs);

    std::unique_ptr<QLocalSocket> socket_;
    std::string peer_;
    int timeoutMs_;
    bool broken_ = false;
    std::string brokenReason_;
    quint32 nextId_ = 1;
    std::vector<quint32> released_;
    QByteArray buffer_;
};

// A remote object: every Invoke travels to the server.
class LocalAutoProxy : public AutoObject
{
public:
    LocalAutoProxy(std::shared_ptr<LocalAutoConnection> connection, quint32 handle, std::string className);
    ~LocalAutoProxy() override;

    AutoVariant Invoke(const std::string& name, AutoInvoke kind, AutoArgs& args) override;
    std::string ClassName() const override { return className_; }

    quint32 Handle() const { return handle_; }
    const LocalAutoConnection* Connection() const { return connection_.get(); }

private:
    std::shared_ptr<LocalAutoConnection> connection_;
    quint32 handle_;
    std::string className_;
};

// Enters a running-object provider for progId that attaches to the server
// process listening under LocalAuto::ServerName(progId); the root proxy gets
// rootClassName. When no such process runs the provider finds nothing, and
// GetActiveOleObject fails as it does for a program that is not running.
void RegisterLocalAutoProvider(const std::string& progId, const std::string& rootClassName);
