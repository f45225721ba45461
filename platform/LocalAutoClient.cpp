#include "LocalAutoClient.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalSocket>

#include <algorithm>
#include <cstdio>

#include "AutoRegistry.h"
#include "LocalAutoProtocol.h"
#include "PrivateRuntime.h"

namespace
{
int g_defaultTimeoutMs = LocalAutoConnection::kDefaultTimeoutMs;
LocalAutoConnection::WaitHook g_waitHook;
constexpr int kWaitSliceMs = 50;

std::string Seconds(int ms)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", ms / 1000.0);
    return buf;
}
} // namespace

int LocalAutoConnection::DefaultTimeout()
{
    return g_defaultTimeoutMs;
}
void LocalAutoConnection::SetDefaultTimeout(int ms)
{
    g_defaultTimeoutMs = ms > 0 ? ms : kDefaultTimeoutMs;
}
void LocalAutoConnection::SetWaitHook(WaitHook hook)
{
    g_waitHook = std::move(hook);
}

bool LocalAutoConnection::WaitForAnswer(int remainingMs)
{
    if (!g_waitHook) return socket_->waitForReadyRead(remainingMs);
    const QDeadlineTimer deadline(remainingMs);
    for (;;) {
        if (socket_->waitForReadyRead(static_cast<int>(std::min<qint64>(kWaitSliceMs, deadline.remainingTime()))))
            return true;
        if (socket_->state() != QLocalSocket::ConnectedState || deadline.hasExpired()) return false;
        try {
            g_waitHook();
        } catch (...) {
            // The answer still on its way would be taken for the next one.
            broken_ = true;
            brokenReason_ = "the call was given up";
            socket_->abort();
            throw;
        }
        if (socket_->bytesAvailable() > 0) return true;
    }
}

LocalAutoConnection::LocalAutoConnection(std::unique_ptr<QLocalSocket> socket, std::string peerName,
                                         int timeoutMs)
    : socket_(std::move(socket)), peer_(std::move(peerName)), timeoutMs_(timeoutMs)
{
}

LocalAutoConnection::~LocalAutoConnection()
{
    if (socket_) socket_->abort();
}

std::shared_ptr<LocalAutoConnection> LocalAutoConnection::Connect(const QString& serverName,
                                                                  const std::string& peerName, int timeoutMs)
{
    // A socket outside a private folder, or served by another user, may be
    // anybody's: refuse it rather than take data from it.
    QString why;
    if (serverName.isEmpty()) throw ELocalPeerRefused(peerName, "no private folder for the socket");
    if (!IsPrivateFolder(QFileInfo(serverName).absolutePath(), &why))
        throw ELocalPeerRefused(peerName, why.toStdString());
    auto socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(serverName);
    if (!socket->waitForConnected(timeoutMs)) return nullptr;
    if (!PeerIsSameUser(socket->socketDescriptor(), &why)) {
        socket->abort();
        throw ELocalPeerRefused(peerName, why.toStdString());
    }
    return std::shared_ptr<LocalAutoConnection>(
        new LocalAutoConnection(std::move(socket), peerName, timeoutMs));
}

AutoObjectPtr LocalAutoConnection::Root(const std::string& className)
{
    return std::make_shared<LocalAutoProxy>(shared_from_this(), 0, className);
}

void LocalAutoConnection::Release(quint32 handle)
{
    if (handle != 0 && !broken_) released_.push_back(handle);
}

void LocalAutoConnection::Fail(const std::string& text)
{
    broken_ = true;
    brokenReason_ = text;
    socket_->abort();
    throw EAutoError(peer_, text);
}

QByteArray LocalAutoConnection::Exchange(const QByteArray& request, const std::string& member)
{
    const QDeadlineTimer deadline(timeoutMs_);
    const std::string timeoutText = peer_ + " did not answer the call of \"" + member + "\" within " +
                                    Seconds(timeoutMs_) + " s; the connection was given up";
    const std::string closedText =
        peer_ + " stopped answering: the connection closed during the call of \"" + member + "\"";

    if (socket_->state() != QLocalSocket::ConnectedState) Fail(closedText);
    socket_->write(LocalAuto::Frame(request));
    while (socket_->bytesToWrite() > 0) {
        if (socket_->waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) continue;
        if (socket_->state() != QLocalSocket::ConnectedState) Fail(closedText);
        if (deadline.hasExpired()) Fail(timeoutText);
    }

    QByteArray payload;
    for (;;) {
        try {
            if (LocalAuto::TakeFrame(buffer_, payload)) return payload;
        } catch (const EAutoError& e) {
            Fail(peer_ + ": " + e.what());
        }
        if (socket_->bytesAvailable() > 0) {
            buffer_.append(socket_->readAll());
            continue;
        }
        if (socket_->state() != QLocalSocket::ConnectedState) Fail(closedText);
        if (deadline.hasExpired()) Fail(timeoutText);
        if (!WaitForAnswer(static_cast<int>(deadline.remainingTime()))) {
            if (socket_->bytesAvailable() > 0) continue;
            if (socket_->state() != QLocalSocket::ConnectedState) Fail(closedText);
            if (deadline.hasExpired()) Fail(timeoutText);
            Fail(peer_ + ": " + socket_->errorString().toStdString());
        }
        buffer_.append(socket_->readAll());
    }
}

AutoVariant LocalAutoConnection::Invoke(quint32 handle, const std::string& member, AutoInvoke kind,
                                        AutoArgs& args)
{
    if (broken_) throw EAutoError(peer_, peer_ + " is no longer connected: " + brokenReason_);

    auto objectHandle = [this](const AutoObjectPtr& obj) -> std::pair<quint32, QString> {
        auto* proxy = dynamic_cast<LocalAutoProxy*>(obj.get());
        if (!proxy || proxy->Connection() != this)
            throw EAutoError(peer_, "An object of this program cannot be passed to " + peer_);
        return {proxy->Handle(), QString::fromStdString(proxy->ClassName())};
    };

    QByteArray request;
    QDataStream out(&request, QIODevice::WriteOnly);
    LocalAuto::PrepareStream(out);
    const quint32 id = nextId_++;
    out << id << static_cast<quint32>(released_.size());
    for (quint32 h : released_)
        out << h;
    out << handle << QString::fromStdString(member) << static_cast<quint8>(kind)
        << static_cast<quint32>(args.size());
    for (const AutoVariant& a : args)
        LocalAuto::WriteVariant(out, a, a.IsByRef(), objectHandle);
    released_.clear();

    const QByteArray payload = Exchange(request, member);

    auto makeObject = [this](quint32 h, const QString& className) -> AutoVariant {
        return AutoVariant(
            AutoObjectPtr(std::make_shared<LocalAutoProxy>(shared_from_this(), h, className.toStdString())));
    };
    QDataStream in(payload);
    LocalAuto::PrepareStream(in);
    quint32 answerId = 0;
    quint8 status = 0;
    in >> answerId >> status;
    try {
        LocalAuto::CheckStream(in);
        if (answerId != id) throw EAutoError("an answer to another call arrived");
        if (status == static_cast<quint8>(LocalAuto::Status::Error)) {
            QString source, text;
            in >> source >> text;
            LocalAuto::CheckStream(in);
            throw EAutoError(source.isEmpty() ? peer_ : source.toStdString(), text.toStdString());
        }
        bool ignored = false;
        AutoVariant result = LocalAuto::ReadVariant(in, ignored, makeObject);
        quint32 refs = 0;
        in >> refs;
        LocalAuto::CheckStream(in);
        if (refs > args.size()) throw EAutoError("malformed answer");
        for (quint32 r = 0; r < refs; ++r) {
            quint32 index = 0;
            in >> index;
            LocalAuto::CheckStream(in);
            AutoVariant value = LocalAuto::ReadVariant(in, ignored, makeObject);
            if (index < args.size() && args[index].IsByRef()) args[index].Assign(value);
        }
        return result;
    } catch (const EAutoError& e) {
        if (status == static_cast<quint8>(LocalAuto::Status::Error) && answerId == id &&
            in.status() == QDataStream::Ok)
            throw; // the server's own error: the connection is fine
        Fail(peer_ + ": " + e.what());
    }
}

// ---- LocalAutoProxy ----

LocalAutoProxy::LocalAutoProxy(std::shared_ptr<LocalAutoConnection> connection, quint32 handle,
                               std::string className)
    : connection_(std::move(connection)), handle_(handle), className_(std::move(className))
{
}

LocalAutoProxy::~LocalAutoProxy()
{
    connection_->Release(handle_);
}

AutoVariant LocalAutoProxy::Invoke(const std::string& name, AutoInvoke kind, AutoArgs& args)
{
    return connection_->Invoke(handle_, name, kind, args);
}

void RegisterLocalAutoProvider(const std::string& progId, const std::string& rootClassName)
{
    AutoRegistry::Instance().RegisterActiveProvider(progId, [progId, rootClassName]() -> AutoObjectPtr {
        QString why;
        const QString name = LocalAuto::ServerName(progId, &why);
        if (name.isEmpty()) throw ELocalPeerRefused(progId, why.toStdString());
        auto connection = LocalAutoConnection::Connect(name, progId);
        return connection ? connection->Root(rootClassName) : nullptr;
    });
}
