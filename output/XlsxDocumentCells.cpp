// Sheets and cells of an XlsxDocument: names, the active sheet, cell values
// with the shared-string table, ranges and the formats printing needs.

#include "XlsxDocument.h"

#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "AutoError.h"
#include "AutoVariant.h"
#include "SheetMessage.h"
#include "XlsxDocumentSheet.h"
#include "XlsxXml.h"

using namespace xlsx_xml;

std::string XlsxDocument::SheetName(int sheet) const
{
    return SheetAt(sheet).name;
}

void XlsxDocument::CheckSheetName(int sheet, const std::string& name) const
{
    const QString q = QString::fromStdString(name);
    const bool badChar = q.contains(QRegularExpression(QStringLiteral("[:\\\\/?*\\[\\]]")));
    bool duplicate = false;
    for (int i = 0; i < SheetCount(); ++i)
        if (i != sheet && QString::fromStdString(sheets_[static_cast<std::size_t>(i)]->name)
                                  .compare(q, Qt::CaseInsensitive) == 0)
            duplicate = true;
    if (q.isEmpty() || q.size() > 31 || badChar || q.startsWith('\'') || q.endsWith('\'') || duplicate)
        throw EAutoError(SheetMessage(
            QT_TRANSLATE_NOOP("Velk", "工作表名称“%1”无效：名称不能为空、不能超过 31 个字符、不能含有 : \\ / "
                                      "? * [ ]、不能以单引号开始或结束，也不能与其他工作表同名。"),
            {name}));
}

void XlsxDocument::RenameSheet(int sheet, const std::string& name)
{
    Sheet& s = SheetAt(sheet);
    CheckSheetName(sheet, name);
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
    if (!s.sheetData)
        throw EAutoError(
            SheetMessage(QT_TRANSLATE_NOOP("Velk", "“%1”不是工作表，不能写入单元格。"), {s.name}));
    if (row < 1 || row > kMaxRows || col < 1 || col > kMaxCols)
        throw EAutoError(SheetMessage(QT_TRANSLATE_NOOP("Velk", "单元格位置无效：第 %1 行，第 %2 列。"),
                                      {std::to_string(row), std::to_string(col)}));
    if (Utf16Length(text) > kMaxCellChars)
        throw EAutoError(SheetMessage(QT_TRANSLATE_NOOP("Velk", "单元格 %1 的文本超过 32767 个字符。"),
                                      {CellRef(row, col)}));
    if (QString::fromStdString(text).toStdString() != text)
        throw EAutoError(SheetMessage(QT_TRANSLATE_NOOP("Velk", "单元格 %1 的文本不是有效的 UTF-8 编码。"),
                                      {CellRef(row, col)}));
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

bool XlsxDocument::FitsToOnePage(int sheet) const
{
    const pugi::xml_node root = SheetAt(sheet).doc.document_element();
    const pugi::xml_node pr = Child(Child(root, "sheetPr"), "pageSetUpPr");
    const pugi::xml_node setup = Child(root, "pageSetup");
    return pr.attribute("fitToPage").as_bool(false) && setup.attribute("fitToWidth").as_int(1) == 1 &&
           setup.attribute("fitToHeight").as_int(1) == 1;
}

XlsxCellStyle XlsxDocument::CellStyle(int sheet, int row, int col) const
{
    const Sheet& s = SheetAt(sheet);
    auto it = s.cells.find({row, col});
    const unsigned index = it == s.cells.end() ? 0 : it->second.attribute("s").as_uint(0);
    return index < styles_.size() ? styles_[index] : XlsxCellStyle{};
}
