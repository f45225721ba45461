#include "CaseRunText.h"

#include <QCoreApplication>

#include "CaseRun.h"
#include "ColumnRating.h"
#include "EngineText.h"
#include "TrNoop.h"

QString CaseText(const std::string& text)
{
    const std::string prefix = kMissingInputsText;
    if (text.compare(0, prefix.size(), prefix) == 0)
        return EngineText(prefix) + QString::fromStdString(text.substr(prefix.size()));
    return EngineText(text);
}

std::string CaseTextUtf8(const std::string& text)
{
    return CaseText(text).toStdString();
}

QString StageMessage(const StageRating& stage)
{
    const std::string& cause = stage.skipped ? stage.note : stage.error;
    if (cause.empty()) return {};
    return QCoreApplication::translate("Velk", "第%1板：%2").arg(stage.stage).arg(CaseText(cause));
}
