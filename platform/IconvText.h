#pragma once
// Text conversion between code pages through glibc's iconv: Qt 6 has no GBK
// codec of its own without ICU.

#include <QByteArray>
#include <optional>

// Converts in from the code page `from` to `to`; nothing when the text is
// not valid in `from` or cannot be written in `to`, or iconv lacks either.
std::optional<QByteArray> IconvConvert(const char* to, const char* from, const QByteArray& in);
