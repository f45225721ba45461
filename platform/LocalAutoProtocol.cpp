#include "LocalAutoProtocol.h"

#include <QDir>
#include <QtEndian>

#include "PrivateRuntime.h"

namespace LocalAuto
{

void PrepareStream(QDataStream& s)
{
    s.setVersion(QDataStream::Qt_6_4);
    s.setFloatingPointPrecision(QDataStream::DoublePrecision);
}

QByteArray Frame(const QByteArray& payload)
{
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(payload.size()), out.data());
    out.append(payload);
    return out;
}

bool TakeFrame(QByteArray& buffer, QByteArray& payload)
{
    if (buffer.size() < 4) return false;
    const quint32 length = qFromBigEndian<quint32>(buffer.constData());
    if (length > kMaxFrame)
        throw EAutoError("Malformed message: a frame of " + std::to_string(length) + " bytes");
    if (static_cast<quint64>(buffer.size()) < 4u + static_cast<quint64>(length)) return false;
    payload = buffer.mid(4, static_cast<qsizetype>(length));
    buffer.remove(0, 4 + static_cast<qsizetype>(length));
    return true;
}

void CheckStream(const QDataStream& s)
{
    if (s.status() != QDataStream::Ok)
        throw EAutoError("Malformed message: the data ended early or is damaged");
}

void WriteVariant(QDataStream& s, const AutoVariant& v, bool markByRef,
                  const std::function<std::pair<quint32, QString>(const AutoObjectPtr&)>& objectHandle)
{
    AutoType type = v.Type();
    // An empty object reference travels as Empty: there is nothing to call.
    if (type == AutoType::Object && !v.ToObject()) type = AutoType::Empty;
    quint8 tag = static_cast<quint8>(type);
    if (markByRef) tag |= kByRefFlag;
    s << tag;
    switch (type) {
    case AutoType::Empty:
    case AutoType::Missing:
        break;
    case AutoType::Boolean:
        s << v.ToBool();
        break;
    case AutoType::Integer:
        s << static_cast<qint32>(v.ToInt());
        break;
    case AutoType::Double:
        s << v.ToDouble();
        break;
    case AutoType::String: {
        const std::string text = v.ToString();
        s << QByteArray(text.data(), static_cast<qsizetype>(text.size()));
        break;
    }
    case AutoType::WideString:
        s << QString::fromStdU16String(v.ToWString());
        break;
    case AutoType::Object: {
        const auto [handle, className] = objectHandle(v.ToObject());
        s << handle << className;
        break;
    }
    }
}

AutoVariant ReadVariant(QDataStream& s, bool& byRef,
                        const std::function<AutoVariant(quint32, const QString&)>& makeObject)
{
    quint8 tag = 0;
    s >> tag;
    CheckStream(s);
    byRef = (tag & kByRefFlag) != 0;
    tag &= static_cast<quint8>(~kByRefFlag);
    switch (static_cast<AutoType>(tag)) {
    case AutoType::Empty:
        return {};
    case AutoType::Missing:
        return AutoVariant::Missing();
    case AutoType::Boolean: {
        bool b = false;
        s >> b;
        CheckStream(s);
        return AutoVariant(b);
    }
    case AutoType::Integer: {
        qint32 i = 0;
        s >> i;
        CheckStream(s);
        return AutoVariant(static_cast<int>(i));
    }
    case AutoType::Double: {
        double d = 0;
        s >> d;
        CheckStream(s);
        return AutoVariant(d); // refuses a NaN or an infinity
    }
    case AutoType::String: {
        QByteArray b;
        s >> b;
        CheckStream(s);
        return AutoVariant(b.toStdString());
    }
    case AutoType::WideString: {
        QString w;
        s >> w;
        CheckStream(s);
        return AutoVariant(w.toStdU16String());
    }
    case AutoType::Object: {
        quint32 handle = 0;
        QString className;
        s >> handle >> className;
        CheckStream(s);
        return makeObject(handle, className);
    }
    }
    throw EAutoError("Malformed message: unknown variant type " + std::to_string(tag));
}

QString ServerName(const std::string& progId, QString* error)
{
    const QString dir = PrivateRuntimeDir(error);
    if (dir.isEmpty()) return {};
    return QDir(dir).filePath(QStringLiteral("velk-") + QString::fromStdString(progId));
}

} // namespace LocalAuto
