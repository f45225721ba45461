#include "AutoObject.h"

namespace
{

AutoObject& RequireObject(const AutoVariant& v, const std::string& member)
{
    AutoObjectPtr obj = v.IsObject() ? v.ToObject() : nullptr;
    if (!obj)
        throw EAutoError("Cannot call \"" + member + "\": the variant (" + AutoTypeName(v.Type()) +
                         ") does not reference an automation object");
    return *obj;
}

} // namespace

std::string AutoFoldCase(const std::string& name)
{
    std::string out = name;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

AutoVariant AutoObject::Call(const std::string& name, AutoArgs args)
{
    return Invoke(name, AutoInvoke::Method, args);
}

AutoVariant AutoObject::Get(const std::string& name, AutoArgs indices)
{
    return Invoke(name, AutoInvoke::PropertyGet, indices);
}

void AutoObject::Put(const std::string& name, const AutoVariant& value)
{
    AutoArgs args{value};
    Invoke(name, AutoInvoke::PropertyPut, args);
}

void AutoObject::Put(const std::string& name, AutoArgs indices, const AutoVariant& value)
{
    indices.push_back(value);
    Invoke(name, AutoInvoke::PropertyPut, indices);
}

AutoVariant AutoVariant::Call(const std::string& name, std::vector<AutoVariant> args) const
{
    return RequireObject(*this, name).Call(name, std::move(args));
}

AutoVariant AutoVariant::Get(const std::string& name, std::vector<AutoVariant> indices) const
{
    return RequireObject(*this, name).Get(name, std::move(indices));
}

void AutoVariant::Put(const std::string& name, const AutoVariant& value) const
{
    RequireObject(*this, name).Put(name, value);
}

void AutoVariant::Put(const std::string& name, std::vector<AutoVariant> indices,
                      const AutoVariant& value) const
{
    RequireObject(*this, name).Put(name, std::move(indices), value);
}

AutoVariant AutoDispatch::Invoke(const std::string& name, AutoInvoke kind, AutoArgs& args)
{
    const auto it = members_.find(AutoFoldCase(name));
    if (it == members_.end())
        throw EAutoError(ClassName(),
                         "Unknown name \"" + name + "\": " + ClassName() + " has no such member");
    Member& m = it->second;
    const bool put = kind == AutoInvoke::PropertyPut;
    if (put && !m.write)
        throw EAutoError(ClassName(), "Property \"" + m.name + "\" of " + ClassName() + " is read-only");
    if (!put && !m.read)
        throw EAutoError(ClassName(), "Property \"" + m.name + "\" of " + ClassName() + " is write-only");
    if (put && args.empty()) throw EAutoError(ClassName(), "No value given for property \"" + m.name + "\"");
    const int count = static_cast<int>(args.size()) - (put ? 1 : 0);
    if (count < m.minArgs || count > m.maxArgs)
        throw EAutoError(ClassName(), "Invalid number of parameters for \"" + m.name + "\" of " +
                                          ClassName() + ": " + std::to_string(count) + " given, " +
                                          (m.minArgs == m.maxArgs ? std::to_string(m.minArgs)
                                                                  : std::to_string(m.minArgs) + " to " +
                                                                        std::to_string(m.maxArgs)) +
                                          " expected");
    if (put) {
        AutoVariant value = args.back();
        AutoArgs indices(args.begin(), args.end() - 1);
        m.write(indices, value);
        return {};
    }
    return m.read(args);
}

bool AutoDispatch::HasMember(const std::string& name) const
{
    return members_.count(AutoFoldCase(name)) != 0;
}

void AutoDispatch::AddMethod(const std::string& name, Reader read, int minArgs, int maxArgs)
{
    members_[AutoFoldCase(name)] = Member{name, std::move(read), {}, minArgs, std::max(minArgs, maxArgs)};
}

void AutoDispatch::AddProperty(const std::string& name, Reader read, Writer write, int minIndices,
                               int maxIndices)
{
    members_[AutoFoldCase(name)] =
        Member{name, std::move(read), std::move(write), minIndices, std::max(minIndices, maxIndices)};
}

const AutoVariant& AutoDispatch::Required(const AutoArgs& args, std::size_t i, const std::string& member)
{
    if (i >= args.size() || args[i].IsMissing())
        throw EAutoError("Parameter " + std::to_string(i + 1) + " of \"" + member + "\" is not optional");
    return args[i];
}

bool AutoDispatch::Given(const AutoArgs& args, std::size_t i)
{
    return i < args.size() && !args[i].IsMissing();
}
