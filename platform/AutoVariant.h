#pragma once
// Late-bound automation, the stand-in for COM IDispatch on this platform.
//
// AutoVariant is the value that travels through a late-bound call: the
// arguments, the result and the value of a property write. It holds one of
//
//   Empty        no value (an unassigned variant, VT_EMPTY)
//   Missing      an omitted optional argument (VT_ERROR/DISP_E_PARAMNOTFOUND);
//                the callee uses its default for that position
//   Boolean      bool
//   Integer      32-bit signed integer (VT_I4)
//   Double       IEEE double (VT_R8)
//   String       8-bit string, UTF-8 (a COM string passed from Delphi code)
//   WideString   UTF-16 string (VT_BSTR as a WideString)
//   Object       a shared reference to an AutoObject (VT_DISPATCH)
//
// A variant is passed by value unless it was made with ByRef(variable): then
// it refers to the caller's variable, every read looks through to that
// variable and Assign() writes into it, so a callee can hand a value back
// through its argument (VT_BYREF). The caller keeps the variable alive for
// the duration of the call.
//
// Conversions (ToBool, ToInt, ToDouble, ToString, ToWString, ToObject)
// follow the usual variant rules: numbers convert among themselves (a double
// rounds to the nearest integer, halves to even), text converts to a number
// when it is one in the point-decimal notation, numbers convert to text with
// 15 significant digits, Empty reads as 0, False or empty text. A conversion
// that cannot be made, or a double that is NaN or infinite, throws
// EAutoError; a NaN never leaves a variant as a number.

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "AutoError.h"

class AutoObject;
using AutoObjectPtr = std::shared_ptr<AutoObject>;

enum class AutoType { Empty, Missing, Boolean, Integer, Double, String, WideString, Object };

// Name of the type as shown in error texts ("Integer", "String", ...).
const char* AutoTypeName(AutoType type);

class AutoVariant
{
public:
    AutoVariant() = default;
    AutoVariant(bool value) : value_(value) {}
    AutoVariant(int value) : value_(static_cast<std::int32_t>(value)) {}
    // A NaN or an infinity is refused here (EMathError), so none travels
    // through a call.
    AutoVariant(double value);
    AutoVariant(const char* value) : value_(std::string(value)) {}
    AutoVariant(std::string value) : value_(std::move(value)) {}
    AutoVariant(const char16_t* value) : value_(std::u16string(value)) {}
    AutoVariant(std::u16string value) : value_(std::move(value)) {}
    AutoVariant(AutoObjectPtr object) : value_(std::move(object)) {}
    // Any other integral type must be cast explicitly, so that a 64-bit
    // count or a char cannot silently become a 32-bit integer.
    template <typename T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, int>) AutoVariant(T)
    = delete;
    // Without this a pointer of any other type would become a Boolean.
    template <typename T> AutoVariant(const T*) = delete;

    // The omitted-argument marker.
    static AutoVariant Missing();
    // A by-reference variant bound to target (which must outlive the call).
    static AutoVariant ByRef(AutoVariant& target);

    bool IsByRef() const { return ref_ != nullptr; }
    // Type of the value, seen through a reference.
    AutoType Type() const;
    bool IsEmpty() const { return Type() == AutoType::Empty; }
    bool IsMissing() const { return Type() == AutoType::Missing; }
    // Empty or Missing: no value was given.
    bool IsBlank() const { return IsEmpty() || IsMissing(); }
    bool IsObject() const { return Type() == AutoType::Object; }
    bool IsText() const { return Type() == AutoType::String || Type() == AutoType::WideString; }
    bool IsNumber() const { return Type() == AutoType::Integer || Type() == AutoType::Double; }

    bool ToBool() const;
    std::int32_t ToInt() const;
    double ToDouble() const;
    std::string ToString() const;     // UTF-8
    std::u16string ToWString() const; // UTF-16
    // The object; Empty gives nullptr, any other non-object throws.
    AutoObjectPtr ToObject() const;

    // Writes value into the referenced variable (by-reference variant) or
    // into this variant itself. The value is stored dereferenced.
    void Assign(const AutoVariant& value);

    // The variant with any reference resolved: a by-value copy of what it
    // refers to.
    AutoVariant Value() const;

    // Late-bound calls on the object this variant holds (see AutoObject.h);
    // a variant holding no object throws EAutoError. They read like the
    // original's chains: app.Get("Workbooks").Call("Add", {path}).
    AutoVariant Call(const std::string& name, std::vector<AutoVariant> args = {}) const;
    AutoVariant Get(const std::string& name, std::vector<AutoVariant> indices = {}) const;
    void Put(const std::string& name, const AutoVariant& value) const;
    void Put(const std::string& name, std::vector<AutoVariant> indices, const AutoVariant& value) const;

    // Equality of type and value (references resolved, objects by identity).
    friend bool operator==(const AutoVariant& a, const AutoVariant& b);

private:
    struct MissingTag {
        bool operator==(const MissingTag&) const = default;
    };
    using Storage = std::variant<std::monostate, MissingTag, bool, std::int32_t, double, std::string,
                                 std::u16string, AutoObjectPtr>;
    const AutoVariant& Target() const { return ref_ ? *ref_ : *this; }
    [[noreturn]] void CastError(AutoType to) const;

    Storage value_;
    AutoVariant* ref_ = nullptr;
};

// Formats a double as variant text: 15 significant digits, trailing zeros
// dropped, exponent form ("1.5E-6") only below 1e-5 or from 1e15 up.
std::string AutoFloatToStr(double value);
