// Cell notes and struck-through cells of an XlsxDocument: a note is a
// comment as spreadsheet programs write it (xl/commentsN.xml with its VML
// drawing that places the note box, linked from the sheet); a struck cell
// takes a copy of its format whose font is struck through.

#include "XlsxDocument.h"

#include <algorithm>
#include <iterator>
#include <sstream>

#include "XlsxDocumentSheet.h"
#include "XlsxXml.h"

using namespace xlsx_xml;

namespace
{

constexpr const char* kCommentsRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments";
constexpr const char* kVmlRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/vmlDrawing";
constexpr const char* kCommentsType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.comments+xml";
constexpr const char* kVmlType = "application/vnd.openxmlformats-officedocument.vmlDrawing";
constexpr const char* kOfficeRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// The note box beside its cell, hidden until the pointer is over the cell.
std::string VmlShape(int index, int row, int col)
{
    std::ostringstream o;
    o << "<v:shape id=\"_x0000_s" << 1025 + index
      << "\" type=\"#_x0000_t202\" style=\"position:absolute;margin-left:60pt;margin-top:2pt;width:120pt;"
         "height:40pt;z-index:"
      << index + 1
      << ";visibility:hidden\" fillcolor=\"#ffffe1\" o:insetmode=\"auto\"><v:fill color2=\"#ffffe1\"/>"
         "<v:shadow on=\"t\" color=\"black\" obscured=\"t\"/><v:path o:connecttype=\"none\"/>"
         "<v:textbox style=\"mso-direction-alt:auto\"><div style=\"text-align:left\"></div></v:textbox>"
         "<x:ClientData ObjectType=\"Note\"><x:MoveWithCells/><x:SizeWithCells/><x:Anchor>"
      << col << ", 15, " << std::max(0, row - 2) << ", 2, " << col + 2 << ", 15, " << row + 2
      << ", 16</x:Anchor><x:AutoFill>False</x:AutoFill><x:Row>" << row - 1 << "</x:Row><x:Column>" << col - 1
      << "</x:Column></x:ClientData></v:shape>";
    return o.str();
}

} // namespace

std::string XlsxDocument::StylesPart() const
{
    for (pugi::xml_node r : workbookRels_.document_element().children())
        if (EndsWith(r.attribute("Type").value(), "/styles"))
            return ResolveTarget(DirOf(workbookPart_), r.attribute("Target").value());
    return {};
}

void XlsxDocument::ReadNotes(Sheet& s)
{
    const std::string relsPart = RelsPartOf(s.part);
    if (!package_.Has(relsPart)) return;
    pugi::xml_document rels;
    LoadXml(rels, package_, relsPart);
    for (pugi::xml_node r : rels.document_element().children()) {
        const std::string target = ResolveTarget(DirOf(s.part), r.attribute("Target").value());
        if (EndsWith(r.attribute("Type").value(), "/vmlDrawing")) s.vmlPart = target;
        if (!EndsWith(r.attribute("Type").value(), "/comments") || !package_.Has(target)) continue;
        s.notesPart = target;
        pugi::xml_document doc;
        LoadXml(doc, package_, target);
        for (pugi::xml_node c : Child(doc.document_element(), "commentList").children()) {
            int row = 0, col = 0;
            if (Is(c, "comment") && ParseCellRef(c.attribute("ref").value(), row, col))
                s.notes[{row, col}] = TextOf(Child(c, "text"));
        }
    }
}

void XlsxDocument::SetCellNote(int sheet, int row, int col, const std::string& text)
{
    Sheet& s = SheetAt(sheet);
    FindOrAddCell(s, row, col); // checks nothing more: the cell exists once noted
    if (text.empty())
        s.notes.erase({row, col});
    else
        s.notes[{row, col}] = text;
    s.notesChanged = true;
}

std::string XlsxDocument::CellNote(int sheet, int row, int col) const
{
    const Sheet& s = SheetAt(sheet);
    auto it = s.notes.find({row, col});
    return it == s.notes.end() ? std::string() : it->second;
}

void XlsxDocument::WriteNotes(Sheet& s)
{
    if (!s.notesChanged || (s.notes.empty() && s.notesPart.empty())) return;
    const bool linked = !s.notesPart.empty();
    if (!linked) {
        s.notesPart = FreePartName(DirOf(workbookPart_) + "comments", ".xml");
        AddOverride(s.notesPart, kCommentsType);
    }
    if (s.vmlPart.empty()) s.vmlPart = FreePartName(DirOf(workbookPart_) + "drawings/vmlDrawing", ".vml");
    std::ostringstream comments, vml;
    comments << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<comments xmlns=\""
             << kMainNs << "\"><authors><author>VELK</author></authors><commentList>";
    vml << "<xml xmlns:v=\"urn:schemas-microsoft-com:vml\" "
           "xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
           "xmlns:x=\"urn:schemas-microsoft-com:office:excel\"><o:shapelayout v:ext=\"edit\"><o:idmap "
           "v:ext=\"edit\" data=\"1\"/></o:shapelayout><v:shapetype id=\"_x0000_t202\" "
           "coordsize=\"21600,21600\" "
           "o:spt=\"202\" path=\"m,l,21600r21600,l21600,xe\"><v:stroke joinstyle=\"miter\"/><v:path "
           "gradientshapeok=\"t\" o:connecttype=\"rect\"/></v:shapetype>";
    int index = 0;
    for (const auto& [pos, text] : s.notes) {
        pugi::xml_document t; // escapes the text as XML wants it
        t.append_child("t").text().set(OfficeEscape(text).c_str());
        std::ostringstream escaped;
        t.save(escaped, "", pugi::format_raw | pugi::format_no_declaration);
        std::string body = escaped.str();
        body.insert(2, " xml:space=\"preserve\"");
        comments << "<comment ref=\"" << CellRef(pos.first, pos.second) << "\" authorId=\"0\"><text>" << body
                 << "</text></comment>";
        vml << VmlShape(index++, pos.first, pos.second);
    }
    comments << "</commentList></comments>";
    vml << "</xml>";
    package_.Set(s.notesPart, comments.str());
    package_.Set(s.vmlPart, vml.str());
    if (linked) return;
    // The sheet's relationships to both parts, and its legacy drawing element.
    const std::string relsPart = RelsPartOf(s.part);
    pugi::xml_document rels;
    if (package_.Has(relsPart))
        LoadXml(rels, package_, relsPart);
    else
        rels.load_string(("<Relationships xmlns=\"" + std::string(kRelNs) + "\"/>").c_str());
    auto freeId = [&rels](const char* stem) {
        for (int n = 1;; ++n)
            if (!rels.document_element().find_child_by_attribute("Id", (stem + std::to_string(n)).c_str()))
                return stem + std::to_string(n);
    };
    // Sheets sit one folder below the workbook's parts, as the pictures' do.
    const std::string top = DirOf(workbookPart_);
    auto relative = [&top](const std::string& part) { return "../" + part.substr(top.size()); };
    AddRelationship(rels, freeId("rIdNotes"), kCommentsRel, relative(s.notesPart));
    const std::string vmlId = freeId("rIdVml");
    AddRelationship(rels, vmlId, kVmlRel, relative(s.vmlPart));
    WriteXml(relsPart, rels);
    pugi::xml_node types = contentTypes_.document_element();
    bool hasVml = false;
    for (pugi::xml_node d : types.children())
        hasVml = hasVml || (Is(d, "Default") && std::string(d.attribute("Extension").value()) == "vml");
    if (!hasVml) {
        pugi::xml_node d = types.prepend_child("Default");
        d.append_attribute("Extension") = "vml";
        d.append_attribute("ContentType") = kVmlType;
    }
    pugi::xml_node root = s.doc.document_element();
    if (!root.attribute("xmlns:r")) root.append_attribute("xmlns:r") = kOfficeRelNs;
    // The element's place in the sheet's schema order.
    pugi::xml_node before;
    for (pugi::xml_node c : root.children())
        for (const char* later : {"legacyDrawingHF", "drawingHF", "picture", "oleObjects", "controls",
                                  "webPublishItems", "tableParts", "extLst"})
            if (!before && Is(c, later)) before = c;
    const std::string name = Qualified(root, "legacyDrawing");
    pugi::xml_node legacy =
        before ? root.insert_child_before(name.c_str(), before) : root.append_child(name.c_str());
    legacy.append_attribute("r:id") = vmlId.c_str();
}

void XlsxDocument::SetCellStrike(int sheet, int row, int col)
{
    Sheet& s = SheetAt(sheet);
    pugi::xml_node cell = FindOrAddCell(s, row, col);
    const unsigned base = cell.attribute("s").as_uint(0);
    if (base < styles_.size() && styles_[base].strike) return;
    if (auto it = struckStyles_.find(base); it != struckStyles_.end()) {
        SetAttr(cell, "s", std::to_string(it->second));
        return;
    }
    const std::string part = StylesPart();
    if (part.empty() || !package_.Has(part)) return; // no formats to copy: the text stays plain
    pugi::xml_document doc;
    LoadXml(doc, package_, part);
    pugi::xml_node fonts = Child(doc.document_element(), "fonts");
    pugi::xml_node xfs = Child(doc.document_element(), "cellXfs");
    auto nth = [](pugi::xml_node parent, unsigned n) {
        pugi::xml_node c = parent.first_child();
        for (unsigned i = 0; c && i < n; ++i)
            c = c.next_sibling();
        return c;
    };
    const pugi::xml_node xf = nth(xfs, base);
    const pugi::xml_node font = nth(fonts, xf.attribute("fontId").as_uint(0));
    if (!xf || !font) return;
    pugi::xml_node struck = fonts.append_copy(font);
    if (!Child(struck, "strike")) {
        // The schema's order: b, i, strike, then the rest.
        pugi::xml_node after = Child(struck, "i") ? Child(struck, "i") : Child(struck, "b");
        const std::string name = Qualified(struck, "strike");
        after ? struck.insert_child_after(name.c_str(), after) : struck.prepend_child(name.c_str());
    }
    const auto count = [](pugi::xml_node n) {
        return static_cast<unsigned>(std::distance(n.begin(), n.end()));
    };
    SetAttr(fonts, "count", std::to_string(count(fonts)));
    pugi::xml_node copy = xfs.append_copy(xf);
    SetAttr(copy, "fontId", std::to_string(count(fonts) - 1));
    SetAttr(copy, "applyFont", "1");
    SetAttr(xfs, "count", std::to_string(count(xfs)));
    WriteXml(part, doc);
    XlsxCellStyle st = base < styles_.size() ? styles_[base] : XlsxCellStyle{};
    st.strike = true;
    styles_.resize(count(xfs) - 1);
    styles_.push_back(st);
    struckStyles_[base] = count(xfs) - 1;
    SetAttr(cell, "s", std::to_string(count(xfs) - 1));
}
