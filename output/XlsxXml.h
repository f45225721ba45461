#pragma once
// XML helpers of the workbook parts: namespace-blind element lookup,
// relationship targets, Office's escapes of control characters and the
// number text a spreadsheet takes from typed input.

#include <string>

#include <pugixml.hpp>

#include "XlsxPackage.h"

namespace xlsx_xml
{

inline constexpr const char* kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline constexpr const char* kRelNs = "http://schemas.openxmlformats.org/package/2006/relationships";
inline constexpr const char* kSheetMainType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
inline constexpr const char* kTemplateMainType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml";
inline constexpr const char* kSharedStringsType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml";
inline constexpr const char* kSharedStringsRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings";
inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxCols = 16384;
inline constexpr int kMaxCellChars = 32767;

const char* LocalName(const char* name);
bool Is(const pugi::xml_node& n, const char* local);
pugi::xml_node Child(const pugi::xml_node& parent, const char* local);
// The element name for a new child, with the prefix its parent uses.
std::string Qualified(const pugi::xml_node& parent, const char* local);
pugi::xml_attribute RelIdAttr(const pugi::xml_node& n);
bool EndsWith(const std::string& s, const std::string& tail);
std::string DirOf(const std::string& part);
// Target of a relationship, as a part name without the leading slash.
std::string ResolveTarget(const std::string& baseDir, const std::string& target);
std::string RelsPartOf(const std::string& part);
// Control characters as _xHHHH_, the way Office writes them, and back.
std::string OfficeEscape(const std::string& s);
std::string OfficeUnescape(const std::string& s);
// Plain decimal number as a spreadsheet takes it from typed text.
bool NumberFromText(const std::string& s, double& value);
std::string NumberToXml(double v);
int Utf16Length(const std::string& s);
void SetAttr(pugi::xml_node n, const char* name, const std::string& value);
// Parses a part; EAutoError when it is not well-formed.
pugi::xml_document& LoadXml(pugi::xml_document& doc, const XlsxPackage& pkg, const std::string& part);
// Text of <t> children, directly or inside rich-text runs <r>.
std::string TextOf(const pugi::xml_node& n);

} // namespace xlsx_xml
