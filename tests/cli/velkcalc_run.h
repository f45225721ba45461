#pragma once
// velk-calc run in the test's process, as the command line runs it: its exit
// status, what it printed, and the JSON of what it printed.
#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <sstream>
#include <string>
#include <vector>

#include "VelkCalc.h"

struct CalcRun {
    int status;
    std::string out, err;
    QJsonObject json() const { return QJsonDocument::fromJson(QByteArray::fromStdString(out)).object(); }
    QJsonObject fields() const { return json().value("fields").toObject(); }
};

inline CalcRun Calc(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = RunVelkCalc(args, out, err);
    return {status, out.str(), err.str()};
}
