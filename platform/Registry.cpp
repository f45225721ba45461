#include "Registry.h"

#include "DataFiles.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace
{

struct ClassesRootState {
    std::optional<std::vector<std::string>> files; // unset: the default places
    RegistryHive hive;
    bool loaded = false;
};

ClassesRootState& State()
{
    static ClassesRootState state;
    return state;
}

void Load(ClassesRootState& s)
{
    s.hive.Clear();
    const std::vector<std::string> files = s.files ? *s.files : DefaultRegistryFiles();
    for (const std::string& f : files)
        s.hive.LoadFile(f);
    s.loaded = true;
}

std::string JoinPath(const std::string& base, const std::string& rel)
{
    std::string out = base;
    for (const std::string& part : RegistrySplitPath(rel)) {
        if (!out.empty()) out += '\\';
        out += part;
    }
    return out;
}

} // namespace

std::vector<std::string> DefaultRegistryFiles()
{
    std::vector<std::string> files;
    files.push_back(DataFilePath(QStringLiteral("velk-registry.reg")).toStdString());
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!config.isEmpty()) files.push_back(config.toStdString() + "/velk/registry.reg");
    return files;
}

std::vector<std::string> RegistryFiles()
{
    ClassesRootState& s = State();
    return s.files ? *s.files : DefaultRegistryFiles();
}

void SetRegistryFiles(const std::vector<std::string>& files)
{
    ClassesRootState& s = State();
    s.files = files;
    Load(s);
}

void ReloadClassesRoot()
{
    Load(State());
}

const RegistryHive& ClassesRoot()
{
    ClassesRootState& s = State();
    if (!s.loaded) Load(s);
    return s.hive;
}

// ---- TRegistry ----

TRegistry::TRegistry() : hive_(ClassesRoot()) {}

TRegistry::TRegistry(const RegistryHive& hive) : hive_(hive) {}

const RegistryKey* TRegistry::Resolve(const std::string& key, std::string& path) const
{
    const bool absolute = !key.empty() && key[0] == '\\';
    path = absolute || !current_ ? std::string() : currentPath_;
    path = JoinPath(path, key);
    return hive_.Find(path);
}

bool TRegistry::OpenKeyReadOnly(const std::string& key)
{
    std::string path;
    const RegistryKey* k = Resolve(key, path);
    if (!k) return false;
    current_ = k;
    currentPath_ = path;
    return true;
}

void TRegistry::CloseKey()
{
    current_ = nullptr;
    currentPath_.clear();
}

bool TRegistry::KeyExists(const std::string& key) const
{
    std::string path;
    return Resolve(key, path) != nullptr;
}

std::vector<std::string> TRegistry::GetKeyNames() const
{
    return (current_ ? *current_ : hive_.Root()).SubKeyNames();
}

std::vector<std::string> TRegistry::GetValueNames() const
{
    return (current_ ? *current_ : hive_.Root()).ValueNames();
}

bool TRegistry::ValueExists(const std::string& name) const
{
    return (current_ ? *current_ : hive_.Root()).Value(name) != nullptr;
}

std::string TRegistry::ReadString(const std::string& name) const
{
    const RegistryValue* v = (current_ ? *current_ : hive_.Root()).Value(name);
    if (!v) return {};
    if (!v->IsText())
        throw ERegistryException("Invalid data type for '" +
                                 (name.empty() ? std::string("(Default)") : name) + "'");
    return v->text;
}
