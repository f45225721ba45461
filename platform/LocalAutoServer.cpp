#include "LocalAutoServer.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include "LocalAutoProtocol.h"
#include "PrivateRuntime.h"

namespace
{
// Bounds on what one request may ask for, so a damaged message cannot make
// the server allocate without limit.
constexpr quint32 kMaxArgs = 1024;
constexpr quint32 kMaxReleases = 1u << 20;
} // namespace

LocalAutoServer::LocalAutoServer(AutoObjectPtr root, QObject* parent)
    : QObject(parent), root_(std::move(root)), server_(new QLocalServer(this))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &LocalAutoServer::OnNewConnection);
}

LocalAutoServer::~LocalAutoServer()
{
    server_->close();
}

QString LocalAutoServer::FullServerName() const
{
    return server_->fullServerName();
}

bool LocalAutoServer::Listen(const QString& name)
{
    error_.clear();
    if (name.isEmpty()) {
        error_ = QStringLiteral("no socket name");
        return false;
    }
    // Only in a folder of the user's own: elsewhere another user could take
    // the name first or put a socket of theirs in its place.
    const QFileInfo info(name);
    if (!IsPrivateFolder(info.absolutePath(), &error_)) return false;
    // Listening with access options replaces an existing socket file without
    // a word, so a live instance must be looked for first.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(1000)) {
        probe.abort();
        error_ = QStringLiteral("another instance is already running under %1").arg(name);
        return false;
    }
    // Whatever is left is a socket file of an instance that did not end cleanly.
    QLocalServer::removeServer(name);
    if (server_->listen(name)) return true;
    error_ = server_->errorString();
    return false;
}

QByteArray LocalAutoServer::AnswerOffline(const QByteArray& request)
{
    if (offline_.objects.empty()) offline_.objects[0] = root_;
    return Answer(offline_, request);
}

void LocalAutoServer::ResetOffline()
{
    offline_ = Session();
}

void LocalAutoServer::OnNewConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        QString why;
        if (!PeerIsSameUser(socket->socketDescriptor(), &why)) {
            ++refused_;
            socket->abort();
            socket->deleteLater();
            continue;
        }
        sessions_[socket].objects[0] = root_;
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            sessions_.erase(socket);
            socket->deleteLater();
        });
    }
}

void LocalAutoServer::OnReadyRead(QLocalSocket* socket)
{
    auto it = sessions_.find(socket);
    if (it == sessions_.end()) return;
    Session& session = it->second;
    session.buffer.append(socket->readAll());
    QByteArray request;
    try {
        while (LocalAuto::TakeFrame(session.buffer, request)) {
            if (delayMs_ > 0) QThread::msleep(static_cast<unsigned long>(delayMs_));
            socket->write(LocalAuto::Frame(Answer(session, request)));
            ++answered_;
        }
    } catch (const std::exception&) {
        // A frame that cannot be a request: the peer is not one of ours.
        socket->abort();
    }
}

QByteArray LocalAutoServer::Answer(Session& session, const QByteArray& request)
{
    QDataStream in(request);
    LocalAuto::PrepareStream(in);
    quint32 id = 0;

    auto objectHandle = [&session](const AutoObjectPtr& obj) -> std::pair<quint32, QString> {
        auto found = session.handles.find(obj.get());
        if (found != session.handles.end()) return {found->second, QString::fromStdString(obj->ClassName())};
        const quint32 h = session.next++;
        session.objects[h] = obj;
        session.handles[obj.get()] = h;
        return {h, QString::fromStdString(obj->ClassName())};
    };
    auto makeObject = [&session](quint32 handle, const QString&) -> AutoVariant {
        auto found = session.objects.find(handle);
        if (found == session.objects.end())
            throw EAutoError("The object passed as an argument no longer exists in the server");
        return AutoVariant(found->second);
    };

    try {
        in >> id;
        quint32 releases = 0;
        in >> releases;
        LocalAuto::CheckStream(in);
        // Each handle takes four bytes: a count beyond what the message holds
        // would only spin over its end.
        if (releases > kMaxReleases || releases > static_cast<quint64>(request.size()) / 4)
            throw EAutoError("Malformed message: too many released objects");
        for (quint32 r = 0; r < releases; ++r) {
            quint32 h = 0;
            in >> h;
            auto found = h == 0 ? session.objects.end() : session.objects.find(h);
            if (found != session.objects.end()) {
                session.handles.erase(found->second.get());
                session.objects.erase(found);
            }
        }
        quint32 handle = 0;
        QString member;
        quint8 kind = 0;
        quint32 argc = 0;
        in >> handle >> member >> kind >> argc;
        LocalAuto::CheckStream(in);
        if (kind > static_cast<quint8>(AutoInvoke::PropertyPut))
            throw EAutoError("Malformed message: call kind");
        if (argc > kMaxArgs) throw EAutoError("Malformed message: too many arguments");

        // The by-reference arguments point at these variables, which the
        // callee may write; the argument list itself must not move them.
        std::vector<AutoVariant> vars(argc);
        std::vector<bool> byRef(argc, false);
        AutoArgs args;
        args.reserve(argc);
        for (quint32 a = 0; a < argc; ++a) {
            bool ref = false;
            vars[a] = LocalAuto::ReadVariant(in, ref, makeObject);
            byRef[a] = ref;
        }
        for (quint32 a = 0; a < argc; ++a)
            args.push_back(byRef[a] ? AutoVariant::ByRef(vars[a]) : vars[a]);

        auto target = session.objects.find(handle);
        if (target == session.objects.end() || !target->second)
            throw EAutoError("The object called (\"" + member.toStdString() +
                             "\") no longer exists in the server");
        AutoObjectPtr object = target->second;
        AutoVariant result = object->Invoke(member.toStdString(), static_cast<AutoInvoke>(kind), args);

        QByteArray out;
        QDataStream o(&out, QIODevice::WriteOnly);
        LocalAuto::PrepareStream(o);
        o << id << static_cast<quint8>(LocalAuto::Status::Ok);
        LocalAuto::WriteVariant(o, result, false, objectHandle);
        quint32 refs = 0;
        for (bool r : byRef)
            refs += r ? 1 : 0;
        o << refs;
        for (quint32 a = 0; a < argc; ++a)
            if (byRef[a]) {
                o << a;
                LocalAuto::WriteVariant(o, vars[a], false, objectHandle);
            }
        return out;
    } catch (const std::exception& e) {
        const auto* autoError = dynamic_cast<const EAutoError*>(&e);
        QByteArray out;
        QDataStream o(&out, QIODevice::WriteOnly);
        LocalAuto::PrepareStream(o);
        o << id << static_cast<quint8>(LocalAuto::Status::Error)
          << QString::fromStdString(autoError ? autoError->Source() : std::string())
          << QString::fromUtf8(e.what());
        return out;
    }
}
