#pragma once
// Where the program's data files (report template, help, registry file,
// examples) are: beside the program, as in the build tree and in a folder
// installation, or in the shared data folder of a Linux installation
// (<prefix>/share/velk beside <prefix>/bin).

#include <QString>

// The folder of the running program, without a trailing separator.
QString ProgramDirPath();
// The shared data folder seen from the program's folder, e.g. "../share/velk".
QString DataDirFromProgram();
// The data file name: beside the program when it is there, else in the
// shared data folder when it is there, else the path beside the program
// (so that a message names the usual place).
QString DataFilePath(const QString& name);
