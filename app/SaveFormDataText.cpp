// The plain text of a project as the record readers take it: converted
// files (a UTF-8 byte order mark, LF line ends) brought back to the stored
// form, and the walk over the five-line records, which first makes sure the
// text holds whole records.
#include <optional>

#include "SaveFormData.h"
#include "SaveFormDataAnsi.h"

namespace
{

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kBom = "\xEF\xBB\xBF";
// The banner and the two free lines; the records start on this line.
constexpr std::size_t kFirstRecordLine = 4;
constexpr std::size_t kRecordLines = 5;

enum class LineEnds { CrLf, Lf };

// How the banner line of a text ends; none when the first line is no banner.
// A banner at the very end of the text is a project without records.
std::optional<LineEnds> BannerLineEnds(std::string_view text)
{
    const std::string_view banner = kFormRecordBanner;
    if (!text.starts_with(banner)) return std::nullopt;
    const std::string_view rest = text.substr(banner.size());
    if (rest.empty() || rest.starts_with(kCrLf)) return LineEnds::CrLf;
    if (rest.front() == '\n') return LineEnds::Lf;
    return std::nullopt;
}

bool IsSpareLine(std::size_t line)
{
    return line >= kFirstRecordLine + kRecordLines - 1 &&
           (line - kFirstRecordLine) % kRecordLines == kRecordLines - 1;
}

// The lines of a text whose line ends were turned into LF, joined with
// CR LF again. A value that held a lone LF now spans two lines and shifts
// every record after it; the spare line, empty in every record, is where
// that shows. A CR before an LF cannot be told from a CR at the end of a
// value (an original line end or part of the text): refused as well.
std::string WithCrLfLineEnds(std::string_view text)
{
    const auto refuse = [](std::size_t line, const std::string& what) {
        throw EProjectDamaged("the line ends were converted to LF and line " + std::to_string(line) + " " +
                                  what + ": the records cannot be told apart",
                              line, EProjectDamaged::Cause::LineEnds);
    };
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t line = 1; !text.empty(); ++line) {
        const std::size_t lf = text.find('\n');
        const std::string_view content = text.substr(0, lf);
        if (lf != std::string_view::npos && content.ends_with('\r')) refuse(line, "ends in CR LF");
        if (IsSpareLine(line) && !content.empty()) refuse(line, "holds part of a value");
        out += content;
        if (lf == std::string_view::npos) break;
        out += kCrLf;
        text.remove_prefix(lf + 1);
    }
    return out;
}

// The length of the valid UTF-8 sequence at the start of text, 0 when none.
std::size_t Utf8SequenceLength(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t n = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        if (lead == 0xE0) low = 0xA0;  // no overlong forms
        if (lead == 0xED) high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F; // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < n || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < n; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return n;
}

// UTF-8 text in the files' GBK; every character has a GBK or GB18030 form,
// which the reader turns back into the same character.
std::string GbkOfUtf8(std::string_view text)
{
    std::size_t line = 1;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = Utf8SequenceLength(text.substr(i));
        if (n == 0)
            throw EProjectDamaged("the file is marked as UTF-8, but line " + std::to_string(line) + " is not",
                                  line, EProjectDamaged::Cause::NotUtf8);
        if (text.substr(i).starts_with(kCrLf)) ++line;
        i += n;
    }
    return Utf8ToAnsi(text);
}

} // namespace

std::string StoredFormOfPlainText(std::string text)
{
    const bool bom = std::string_view(text).starts_with(kBom);
    const std::string_view body = std::string_view(text).substr(bom ? kBom.size() : 0);
    const auto ends = BannerLineEnds(body);
    // Any other text reads as it always did, the legacy layout included.
    if (!ends || (!bom && *ends == LineEnds::CrLf)) return text;
    std::string stored = *ends == LineEnds::Lf ? WithCrLfLineEnds(body) : std::string(body);
    return bom ? GbkOfUtf8(stored) : stored;
}

bool HasFormRecordBanner(std::string_view plain)
{
    return CrLfLineReader(plain).Next() == kFormRecordBanner;
}

void CheckFormRecordsWhole(std::string_view plain)
{
    // Lines ending in CR LF: the header's three, then five for each record.
    // The last record is whole when its first four lines end so; its spare
    // line may be the text's unterminated last line, even an empty one.
    std::size_t ends = 0, lastRecord = 0, lastRecordEnds = 0;
    for (auto p = plain.find(kCrLf); p != std::string_view::npos; p = plain.find(kCrLf, p + 2)) {
        ++ends;
        if (ends >= kFirstRecordLine - 1 && (ends - (kFirstRecordLine - 1)) % kRecordLines == 0) {
            lastRecord = p + 2;
            lastRecordEnds = ends;
        }
    }
    if (ends < kFirstRecordLine - 1) return; // the header alone, or less
    const std::size_t linesEnded = ends - lastRecordEnds;
    if (linesEnded >= kRecordLines - 1 || (linesEnded == 0 && lastRecord == plain.size())) return;
    const std::size_t line = lastRecordEnds + 1;
    CrLfLineReader lines(plain.substr(lastRecord));
    const std::string control = AnsiToUtf8(lines.Next());
    throw EProjectDamaged("the record \"" + control + "\" from line " + std::to_string(line) +
                              " is cut short: the file is incomplete",
                          line, EProjectDamaged::Cause::CutShort, control);
}

bool ForEachFormRecord(std::string_view plain, const std::function<void(const FormRecord&)>& visit,
                       const std::function<void()>& start)
{
    if (!HasFormRecordBanner(plain)) return false;
    CheckFormRecordsWhole(plain);
    if (start) start();
    CrLfLineReader lines(plain);
    for (std::size_t i = 1; i < kFirstRecordLine; ++i)
        lines.Next();
    for (std::size_t recordLine = kFirstRecordLine; !lines.AtEnd(); recordLine += kRecordLines) {
        const std::size_t begin = lines.Position();
        FormRecord r;
        r.control = AnsiToUtf8(lines.Next());
        r.tag = lines.Next();
        r.property = AnsiToUtf8(lines.Next());
        r.value = lines.Next();
        lines.Next();
        r.valueLine = recordLine + 3;
        r.text = plain.substr(begin, lines.Position() - begin);
        visit(r);
    }
    return true;
}
