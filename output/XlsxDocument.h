#pragma once
// An .xlsx/.xltx workbook held as its XML parts, edited in place.
//
// The parts are kept as they were read (styles, column widths, borders, page
// set-up, everything a template gives); writing a cell changes only that
// cell's element and the shared-string table, so a workbook made from a
// template keeps the template's look. Saving writes a workbook (or a
// template, for an .xltx name) that spreadsheet programs open without repair:
// the calculation chain is dropped (they rebuild it), the dimension and the
// shared-string counts are brought up to date and text that XML cannot carry
// is escaped the way Office escapes it (_xHHHH_).
//
// Rows and columns count from 1. Sheets count from 0 here; the automation
// objects above this class count them from 1.

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

#include "XlsxPackage.h"

struct XlsxRange {
    int firstRow = 0, firstCol = 0, lastRow = 0, lastCol = 0; // 0: empty
    bool Empty() const { return firstRow == 0; }
    bool Contains(int row, int col) const
    {
        return row >= firstRow && row <= lastRow && col >= firstCol && col <= lastCol;
    }
};

// What printing needs to know of a cell's format.
struct XlsxCellStyle {
    enum class Align { General, Left, Center, Right };
    bool bold = false;
    bool italic = false;
    double fontPoints = 11;
    bool borderLeft = false, borderRight = false, borderTop = false, borderBottom = false;
    Align align = Align::General;
    bool wrap = false;
    bool textFormat = false; // number format "@": typed numbers stay text
    bool strike = false;
};

class XlsxDocument
{
public:
    XlsxDocument();
    ~XlsxDocument();
    XlsxDocument(const XlsxDocument&) = delete;
    XlsxDocument& operator=(const XlsxDocument&) = delete;

    // Reads an .xlsx or .xltx file. EAutoError when it cannot be read.
    void Load(const std::string& path);
    // A new workbook of one empty sheet named "Sheet1".
    void NewBlank();
    // Writes the workbook; a name ending in .xltx writes a template.
    void SaveAs(const std::string& path);
    bool IsTemplate() const { return isTemplate_; }

    int SheetCount() const { return static_cast<int>(sheets_.size()); }
    std::string SheetName(int sheet) const;
    // Renames a sheet; EAutoError for a name the spreadsheet rules refuse
    // (empty, over 31 characters, one of : \ / ? * [ ], a leading or
    // trailing apostrophe, or the name of another sheet).
    void RenameSheet(int sheet, const std::string& name);
    // Appends an empty sheet named "SheetN" (N the first free number), as a
    // spreadsheet's Worksheets.Add does; returns its index.
    int AddSheet();
    int ActiveSheet() const { return activeSheet_; }
    void SetActiveSheet(int sheet);

    // Writes text into a cell. Text that is a plain decimal number becomes a
    // number cell (unless the cell is formatted as text), any other text a
    // string cell, empty text clears the value; the cell keeps its format.
    void SetCell(int sheet, int row, int col, const std::string& text);
    // The cell's value as text (numbers with up to 15 digits), "" if none.
    std::string CellText(int sheet, int row, int col) const;
    bool CellIsNumber(int sheet, int row, int col) const;
    // A cell's note (a comment, shown beside the cell by spreadsheet
    // programs); "" removes it / when there is none.
    void SetCellNote(int sheet, int row, int col, const std::string& text);
    std::string CellNote(int sheet, int row, int col) const;
    // Strikes the cell's text through; the rest of its format stays.
    void SetCellStrike(int sheet, int row, int col);

    // Range of the cells the sheet describes (with a value or a format),
    // widened by its merged areas.
    XlsxRange UsedRange(int sheet) const;
    std::vector<XlsxRange> MergedRanges(int sheet) const;
    // Column width in characters of the default font; row height in points.
    double ColumnWidth(int sheet, int col) const;
    double RowHeight(int sheet, int row) const;
    XlsxCellStyle CellStyle(int sheet, int row, int col) const;
    // The sheet's page setup asks to fit it on one page (fitToPage with
    // fitToWidth and fitToHeight of 1).
    bool FitsToOnePage(int sheet) const;

    // A new last sheet that shows PNG pictures one below the other, each
    // anchored from its top-left cell (a drawing part with one picture per
    // image, as spreadsheet programs write them). Returns the sheet's index;
    // EAutoError for a name RenameSheet would refuse or data that is not PNG.
    struct Picture {
        std::string png; // the file's bytes
        int width = 0;   // pixels at 96 dpi
        int height = 0;
    };
    int AddPictureSheet(const std::string& name, const std::vector<Picture>& pictures);

    // "B15" from (15, 2), and back; ParseCellRef returns false for bad text.
    static std::string CellRef(int row, int col);
    static bool ParseCellRef(const std::string& ref, int& row, int& col);

private:
    struct Sheet;
    Sheet& SheetAt(int sheet) const;
    void ParseWorkbook();
    void ResetParsed();
    void ParseSharedStrings();
    void ParseStyles();
    void IndexSheet(Sheet& s);
    pugi::xml_node FindOrAddCell(Sheet& s, int row, int col);
    int SharedStringIndex(const std::string& text);
    void WriteXml(const std::string& part, const pugi::xml_document& doc);
    void EnsureSharedStringsPart();
    // Notes and struck formats (XlsxDocumentNotes.cpp).
    std::string StylesPart() const;
    void ReadNotes(Sheet& s);
    void WriteNotes(Sheet& s);
    std::map<unsigned, unsigned> struckStyles_; // format index -> its struck copy
    // EAutoError when `name` may not name sheet `sheet` (-1: a new sheet).
    void CheckSheetName(int sheet, const std::string& name) const;
    std::string FreePartName(const std::string& stem, const std::string& extension) const;
    void AddOverride(const std::string& part, const char* contentType);
    void AddRelationship(pugi::xml_document& rels, const std::string& id, const char* type,
                         const std::string& target);
    // The media and drawing parts of a picture sheet; returns the drawing's name.
    std::string AddDrawingPart(const std::vector<Picture>& pictures);
    // Lists a new sheet part in the workbook under `name`.
    void ListSheet(const std::string& name, const std::string& sheetPart);

    XlsxPackage package_;
    bool isTemplate_ = false;
    std::string workbookPart_;     // "xl/workbook.xml"
    std::string workbookRelsPart_; // "xl/_rels/workbook.xml.rels"
    pugi::xml_document contentTypes_, workbook_, workbookRels_, sharedStrings_;
    std::string sharedStringsPart_; // empty when the workbook has none yet
    std::vector<std::string> sharedText_;
    std::unordered_map<std::string, int> sharedLookup_; // plain entries only
    std::vector<std::unique_ptr<Sheet>> sheets_;
    std::vector<XlsxCellStyle> styles_; // by cell format index
    int activeSheet_ = 0;
    double defaultColWidth_ = 8.43;
};
