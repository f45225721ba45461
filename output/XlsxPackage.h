#pragma once
// The zip container of an Office Open XML file (.xlsx, .xltx): its parts by
// name, read and written with libzip. Parts keep the order they were read in,
// except that "[Content_Types].xml" is always written first, as Office does.

#include <map>
#include <string>
#include <vector>

class XlsxPackage
{
public:
    // Reads every part of the zip file at path. Throws EAutoError with a text
    // for the user when the file is missing, not a zip file, or too large.
    void Load(const std::string& path);
    // Writes the package to path. The file is written beside the target under
    // a temporary name and then moved over it, so an existing file is
    // replaced only by a complete one.
    void Save(const std::string& path) const;

    void Clear()
    {
        parts_.clear();
        index_.clear();
    }
    bool Has(const std::string& part) const { return index_.count(part) != 0; }
    const std::string& Get(const std::string& part) const;
    void Set(const std::string& part, std::string data);
    void Remove(const std::string& part);
    std::vector<std::string> PartNames() const;

private:
    std::vector<std::pair<std::string, std::string>> parts_;
    std::map<std::string, std::size_t> index_;
};
