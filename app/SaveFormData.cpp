#include "SaveFormData.h"

#include <cctype>
#include <cfenv>
#include <cstdint>
#include <ctime>
#include <zlib.h>

#include "CalcPage.h"
#include "Messages.h"
#include "PackingSelector.h"
#include "SafeFileReplacer.h"
#include "SaveFormDataAnsi.h"
#include "SaveFormDataFile.h"
#include "SaveFormDataProperties.h"
#include "UserPackingRecord.h"

namespace
{

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kProgramLine = "VELK 4.1 波纹规整填料塔流体力学";
constexpr long long kInt32Min = INT32_MIN;
constexpr long long kInt32Max = INT32_MAX;

// Reading a project converts texts with factors from the file; an overflow
// there is caught by the field (the text stays), but its sticky flag must not
// surface later as somebody else's error. The caller's flags are restored.
class KeepFloatFlags
{
public:
    KeepFloatFlags() { std::fegetexceptflag(&saved_, FE_ALL_EXCEPT); }
    ~KeepFloatFlags() { std::fesetexceptflag(&saved_, FE_ALL_EXCEPT); }
    KeepFloatFlags(const KeepFloatFlags&) = delete;
    KeepFloatFlags& operator=(const KeepFloatFlags&) = delete;

private:
    std::fexcept_t saved_;
};

// The text of a control as a Memo or Rich record sets it.
void SetControlText(TControl& c, const std::string& text)
{
    if (auto* f = dynamic_cast<TEditD*>(&c)) {
        f->SetText(text);
    } else if (auto* t = dynamic_cast<TTextModel*>(&c)) {
        t->SetText(text);
    } else if (auto* combo = dynamic_cast<TComboModel*>(&c)) {
        combo->SetText(text);
    } else if (auto* u = dynamic_cast<TComboBoxU*>(&c)) {
        // A drop-down list takes a text only as one of its items.
        const auto& items = u->Items();
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i] == text) {
                SelectUnitItem(*u, static_cast<long long>(i));
                break;
            }
    }
    // A check box has no text to set.
}

class RecordWriter
{
public:
    explicit RecordWriter(std::string& out) : out_(out) {}
    void Line(std::string_view utf8)
    {
        out_ += Utf8ToAnsi(utf8);
        out_ += kCrLf;
    }
    void Record(const std::string& control, std::string_view tag, std::string_view property,
                std::string_view value)
    {
        Line(control);
        Line(tag);
        Line(property);
        Line(value);
        Line({});
    }
    // A single-line text; one that holds a line break cannot be a String
    // value (the break would end the record early), so it goes as Memo.
    void TextRecord(const std::string& control, const std::string& text)
    {
        if (text.find(kCrLf) == std::string::npos)
            Record(control, "String", "Text", text);
        else
            Record(control, "Memo", "Text", CrLfToMark(text));
    }

private:
    std::string& out_;
};

std::string NowText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
    return buf;
}

} // namespace

// ---------------------------------------------------------------- container

namespace
{
enum class Inflated { NotCompressed, Whole, Broken };

std::uint64_t ClaimedLength(std::string_view file)
{
    const auto* b = reinterpret_cast<const unsigned char*>(file.data());
    return std::uint64_t(b[0]) | (std::uint64_t(b[1]) << 8) | (std::uint64_t(b[2]) << 16) |
           (std::uint64_t(b[3]) << 24);
}

// A zlib header (RFC 1950): deflate with a window of at most 32 KB, and a
// check value that makes the two bytes a multiple of 31.
bool HasZlibHeader(std::string_view file)
{
    if (file.size() < 6) return false;
    const auto cmf = static_cast<unsigned char>(file[4]), flg = static_cast<unsigned char>(file[5]);
    return (cmf & 0x0F) == 8 && (cmf >> 4) <= 7 && (cmf * 256u + flg) % 31 == 0;
}

// Inflates the stream after the length into out: Whole when it yields
// exactly the claimed length; Broken (out holding what it did yield) when it
// was tried and failed; NotCompressed when the claim cannot be one.
Inflated InflateProject(std::string_view file, std::string& out)
{
    out.clear();
    if (file.size() < 4) return Inflated::NotCompressed;
    const std::uint64_t claimed = ClaimedLength(file);
    // Deflate expands at most about 1032:1; a claim beyond that, or beyond
    // any project, is not a compressed project. (Every plain file starts with
    // "CFR ", which reads as a claim of half a gigabyte.)
    const std::uint64_t stream = file.size() - 4;
    if (claimed > kMaxProjectFileBytes) return Inflated::NotCompressed;
    if (claimed > stream * 1032 + 64) return Inflated::Broken;

    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return Inflated::Broken;
    out.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(claimed, 1u << 20)));
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(file.data() + 4));
    zs.avail_in = static_cast<uInt>(stream);
    unsigned char chunk[16384];
    int ret = Z_OK;
    // The output grows with what the stream really yields, never with the claim.
    while (ret == Z_OK) {
        zs.next_out = chunk;
        zs.avail_out = sizeof chunk;
        ret = inflate(&zs, Z_NO_FLUSH);
        const std::size_t got = sizeof chunk - zs.avail_out;
        if (out.size() + got > claimed) {
            ret = Z_DATA_ERROR;
            break;
        }
        out.append(reinterpret_cast<const char*>(chunk), got);
        if (ret == Z_OK && got == 0 && zs.avail_in == 0) ret = Z_BUF_ERROR; // the stream ends early
    }
    inflateEnd(&zs);
    return ret == Z_STREAM_END && out.size() == claimed ? Inflated::Whole : Inflated::Broken;
}
} // namespace

std::string ProjectPlainText(std::string_view file)
{
    std::string out;
    return StoredFormOfPlainText(InflateProject(file, out) == Inflated::Whole ? std::move(out)
                                                                              : std::string(file));
}

namespace
{
// The line (from 1) at a byte offset of a text.
std::size_t LineAt(std::string_view text, std::size_t offset)
{
    std::size_t line = 1;
    for (auto p = text.find(kCrLf); p != std::string_view::npos && p < offset; p = text.find(kCrLf, p + 2))
        ++line;
    return line;
}

// A project is text: a NUL byte makes it binary, whatever it claims to be.
std::string RefuseBinary(std::string plain)
{
    if (const auto nul = plain.find('\0'); nul != std::string::npos) {
        const std::size_t line = LineAt(plain, nul);
        throw EProjectDamaged("a NUL byte on line " + std::to_string(line) + ": not a project", line);
    }
    return plain;
}
} // namespace

void CheckProjectRecordCount(std::string_view plain)
{
    // Line ends: the header's three and five for each record.
    constexpr std::size_t maxEnds = 3 + 5 * kMaxProjectRecords;
    std::size_t ends = 0;
    for (auto p = plain.find(kCrLf); p != std::string_view::npos; p = plain.find(kCrLf, p + 2))
        if (++ends > maxEnds)
            throw EProjectTooLarge("more than " + std::to_string(kMaxProjectRecords) + " records",
                                   EProjectTooLarge::Part::Records, kMaxProjectRecords);
}

std::string CheckedProjectPlainText(std::string_view file)
{
    std::string out;
    switch (InflateProject(file, out)) {
    case Inflated::Whole:
        return RefuseBinary(StoredFormOfPlainText(std::move(out)));
    case Inflated::Broken:
        if (HasZlibHeader(file)) {
            // The lines the stream delivered whole come before the damage.
            const std::size_t line = LineAt(out, out.size());
            throw EProjectDamaged(
                "the compressed data is incomplete or corrupt from line " + std::to_string(line), line);
        }
        break;
    case Inflated::NotCompressed:
        break;
    }
    return RefuseBinary(StoredFormOfPlainText(std::string(file)));
}

std::string CompressProjectText(std::string_view plain)
{
    uLongf bound = compressBound(static_cast<uLong>(plain.size()));
    std::string out(4 + bound, '\0');
    const auto n = static_cast<std::uint32_t>(plain.size());
    out[0] = static_cast<char>(n & 0xFF);
    out[1] = static_cast<char>((n >> 8) & 0xFF);
    out[2] = static_cast<char>((n >> 16) & 0xFF);
    out[3] = static_cast<char>((n >> 24) & 0xFF);
    if (compress2(reinterpret_cast<Bytef*>(out.data() + 4), &bound,
                  reinterpret_cast<const Bytef*>(plain.data()), static_cast<uLong>(plain.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        throw EInOutError("Cannot compress the project");
    out.resize(4 + bound);
    return out;
}

// ------------------------------------------------------------- form records

namespace
{
bool IsItemIndex(std::string_view property)
{
    constexpr std::string_view name = "itemindex";
    if (property.size() != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(property[i])) != name[i]) return false;
    return true;
}

// A list the page adds to the window's controls holds one of its items: an
// index beyond them is a damaged record, not "nothing selected", which
// Save would write back as -1. (The window's own lists select nothing, as
// they always did.)
void CheckAddedListIndex(const TControl& c, std::string_view property, PropertyKind kind,
                         const std::string& value)
{
    const auto* list = dynamic_cast<const TComboModel*>(&c);
    if (!list || list->Editable() || kind != PropertyKind::Ord || !IsItemIndex(property)) return;
    const long long index = OrdFromText(value, kInt32Min, kInt32Max);
    if (index < 0 || index >= static_cast<long long>(list->Items().size()))
        throw EConvertError("List index out of bounds (" + std::to_string(index) + ")");
}
} // namespace

bool ApplyFormRecords(CalcPage& page, std::string_view plain, std::size_t* failedLine)
{
    KeepFloatFlags keep;
    std::string userPacking; // the packing a user row record brought
    const bool isProject = ForEachFormRecord(
        plain,
        [&](const FormRecord& r) {
            if (IsUserPackingRecord(r.control)) {
                try {
                    userPacking = TakeUserPackingRecord(page, AnsiToUtf8(r.value));
                } catch (...) {
                    if (failedLine) *failedLine = r.valueLine;
                    throw;
                }
                return;
            }
            TControl* control = page.FindControlNoCase(r.control);
            if (!control) return;
            try {
                if (const auto kind = PropertyKindOfTag(r.tag)) {
                    const std::string value = AnsiToUtf8(r.value);
                    if (page.IsAddition(control)) CheckAddedListIndex(*control, r.property, *kind, value);
                    SetPublishedProperty(*control, r.property, *kind, value);
                } else if (r.tag == "Memo" || r.tag == "Rich") {
                    SetControlText(*control, MarkToCrLf(AnsiToUtf8(r.value)));
                }
            } catch (...) {
                if (failedLine) *failedLine = r.valueLine;
                throw;
            }
            // "CheckListBox" needs a check list, and the page has none; any
            // other tag is not part of the format. Both are skipped.
        },
        // A project without records for the added controls means their start state.
        [&] { page.ResetAdditions(); });
    if (!isProject) return false;
    // The selector's index was the saving machine's, whose catalogue may
    // hold other user rows before this one: the name decides.
    if (!userPacking.empty()) SelectPackingByName(*page.Combo("PTD"), userPacking);
    // A rated diameter is an input again, with the look of one.
    if (page.Check("CBRating")->Checked()) page.SetRatingMode(true);
    return true;
}

namespace
{
// An unchecked check box, an empty value field or a list at its first item:
// what an added control starts with.
bool IsAtStartState(const TControl& c)
{
    if (const auto* check = dynamic_cast<const TCheckModel*>(&c)) return !check->Checked();
    if (const auto* combo = dynamic_cast<const TComboModel*>(&c)) return combo->ItemIndex() == 0;
    if (const auto* f = dynamic_cast<const TEditD*>(&c)) return f->Text().empty();
    return false;
}
} // namespace

std::string FormRecordsText(const CalcPage& page)
{
    std::string out;
    out.reserve(16384);
    RecordWriter w(out);
    w.Line(kFormRecordBanner);
    w.Line(kProgramLine);
    w.Line(NowText());
    // In the window's order each value field comes before its unit selector,
    // and its factor is restored before the selector's item index: setting
    // the index then converts by a factor of one and the text stays as saved.
    for (const TControl* c : page.Controls()) {
        const std::string& name = c->Name();
        // A control added later is written only when it holds something, so
        // that a project without it is written as before.
        if (page.IsAddition(c) && IsAtStartState(*c)) continue;
        // Before the selector, so that a reader knows the row its index names.
        if (name == "PTD")
            if (const std::string row = UserPackingRecordValue(page); !row.empty())
                w.Record(kUserPackingRecord, "String", "Text", row);
        if (const auto* f = dynamic_cast<const TEditD*>(c)) {
            w.Record(name, "Float", "Exchange", FloatToText(f->Exchange()));
            w.Record(name, "Enum", "ReadOnly", f->ReadOnly() ? "True" : "False");
            w.Record(name, "Ord", "Color", std::to_string(f->Color()));
            w.TextRecord(name, f->Text());
        } else if (const auto* u = dynamic_cast<const TComboBoxU*>(c)) {
            w.Record(name, "Ord", "ItemIndex", std::to_string(u->ItemIndex()));
        } else if (const auto* combo = dynamic_cast<const TComboModel*>(c)) {
            w.Record(name, "Ord", "ItemIndex", std::to_string(combo->ItemIndex()));
            // What was typed into the editable box, which need not be an item.
            if (combo->Editable()) w.TextRecord(name, combo->Text());
        } else if (const auto* t = dynamic_cast<const TTextModel*>(c)) {
            if (t->MultiLine())
                w.Record(name, "Rich", "Lines", CrLfToMark(t->Text()));
            else
                w.TextRecord(name, t->Text());
        } else if (const auto* check = dynamic_cast<const TCheckModel*>(c)) {
            w.Record(name, "Enum", "Checked", check->Checked() ? "True" : "False");
        }
    }
    return out;
}

std::string UnownedRecordsText(const CalcPage& page, std::string_view plain,
                               const std::function<bool(std::string_view)>& alsoOwned)
{
    std::string kept;
    ForEachFormRecord(plain, [&](const FormRecord& r) {
        if (page.FindControlNoCase(r.control) || IsUserPackingRecord(r.control) ||
            (alsoOwned && alsoOwned(r.control)))
            return;
        kept += r.text;
        // A record the text ends without its spare line is written whole.
        std::size_t ends = 0;
        for (auto p = r.text.find(kCrLf); p != std::string_view::npos; p = r.text.find(kCrLf, p + 2))
            ++ends;
        for (; ends < 5; ++ends)
            kept += kCrLf;
    });
    return kept;
}

bool ReadFormRecords(CalcPage& page, const std::string& path, std::size_t* failedLine)
{
    if (!ProjectFileExists(path)) return false;
    return ApplyFormRecords(page, ProjectPlainText(ReadProjectFileBytes(path)), failedLine);
}

void WriteFormRecords(const CalcPage& page, const std::string& path, ProjectForm form,
                      const std::string& extraRecords)
{
    const std::string plain = FormRecordsText(page) + extraRecords;
    SafeReplaceFile(path, form == ProjectForm::Compressed ? CompressProjectText(plain) : plain);
}

// ------------------------------------------------------------ legacy layout

void ApplyLegacyLayout(CalcPage& page, std::string_view text)
{
    CrLfLineReader lines(text);
    auto next = [&] { return AnsiToUtf8(lines.Next()); };
    auto nextInt = [&] { return OrdFromText(next(), kInt32Min, kInt32Max); };

    KeepFloatFlags keep;
    page.ResetAdditions();
    for (TControl* c : page.Controls()) {
        if (page.IsAddition(c)) break; // the layout ends before the added controls
        // Each control is read in its own scope: a line that does not convert
        // ends that control only, and the next one reads on from there.
        try {
            if (auto* f = dynamic_cast<TEditD*>(c)) {
                f->SetText(next());
                f->SetExchange(FactorFromText(next()));
                f->SetReadOnly(nextInt() != 0);
                f->SetColor(static_cast<TColor>(nextInt()));
                // Again: setting the factor above converted the first one.
                f->SetText(next());
            } else if (auto* u = dynamic_cast<TComboBoxU*>(c)) {
                SelectUnitItem(*u, nextInt());
                SelectUnitItem(*u, nextInt());
            } else if (auto* combo = dynamic_cast<TComboModel*>(c)) {
                combo->SetItemIndex(static_cast<int>(nextInt()));
            } else if (auto* t = dynamic_cast<TTextModel*>(c)) {
                if (!t->MultiLine()) {
                    t->SetText(next());
                } else {
                    t->SetText({});
                    const long long count = nextInt();
                    std::string joined;
                    // Lines past the end of the file would all be empty; a
                    // damaged count must not add them by the billion.
                    for (long long i = 0; i < count && !lines.AtEnd(); ++i) {
                        if (i > 0) joined += kCrLf;
                        joined += next();
                    }
                    t->SetText(joined);
                }
            }
            // The check box takes no lines.
        } catch (const EConvertError&) {
        }
    }
}

std::string LegacyLayoutText(const CalcPage& page)
{
    std::string out;
    auto line = [&](std::string_view utf8) {
        // A line break inside a single-line text has no place in this layout.
        std::string flat(utf8);
        for (auto p = flat.find(kCrLf); p != std::string::npos; p = flat.find(kCrLf, p))
            flat.replace(p, 2, " ");
        out += Utf8ToAnsi(flat);
        out += kCrLf;
    };
    for (const TControl* c : page.Controls()) {
        if (page.IsAddition(c)) break; // the layout ends before the added controls
        if (const auto* f = dynamic_cast<const TEditD*>(c)) {
            line(f->Text());
            line(FloatToText(f->Exchange()));
            line(f->ReadOnly() ? "1" : "0");
            line(std::to_string(f->Color()));
            line(f->Text());
        } else if (const auto* u = dynamic_cast<const TComboBoxU*>(c)) {
            line(std::to_string(u->ItemIndex()));
            line(std::to_string(u->ItemIndex()));
        } else if (const auto* combo = dynamic_cast<const TComboModel*>(c)) {
            line(std::to_string(combo->ItemIndex()));
        } else if (const auto* t = dynamic_cast<const TTextModel*>(c)) {
            if (!t->MultiLine()) {
                line(t->Text());
            } else {
                std::vector<std::string_view> parts;
                std::string_view rest(t->Text());
                if (!rest.empty()) {
                    for (;;) {
                        const auto p = rest.find(kCrLf);
                        parts.push_back(rest.substr(0, p));
                        if (p == std::string_view::npos) break;
                        rest.remove_prefix(p + 2);
                    }
                }
                line(std::to_string(parts.size()));
                for (auto part : parts)
                    line(part);
            }
        }
    }
    return out;
}

void ReadLegacyLayout(CalcPage& page, const std::string& path)
{
    ApplyLegacyLayout(page, ReadProjectFileBytes(path));
}

void WriteLegacyLayout(const CalcPage& page, const std::string& path)
{
    SafeReplaceFile(path, LegacyLayoutText(page));
}

// --------------------------------------------------------------- check lists

std::vector<CheckListEntry> ParseCheckListValue(std::string_view value)
{
    const std::string_view mark(kLineBreakMark);
    std::vector<CheckListEntry> entries;
    std::size_t pos = 0;
    while (pos < value.size()) {
        const std::size_t textEnd = value.find(mark, pos);
        if (textEnd == std::string_view::npos) break; // a text without its flag is no entry
        CheckListEntry e;
        e.Text = std::string(value.substr(pos, textEnd - pos));
        // The flag is one character, whatever it is, then the mark.
        std::size_t flag = textEnd + mark.size();
        std::size_t flagLength = 0;
        if (flag < value.size()) {
            const auto lead = static_cast<unsigned char>(value[flag]);
            flagLength = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            flagLength = std::min(flagLength, value.size() - flag);
        }
        e.Checked = value.substr(flag, flagLength) == "1";
        entries.push_back(std::move(e));
        const std::size_t next = value.find(mark, flag + flagLength);
        pos = next == std::string_view::npos ? value.size() : next + mark.size();
    }
    return entries;
}

void ApplyCheckListValue(std::vector<CheckListEntry>& items, std::string_view value)
{
    const auto entries = ParseCheckListValue(value);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i >= items.size()) throw EConvertError("List index out of bounds (" + std::to_string(i) + ")");
        items[i] = entries[i];
    }
}
