#include "UserPackings.h"

#include "CsvText.h"
#include "Messages.h"
#include "NumberText.h"
#include "Utf8Text.h"

namespace
{

// The physical range of a numeric column (docs/user-packings.md): low and
// high as bounds, each open or closed.
struct Range {
    int column;
    double low, high;
    bool lowOpen, highOpen;
    bool optional; // an empty number before a note ("*-") means "not given"
    const char* what;
};
const Range kRanges[] = {
    {ColArea, 10, 2000, false, false, false, "the specific area a (m2/m3)"},
    {ColVoid, 0, 1, true, true, false, "the void fraction"},
    {ColCf, 0, 10, true, false, false, "the coefficient Cf"},
    {ColCrest, 0, 500, true, false, false, "the crest height h (mm)"},
    {ColBase, 0, 500, true, false, false, "the corrugation base 2B (mm)"},
    {ColSide, 0, 500, true, false, false, "the corrugation side S (mm)"},
    {ColAngle, 0, 90, true, true, false, "the inclination (degrees)"},
    {ColHydraulicDiameter, 0, 500, true, false, false, "the hydraulic diameter dh (mm)"},
    {ColCf1, 0, 10, true, false, false, "the structure parameter Cf1"},
    {ColF, 0, 500, true, false, true, "the packing factor F"},
};

bool HasControl(const std::string& s)
{
    for (const char c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    return false;
}

std::string RangeText(const Range& r)
{
    return std::string(r.lowOpen ? "above " : "at least ") + ExactNumber(r.low) +
           (r.highOpen ? " and below " : " and at most ") + ExactNumber(r.high);
}

void CheckName(const CatalogueRow& row, const std::vector<CatalogueRow>& others, int line,
               std::vector<UserCatalogueError>& errors)
{
    const std::string& name = row[ColType];
    auto fail = [&](const std::string& what) { errors.push_back({line, ColType + 1, what}); };
    if (Trim(name).empty()) return fail("the packing has no name");
    if (name.size() > kMaxUserPackingName)
        return fail("a name longer than " + std::to_string(kMaxUserPackingName) + " bytes");
    if (HasControl(name) || Trim(name) != name)
        return fail("a control character or blank at an end of the name");
    // Case aside: "mellapak-250x" beside "Mellapak-250X" would be told apart only by the eye.
    const std::string key = AsciiLower(name);
    const auto& all = PackingCatalogue();
    for (std::size_t i = 0; i < kBuiltInPackings; ++i)
        if (AsciiLower(all[i][ColType]) == key)
            return fail("\"" + name + "\" is the name of a built-in packing");
    for (const CatalogueRow& other : others)
        if (AsciiLower(other[ColType]) == key) return fail("\"" + name + "\" is given twice");
}

} // namespace

std::vector<UserCatalogueError> CheckUserPacking(const CatalogueRow& row,
                                                 const std::vector<CatalogueRow>& others, int line)
{
    std::vector<UserCatalogueError> errors;
    for (const std::string& cell : row)
        if (const auto bad = FirstInvalidUtf8(cell)) {
            errors.push_back(
                {line, static_cast<int>(&cell - row.data()) + 1, "a byte that is not UTF-8 text"});
            return errors;
        }
    CheckName(row, others, line, errors);
    for (const Range& r : kRanges) {
        const std::string& cell = row[r.column];
        const bool prefixed = r.column == ColCf || r.column == ColCf1 || r.column == ColF;
        const std::string number = prefixed ? NumericPrefix(cell) : Trim(cell);
        auto fail = [&](const std::string& what) { errors.push_back({line, r.column + 1, what}); };
        if (number.empty()) {
            if (!r.optional) fail(std::string(r.what) + " is empty");
            continue;
        }
        double v = 0;
        if (!ParseNumber(number, v)) {
            fail(std::string(r.what) + ": \"" + cell + "\" is not a number");
            continue;
        }
        const bool low = r.lowOpen ? v > r.low : v >= r.low;
        const bool high = r.highOpen ? v < r.high : v <= r.high;
        if (!low || !high) fail(std::string(r.what) + ": " + number + " is not " + RangeText(r));
    }
    const std::string& remark = row[ColRemark];
    if (remark.size() > kMaxUserPackingRemark)
        errors.push_back({line, ColRemark + 1,
                          "a remark longer than " + std::to_string(kMaxUserPackingRemark) + " bytes"});
    else if (HasControl(remark))
        errors.push_back({line, ColRemark + 1, "a control character in the remark"});
    return errors;
}

namespace
{

// The column (from 1) of a byte offset in a line: the commas before it plus one.
int ColumnAt(const std::string& line, std::size_t offset)
{
    int column = 1;
    for (std::size_t i = 0; i < offset && i < line.size(); ++i)
        if (line[i] == ',') ++column;
    return column;
}

// SplitCsvFields with its fault as this file's: the text after "LINE: ".
bool SplitLine(const std::string& line, int lineNo, std::vector<std::string>& fields,
               std::vector<UserCatalogueError>& errors)
{
    try {
        fields = SplitCsvFields(line, {}, lineNo, kCatalogueColumns + 1);
        return true;
    } catch (const EConvertError& e) {
        std::string what = e.what();
        if (const auto p = what.find(": "); p != std::string::npos) what.erase(0, p + 2);
        errors.push_back({lineNo, 0, what});
        return false;
    }
}

void CheckHeadings(const std::vector<std::string>& fields, int lineNo,
                   std::vector<UserCatalogueError>& errors)
{
    const char* const* headings = CatalogueHeadings();
    for (int c = 0; c < kCatalogueColumns; ++c) {
        const std::string got = c < static_cast<int>(fields.size()) ? fields[c] : std::string();
        if (got != headings[c])
            errors.push_back({lineNo, c + 1, "the heading \"" + got + "\" is not \"" + headings[c] + "\""});
    }
    if (fields.size() > kCatalogueColumns)
        errors.push_back({lineNo, kCatalogueColumns + 1, "more headings than the table's 13"});
}

// A line's fields as a row: 12 fields (no remark) or 13.
bool RowOf(const std::vector<std::string>& fields, int lineNo, CatalogueRow& row,
           std::vector<UserCatalogueError>& errors)
{
    if (fields.size() < kCatalogueColumns - 1) {
        errors.push_back(
            {lineNo, static_cast<int>(fields.size()) + 1,
             "the row ends after " + std::to_string(fields.size()) + " of the table's 13 columns"});
        return false;
    }
    if (fields.size() > kCatalogueColumns) {
        errors.push_back({lineNo, kCatalogueColumns + 1, "more columns than the table's 13"});
        return false;
    }
    row = {};
    for (std::size_t c = 0; c < fields.size(); ++c)
        row[c] = fields[c];
    return true;
}

} // namespace

UserCatalogue ParseUserCatalogue(std::string_view text)
{
    UserCatalogue c;
    auto& errors = c.errors;
    if (text.size() > kMaxUserCatalogueBytes) {
        errors.push_back({0, 0, "larger than 1024 KB"});
        return c;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    bool header = false;
    int lineNo = 0;
    for (std::size_t start = 0; start < text.size() && errors.size() < kMaxUserCatalogueErrors;) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(start, end - start));
        start = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > kMaxUserCatalogueLine) {
            errors.push_back(
                {lineNo, 0, "a line longer than " + std::to_string(kMaxUserCatalogueLine) + " bytes"});
            continue;
        }
        if (const auto nul = line.find('\0'); nul != std::string::npos) {
            errors.push_back({lineNo, ColumnAt(line, nul), "a NUL byte"});
            continue;
        }
        if (Trim(line).empty()) continue;
        if (const auto bad = FirstInvalidUtf8(line)) {
            errors.push_back({lineNo, ColumnAt(line, *bad), "a byte that is not UTF-8 text"});
            continue;
        }
        std::vector<std::string> fields;
        if (!SplitLine(line, lineNo, fields, errors)) continue;
        if (!header) {
            header = true;
            CheckHeadings(fields, lineNo, errors);
            continue;
        }
        if (c.rows.size() >= kMaxUserPackings) {
            errors.push_back({lineNo, 0, "more than " + std::to_string(kMaxUserPackings) + " packings"});
            break;
        }
        CatalogueRow row;
        if (!RowOf(fields, lineNo, row, errors)) continue;
        for (UserCatalogueError& e : CheckUserPacking(row, c.rows, lineNo))
            errors.push_back(std::move(e));
        c.rows.push_back(std::move(row)); // kept for the names the later rows are checked against
    }
    if (!header && errors.empty()) errors.push_back({0, 0, "no heading line (the grid's 13 headings)"});
    // One line may bring many faults: the list stops at its bound all the same.
    if (errors.size() > kMaxUserCatalogueErrors) errors.resize(kMaxUserCatalogueErrors);
    if (!errors.empty()) c.rows.clear();
    return c;
}

std::string UserCatalogueErrorsText(const std::vector<UserCatalogueError>& errors, const std::string& source)
{
    std::string out;
    for (const UserCatalogueError& e : errors) {
        out += source;
        if (e.line > 0) out += ":" + std::to_string(e.line);
        if (e.line > 0 && e.column > 0) out += ":" + std::to_string(e.column);
        out += ": " + e.what + "\n";
    }
    if (errors.size() >= kMaxUserCatalogueErrors)
        out += source + ": (the faults after these are not listed)\n";
    return out;
}

namespace
{
std::string CsvCell(const std::string& cell)
{
    // Quoted when a comma, a quote or blanks at an end would not read back.
    if (cell.find_first_of(",\"") == std::string::npos && Trim(cell) == cell) return cell;
    std::string q = "\"";
    for (const char ch : cell) {
        if (ch == '"') q += '"';
        q += ch;
    }
    return q + "\"";
}
} // namespace

std::string UserPackingLine(const CatalogueRow& row)
{
    std::string line;
    for (int c = 0; c < kCatalogueColumns; ++c)
        line += (c ? "," : "") + CsvCell(row[c]);
    return line;
}

bool UserPackingFromLine(const std::string& line, CatalogueRow& row)
{
    std::vector<std::string> fields;
    std::vector<UserCatalogueError> errors;
    if (!SplitLine(line, 1, fields, errors)) return false;
    CatalogueRow r;
    if (!RowOf(fields, 1, r, errors)) return false;
    row = std::move(r);
    return true;
}

std::string UserCatalogueText(const std::vector<CatalogueRow>& rows)
{
    CatalogueRow headings;
    for (int c = 0; c < kCatalogueColumns; ++c)
        headings[c] = CatalogueHeadings()[c];
    std::string text = UserPackingLine(headings) + "\n";
    for (const CatalogueRow& row : rows)
        text += UserPackingLine(row) + "\n";
    return text;
}
