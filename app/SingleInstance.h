#pragma once
// The running program listens on a user-private local socket; a second start
// hands its file argument over (or asks the window to come forward) and
// ends, so a project double-clicked while the program runs is opened in the
// running window instead of being dropped. The named mutex still decides
// which start is the first.
//
// The socket lies in the user's runtime folder (mode 0700, owned by the
// user; Qt refuses any other), is created with QLocalServer::UserAccessOption,
// and both ends check with SO_PEERCRED that the other side runs as the same
// user. Messages are bounded: "VELK-OPEN\n<absolute path>\n" or
// "VELK-RAISE\n", at most MaxMessageBytes.

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

class TSingleInstance : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxMessageBytes = 16 * 1024;

    // socketPath: empty for the default (SocketPath()).
    explicit TSingleInstance(const QString& socketPath = QString(), QObject* parent = nullptr);
    ~TSingleInstance() override;

    // The first instance: listens. False when the socket cannot be created.
    bool Listen();
    QString ServerPath() const { return path_; }

    // A later start: sends the file (made absolute against the current
    // folder; empty asks the window to come forward). Retries for up to
    // timeoutMs while the first instance is still starting. True when the
    // running instance took the message.
    static bool SendToRunning(const QString& file, const QString& socketPath = QString(), int timeoutMs = 3000);

    // The default socket: <runtime folder>/velk-instance.
    static QString SocketPath();
    // The message for a file ("" = raise); the reverse, false for anything
    // malformed.
    static QByteArray Message(const QString& absoluteFile);
    static bool ParseMessage(const QByteArray& message, QString& file);
    // Whether the process at the other end of the connected socket runs as
    // this user.
    static bool PeerIsThisUser(qintptr socketDescriptor);

signals:
    void OpenRequested(const QString& file);
    void RaiseRequested();

private:
    void Accept();
    void Read(QLocalSocket* socket);

    QString path_;
    QLocalServer* server_ = nullptr;
};
