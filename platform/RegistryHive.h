#pragma once
// The class-registration part of the Windows registry (HKEY_CLASSES_ROOT),
// read from registry files in the text format that regedit exports:
//
//   Windows Registry Editor Version 5.00        (or REGEDIT4)
//
//   [HKEY_CLASSES_ROOT\CLSID\{...}\ProgID]
//   @="SimSciDbs.Database.10"                   default value
//   "Name"="text with \"quotes\" and \\"        named value, \" and \\ escaped
//   "Flags"=dword:00000001
//   "Raw"=hex:01,02,\                           continued on the next line
//     03
//   "Gone"=-                                    deletes the value
//   [-HKEY_CLASSES_ROOT\Old]                    deletes the key and its subkeys
//
// Keys under HKEY_CLASSES_ROOT (or HKCR) are kept; HKEY_LOCAL_MACHINE\SOFTWARE
// \Classes and HKEY_CURRENT_USER\Software\Classes are folded into it, as
// Windows merges them into the classes root. Sections under other roots are
// skipped. Several files may be loaded into one hive; a later file overrides
// the values of an earlier one.
//
// The registry of a machine is outside the program's control, so a damaged
// line never stops the load: it is skipped and noted in Warnings().
// Names of keys and values are compared without regard to case; subkeys
// enumerate in the registry's order (alphabetical, case-insensitive).

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QString;

enum class RegistryDataType { String, ExpandString, MultiString, DWord, QWord, Binary };

struct RegistryValue {
    std::string name; // as spelt in the file; empty for the default value
    RegistryDataType type = RegistryDataType::String;
    std::string text;                 // String and ExpandString (UTF-8)
    std::vector<std::string> strings; // MultiString
    std::uint64_t number = 0;         // DWord and QWord
    std::vector<std::uint8_t> bytes;  // Binary, and the raw data of any hex(n) value
    int rawType = 1;                  // the registry type code (REG_SZ = 1, ...)

    bool IsText() const { return type == RegistryDataType::String || type == RegistryDataType::ExpandString; }
};

class RegistryKey
{
public:
    explicit RegistryKey(std::string name = {}) : name_(std::move(name)) {}

    const std::string& Name() const { return name_; }
    // Direct subkey by name (case-insensitive), or nullptr.
    const RegistryKey* SubKey(const std::string& name) const;
    RegistryKey* SubKey(const std::string& name);
    RegistryKey& AddSubKey(const std::string& name);
    void RemoveSubKey(const std::string& name);
    // Subkey names in enumeration order.
    std::vector<std::string> SubKeyNames() const;

    const RegistryValue* Value(const std::string& name) const;
    void SetValue(RegistryValue value);
    void RemoveValue(const std::string& name);
    std::vector<std::string> ValueNames() const;

private:
    std::string name_;
    std::map<std::string, std::unique_ptr<RegistryKey>> subkeys_; // folded name -> key
    std::map<std::string, RegistryValue> values_;                 // folded name -> value
};

class RegistryHive
{
public:
    // Loads registry-file text (bytes as read from disk: UTF-16LE with a
    // byte-order mark, or UTF-8). source names it in warnings. Returns false
    // when the text is not a registry file at all (nothing is loaded).
    bool LoadText(const std::string& bytes, const std::string& source);
    // Loads a file; a missing file loads nothing and returns false without a
    // warning (most machines have no per-user file).
    bool LoadFile(const std::string& path);
    void Clear();

    // The classes root.
    const RegistryKey& Root() const { return root_; }
    // The key at a path below the root ("CLSID\{...}\ProgID", leading and
    // doubled backslashes ignored), or nullptr.
    const RegistryKey* Find(const std::string& path) const;

    const std::vector<std::string>& Warnings() const { return warnings_; }

private:
    // Applies a section line ("[key]" or "[-key]"); the key that takes the
    // values that follow, or nullptr when they are to be skipped.
    RegistryKey* ApplySection(const QString& line, const std::function<void(const std::string&)>& warn);

    RegistryKey root_;
    std::vector<std::string> warnings_;
};

// Case folding used for key and value names.
std::string RegistryFoldName(const std::string& name);
// Splits a key path at its backslashes, dropping empty parts.
std::vector<std::string> RegistrySplitPath(const std::string& path);
