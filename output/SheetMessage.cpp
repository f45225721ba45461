#include "SheetMessage.h"

#include <QCoreApplication>

std::string SheetMessage(const char* source, std::initializer_list<std::string> parts)
{
    // Substituted in UTF-8 rather than with QString::arg: a part is copied as
    // it came (no round trip through UTF-16) and the markers are ASCII.
    const std::string text = QCoreApplication::translate("Velk", source).toStdString();
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const std::size_t n =
            next >= '1' && next <= '9' ? static_cast<std::size_t>(next - '1') : parts.size();
        if (text[i] == '%' && n < parts.size()) {
            out += parts.begin()[n];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}
