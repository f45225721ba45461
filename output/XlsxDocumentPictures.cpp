// Pictures in a workbook: a sheet whose drawing part places PNG images,
// laid out as spreadsheet programs write them (xl/media/imageN.png, placed
// by a twoCellAnchor with a pic in xl/drawings/drawingN.xml, linked through
// the drawing's and the sheet's relationships).

#include "XlsxDocument.h"

#include <algorithm>
#include <sstream>

#include "AutoError.h"
#include "SheetMessage.h"
#include "XlsxDocumentSheet.h"
#include "XlsxXml.h"

using namespace xlsx_xml;

namespace
{

constexpr const char* kOfficeRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kWorksheetType = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
constexpr const char* kDrawingType = "application/vnd.openxmlformats-officedocument.drawing+xml";
constexpr const char* kWorksheetRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
constexpr const char* kDrawingRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing";
constexpr const char* kImageRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";
constexpr const char* kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
// The blank sheet's grid: default column 64 pixels, default row 20 pixels
// (15 points), and EMU per pixel at 96 dpi.
constexpr int kColumnPixels = 64;
constexpr int kRowPixels = 20;
constexpr long long kEmuPerPixel = 9525;
constexpr int kGapRows = 2;

bool IsPng(const std::string& data)
{
    return data.size() > 8 && data.compare(0, 8, std::string("\x89PNG\r\n\x1a\n", 8)) == 0;
}

std::string Marker(const char* tag, int col, long long colOff, int row, long long rowOff)
{
    std::ostringstream o;
    o << "<xdr:" << tag << "><xdr:col>" << col << "</xdr:col><xdr:colOff>" << colOff << "</xdr:colOff><xdr:row>"
      << row << "</xdr:row><xdr:rowOff>" << rowOff << "</xdr:rowOff></xdr:" << tag << ">";
    return o.str();
}

// One picture from cell (row, col) (0-based), size in pixels.
std::string Anchor(int index, int row, int col, int width, int height)
{
    const int endCol = col + width / kColumnPixels;
    const int endRow = row + height / kRowPixels;
    std::ostringstream o;
    o << "<xdr:twoCellAnchor editAs=\"oneCell\">" << Marker("from", col, 0, row, 0)
      << Marker("to", endCol, (width % kColumnPixels) * kEmuPerPixel, endRow, (height % kRowPixels) * kEmuPerPixel)
      << "<xdr:pic><xdr:nvPicPr><xdr:cNvPr id=\"" << index + 2 << "\" name=\"Picture " << index + 1
      << "\"/><xdr:cNvPicPr><a:picLocks noChangeAspect=\"1\"/></xdr:cNvPicPr></xdr:nvPicPr>"
      << "<xdr:blipFill><a:blip r:embed=\"rId" << index + 1 << "\"/><a:stretch><a:fillRect/></a:stretch></xdr:blipFill>"
      << "<xdr:spPr><a:xfrm><a:off x=\"" << col * kColumnPixels * kEmuPerPixel << "\" y=\""
      << row * kRowPixels * kEmuPerPixel << "\"/><a:ext cx=\"" << width * kEmuPerPixel << "\" cy=\""
      << height * kEmuPerPixel << "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></xdr:spPr>"
      << "</xdr:pic><xdr:clientData/></xdr:twoCellAnchor>";
    return o.str();
}

} // namespace

std::string XlsxDocument::FreePartName(const std::string& stem, const std::string& extension) const
{
    for (int n = 1;; ++n) {
        const std::string part = stem + std::to_string(n) + extension;
        if (!package_.Has(part)) {
            bool taken = false;
            for (const auto& s : sheets_)
                taken = taken || s->part == part;
            if (!taken)
                return part;
        }
    }
}

void XlsxDocument::AddOverride(const std::string& part, const char* contentType)
{
    pugi::xml_node o = contentTypes_.document_element().append_child("Override");
    o.append_attribute("PartName") = ("/" + part).c_str();
    o.append_attribute("ContentType") = contentType;
}

void XlsxDocument::AddRelationship(pugi::xml_document& rels, const std::string& id, const char* type,
                                   const std::string& target)
{
    pugi::xml_node r = rels.document_element().append_child(Qualified(rels.document_element(), "Relationship").c_str());
    r.append_attribute("Id") = id.c_str();
    r.append_attribute("Type") = type;
    r.append_attribute("Target") = target.c_str();
}

std::string XlsxDocument::AddDrawingPart(const std::vector<Picture>& pictures)
{
    // The pictures one below the other from cell B2.
    const std::string drawingPart = FreePartName(DirOf(workbookPart_) + "drawings/drawing", ".xml");
    std::ostringstream drawing;
    drawing << kDecl << "<xdr:wsDr xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\" "
            << "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" xmlns:r=\"" << kOfficeRelNs << "\">";
    pugi::xml_document drawingRels;
    drawingRels.load_string(("<Relationships xmlns=\"" + std::string(kRelNs) + "\"/>").c_str());
    int row = 1;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const std::string media = FreePartName(DirOf(workbookPart_) + "media/image", ".png");
        package_.Set(media, pictures[i].png);
        AddRelationship(drawingRels, "rId" + std::to_string(i + 1), kImageRel,
                        "../media/" + media.substr(DirOf(media).size()));
        drawing << Anchor(static_cast<int>(i), row, 1, pictures[i].width, pictures[i].height);
        row += (pictures[i].height + kRowPixels - 1) / kRowPixels + kGapRows;
    }
    drawing << "</xdr:wsDr>";
    package_.Set(drawingPart, drawing.str());
    WriteXml(RelsPartOf(drawingPart), drawingRels);
    // PNG is typed by its extension, the drawing by its name.
    pugi::xml_node types = contentTypes_.document_element();
    bool hasPng = false;
    for (pugi::xml_node d : types.children())
        hasPng = hasPng || (Is(d, "Default") && std::string(d.attribute("Extension").value()) == "png");
    if (!hasPng) {
        pugi::xml_node d = types.prepend_child("Default");
        d.append_attribute("Extension") = "png";
        d.append_attribute("ContentType") = "image/png";
    }
    AddOverride(drawingPart, kDrawingType);
    return drawingPart;
}

void XlsxDocument::ListSheet(const std::string& name, const std::string& sheetPart)
{
    // A free relationship id and sheet id in the workbook.
    int relNo = 1;
    std::string relId;
    do {
        relId = "rIdPic" + std::to_string(relNo++);
    } while (workbookRels_.document_element().find_child_by_attribute("Id", relId.c_str()));
    AddRelationship(workbookRels_, relId, kWorksheetRel, sheetPart.substr(DirOf(workbookPart_).size()));
    pugi::xml_node sheetsNode = Child(workbook_.document_element(), "sheets");
    unsigned sheetId = 0;
    for (pugi::xml_node sn : sheetsNode.children())
        sheetId = std::max(sheetId, sn.attribute("sheetId").as_uint());
    pugi::xml_node sn = sheetsNode.append_child(Qualified(sheetsNode, "sheet").c_str());
    sn.append_attribute("name") = name.c_str();
    sn.append_attribute("sheetId") = std::to_string(sheetId + 1).c_str();
    sn.append_attribute("r:id") = relId.c_str();
    if (!workbook_.document_element().attribute("xmlns:r"))
        workbook_.document_element().append_attribute("xmlns:r") = kOfficeRelNs;
    AddOverride(sheetPart, kWorksheetType);
}

int XlsxDocument::AddPictureSheet(const std::string& name, const std::vector<Picture>& pictures)
{
    CheckSheetName(-1, name);
    for (const Picture& p : pictures)
        if (!IsPng(p.png) || p.width < 1 || p.height < 1 || p.width > 20000 || p.height > 20000)
            throw EAutoError(
                SheetMessage(QT_TRANSLATE_NOOP("Velk", "图片不是有效的 PNG 图像，无法放入工作簿。")));
    const std::string sheetPart = FreePartName(DirOf(workbookPart_) + "worksheets/sheet", ".xml");
    const std::string drawingPart = AddDrawingPart(pictures);
    pugi::xml_document sheetRels;
    sheetRels.load_string(("<Relationships xmlns=\"" + std::string(kRelNs) + "\"/>").c_str());
    AddRelationship(sheetRels, "rId1", kDrawingRel, "../drawings/" + drawingPart.substr(DirOf(drawingPart).size()));
    WriteXml(RelsPartOf(sheetPart), sheetRels);
    ListSheet(name, sheetPart);

    // The sheet: empty cells, the page set-up, then the drawing.
    auto s = std::make_unique<Sheet>();
    s->name = name;
    s->part = sheetPart;
    const std::string xml = std::string("<worksheet xmlns=\"") + kMainNs + "\" xmlns:r=\"" + kOfficeRelNs +
                            "\"><dimension ref=\"A1\"/><sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>"
                            "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData/>"
                            "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" "
                            "footer=\"0.3\"/><drawing r:id=\"rId1\"/></worksheet>";
    s->doc.load_string(xml.c_str());
    IndexSheet(*s);
    sheets_.push_back(std::move(s));
    return SheetCount() - 1;
}
