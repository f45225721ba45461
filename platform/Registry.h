#pragma once
// Read-only access to HKEY_CLASSES_ROOT, in the manner of the Windows
// registry reader: open a key, list its subkeys, read a value, close it.
//
// There is no system registry here. The classes root is assembled from two
// registry files (see RegistryHive.h for their format), loaded once on first
// use, the second overriding the first:
//   1. velk-registry.reg beside the program, installed with it;
//   2. velk/registry.reg in the user's configuration directory
//      ($XDG_CONFIG_HOME, or ~/.config when that is not set), where an
//      engineer registers servers of his own.

#include <string>
#include <vector>

#include "Messages.h"
#include "RegistryHive.h"

// A value of the wrong type for the read asked for.
class ERegistryException : public EVelkError
{
public:
    using EVelkError::EVelkError;
};

class TRegistry
{
public:
    // A reader on the process-wide classes root.
    TRegistry();
    // A reader on a hive of the caller's (tests, tools).
    explicit TRegistry(const RegistryHive& hive);

    // Opens a key for reading: a path starting with "\" counts from the
    // root, any other from the key open now. False (and the current key kept)
    // when the key does not exist.
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();
    bool KeyExists(const std::string& key) const;
    // Path of the open key from the root, "" for the root itself.
    const std::string& CurrentPath() const { return currentPath_; }

    // Subkeys and value names of the open key (the root when none is open).
    std::vector<std::string> GetKeyNames() const;
    std::vector<std::string> GetValueNames() const;
    bool ValueExists(const std::string& name) const;
    // A text value of the open key; name "" is the default value. A missing
    // value reads as empty text; a value that is not text throws
    // ERegistryException.
    std::string ReadString(const std::string& name) const;

private:
    const RegistryKey* Resolve(const std::string& key, std::string& path) const;

    const RegistryHive& hive_;
    const RegistryKey* current_ = nullptr;
    std::string currentPath_;
};

// The process-wide classes root, loaded on first use from RegistryFiles().
const RegistryHive& ClassesRoot();
// The files the classes root is read from, in load order.
std::vector<std::string> RegistryFiles();
// The two standard places: beside the program, and in the user's
// configuration directory.
std::vector<std::string> DefaultRegistryFiles();
// Replaces the list of files and reloads the classes root from it (the
// command-line tools and the tests point it elsewhere).
void SetRegistryFiles(const std::vector<std::string>& files);
// Reloads the classes root from the current list of files.
void ReloadClassesRoot();
