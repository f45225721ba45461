#pragma once
// The texts of the spreadsheet component's errors in the interface language.
// A text is a Chinese source of context "Velk" written with
// QT_TRANSLATE_NOOP (so lupdate finds it) and markers %1, %2, ... for the
// parts that vary: a file name, a sheet name, a number, a system message.

#include <QtGlobal>

#include <initializer_list>
#include <string>

// Looks source up and puts parts[i] where %(i+1) stands, in one pass: a part
// is copied byte for byte and never scanned again, so a path that itself
// holds "%2" stays as it is.
std::string SheetMessage(const char* source, std::initializer_list<std::string> parts = {});
