#pragma once
// Serves an automation object to other processes over a local socket (the
// out-of-process COM server's side): entering the server in the running-
// object table means listening under LocalAuto::ServerName(progId).
//
// Each connection has its own table of object handles; handle 0 is the root.
// An object returned by a call gets a handle (the same one each time it is
// returned on that connection) and lives until the client releases it or
// disconnects. Calls are answered one at a time on the thread of the event
// loop; a server error travels back as an error response with its text.

#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <unordered_map>

#include "AutoObject.h"

class QLocalServer;
class QLocalSocket;

class LocalAutoServer : public QObject
{
    Q_OBJECT
public:
    explicit LocalAutoServer(AutoObjectPtr root, QObject* parent = nullptr);
    ~LocalAutoServer() override;

    // Listens under the socket name, which must lie in a private folder of
    // the user (PrivateRuntime.h); a stale socket left by a server that died
    // is replaced, a live one is not (false, with the reason in ErrorText()).
    // Connections of other users are refused.
    bool Listen(const QString& name);
    QString ErrorText() const { return error_; }
    QString FullServerName() const;

    // Holds every answer back this long (to imitate a slow simulator).
    void SetResponseDelay(int ms) { delayMs_ = ms; }
    // Number of calls answered so far.
    quint64 CallsAnswered() const { return answered_; }
    // Answers one request on a session of its own, without a socket, as a
    // connection would (fuzzing the protocol); ResetOffline ends the session.
    QByteArray AnswerOffline(const QByteArray& request);
    void ResetOffline();

    // Connections refused because the peer was another user.
    quint64 ConnectionsRefused() const { return refused_; }

private:
    struct Session {
        QByteArray buffer;
        std::unordered_map<quint32, AutoObjectPtr> objects;
        std::map<const AutoObject*, quint32> handles;
        quint32 next = 1;
    };

    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);
    QByteArray Answer(Session& session, const QByteArray& request);

    AutoObjectPtr root_;
    QLocalServer* server_ = nullptr;
    std::map<QLocalSocket*, Session> sessions_;
    Session offline_;
    QString error_;
    int delayMs_ = 0;
    quint64 answered_ = 0;
    quint64 refused_ = 0;
};
