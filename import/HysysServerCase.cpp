#include "HysysServerCase.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

#include "Messages.h"
#include "RegularFile.h"

namespace
{

// Case files are small; a limit keeps a wrong file from being read whole.
constexpr std::size_t kMaxCaseFile = 32 * 1024 * 1024;
constexpr int kFormatVersion = 1;

class CaseParser
{
public:
    explicit CaseParser(std::string source) : source_(std::move(source)) {}

    [[noreturn]] void Fail(const std::string& where, const std::string& what) const
    {
        throw EConvertError(source_ + ": " + (where.empty() ? std::string() : where + ": ") + what);
    }

    QJsonObject Object(const QJsonValue& v, const std::string& where) const
    {
        if (!v.isObject()) Fail(where, "an object { ... } is expected");
        return v.toObject();
    }

    double Number(const QJsonObject& o, const char* key, const std::string& where) const
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) Fail(where, std::string("\"") + key + "\" is missing");
        if (!v.isDouble()) Fail(where, std::string("\"") + key + "\" is not a number");
        const double d = v.toDouble();
        if (!std::isfinite(d)) Fail(where, std::string("\"") + key + "\" is not a finite number");
        return d;
    }

    HysysStreamData Stream(const QJsonValue& v, const std::string& where, bool liquid) const
    {
        const QJsonObject o = Object(v, where);
        HysysStreamData s;
        s.massFlow = Number(o, "massFlow", where);
        s.massDensity = Number(o, "massDensity", where);
        s.viscosity = Number(o, "viscosity", where);
        if (liquid || o.contains(QLatin1String("surfaceTension")))
            s.surfaceTension = Number(o, "surfaceTension", where);
        return s;
    }

    HysysCaseData Run(const std::string& text)
    {
        QJsonParseError error{};
        const QJsonDocument doc =
            QJsonDocument::fromJson(QByteArray(text.data(), static_cast<qsizetype>(text.size())), &error);
        if (error.error != QJsonParseError::NoError)
            Fail({}, "not a valid case file (" + error.errorString().toStdString() + " at character " +
                         std::to_string(error.offset) + ")");
        if (!doc.isObject()) Fail({}, "not a case file: the text is not a JSON object");
        const QJsonObject root = doc.object();
        const QJsonValue format = root.value(QLatin1String("velkHysysCase"));
        if (!format.isDouble()) Fail({}, "not a case file: \"velkHysysCase\" is missing");
        if (format.toDouble() != kFormatVersion)
            Fail({}, "case-file format " + std::to_string(format.toDouble()) + " is not supported");

        HysysCaseData c;
        c.path = source_;
        c.title = root.value(QLatin1String("title")).toString().toStdString();
        const QJsonObject flowsheet = Object(root.value(QLatin1String("flowsheet")), "flowsheet");
        const QJsonValue ops = flowsheet.value(QLatin1String("operations"));
        if (!ops.isArray()) Fail("flowsheet", "\"operations\" must be a list [ ... ]");
        int opNo = 0;
        for (const QJsonValue& opValue : ops.toArray()) {
            const std::string opWhere = "operation " + std::to_string(opNo++);
            const QJsonObject op = Object(opValue, opWhere);
            HysysOperationData d;
            const QJsonValue name = op.value(QLatin1String("name"));
            if (!name.isString() || name.toString().isEmpty())
                Fail(opWhere, "\"name\" must be a non-empty text");
            d.name = name.toString().toStdString();
            const QJsonValue type = op.value(QLatin1String("type"));
            if (!type.isString() || type.toString().isEmpty())
                Fail(opWhere, "\"type\" must be a non-empty text");
            d.typeName = type.toString().toStdString();
            const std::string where = "operation \"" + d.name + "\"";
            if (d.IsColumn()) {
                const QJsonObject sub =
                    Object(op.value(QLatin1String("columnFlowsheet")), where + ", columnFlowsheet");
                const QJsonValue stages = sub.value(QLatin1String("stages"));
                if (!stages.isArray()) Fail(where, "\"columnFlowsheet\" needs a list \"stages\"");
                int stageNo = 0;
                for (const QJsonValue& sv : stages.toArray()) {
                    const std::string sw = where + ", stage " + std::to_string(stageNo);
                    const QJsonObject so = Object(sv, sw);
                    HysysStageData s;
                    s.name = so.value(QLatin1String("name"))
                                 .toString(QString::number(stageNo + 1) + "__Main TS")
                                 .toStdString();
                    s.vapour = Stream(so.value(QLatin1String("vapour")), sw + ", vapour", false);
                    s.liquid = Stream(so.value(QLatin1String("liquid")), sw + ", liquid", true);
                    d.stages.push_back(std::move(s));
                    ++stageNo;
                }
            } else if (op.contains(QLatin1String("columnFlowsheet"))) {
                Fail(where, "only an operation of type \"ColumnOp\" has a column flowsheet");
            }
            c.operations.push_back(std::move(d));
        }
        return c;
    }

private:
    std::string source_;
};

} // namespace

bool HysysOperationData::IsColumn() const
{
    return QString::fromStdString(typeName).compare(QLatin1String("ColumnOp"), Qt::CaseInsensitive) == 0;
}

HysysCaseData ParseHysysCase(const std::string& text, const std::string& source)
{
    return CaseParser(source).Run(text);
}

HysysCaseData LoadHysysCase(const std::string& path)
{
    // A pipe or a device is refused: the stand-in would wait or read forever.
    return ParseHysysCase(ReadRegularFile(path, kMaxCaseFile, "Too large for a case file"), path);
}
