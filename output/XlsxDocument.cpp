#include "XlsxDocument.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <sstream>

#include "AutoError.h"
#include "AutoVariant.h"

namespace
{

constexpr const char* kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRelNs = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr const char* kSheetMainType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
constexpr const char* kTemplateMainType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml";
constexpr const char* kSharedStringsType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml";
constexpr const char* kSharedStringsRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings";
constexpr int kMaxRows = 1048576;
constexpr int kMaxCols = 16384;
constexpr int kMaxCellChars = 32767;
constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_ws_pcdata_single;

const char* LocalName(const char* name)
{
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

bool Is(const pugi::xml_node& n, const char* local)
{
    return std::strcmp(LocalName(n.name()), local) == 0;
}

pugi::xml_node Child(const pugi::xml_node& parent, const char* local)
{
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && Is(c, local)) return c;
    return {};
}

// The element name for a new child, with the prefix its parent uses.
std::string Qualified(const pugi::xml_node& parent, const char* local)
{
    const char* name = parent.name();
    const char* colon = std::strchr(name, ':');
    return colon ? std::string(name, static_cast<std::size_t>(colon - name + 1)) + local : std::string(local);
}

pugi::xml_attribute RelIdAttr(const pugi::xml_node& n)
{
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
        if (std::strchr(a.name(), ':') && std::strcmp(LocalName(a.name()), "id") == 0) return a;
    return {};
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string DirOf(const std::string& part)
{
    const auto slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// Target of a relationship, as a part name without the leading slash.
std::string ResolveTarget(const std::string& baseDir, const std::string& target)
{
    std::string path = !target.empty() && target[0] == '/' ? target.substr(1) : baseDir + target;
    std::vector<std::string> out;
    std::stringstream ss(path);
    std::string seg;
    while (std::getline(ss, seg, '/')) {
        if (seg.empty() || seg == ".") continue;
        if (seg == "..") {
            if (!out.empty()) out.pop_back();
        } else {
            out.push_back(seg);
        }
    }
    std::string joined;
    for (const auto& s : out)
        joined += (joined.empty() ? "" : "/") + s;
    return joined;
}

std::string RelsPartOf(const std::string& part)
{
    return DirOf(part) + "_rels/" + part.substr(DirOf(part).size()) + ".rels";
}

bool IsHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool IsEscapeAt(const std::string& s, std::size_t i)
{
    return i + 7 <= s.size() && s[i] == '_' && s[i + 1] == 'x' && IsHex(s[i + 2]) && IsHex(s[i + 3]) &&
           IsHex(s[i + 4]) && IsHex(s[i + 5]) && s[i + 6] == '_';
}

// Control characters cannot stand in XML 1.0; Office writes them as _xHHHH_
// and, so that the escape is unambiguous, an underscore that starts such a
// sequence as _x005F_.
std::string OfficeEscape(const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "_x%04X_", c);
            out += buf;
        } else if (IsEscapeAt(s, i)) {
            out += "_x005F_";
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string OfficeUnescape(const std::string& s)
{
    if (s.find("_x") == std::string::npos) return s;
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (IsEscapeAt(s, i)) {
            const char32_t cp = static_cast<char32_t>(std::stoul(s.substr(i + 2, 4), nullptr, 16));
            out += QString::fromUcs4(&cp, 1).toStdString();
            i += 6;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Plain decimal number as a spreadsheet takes it from typed text. Leading
// zeros ("007") keep the text a text, so that a device number stays as typed.
bool NumberFromText(const std::string& s, double& value)
{
    std::size_t i = 0;
    const std::size_t n = s.size();
    if (i < n && s[i] == '-') ++i;
    const std::size_t intStart = i;
    while (i < n && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i;
    const std::size_t intLen = i - intStart;
    if (intLen > 1 && s[intStart] == '0') return false;
    std::size_t fracLen = 0;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) {
            ++i;
            ++fracLen;
        }
    }
    if (intLen == 0 && fracLen == 0) return false;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        const std::size_t expStart = i;
        while (i < n && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i;
        if (i == expStart) return false;
    }
    if (i != n) return false;
    const auto res = std::from_chars(s.data(), s.data() + n, value);
    return res.ec == std::errc() && std::isfinite(value);
}

std::string NumberToXml(double v)
{
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

int Utf16Length(const std::string& s)
{
    return static_cast<int>(QString::fromStdString(s).size());
}

void SetAttr(pugi::xml_node n, const char* name, const std::string& value)
{
    pugi::xml_attribute a = n.attribute(name);
    if (!a) a = n.append_attribute(name);
    a.set_value(value.c_str());
}

pugi::xml_document& LoadXml(pugi::xml_document& doc, const XlsxPackage& pkg, const std::string& part)
{
    const std::string& data = pkg.Get(part);
    const pugi::xml_parse_result r =
        doc.load_buffer(data.data(), data.size(), kParseFlags, pugi::encoding_utf8);
    if (!r || !doc.document_element())
        throw EAutoError("工作簿的部件“" + part + "”已损坏（XML 错误：" + r.description() + "）。");
    return doc;
}

std::string TextOf(const pugi::xml_node& n)
{
    // Text of <t> children, directly or inside rich-text runs <r>.
    std::string out;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
        if (Is(c, "t"))
            out += c.text().get();
        else if (Is(c, "r"))
            if (pugi::xml_node t = Child(c, "t")) out += t.text().get();
    }
    return OfficeUnescape(out);
}

} // namespace

struct XlsxDocument::Sheet {
    std::string name;
    std::string part;
    pugi::xml_document doc;
    pugi::xml_node sheetData;
    std::map<int, pugi::xml_node> rows;
    std::map<std::pair<int, int>, pugi::xml_node> cells;
};

XlsxDocument::XlsxDocument() = default;
XlsxDocument::~XlsxDocument() = default;

std::string XlsxDocument::CellRef(int row, int col)
{
    std::string letters;
    for (int c = col; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row);
}

bool XlsxDocument::ParseCellRef(const std::string& ref, int& row, int& col)
{
    std::size_t i = 0;
    long c = 0, r = 0;
    while (i < ref.size() && std::isalpha(static_cast<unsigned char>(ref[i])) && c <= kMaxCols)
        c = c * 26 + (std::toupper(static_cast<unsigned char>(ref[i++])) - 'A' + 1);
    if (i == 0 || i == ref.size()) return false;
    while (i < ref.size() && std::isdigit(static_cast<unsigned char>(ref[i])) && r <= kMaxRows)
        r = r * 10 + (ref[i++] - '0');
    if (i != ref.size() || c < 1 || c > kMaxCols || r < 1 || r > kMaxRows) return false;
    row = static_cast<int>(r);
    col = static_cast<int>(c);
    return true;
}

void XlsxDocument::ResetParsed()
{
    sheets_.clear();
    sharedText_.clear();
    sharedLookup_.clear();
    sharedStringsPart_.clear();
    sharedStrings_.reset();
    styles_.clear();
}

void XlsxDocument::NewBlank()
{
    ResetParsed();
    package_.Clear();
    const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
    package_.Set(
        "[Content_Types].xml",
        decl +
            "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
            "<Default Extension=\"rels\" "
            "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
            "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
            "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" +
            std::string(kSheetMainType) +
            "\"/>"
            "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
            "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
            "<Override PartName=\"/xl/styles.xml\" "
            "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
            "</Types>");
    package_.Set("_rels/.rels", decl + "<Relationships xmlns=\"" + kRelNs +
                                    "\">"
                                    "<Relationship Id=\"rId1\" "
                                    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                                    "relationships/officeDocument\" Target=\"xl/workbook.xml\"/>"
                                    "</Relationships>");
    package_.Set("xl/workbook.xml",
                 decl + "<workbook xmlns=\"" + kMainNs +
                     "\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                     "<bookViews><workbookView activeTab=\"0\"/></bookViews>"
                     "<sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    package_.Set("xl/_rels/workbook.xml.rels",
                 decl + "<Relationships xmlns=\"" + kRelNs +
                     "\">"
                     "<Relationship Id=\"rId1\" "
                     "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
                     "Target=\"worksheets/sheet1.xml\"/>"
                     "<Relationship Id=\"rId2\" "
                     "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
                     "Target=\"styles.xml\"/>"
                     "</Relationships>");
    package_.Set("xl/worksheets/sheet1.xml",
                 decl + "<worksheet xmlns=\"" + kMainNs +
                     "\"><dimension ref=\"A1\"/>"
                     "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
                     "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData/>"
                     "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" "
                     "footer=\"0.3\"/>"
                     "</worksheet>");
    package_.Set(
        "xl/styles.xml",
        decl + "<styleSheet xmlns=\"" + kMainNs +
            "\">"
            "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family "
            "val=\"2\"/></font></fonts>"
            "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill "
            "patternType=\"gray125\"/></fill></fills>"
            "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
            "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
            "borderId=\"0\"/></cellStyleXfs>"
            "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" "
            "xfId=\"0\"/></cellXfs>"
            "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
            "</styleSheet>");
    LoadXml(contentTypes_, package_, "[Content_Types].xml");
    workbookPart_ = "xl/workbook.xml";
    isTemplate_ = false;
    ParseWorkbook();
}

void XlsxDocument::Load(const std::string& path)
{
    ResetParsed();
    package_.Load(path);
    if (!package_.Has("[Content_Types].xml") || !package_.Has("_rels/.rels"))
        throw EAutoError("文件“" + path + "”不是有效的 Excel 工作簿。");
    LoadXml(contentTypes_, package_, "[Content_Types].xml");
    pugi::xml_document rootRels;
    LoadXml(rootRels, package_, "_rels/.rels");
    workbookPart_.clear();
    for (pugi::xml_node r : rootRels.document_element().children())
        if (EndsWith(r.attribute("Type").value(), "/officeDocument"))
            workbookPart_ = ResolveTarget("", r.attribute("Target").value());
    if (workbookPart_.empty() || !package_.Has(workbookPart_))
        throw EAutoError("文件“" + path + "”不是有效的 Excel 工作簿。");
    isTemplate_ = false;
    for (pugi::xml_node o : contentTypes_.document_element().children())
        if (ResolveTarget("", o.attribute("PartName").value()) == workbookPart_)
            isTemplate_ = std::strstr(o.attribute("ContentType").value(), "template.main") != nullptr;
    ParseWorkbook();
}

void XlsxDocument::ParseWorkbook()
{
    LoadXml(workbook_, package_, workbookPart_);
    workbookRelsPart_ = RelsPartOf(workbookPart_);
    LoadXml(workbookRels_, package_, workbookRelsPart_);
    const std::string base = DirOf(workbookPart_);
    std::map<std::string, std::string> targets;
    for (pugi::xml_node r : workbookRels_.document_element().children()) {
        const std::string type = r.attribute("Type").value();
        const std::string target = ResolveTarget(base, r.attribute("Target").value());
        targets[r.attribute("Id").value()] = target;
        if (EndsWith(type, "/sharedStrings")) sharedStringsPart_ = target;
    }
    pugi::xml_node sheetsNode = Child(workbook_.document_element(), "sheets");
    for (pugi::xml_node sn = sheetsNode.first_child(); sn; sn = sn.next_sibling()) {
        if (!Is(sn, "sheet")) continue;
        auto s = std::make_unique<Sheet>();
        s->name = sn.attribute("name").value();
        s->part = targets[RelIdAttr(sn).value()];
        if (s->part.empty() || !package_.Has(s->part))
            throw EAutoError("工作簿中的工作表“" + s->name + "”缺失，文件已损坏。");
        LoadXml(s->doc, package_, s->part);
        IndexSheet(*s);
        sheets_.push_back(std::move(s));
    }
    if (sheets_.empty()) throw EAutoError("工作簿中没有工作表，文件已损坏。");
    activeSheet_ = 0;
    if (pugi::xml_node views = Child(workbook_.document_element(), "bookViews"))
        if (pugi::xml_node v = Child(views, "workbookView"))
            activeSheet_ = std::clamp(v.attribute("activeTab").as_int(0), 0, SheetCount() - 1);
    if (!sharedStringsPart_.empty() && package_.Has(sharedStringsPart_))
        ParseSharedStrings();
    else
        sharedStringsPart_.clear();
    ParseStyles();
}

void XlsxDocument::ParseSharedStrings()
{
    LoadXml(sharedStrings_, package_, sharedStringsPart_);
    for (pugi::xml_node si = sharedStrings_.document_element().first_child(); si; si = si.next_sibling()) {
        if (!Is(si, "si")) continue;
        const std::string text = TextOf(si);
        const bool plain = Child(si, "t") && !Child(si, "r");
        if (plain && !sharedLookup_.count(text)) sharedLookup_[text] = static_cast<int>(sharedText_.size());
        sharedText_.push_back(text);
    }
}

void XlsxDocument::ParseStyles()
{
    std::string stylesPart;
    for (pugi::xml_node r : workbookRels_.document_element().children())
        if (EndsWith(r.attribute("Type").value(), "/styles"))
            stylesPart = ResolveTarget(DirOf(workbookPart_), r.attribute("Target").value());
    if (stylesPart.empty() || !package_.Has(stylesPart)) return;
    pugi::xml_document doc;
    LoadXml(doc, package_, stylesPart);
    const pugi::xml_node root = doc.document_element();
    std::vector<XlsxCellStyle> fonts, borders;
    for (pugi::xml_node f : Child(root, "fonts").children()) {
        XlsxCellStyle st;
        st.bold = Child(f, "b") && Child(f, "b").attribute("val").as_bool(true);
        st.italic = Child(f, "i") && Child(f, "i").attribute("val").as_bool(true);
        if (pugi::xml_node sz = Child(f, "sz"))
            st.fontPoints = std::clamp(sz.attribute("val").as_double(11), 1.0, 409.0);
        fonts.push_back(st);
    }
    for (pugi::xml_node b : Child(root, "borders").children()) {
        XlsxCellStyle st;
        auto side = [&](const char* name) {
            pugi::xml_node e = Child(b, name);
            const std::string style = e ? e.attribute("style").value() : "";
            return !style.empty() && style != "none";
        };
        st.borderLeft = side("left");
        st.borderRight = side("right");
        st.borderTop = side("top");
        st.borderBottom = side("bottom");
        borders.push_back(st);
    }
    for (pugi::xml_node xf : Child(root, "cellXfs").children()) {
        XlsxCellStyle st;
        st.textFormat = xf.attribute("numFmtId").as_uint(0) == 49;
        const auto fontId = xf.attribute("fontId").as_uint(0);
        if (fontId < fonts.size()) {
            st.bold = fonts[fontId].bold;
            st.italic = fonts[fontId].italic;
            st.fontPoints = fonts[fontId].fontPoints;
        }
        const auto borderId = xf.attribute("borderId").as_uint(0);
        if (borderId < borders.size()) {
            st.borderLeft = borders[borderId].borderLeft;
            st.borderRight = borders[borderId].borderRight;
            st.borderTop = borders[borderId].borderTop;
            st.borderBottom = borders[borderId].borderBottom;
        }
        if (pugi::xml_node al = Child(xf, "alignment")) {
            const std::string h = al.attribute("horizontal").value();
            st.align = h == "center" || h == "centerContinuous" ? XlsxCellStyle::Align::Center
                       : h == "right"                           ? XlsxCellStyle::Align::Right
                       : h == "left"                            ? XlsxCellStyle::Align::Left
                                                                : XlsxCellStyle::Align::General;
            st.wrap = al.attribute("wrapText").as_bool(false);
        }
        styles_.push_back(st);
    }
    if (pugi::xml_node sheetFmt = Child(sheets_.front()->doc.document_element(), "sheetFormatPr"))
        defaultColWidth_ = sheetFmt.attribute("defaultColWidth")
                               .as_double(sheetFmt.attribute("baseColWidth").as_double(8) + 0.43);
}

void XlsxDocument::IndexSheet(Sheet& s)
{
    s.rows.clear();
    s.cells.clear();
    s.sheetData = Child(s.doc.document_element(), "sheetData");
    if (!s.sheetData) return; // a chart sheet: no cells
    int rowNo = 0;
    for (pugi::xml_node row = s.sheetData.first_child(); row; row = row.next_sibling()) {
        if (!Is(row, "row")) continue;
        // Rows and cells may leave out their reference (then they follow the
        // previous one); write it out so that insertions stay in order.
        const int r = row.attribute("r").as_int(rowNo + 1);
        if (r <= rowNo || r > kMaxRows) throw EAutoError("工作表“" + s.name + "”的行编号无效，文件已损坏。");
        rowNo = r;
        SetAttr(row, "r", std::to_string(r));
        s.rows[r] = row;
        int colNo = 0;
        for (pugi::xml_node c = row.first_child(); c; c = c.next_sibling()) {
            if (!Is(c, "c")) continue;
            int cr = r, cc = colNo + 1;
            if (c.attribute("r") && !ParseCellRef(c.attribute("r").value(), cr, cc))
                throw EAutoError("工作表“" + s.name + "”的单元格引用无效，文件已损坏。");
            if (cr != r || cc <= colNo)
                throw EAutoError("工作表“" + s.name + "”的单元格顺序无效，文件已损坏。");
            colNo = cc;
            SetAttr(c, "r", CellRef(r, cc));
            s.cells[{r, cc}] = c;
        }
    }
}

XlsxDocument::Sheet& XlsxDocument::SheetAt(int sheet) const
{
    if (sheet < 0 || sheet >= SheetCount())
        throw EAutoError("下标越界：工作簿没有第 " + std::to_string(sheet + 1) + " 个工作表。");
    return *sheets_[static_cast<std::size_t>(sheet)];
}

std::string XlsxDocument::SheetName(int sheet) const
{
    return SheetAt(sheet).name;
}

void XlsxDocument::RenameSheet(int sheet, const std::string& name)
{
    Sheet& s = SheetAt(sheet);
    const QString q = QString::fromStdString(name);
    const bool badChar = q.contains(QRegularExpression(QStringLiteral("[:\\\\/?*\\[\\]]")));
    bool duplicate = false;
    for (int i = 0; i < SheetCount(); ++i)
        if (i != sheet && QString::fromStdString(sheets_[static_cast<std::size_t>(i)]->name)
                                  .compare(q, Qt::CaseInsensitive) == 0)
            duplicate = true;
    if (q.isEmpty() || q.size() > 31 || badChar || q.startsWith('\'') || q.endsWith('\'') || duplicate)
        throw EAutoError("工作表名称“" + name +
                         "”无效：名称不能为空、不能超过 31 个字符、不能含有 : \\ / ? * [ ]、"
                         "不能以单引号开始或结束，也不能与其他工作表同名。");
    if (name == s.name) return;
    // Defined names (print areas, titles) refer to the sheet by name.
    auto quote = [](const std::string& n) {
        std::string out = "'";
        for (char c : n)
            out += c == '\'' ? std::string("''") : std::string(1, c);
        return out + "'!";
    };
    const std::string oldQuoted = quote(s.name), oldPlain = s.name + "!", newRef = quote(name);
    if (pugi::xml_node dn = Child(workbook_.document_element(), "definedNames")) {
        for (pugi::xml_node d : dn.children()) {
            const std::string f = d.text().get();
            std::string out;
            for (std::size_t i = 0; i < f.size();) {
                const bool boundary = i == 0 || std::strchr(",(=+-*/ ", f[i - 1]) != nullptr;
                if (boundary && f.compare(i, oldQuoted.size(), oldQuoted) == 0) {
                    out += newRef;
                    i += oldQuoted.size();
                } else if (boundary && f.compare(i, oldPlain.size(), oldPlain) == 0) {
                    out += newRef;
                    i += oldPlain.size();
                } else {
                    out += f[i++];
                }
            }
            d.text().set(out.c_str());
        }
    }
    pugi::xml_node sheetsNode = Child(workbook_.document_element(), "sheets");
    int i = 0;
    for (pugi::xml_node sn = sheetsNode.first_child(); sn; sn = sn.next_sibling())
        if (Is(sn, "sheet") && i++ == sheet) SetAttr(sn, "name", name);
    s.name = name;
}

void XlsxDocument::SetActiveSheet(int sheet)
{
    SheetAt(sheet);
    activeSheet_ = sheet;
    pugi::xml_node root = workbook_.document_element();
    pugi::xml_node views = Child(root, "bookViews");
    if (!views) {
        pugi::xml_node sheetsNode = Child(root, "sheets");
        views = root.insert_child_before(Qualified(root, "bookViews").c_str(), sheetsNode);
    }
    pugi::xml_node view = Child(views, "workbookView");
    if (!view) view = views.append_child(Qualified(views, "workbookView").c_str());
    SetAttr(view, "activeTab", std::to_string(sheet));
    if (view.attribute("firstSheet").as_int(0) > sheet) SetAttr(view, "firstSheet", std::to_string(sheet));
    for (int i = 0; i < SheetCount(); ++i) {
        pugi::xml_node sv = Child(
            Child(sheets_[static_cast<std::size_t>(i)]->doc.document_element(), "sheetViews"), "sheetView");
        if (!sv) continue;
        if (i == sheet)
            SetAttr(sv, "tabSelected", "1");
        else
            sv.remove_attribute("tabSelected");
    }
}

pugi::xml_node XlsxDocument::FindOrAddCell(Sheet& s, int row, int col)
{
    if (auto it = s.cells.find({row, col}); it != s.cells.end()) return it->second;
    pugi::xml_node rowNode;
    if (auto it = s.rows.find(row); it != s.rows.end()) {
        rowNode = it->second;
    } else {
        auto next = s.rows.upper_bound(row);
        const std::string name = Qualified(s.sheetData, "row");
        rowNode = next != s.rows.end() ? s.sheetData.insert_child_before(name.c_str(), next->second)
                                       : s.sheetData.append_child(name.c_str());
        SetAttr(rowNode, "r", std::to_string(row));
        s.rows[row] = rowNode;
    }
    // The row's span hint would no longer be right.
    rowNode.remove_attribute("spans");
    auto next = s.cells.upper_bound({row, col});
    const std::string name = Qualified(s.sheetData, "c");
    pugi::xml_node cell = next != s.cells.end() && next->first.first == row
                              ? rowNode.insert_child_before(name.c_str(), next->second)
                              : rowNode.append_child(name.c_str());
    SetAttr(cell, "r", CellRef(row, col));
    // A new cell takes the row's format, else its column's, as typing does.
    std::string style;
    if (rowNode.attribute("customFormat").as_bool(false))
        style = rowNode.attribute("s").value();
    else if (pugi::xml_node cols = Child(s.doc.document_element(), "cols"))
        for (pugi::xml_node c : cols.children())
            if (col >= c.attribute("min").as_int() && col <= c.attribute("max").as_int() &&
                c.attribute("style"))
                style = c.attribute("style").value();
    if (!style.empty() && style != "0") SetAttr(cell, "s", style);
    s.cells[{row, col}] = cell;
    return cell;
}

void XlsxDocument::EnsureSharedStringsPart()
{
    if (!sharedStringsPart_.empty()) return;
    sharedStringsPart_ = DirOf(workbookPart_) + "sharedStrings.xml";
    sharedStrings_.reset();
    pugi::xml_node sst = sharedStrings_.append_child("sst");
    sst.append_attribute("xmlns") = kMainNs;
    // Content type and relationship, with an Id not yet used.
    pugi::xml_node types = contentTypes_.document_element();
    pugi::xml_node o = types.append_child("Override");
    o.append_attribute("PartName") = ("/" + sharedStringsPart_).c_str();
    o.append_attribute("ContentType") = kSharedStringsType;
    pugi::xml_node rels = workbookRels_.document_element();
    int n = 1;
    auto used = [&](const std::string& id) {
        for (pugi::xml_node r : rels.children())
            if (id == r.attribute("Id").value()) return true;
        return false;
    };
    while (used("rId" + std::to_string(n)))
        ++n;
    pugi::xml_node r = rels.append_child(Qualified(rels, "Relationship").c_str());
    r.append_attribute("Id") = ("rId" + std::to_string(n)).c_str();
    r.append_attribute("Type") = kSharedStringsRel;
    r.append_attribute("Target") = "sharedStrings.xml";
}

int XlsxDocument::SharedStringIndex(const std::string& text)
{
    if (auto it = sharedLookup_.find(text); it != sharedLookup_.end()) return it->second;
    EnsureSharedStringsPart();
    pugi::xml_node sst = sharedStrings_.document_element();
    pugi::xml_node si = sst.append_child(Qualified(sst, "si").c_str());
    pugi::xml_node t = si.append_child(Qualified(sst, "t").c_str());
    t.append_attribute("xml:space") = "preserve";
    t.text().set(OfficeEscape(text).c_str());
    const int index = static_cast<int>(sharedText_.size());
    sharedText_.push_back(text);
    sharedLookup_[text] = index;
    return index;
}

void XlsxDocument::SetCell(int sheet, int row, int col, const std::string& text)
{
    Sheet& s = SheetAt(sheet);
    if (!s.sheetData) throw EAutoError("“" + s.name + "”不是工作表，不能写入单元格。");
    if (row < 1 || row > kMaxRows || col < 1 || col > kMaxCols)
        throw EAutoError("单元格位置无效：第 " + std::to_string(row) + " 行，第 " + std::to_string(col) +
                         " 列。");
    if (Utf16Length(text) > kMaxCellChars)
        throw EAutoError("单元格 " + CellRef(row, col) + " 的文本超过 32767 个字符。");
    if (QString::fromStdString(text).toStdString() != text)
        throw EAutoError("单元格 " + CellRef(row, col) + " 的文本不是有效的 UTF-8 编码。");
    pugi::xml_node cell = FindOrAddCell(s, row, col);
    for (const char* child : {"f", "v", "is"})
        while (pugi::xml_node c = Child(cell, child))
            cell.remove_child(c);
    cell.remove_attribute("t");
    if (text.empty()) return;
    double number;
    const unsigned style = cell.attribute("s").as_uint(0);
    const bool textFormat = style < styles_.size() && styles_[style].textFormat;
    if (!textFormat && NumberFromText(text, number)) {
        cell.append_child(Qualified(s.sheetData, "v").c_str()).text().set(NumberToXml(number).c_str());
    } else {
        const int index = SharedStringIndex(text);
        // The attribute order c r, s, t is the schema's; keep t last.
        cell.append_attribute("t") = "s";
        cell.append_child(Qualified(s.sheetData, "v").c_str()).text().set(std::to_string(index).c_str());
    }
}

std::string XlsxDocument::CellText(int sheet, int row, int col) const
{
    const Sheet& s = SheetAt(sheet);
    auto it = s.cells.find({row, col});
    if (it == s.cells.end()) return {};
    const pugi::xml_node c = it->second;
    const std::string type = c.attribute("t").value();
    const std::string v = Child(c, "v").text().get();
    if (type == "s") {
        const int index = Child(c, "v").text().as_int(-1);
        return index >= 0 && index < static_cast<int>(sharedText_.size())
                   ? sharedText_[static_cast<std::size_t>(index)]
                   : std::string();
    }
    if (type == "inlineStr") return TextOf(Child(c, "is"));
    if (type == "str" || type == "e") return OfficeUnescape(v);
    if (type == "b") return v == "1" ? "TRUE" : "FALSE";
    if (v.empty()) return {};
    double d;
    const auto res = std::from_chars(v.data(), v.data() + v.size(), d);
    if (res.ec != std::errc() || res.ptr != v.data() + v.size() || !std::isfinite(d)) return v;
    return AutoFloatToStr(d);
}

bool XlsxDocument::CellIsNumber(int sheet, int row, int col) const
{
    const Sheet& s = SheetAt(sheet);
    auto it = s.cells.find({row, col});
    if (it == s.cells.end()) return false;
    const std::string type = it->second.attribute("t").value();
    return (type.empty() || type == "n") && Child(it->second, "v");
}

std::vector<XlsxRange> XlsxDocument::MergedRanges(int sheet) const
{
    std::vector<XlsxRange> out;
    pugi::xml_node merges = Child(SheetAt(sheet).doc.document_element(), "mergeCells");
    for (pugi::xml_node m : merges.children()) {
        const std::string ref = m.attribute("ref").value();
        const auto colon = ref.find(':');
        XlsxRange r;
        if (colon != std::string::npos && ParseCellRef(ref.substr(0, colon), r.firstRow, r.firstCol) &&
            ParseCellRef(ref.substr(colon + 1), r.lastRow, r.lastCol) && r.lastRow >= r.firstRow &&
            r.lastCol >= r.firstCol)
            out.push_back(r);
    }
    return out;
}

XlsxRange XlsxDocument::UsedRange(int sheet) const
{
    const Sheet& s = SheetAt(sheet);
    XlsxRange r;
    auto widen = [&r](int row, int col) {
        if (r.Empty()) {
            r = {row, col, row, col};
            return;
        }
        r.firstRow = std::min(r.firstRow, row);
        r.lastRow = std::max(r.lastRow, row);
        r.firstCol = std::min(r.firstCol, col);
        r.lastCol = std::max(r.lastCol, col);
    };
    for (const auto& [pos, node] : s.cells)
        widen(pos.first, pos.second);
    for (const XlsxRange& m : MergedRanges(sheet)) {
        widen(m.firstRow, m.firstCol);
        widen(m.lastRow, m.lastCol);
    }
    return r;
}

double XlsxDocument::ColumnWidth(int sheet, int col) const
{
    pugi::xml_node cols = Child(SheetAt(sheet).doc.document_element(), "cols");
    for (pugi::xml_node c : cols.children())
        if (col >= c.attribute("min").as_int() && col <= c.attribute("max").as_int()) {
            if (c.attribute("hidden").as_bool(false)) return 0;
            return std::clamp(c.attribute("width").as_double(defaultColWidth_), 0.0, 255.0);
        }
    return defaultColWidth_;
}

double XlsxDocument::RowHeight(int sheet, int row) const
{
    const Sheet& s = SheetAt(sheet);
    double def = 15;
    if (pugi::xml_node fmt = Child(s.doc.document_element(), "sheetFormatPr"))
        def = fmt.attribute("defaultRowHeight").as_double(15);
    auto it = s.rows.find(row);
    if (it == s.rows.end()) return def;
    if (it->second.attribute("hidden").as_bool(false)) return 0;
    return std::clamp(it->second.attribute("ht").as_double(def), 0.0, 409.0);
}

XlsxCellStyle XlsxDocument::CellStyle(int sheet, int row, int col) const
{
    const Sheet& s = SheetAt(sheet);
    auto it = s.cells.find({row, col});
    const unsigned index = it == s.cells.end() ? 0 : it->second.attribute("s").as_uint(0);
    return index < styles_.size() ? styles_[index] : XlsxCellStyle{};
}

void XlsxDocument::WriteXml(const std::string& part, const pugi::xml_document& doc)
{
    std::ostringstream os;
    os << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
    doc.save(os, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    package_.Set(part, os.str());
}

void XlsxDocument::SaveAs(const std::string& path)
{
    const std::string ext = QFileInfo(QString::fromStdString(path)).suffix().toLower().toStdString();
    if (ext == "xls" || ext == "xlt")
        throw EAutoError("无法保存“" + path +
                         "”：此电子表格组件只能保存 Excel 2007 及以后的格式（.xlsx、.xltx）。");
    const bool asTemplate = ext == "xltx";

    pugi::xml_node types = contentTypes_.document_element();
    for (pugi::xml_node o : types.children())
        if (ResolveTarget("", o.attribute("PartName").value()) == workbookPart_)
            SetAttr(o, "ContentType", asTemplate ? kTemplateMainType : kSheetMainType);

    // The calculation chain lists formula cells; after cells were written it
    // may name cells without formulas, which makes spreadsheet programs
    // repair the file. Drop it and let them recalculate.
    pugi::xml_node rels = workbookRels_.document_element();
    for (pugi::xml_node r = rels.first_child(); r;) {
        pugi::xml_node next = r.next_sibling();
        if (EndsWith(r.attribute("Type").value(), "/calcChain")) {
            const std::string part = ResolveTarget(DirOf(workbookPart_), r.attribute("Target").value());
            package_.Remove(part);
            for (pugi::xml_node o = types.first_child(); o;) {
                pugi::xml_node on = o.next_sibling();
                if (ResolveTarget("", o.attribute("PartName").value()) == part) types.remove_child(o);
                o = on;
            }
            rels.remove_child(r);
            pugi::xml_node root = workbook_.document_element();
            pugi::xml_node calc = Child(root, "calcPr");
            if (!calc) {
                // calcPr belongs after definedNames (or sheets) in the schema.
                pugi::xml_node after = Child(root, "definedNames");
                if (!after) after = Child(root, "sheets");
                calc = root.insert_child_after(Qualified(root, "calcPr").c_str(), after);
            }
            SetAttr(calc, "fullCalcOnLoad", "1");
        }
        r = next;
    }

    long stringRefs = 0;
    for (auto& s : sheets_) {
        for (const auto& [pos, c] : s->cells)
            if (std::strcmp(c.attribute("t").value(), "s") == 0) ++stringRefs;
        if (pugi::xml_node dim = Child(s->doc.document_element(), "dimension")) {
            const XlsxRange used = UsedRange(static_cast<int>(&s - &sheets_.front()));
            SetAttr(dim, "ref",
                    used.Empty()
                        ? "A1"
                        : CellRef(used.firstRow, used.firstCol) + ":" + CellRef(used.lastRow, used.lastCol));
        }
        WriteXml(s->part, s->doc);
    }
    if (!sharedStringsPart_.empty()) {
        pugi::xml_node sst = sharedStrings_.document_element();
        SetAttr(sst, "count", std::to_string(stringRefs));
        SetAttr(sst, "uniqueCount", std::to_string(sharedText_.size()));
        WriteXml(sharedStringsPart_, sharedStrings_);
    }
    WriteXml(workbookPart_, workbook_);
    WriteXml(workbookRelsPart_, workbookRels_);
    WriteXml("[Content_Types].xml", contentTypes_);
    package_.Save(path);
    isTemplate_ = asTemplate;
}
