#pragma once
// Text conversions of the project files: the files hold the system's ANSI
// code page (GBK) with CR LF line ends, the models hold UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 to GBK. A character that GBK cannot represent is written in its
// four-byte GB18030 form rather than dropped, so our own files keep it.
std::string Utf8ToAnsi(std::string_view utf8);

// GBK to UTF-8. Four-byte GB18030 sequences are understood; a byte that
// starts no valid character becomes U+FFFD.
std::string AnsiToUtf8(std::string_view ansi);

// Reads lines that end only at CR LF (a lone CR or LF belongs to the line);
// the last line may end at the end of the data. Past the end it yields
// empty lines.
class CrLfLineReader
{
public:
    explicit CrLfLineReader(std::string_view data) : data_(data) {}
    bool AtEnd() const { return pos_ >= data_.size(); }
    std::string_view Next();
    std::size_t Position() const { return pos_; }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

// "▲" (U+25B2): the line break inside a multi-line text in a record.
inline constexpr const char* kLineBreakMark = "\xE2\x96\xB2";

// Every CR LF replaced by the mark, and back.
std::string CrLfToMark(std::string_view text);
std::string MarkToCrLf(std::string_view text);
