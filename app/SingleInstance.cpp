#include "SingleInstance.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include "PrivateRuntime.h"

namespace
{
const QByteArray kOpen = "VELK-OPEN\n";
const QByteArray kRaise = "VELK-RAISE\n";
} // namespace

TSingleInstance::TSingleInstance(const QString& socketPath, QObject* parent)
    : QObject(parent), path_(socketPath.isEmpty() ? SocketPath() : socketPath)
{
}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::SocketPath()
{
    // The lock and the socket share one checked place of the user's own.
    const QString runtime = PrivateRuntimeDir(nullptr);
    // No private folder: no socket rather than one in a shared place.
    if (runtime.isEmpty()) return {};
    return runtime + QStringLiteral("/velk-instance");
}

QByteArray TSingleInstance::Message(const QString& absoluteFile)
{
    if (absoluteFile.isEmpty()) return kRaise;
    return kOpen + absoluteFile.toUtf8() + '\n';
}

bool TSingleInstance::ParseMessage(const QByteArray& message, QString& file)
{
    file.clear();
    if (message.size() > MaxMessageBytes) return false;
    if (message == kRaise) return true;
    if (!message.startsWith(kOpen) || !message.endsWith('\n')) return false;
    const QByteArray path = message.mid(kOpen.size(), message.size() - kOpen.size() - 1);
    // One absolute path on one line, valid UTF-8, no NUL.
    if (path.isEmpty() || !path.startsWith('/') || path.contains('\n') || path.contains('\0')) return false;
    const QString text = QString::fromUtf8(path);
    if (text.toUtf8() != path) return false;
    file = text;
    return true;
}

bool TSingleInstance::PeerIsThisUser(qintptr socketDescriptor)
{
    return PeerIsSameUser(socketDescriptor, nullptr);
}

bool TSingleInstance::Listen()
{
    if (path_.isEmpty()) return false;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->setMaxPendingConnections(8);
    if (!server_->listen(path_)) {
        // A socket left by an instance that crashed: the caller holds the
        // named mutex, so no live instance listens on it.
        QLocalServer::removeServer(path_);
        if (!server_->listen(path_)) return false;
    }
    connect(server_, &QLocalServer::newConnection, this, &TSingleInstance::Accept);
    return true;
}

void TSingleInstance::Accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (!PeerIsThisUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setReadBufferSize(MaxMessageBytes + 1);
        // A peer that never finishes its message is dropped.
        QTimer::singleShot(3000, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0) Read(socket);
    }
}

void TSingleInstance::Read(QLocalSocket* socket)
{
    QByteArray buffer = socket->property("message").toByteArray() + socket->readAll();
    if (buffer.size() > MaxMessageBytes) {
        socket->abort();
        return;
    }
    socket->setProperty("message", buffer);
    // A message is one or two lines and ends with a line break.
    const bool complete = buffer == kRaise || (buffer.startsWith(kOpen) && buffer.size() > kOpen.size() &&
                                                buffer.endsWith('\n'));
    if (!complete) return;
    QString file;
    const bool ok = ParseMessage(buffer, file);
    socket->write(ok ? "OK\n" : "NO\n");
    socket->flush();
    socket->disconnectFromServer();
    if (!ok) return;
    if (file.isEmpty())
        emit RaiseRequested();
    else
        emit OpenRequested(file);
}

bool TSingleInstance::SendToRunning(const QString& file, const QString& socketPath, int timeoutMs)
{
    const QString path = socketPath.isEmpty() ? SocketPath() : socketPath;
    if (path.isEmpty()) return false;
    const QByteArray message = Message(file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath());
    if (message.size() > MaxMessageBytes) return false;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        QLocalSocket socket;
        socket.connectToServer(path);
        if (socket.waitForConnected(500)) {
            // The other end must be this user's program, not a socket
            // someone else put in its place.
            if (!PeerIsThisUser(socket.socketDescriptor())) return false;
            socket.write(message);
            if (!socket.waitForBytesWritten(1000)) return false;
            // The answer says the message was taken.
            while (socket.bytesAvailable() < 3 && socket.waitForReadyRead(2000)) {
            }
            return socket.read(3) == "OK\n";
        }
        // The first instance holds the lock but may not listen yet.
        if (clock.elapsed() > timeoutMs) return false;
        QThread::msleep(100);
    }
}
