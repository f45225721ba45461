#pragma once
// velk-project: converts a project between the stored forms and fills in
// the project information. Used to make the example projects.
//
//   velk-project IN OUT [--form compressed|plain|legacy] [BOX=TEXT]...
//
// IN is read as the Open command reads it (form records, else the legacy
// layout); BOX is one of the project text boxes (ProjectD, DevicenameD,
// DeviceNoD, ProjPD, Edit1..Edit4) or the comment CommentD, whose line
// breaks may be given as LF. Nothing is recalculated. Records the page does
// not read (a column profile, a later version's records) are written back
// byte for byte; the legacy layout cannot hold them, so a project that has
// any is not written in it.
#include <iosfwd>
#include <string>
#include <vector>

// Runs velk-project on its arguments (without the program name); returns
// the exit status: 0 written, 1 the project could not be read or written,
// 2 usage error.
int RunVelkProject(const std::vector<std::string>& args, std::ostream& err);
