#pragma once
// Folders the program's tools create, and sets of files written into a
// folder all or none.
//
// MakeFolderPath creates the missing folders of a path one level at a time,
// each created without following a link and opened without following one,
// so a link swapped in between is refused. Links already on the path are
// followed under the rule of the file writes (SafeFileReplacer.h): in a
// sticky folder that everybody may write, only the user's or the folder
// owner's link. Another user's link planted in /tmp therefore never decides
// where a folder is made.
//
// SafeFolderWriter writes a set of files into a folder all or none: the files
// are written into a private temporary folder inside the target folder
// (".velk-files-" and six random letters, created exclusively and readable by
// the user alone), then moved into place one by one; a file already there is
// exchanged with the new one, so a failure on the way puts every old file
// back, removes every new one and the folders made for them.
//
// Errors are EInOutError: "Cannot create folder "<path>". <reason>" for the
// folders, "Cannot create file "<path>". <reason>" for a file in place.

#include <string>
#include <vector>

struct MadeFolder {
    std::string path;                 // the folder, its links resolved
    std::vector<std::string> created; // the folders made on the way, outermost first
};

// Makes path and every missing folder before it; an existing folder is fine.
MadeFolder MakeFolderPath(const std::string& path);

class SafeFolderWriter
{
public:
    // Makes the folder path and the private temporary folder in it.
    explicit SafeFolderWriter(const std::string& folder);
    // Unless Commit() succeeded: removes the temporary folder with what it
    // holds and the folders the constructor made (when they are empty).
    ~SafeFolderWriter();
    SafeFolderWriter(const SafeFolderWriter&) = delete;
    SafeFolderWriter& operator=(const SafeFolderWriter&) = delete;

    // Where the files are written first.
    const std::string& TempFolder() const { return temp_; }
    // Moves each named file of the temporary folder into the folder, every
    // one or none; throws EInOutError and leaves the folder as it was.
    void Commit(const std::vector<std::string>& names);

private:
    std::string given_; // as the caller named it, for the messages
    MadeFolder folder_;
    std::string temp_;
    int lock_ = -1;
    bool committed_ = false;
};
