#include "CsvText.h"

#include <charconv>

#include "Messages.h"
#include "NumberText.h"

void CsvFail(const std::string& source, int line, const std::string& what)
{
    throw EConvertError(source + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + what);
}

std::string AsciiLower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

void CheckCsvText(std::string_view text, const std::string& source, std::size_t maxBytes,
                  const std::string& sizeText, std::size_t maxLine)
{
    if (text.size() > maxBytes) CsvFail(source, 0, "larger than " + sizeText);
    int lineNo = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n') {
            if (i - lineStart > maxLine)
                CsvFail(source, lineNo, "a line longer than " + std::to_string(maxLine) + " bytes");
            ++lineNo;
            lineStart = i + 1;
        } else if (text[i] == '\0') {
            CsvFail(source, lineNo, "a NUL byte");
        }
    }
}

std::vector<std::string> SplitCsvFields(const std::string& line, const std::string& source, int lineNo,
                                        std::size_t maxFields)
{
    std::vector<std::string> fields;
    std::string current;
    bool quoted = false, wasQuoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"') {
                current.push_back(c);
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                current.push_back('"');
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"' && Trim(current).empty() && !wasQuoted) {
            current.clear();
            quoted = wasQuoted = true;
        } else if (c == ',') {
            if (fields.size() + 1 >= maxFields)
                CsvFail(source, lineNo, "more than " + std::to_string(maxFields) + " fields");
            fields.push_back(wasQuoted ? current : Trim(current));
            current.clear();
            wasQuoted = false;
        } else if (wasQuoted && c != ' ' && c != '\t') {
            CsvFail(source, lineNo, "text after a closing quote");
        } else if (!wasQuoted) {
            current.push_back(c);
        }
    }
    if (quoted) CsvFail(source, lineNo, "a quoted field is not closed");
    fields.push_back(wasQuoted ? current : Trim(current));
    return fields;
}

std::string ExactNumber(double v)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}
