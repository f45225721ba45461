#pragma once
// The project file ("*.vel"): the state of the calculation page as form
// records (five-line records naming a control, a type tag, a property and a
// value), stored zlib-compressed or plain, and the older legacy layout (one
// value per line in the order the window owns its controls).
//
// Texts in the files are GBK with CR LF line ends; the models hold UTF-8.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Messages.h"

class CalcPage;

// A project beyond one of its caps, refused while it is read, before the
// records cost memory or time.
class EProjectTooLarge : public EVelkError
{
public:
    enum class Part { Records, Stages, Beds, Cases };
    EProjectTooLarge(const std::string& what, Part part, std::size_t cap)
        : EVelkError(what), What(part), Cap(cap)
    {
    }
    Part What;       // what is too many
    std::size_t Cap; // its cap
};

// The most records a project may hold: a page has about 250, a profile at
// its caps about 20,000 (docs/project-files.md).
inline constexpr std::size_t kMaxProjectRecords = 100000;

// Throws EProjectTooLarge when a plain text holds more line ends than the
// banner, the two free lines and kMaxProjectRecords records take.
void CheckProjectRecordCount(std::string_view plainText);

// A project file whose content cannot be a whole project: a compressed
// file cut short or corrupted, a value that does not convert, records beyond
// the caps. Line is the first line (from 1) that could not be read.
class EProjectDamaged : public EVelkError
{
public:
    // Data: the bytes from Line on cannot be read. CutShort: the last
    // record, of control Control from Line, lacks lines (a truncated file).
    // NotUtf8: a file marked as UTF-8 is not, on Line. LineEnds: the line
    // ends were converted to LF and a value held one, so the records cannot
    // be told apart from Line on.
    enum class Cause { Data, CutShort, NotUtf8, LineEnds };
    EProjectDamaged(const std::string& what, std::size_t line, Cause cause = Cause::Data,
                    std::string control = {})
        : EVelkError(what), Line(line), Reason(cause), Control(std::move(control))
    {
    }
    std::size_t Line;
    Cause Reason;
    std::string Control; // UTF-8
};

inline constexpr const char* kFormRecordBanner =
    "CFR File Format(Compatible Form Record File),by Tovan Pardune.";

// Reads a form record file into the page. Returns false, changing nothing,
// when no such file exists (a directory is no file) or its first line is not
// the banner (a converted plain project has it: StoredFormOfPlainText).
// Throws EInOutError when the file exists but cannot be read, EProjectDamaged
// (changing nothing) when it cannot be read whole, and EConvertError when a
// value does not convert (the records before it stay applied).
bool ReadFormRecords(CalcPage& page, const std::string& path, std::size_t* failedLine = nullptr);

// Reads the legacy layout into the page. Throws EInOutError when the file
// cannot be opened; conversion errors end only the control they occur in.
void ReadLegacyLayout(CalcPage& page, const std::string& path);

enum class ProjectForm { Compressed, Plain };

// Writes the page as form records, replacing path only once the new file is
// complete (see SafeReplaceFile). Throws EInOutError on failure.
// extraRecords (GBK, CR LF) follow the page's records: records of controls
// the page does not own, which readers that do not know them skip.
void WriteFormRecords(const CalcPage& page, const std::string& path,
                      ProjectForm form = ProjectForm::Compressed, const std::string& extraRecords = {});

// Writes the page in the legacy layout (for older installations and tests).
void WriteLegacyLayout(const CalcPage& page, const std::string& path);

// The same, in memory.
//
// The plain text of a project file's bytes: the inflated content when the
// bytes are a 4-byte little-endian length and a zlib stream yielding exactly
// that many bytes, otherwise the bytes themselves. A claimed length beyond
// what the stream could possibly hold, or beyond kMaxProjectFileBytes, is not
// allocated: the bytes are taken as plain.
std::string ProjectPlainText(std::string_view fileBytes);
// As ProjectPlainText, but bytes that carry a compressed project's header (a
// length within kMaxProjectFileBytes and a zlib header) and do not inflate to
// exactly that length are a damaged file, not a plain one: EProjectDamaged
// naming the first line the stream did not deliver whole. A text with a NUL
// byte is binary, not a project: EProjectDamaged naming its line.
std::string CheckedProjectPlainText(std::string_view fileBytes);
// Both bring a converted plain text back to the stored form (see
// StoredFormOfPlainText), so that every reader takes it alike.

// A plain text whose first line is the banner once a UTF-8 byte order mark
// is skipped and LF is taken as a line end: a project that an editor or a
// tool has converted. It is brought back to the stored form (GBK, CR LF;
// after a mark the texts are UTF-8), so that it reads as the format and
// never as the legacy layout. Any other text comes back unchanged. Throws
// EProjectDamaged when it cannot be brought back exactly: NotUtf8, or
// LineEnds when a value held a lone LF (it now ends a line).
std::string StoredFormOfPlainText(std::string plainText);
// Whether the first line of a plain text is the banner.
bool HasFormRecordBanner(std::string_view plainText);
// Throws EProjectDamaged (CutShort, naming the record's control and first
// line) when the last record lacks one of its first four lines: the file was
// cut short. Its spare line may be missing, as the last line of a text may
// lack its line end.
void CheckFormRecordsWhole(std::string_view plainText);

// The records of a plain text that name no control of the page, nor one
// alsoOwned accepts, byte for byte and in their order; a last record without
// its spare line gets an empty one. "" without a banner; throws as
// CheckFormRecordsWhole.
std::string UnownedRecordsText(const CalcPage& page, std::string_view plainText,
                               const std::function<bool(std::string_view name)>& alsoOwned = {});
// Applies form records from the plain text; false when it has no banner.
// failedLine, when given, receives the line (from 1) of a value that did not
// convert before the error is passed on. A text cut short
// (CheckFormRecordsWhole) changes nothing. A list the page adds to the
// window's controls takes only an index of one of its items; another is a
// value that does not convert.
bool ApplyFormRecords(CalcPage& page, std::string_view plainText, std::size_t* failedLine = nullptr);

// One record of a project's plain text: the control's and the property's
// names converted to UTF-8, the tag and the value as the file holds them
// (a reader converts only the values it takes: AnsiToUtf8).
struct FormRecord {
    std::string control, property;
    std::string_view tag, value;
    std::size_t valueLine; // line number of the value, for a reader's error
    std::string_view text; // the record's lines as the file holds them, line ends included
};
// Calls `visit` for every record after the banner and the two free lines
// (five lines a record), for the readers of the records the page does not
// own; false when the text does not start with the banner. A text cut short
// throws as CheckFormRecordsWhole before any record is visited; start, when
// given, runs once that is known, before the first record.
bool ForEachFormRecord(std::string_view plainText, const std::function<void(const FormRecord&)>& visit,
                       const std::function<void()>& start = {});
// Applies the legacy layout from the file's text.
void ApplyLegacyLayout(CalcPage& page, std::string_view text);

// The plain form record text of the page (GBK, CR LF).
std::string FormRecordsText(const CalcPage& page);
// The compressed form of a plain text.
std::string CompressProjectText(std::string_view plainText);
// The legacy layout text of the page (GBK, CR LF).
std::string LegacyLayoutText(const CalcPage& page);

// Check lists: a value holds, for each item, its text, "▲", the flag
// character ("1" checked, anything else not) and "▲".
struct CheckListEntry {
    std::string Text;
    bool Checked = false;
};
std::vector<CheckListEntry> ParseCheckListValue(std::string_view value);
// Sets text and check state of the existing items from a value; an entry
// beyond the items throws EConvertError after the entries before it are set.
void ApplyCheckListValue(std::vector<CheckListEntry>& items, std::string_view value);
