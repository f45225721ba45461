#pragma once
// A folder of the user's own for local sockets and locks, and the check that
// the other end of a local socket is the same user.
//
// Another local user must not be able to serve fake data on our socket name,
// take our lock name first, or talk to our servers: so sockets and locks live
// only in a folder that the user owns with mode 0700, and both ends of a
// connection check the peer's user id.

#include <QString>
#include <QtGlobal>

// The folder: $VELK_ROT_DIR when set (tests), else the runtime folder
// ($XDG_RUNTIME_DIR), else a folder made for the user ("velk-<uid>" in the
// temporary folder, or in the user's cache folder when another user holds
// that name), never the shared temporary folder itself. Every candidate must
// be a real folder (not a link) owned by the user with mode 0700. Returns the
// empty string, with the reason in *error, when no candidate qualifies.
QString PrivateRuntimeDir(QString* error);

// True when path is a real folder (not a link) owned by the user with mode
// 0700; false with the reason in *error otherwise. For sockets placed by hand.
bool IsPrivateFolder(const QString& path, QString* error);

// True when the process at the other end of the connected local socket fd
// runs as the same user (SO_PEERCRED). False, with the reason in *error,
// otherwise or when the kernel cannot tell.
bool PeerIsSameUser(qintptr fd, QString* error);
