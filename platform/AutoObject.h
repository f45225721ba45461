#pragma once
// An object called by member name, the stand-in for IDispatch.
//
// Every call goes through Invoke(name, kind, args):
//   - name is the member's name, matched without regard to case, as
//     IDispatch::GetIDsOfNames does;
//   - kind is a method call, a property read or a property write. As with
//     late binding from Delphi, a method call and a property read of a member
//     are interchangeable: X.Operations("ColumnOp") and X.Count are both
//     answered by the member's read side;
//   - args are in natural order (first argument first). For a property read
//     they are the indices of an indexed property; for a property write the
//     last element is the value written and those before it the indices.
//     A by-reference argument (AutoVariant::ByRef) lets the callee write back
//     into the caller's variable; AutoVariant::Missing() omits an optional
//     argument.
// Failures are EAutoError with a text for the user: an unknown member, a
// write to a read-only property, a wrong number of arguments, an argument of
// the wrong type, or the server's own error.
//
// Objects are shared: a reference held by a caller keeps the object alive,
// and an object ends when its last reference goes (the COM reference count).
//
// AutoDispatch is the usual base for an automation server's objects: it keeps
// a table of members with a read side and a write side and does the name
// lookup, the read/write dispatch and the argument-count checks.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AutoVariant.h"

using AutoArgs = std::vector<AutoVariant>;

enum class AutoInvoke { Method, PropertyGet, PropertyPut };

class AutoObject : public std::enable_shared_from_this<AutoObject>
{
public:
    virtual ~AutoObject() = default;
    virtual AutoVariant Invoke(const std::string& name, AutoInvoke kind, AutoArgs& args) = 0;
    // Class name used in error texts ("Workbook", "Application", ...).
    virtual std::string ClassName() const { return "Object"; }

    AutoVariant Call(const std::string& name, AutoArgs args = {});
    AutoVariant Get(const std::string& name, AutoArgs indices = {});
    void Put(const std::string& name, const AutoVariant& value);
    void Put(const std::string& name, AutoArgs indices, const AutoVariant& value);
};

// Lower-case ASCII form of a member name or program identifier, the key of
// every case-insensitive lookup in this layer.
std::string AutoFoldCase(const std::string& name);

class AutoDispatch : public AutoObject
{
public:
    using Reader = std::function<AutoVariant(AutoArgs& args)>;
    using Writer = std::function<void(AutoArgs& indices, const AutoVariant& value)>;

    AutoVariant Invoke(const std::string& name, AutoInvoke kind, AutoArgs& args) override;
    bool HasMember(const std::string& name) const;

protected:
    // A member answered by a call or a read. minArgs..maxArgs bound the
    // number of arguments (trailing Missing arguments count as given, so a
    // member that accepts omitted arguments says so in maxArgs).
    void AddMethod(const std::string& name, Reader read, int minArgs = 0, int maxArgs = 0);
    // A property: read side (may be empty for write-only) and write side
    // (empty for read-only); indices bounds the number of indices of both.
    void AddProperty(const std::string& name, Reader read, Writer write = {}, int minIndices = 0,
                     int maxIndices = 0);

    // Argument i, or an error naming the member when it is absent or omitted.
    static const AutoVariant& Required(const AutoArgs& args, std::size_t i, const std::string& member);
    // True when argument i was given and not omitted.
    static bool Given(const AutoArgs& args, std::size_t i);

private:
    struct Member {
        std::string name;
        Reader read;
        Writer write;
        int minArgs = 0;
        int maxArgs = 0;
    };
    std::map<std::string, Member> members_; // keyed by folded name
};
