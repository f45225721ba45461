#include "SaveFormDataAnsi.h"

#include <cerrno>
#include <iconv.h>

#include "Messages.h"

namespace
{

// One conversion descriptor per direction and thread, opened on first use:
// opening one costs far more than converting a project's texts.
class Converter
{
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw EVelkError(std::string("Text conversion ") + from + " -> " + to + " is not available");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much of [in, in+inLeft) as possible, appending to out.
    // Returns 0 when everything was converted, else the errno that stopped
    // it (in and inLeft then point at the offending input).
    int Run(const char*& in, std::size_t& inLeft, std::string& out)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buf[1024];
        while (inLeft > 0) {
            char* src = const_cast<char*>(in);
            char* dst = buf;
            std::size_t dstLeft = sizeof buf;
            const std::size_t r = iconv(cd_, &src, &inLeft, &dst, &dstLeft);
            const int err = r == static_cast<std::size_t>(-1) ? errno : 0;
            out.append(buf, static_cast<std::size_t>(dst - buf));
            in = src;
            if (err == E2BIG) continue;
            if (err != 0) return err;
        }
        return 0;
    }

    // Converts exactly the n bytes at in as one unit; false when they are
    // not one complete valid sequence.
    bool RunExactly(const char* in, std::size_t n, std::string& out)
    {
        std::string piece;
        std::size_t left = n;
        if (Run(in, left, piece) != 0 || left != 0) return false;
        out += piece;
        return true;
    }

private:
    iconv_t cd_;
};

Converter& ToGbk()
{
    thread_local Converter c("GBK", "UTF-8");
    return c;
}
Converter& FromGbk()
{
    thread_local Converter c("UTF-8", "GBK");
    return c;
}
Converter& ToGb18030()
{
    thread_local Converter c("GB18030", "UTF-8");
    return c;
}
Converter& FromGb18030()
{
    thread_local Converter c("UTF-8", "GB18030");
    return c;
}

bool IsAscii(std::string_view s)
{
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// Length of the UTF-8 sequence a lead byte announces; 0 for a byte that
// cannot start one.
std::size_t Utf8Length(unsigned char lead)
{
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

constexpr const char* kReplacement = "\xEF\xBF\xBD";

} // namespace

std::string Utf8ToAnsi(std::string_view utf8)
{
    if (IsAscii(utf8)) return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    while (left > 0) {
        if (ToGbk().Run(in, left, out) == 0) break;
        // Not in GBK (or not UTF-8 at all): one character at a time.
        std::size_t n = Utf8Length(static_cast<unsigned char>(*in));
        if (n == 0 || n > left || !ToGb18030().RunExactly(in, n, out)) {
            out += '?';
            n = n == 0 || n > left ? 1 : n;
        }
        in += n;
        left -= n;
    }
    return out;
}

std::string AnsiToUtf8(std::string_view ansi)
{
    if (IsAscii(ansi)) return std::string(ansi);
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 2);
    const char* in = ansi.data();
    std::size_t left = ansi.size();
    while (left > 0) {
        if (FromGbk().Run(in, left, out) == 0) break;
        // Not GBK: a two- or four-byte GB18030 character, else one bad byte.
        if (left >= 2 && FromGb18030().RunExactly(in, 2, out)) {
            in += 2;
            left -= 2;
        } else if (left >= 4 && FromGb18030().RunExactly(in, 4, out)) {
            in += 4;
            left -= 4;
        } else {
            out += kReplacement;
            ++in;
            --left;
        }
    }
    return out;
}

std::string_view CrLfLineReader::Next()
{
    if (pos_ >= data_.size()) return {};
    std::size_t from = pos_;
    for (;;) {
        const std::size_t cr = data_.find('\r', from);
        if (cr == std::string_view::npos || cr + 1 >= data_.size()) {
            std::string_view line = data_.substr(pos_);
            pos_ = data_.size();
            return line;
        }
        if (data_[cr + 1] == '\n') {
            std::string_view line = data_.substr(pos_, cr - pos_);
            pos_ = cr + 2;
            return line;
        }
        from = cr + 1;
    }
}

namespace
{
std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with)
{
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = text.find(what, pos);
        if (hit == std::string_view::npos) {
            out.append(text.substr(pos));
            return out;
        }
        out.append(text.substr(pos, hit - pos));
        out.append(with);
        pos = hit + what.size();
    }
}
} // namespace

std::string CrLfToMark(std::string_view text)
{
    return ReplaceAll(text, "\r\n", kLineBreakMark);
}
std::string MarkToCrLf(std::string_view text)
{
    return ReplaceAll(text, kLineBreakMark, "\r\n");
}
