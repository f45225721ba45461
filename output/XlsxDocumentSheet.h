#pragma once
// The parsed form of one worksheet of an XlsxDocument, shared by the
// document's source files.

#include <map>
#include <string>
#include <utility>

#include <pugixml.hpp>

#include "XlsxDocument.h"

struct XlsxDocument::Sheet {
    std::string name;
    std::string part;
    pugi::xml_document doc;
    pugi::xml_node sheetData;
    std::map<int, pugi::xml_node> rows;
    std::map<std::pair<int, int>, pugi::xml_node> cells;
    // Cell notes (comments) and the parts that hold them ("" until written).
    std::map<std::pair<int, int>, std::string> notes;
    std::string notesPart, vmlPart;
    bool notesChanged = false;
};
