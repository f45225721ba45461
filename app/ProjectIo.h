#pragma once
// The main window's door to the project files.

#include <QString>

class CalcPage;

// Reads a project into the page: the form record format, else the legacy
// layout. File errors are raised (EInOutError); conversion errors inside the
// file end the reading with their error.
void LoadProjectFile(CalcPage& page, const QString& path);
// Writes the page as a project; raises on failure and leaves the old file.
void SaveProjectFile(CalcPage& page, const QString& path);
