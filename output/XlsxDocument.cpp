#include "XlsxDocument.h"

#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "AutoError.h"
#include "SheetMessage.h"
#include "XlsxDocumentSheet.h"
#include "XlsxXml.h"

using namespace xlsx_xml;

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
    struckStyles_.clear();
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
        throw EAutoError(
            SheetMessage(QT_TRANSLATE_NOOP("Velk", "文件“%1”不是有效的 Excel 工作簿。"), {path}));
    LoadXml(contentTypes_, package_, "[Content_Types].xml");
    pugi::xml_document rootRels;
    LoadXml(rootRels, package_, "_rels/.rels");
    workbookPart_.clear();
    for (pugi::xml_node r : rootRels.document_element().children())
        if (EndsWith(r.attribute("Type").value(), "/officeDocument"))
            workbookPart_ = ResolveTarget("", r.attribute("Target").value());
    if (workbookPart_.empty() || !package_.Has(workbookPart_))
        throw EAutoError(
            SheetMessage(QT_TRANSLATE_NOOP("Velk", "文件“%1”不是有效的 Excel 工作簿。"), {path}));
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
            throw EAutoError(
                SheetMessage(QT_TRANSLATE_NOOP("Velk", "工作簿中的工作表“%1”缺失，文件已损坏。"), {s->name}));
        LoadXml(s->doc, package_, s->part);
        IndexSheet(*s);
        ReadNotes(*s);
        sheets_.push_back(std::move(s));
    }
    if (sheets_.empty())
        throw EAutoError(SheetMessage(QT_TRANSLATE_NOOP("Velk", "工作簿中没有工作表，文件已损坏。")));
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
        st.strike = Child(f, "strike") && Child(f, "strike").attribute("val").as_bool(true);
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
            st.strike = fonts[fontId].strike;
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
        if (r <= rowNo || r > kMaxRows)
            throw EAutoError(
                SheetMessage(QT_TRANSLATE_NOOP("Velk", "工作表“%1”的行编号无效，文件已损坏。"), {s.name}));
        rowNo = r;
        SetAttr(row, "r", std::to_string(r));
        s.rows[r] = row;
        int colNo = 0;
        for (pugi::xml_node c = row.first_child(); c; c = c.next_sibling()) {
            if (!Is(c, "c")) continue;
            int cr = r, cc = colNo + 1;
            if (c.attribute("r") && !ParseCellRef(c.attribute("r").value(), cr, cc))
                throw EAutoError(SheetMessage(
                    QT_TRANSLATE_NOOP("Velk", "工作表“%1”的单元格引用无效，文件已损坏。"), {s.name}));
            if (cr != r || cc <= colNo)
                throw EAutoError(SheetMessage(
                    QT_TRANSLATE_NOOP("Velk", "工作表“%1”的单元格顺序无效，文件已损坏。"), {s.name}));
            colNo = cc;
            SetAttr(c, "r", CellRef(r, cc));
            s.cells[{r, cc}] = c;
        }
    }
}

XlsxDocument::Sheet& XlsxDocument::SheetAt(int sheet) const
{
    if (sheet < 0 || sheet >= SheetCount())
        throw EAutoError(SheetMessage(QT_TRANSLATE_NOOP("Velk", "下标越界：工作簿没有第 %1 个工作表。"),
                                      {std::to_string(sheet + 1)}));
    return *sheets_[static_cast<std::size_t>(sheet)];
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
        throw EAutoError(SheetMessage(
            QT_TRANSLATE_NOOP(
                "Velk", "无法保存“%1”：此电子表格组件只能保存 Excel 2007 及以后的格式（.xlsx、.xltx）。"),
            {path}));
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
        WriteNotes(*s);
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
