#include "AutoRegistry.h"

#include <algorithm>

namespace
{

template <typename T> auto FindKey(T& list, const std::string& key)
{
    return std::find_if(list.begin(), list.end(), [&](const auto& e) { return e.first == key; });
}

} // namespace

AutoRegistry& AutoRegistry::Instance()
{
    static AutoRegistry registry;
    return registry;
}

void AutoRegistry::RegisterClass(const std::string& progId, Factory factory)
{
    if (progId.empty() || !factory) throw EAutoError("A class needs a program identifier and a factory");
    const std::string key = AutoFoldCase(progId);
    auto it = FindKey(classes_, key);
    if (it != classes_.end())
        it->second = ClassEntry{progId, std::move(factory)};
    else
        classes_.emplace_back(key, ClassEntry{progId, std::move(factory)});
}

void AutoRegistry::UnregisterClass(const std::string& progId)
{
    auto it = FindKey(classes_, AutoFoldCase(progId));
    if (it != classes_.end()) classes_.erase(it);
}

bool AutoRegistry::IsRegistered(const std::string& progId) const
{
    return FindKey(classes_, AutoFoldCase(progId)) != classes_.end();
}

std::vector<std::string> AutoRegistry::ProgIds() const
{
    std::vector<std::string> ids;
    for (const auto& e : classes_)
        ids.push_back(e.second.progId);
    std::sort(ids.begin(), ids.end());
    return ids;
}

AutoObjectPtr AutoRegistry::CreateObject(const std::string& progId) const
{
    auto it = FindKey(classes_, AutoFoldCase(progId));
    if (it == classes_.end())
        throw EAutoError(progId,
                         "Invalid class string: \"" + progId + "\" is not a registered automation class");
    // Copy the factory: it may register or unregister classes while it runs.
    Factory factory = it->second.factory;
    AutoObjectPtr obj = factory();
    if (!obj)
        throw EAutoError(progId, "The automation class \"" + progId + "\" could not create an instance");
    return obj;
}

void AutoRegistry::RegisterActiveObject(const std::string& progId, AutoObjectPtr object)
{
    if (!object) throw EAutoError("Cannot enter an empty object in the running object table");
    const std::string key = AutoFoldCase(progId);
    auto it = FindKey(running_, key);
    if (it != running_.end())
        it->second = std::move(object);
    else
        running_.emplace_back(key, std::move(object));
}

void AutoRegistry::RevokeActiveObject(const std::string& progId)
{
    auto it = FindKey(running_, AutoFoldCase(progId));
    if (it != running_.end()) running_.erase(it);
}

void AutoRegistry::RegisterActiveProvider(const std::string& progId, Provider provider)
{
    const std::string key = AutoFoldCase(progId);
    auto it = FindKey(providers_, key);
    if (it != providers_.end())
        it->second = std::move(provider);
    else
        providers_.emplace_back(key, std::move(provider));
}

void AutoRegistry::RevokeActiveProvider(const std::string& progId)
{
    auto it = FindKey(providers_, AutoFoldCase(progId));
    if (it != providers_.end()) providers_.erase(it);
}

AutoObjectPtr AutoRegistry::FindActiveObject(const std::string& progId) const
{
    const std::string key = AutoFoldCase(progId);
    auto it = FindKey(running_, key);
    if (it != running_.end()) return it->second;
    auto p = FindKey(providers_, key);
    if (p != providers_.end() && p->second) {
        Provider provider = p->second;
        return provider();
    }
    return nullptr;
}

AutoObjectPtr AutoRegistry::GetActiveObject(const std::string& progId) const
{
    AutoObjectPtr obj = FindActiveObject(progId);
    if (!obj) throw EAutoError(progId, "Operation unavailable: no running instance of \"" + progId + "\"");
    return obj;
}
