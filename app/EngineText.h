#pragma once
// Turns a message of the engine, the project-file reader or the import into
// the interface language, at the moment it is shown. Most messages are
// Chinese source texts (looked up directly); the texts of floating-point,
// number-conversion and file errors are made by the lower layers in fixed
// English forms with the offending value inside, and are recognised here by
// their form, so that the Chinese interface shows them in Chinese. A text
// that matches nothing is shown as it is.

#include <QString>
#include <string>

QString EngineText(const std::string& text);
QString EngineText(const QString& text);
