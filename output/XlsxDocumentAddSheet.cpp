// XlsxDocument::AddSheet: a new worksheet part, its relationship, its entry
// in the workbook and its content type.
#include "XlsxDocument.h"

#include <cstring>
#include <set>

#include "AutoError.h"
#include "XlsxDocumentSheet.h"
#include "XlsxXml.h"

using namespace xlsx_xml;

namespace
{

// The prefix the workbook binds to the relationships namespace ("r" as a rule).
std::string RelationshipPrefix(pugi::xml_node root)
{
    for (pugi::xml_attribute a = root.first_attribute(); a; a = a.next_attribute())
        if (std::strncmp(a.name(), "xmlns:", 6) == 0 &&
            std::strcmp(a.value(), "http://schemas.openxmlformats.org/officeDocument/2006/relationships") ==
                0)
            return a.name() + 6;
    root.append_attribute("xmlns:r") = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    return "r";
}

} // namespace

int XlsxDocument::AddSheet()
{
    const std::string dir = DirOf(workbookPart_);
    int k = SheetCount() + 1;
    while (package_.Has(dir + "worksheets/sheet" + std::to_string(k) + ".xml"))
        ++k;
    const std::string target = "worksheets/sheet" + std::to_string(k) + ".xml";
    std::set<std::string> names;
    for (const auto& s : sheets_)
        names.insert(s->name);
    int n = SheetCount() + 1;
    while (names.count("Sheet" + std::to_string(n)))
        ++n;

    pugi::xml_node rels = workbookRels_.document_element();
    std::set<std::string> ids;
    for (pugi::xml_node r : rels.children())
        ids.insert(r.attribute("Id").value());
    int id = 1;
    while (ids.count("rId" + std::to_string(id)))
        ++id;
    pugi::xml_node rel = rels.append_child(Qualified(rels, "Relationship").c_str());
    rel.append_attribute("Id") = ("rId" + std::to_string(id)).c_str();
    rel.append_attribute("Type") =
        "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
    rel.append_attribute("Target") = target.c_str();

    pugi::xml_node root = workbook_.document_element();
    pugi::xml_node sheets = Child(root, "sheets");
    int sheetId = 0;
    for (pugi::xml_node sn : sheets.children())
        sheetId = std::max(sheetId, sn.attribute("sheetId").as_int(0));
    pugi::xml_node entry = sheets.append_child(Qualified(sheets, "sheet").c_str());
    entry.append_attribute("name") = ("Sheet" + std::to_string(n)).c_str();
    entry.append_attribute("sheetId") = std::to_string(sheetId + 1).c_str();
    entry.append_attribute((RelationshipPrefix(root) + ":id").c_str()) = ("rId" + std::to_string(id)).c_str();

    pugi::xml_node types = contentTypes_.document_element();
    pugi::xml_node o = types.append_child(Qualified(types, "Override").c_str());
    o.append_attribute("PartName") = ("/" + dir + target).c_str();
    o.append_attribute("ContentType") =
        "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";

    auto sheet = std::make_unique<Sheet>();
    sheet->name = "Sheet" + std::to_string(n);
    sheet->part = dir + target;
    const std::string xml =
        std::string("<worksheet xmlns=\"") + kMainNs +
        "\">"
        "<dimension ref=\"A1\"/><sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>"
        "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData/>"
        "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" "
        "footer=\"0.3\"/></worksheet>";
    if (!sheet->doc.load_string(xml.c_str())) throw EAutoError("cannot make a new sheet");
    package_.Set(sheet->part, xml);
    IndexSheet(*sheet);
    sheets_.push_back(std::move(sheet));
    return SheetCount() - 1;
}
