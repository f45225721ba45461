#pragma once
// Wire format of late-bound calls between processes over a local socket: the
// stand-in for COM's marshalling of IDispatch calls to an out-of-process
// server.
//
// Every message is a frame: a 32-bit big-endian length, then that many bytes
// written with QDataStream (Qt 6.4 format).
//
//   request   quint32 id, quint32 count, count x quint32 released handles,
//             quint32 handle, QString member, quint8 kind (AutoInvoke),
//             quint32 argc, argc x variant
//   response  quint32 id, quint8 status (0 ok, 1 error), then
//             ok:    variant result, quint32 n, n x (quint32 index, variant)
//                    - the new values of the by-reference arguments
//             error: QString source, QString text
//
// A variant is a quint8 tag (the AutoType, plus 0x80 for by-reference in a
// request) followed by its value: bool, qint32, double (bit exact),
// QByteArray (UTF-8 string), QString (wide string), or for an object quint32
// handle and QString class name. Handle 0 is the server's root object.

#include <QByteArray>
#include <QDataStream>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>

#include "AutoObject.h"

namespace LocalAuto
{

// Frames above this size are refused: no call of this program moves more
// than a few kilobytes, and a corrupt length must not make us allocate.
inline constexpr quint32 kMaxFrame = 16u * 1024u * 1024u;
inline constexpr quint8 kByRefFlag = 0x80;

enum class Status : quint8 { Ok = 0, Error = 1 };

void PrepareStream(QDataStream& s);

// Appends the length prefix to a payload.
QByteArray Frame(const QByteArray& payload);
// Takes one whole frame off the front of buffer into payload. Returns false
// when the buffer does not yet hold a whole frame; throws EAutoError for a
// length beyond kMaxFrame.
bool TakeFrame(QByteArray& buffer, QByteArray& payload);

// Writes a variant; an object is written through objectHandle, which returns
// its handle and class name (or throws when the object cannot travel).
void WriteVariant(QDataStream& s, const AutoVariant& v, bool markByRef,
                  const std::function<std::pair<quint32, QString>(const AutoObjectPtr&)>& objectHandle);
// Reads a variant; byRef receives the by-reference mark. An object is made
// by makeObject from its handle and class name. Throws EAutoError on a
// malformed value.
AutoVariant ReadVariant(QDataStream& s, bool& byRef,
                        const std::function<AutoVariant(quint32, const QString&)>& makeObject);

// Throws EAutoError when the stream ran short or met bad data.
void CheckStream(const QDataStream& s);

// The socket path under which a program identifier's running instance
// listens: velk-<progId> in the user's private folder (PrivateRuntime.h). One
// per user, so engineers on one machine do not see each other's instances.
// Empty, with the reason in *error, when the user has no private folder.
QString ServerName(const std::string& progId, QString* error = nullptr);

} // namespace LocalAuto
