// The late-bound automation layer: variants, calls by name, the registry.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

#include "AutoObject.h"
#include "AutoRegistry.h"

namespace
{

// A small server object: a named value store with an indexed property, a
// method with a by-reference result and a read-only property.
class Store : public AutoDispatch
{
public:
    Store()
    {
        AddProperty(
            "Item", [this](AutoArgs& a) { return items_[Required(a, 0, "Item").ToInt()]; },
            [this](AutoArgs& a, const AutoVariant& v) { items_[Required(a, 0, "Item").ToInt()] = v; }, 1, 1);
        AddProperty("Count", [this](AutoArgs&) { return AutoVariant(static_cast<int>(items_.size())); });
        // Sum(a, b, out): out := a + b; returns True.
        AddMethod(
            "Sum",
            [](AutoArgs& a) {
                a.at(2).Assign(Required(a, 0, "Sum").ToDouble() + Required(a, 1, "Sum").ToDouble());
                return AutoVariant(true);
            },
            3, 3);
        AddMethod(
            "Scale",
            [](AutoArgs& a) {
                const double factor = Given(a, 1) ? a[1].ToDouble() : 10.0;
                return AutoVariant(Required(a, 0, "Scale").ToDouble() * factor);
            },
            1, 2);
    }
    std::string ClassName() const override { return "Store"; }
    std::map<int, AutoVariant> items_;
};

std::string ErrorText(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EAutoError& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST(AutoVariant, NumbersConvertWithRoundingHalfToEven)
{
    EXPECT_EQ(AutoVariant(2.5).ToInt(), 2);
    EXPECT_EQ(AutoVariant(3.5).ToInt(), 4);
    EXPECT_EQ(AutoVariant(-2.5).ToInt(), -2);
    EXPECT_EQ(AutoVariant(2.4999).ToInt(), 2);
    EXPECT_EQ(AutoVariant("12.0").ToInt(), 12);
    EXPECT_EQ(AutoVariant(" 16 ").ToInt(), 16);
    EXPECT_EQ(AutoVariant(true).ToInt(), -1);
    EXPECT_EQ(AutoVariant().ToInt(), 0);
    EXPECT_DOUBLE_EQ(AutoVariant("1.5E-6").ToDouble(), 1.5e-6);
    EXPECT_DOUBLE_EQ(AutoVariant(7).ToDouble(), 7.0);
    EXPECT_THROW(AutoVariant(3e9).ToInt(), EAutoError);
    EXPECT_THROW(AutoVariant("abc").ToInt(), EAutoError);
    EXPECT_THROW(AutoVariant("1,5").ToDouble(), EAutoError);
    EXPECT_THROW(AutoVariant("nan").ToDouble(), EAutoError);
    EXPECT_THROW(AutoVariant("inf").ToDouble(), EAutoError);
    EXPECT_THROW(AutoVariant("").ToDouble(), EAutoError);
    EXPECT_THROW(AutoVariant::Missing().ToInt(), EAutoError);
}

TEST(AutoVariant, NanAndInfinityNeverEnterAVariant)
{
    EXPECT_THROW(AutoVariant(std::nan("")), EMathError);
    EXPECT_THROW(AutoVariant(std::numeric_limits<double>::infinity()), EMathError);
}

TEST(AutoVariant, TextOfNumbersHasFifteenDigitsAndExponentOnlyAtTheEnds)
{
    EXPECT_EQ(AutoVariant(100.0).ToString(), "100");
    EXPECT_EQ(AutoVariant(0.1).ToString(), "0.1");
    EXPECT_EQ(AutoVariant(-2.5).ToString(), "-2.5");
    EXPECT_EQ(AutoVariant(1.0 / 3.0).ToString(), "0.333333333333333");
    EXPECT_EQ(AutoVariant(2.0 / 3.0).ToString(), "0.666666666666667");
    EXPECT_EQ(AutoVariant(1.5e-6).ToString(), "1.5E-6");
    EXPECT_EQ(AutoVariant(0.00001).ToString(), "0.00001");
    EXPECT_EQ(AutoVariant(0.0000099).ToString(), "9.9E-6");
    EXPECT_EQ(AutoVariant(123456789012345.0).ToString(), "123456789012345");
    EXPECT_EQ(AutoVariant(1e15).ToString(), "1E15");
    EXPECT_EQ(AutoVariant(-42).ToString(), "-42");
    EXPECT_EQ(AutoVariant(false).ToString(), "False");
    EXPECT_EQ(AutoVariant().ToString(), "");
}

TEST(AutoVariant, WideAndNarrowStringsCarryTheSameText)
{
    const std::u16string wide = u"液相密度 kg/m³";
    AutoVariant w(wide);
    EXPECT_EQ(w.Type(), AutoType::WideString);
    EXPECT_EQ(w.ToString(), std::string("\xE6\xB6\xB2\xE7\x9B\xB8\xE5\xAF\x86\xE5\xBA\xA6 kg/m\xC2\xB3"));
    EXPECT_EQ(AutoVariant(w.ToString()).ToWString(), wide);
    EXPECT_EQ(AutoVariant(u"2.5").ToDouble(), 2.5);
}

TEST(AutoVariant, ByReferenceReadsAndWritesTheCallersVariable)
{
    AutoVariant tray(7);
    AutoVariant ref = AutoVariant::ByRef(tray);
    EXPECT_TRUE(ref.IsByRef());
    EXPECT_EQ(ref.ToInt(), 7);
    tray.Assign(8);
    EXPECT_EQ(ref.ToInt(), 8); // reads look through
    ref.Assign("column 1");    // writes land in the caller's variable
    EXPECT_EQ(tray.Type(), AutoType::String);
    EXPECT_EQ(tray.ToString(), "column 1");
    AutoVariant refOfRef = AutoVariant::ByRef(ref);
    refOfRef.Assign(3.25);
    EXPECT_EQ(tray.ToDouble(), 3.25);
    EXPECT_FALSE(ref.Value().IsByRef());
    AutoVariant byValue = tray; // a copy of a by-value variant is independent
    byValue.Assign(1);
    EXPECT_EQ(tray.ToDouble(), 3.25);
}

TEST(AutoDispatch, CallsByNameIgnoreCaseAndWriteBackByReference)
{
    auto store = std::make_shared<Store>();
    AutoVariant obj{AutoObjectPtr(store)};
    obj.Put("ITEM", {3}, "three");
    obj.Put("item", {5}, 5.5);
    EXPECT_EQ(obj.Get("Item", {3}).ToString(), "three");
    EXPECT_EQ(obj.Call("iTeM", {5}).ToDouble(), 5.5); // a method call reads a property too
    EXPECT_EQ(obj.Get("count").ToInt(), 2);

    AutoVariant result;
    EXPECT_TRUE(obj.Call("sum", {2, "0.5", AutoVariant::ByRef(result)}).ToBool());
    EXPECT_EQ(result.ToDouble(), 2.5);

    EXPECT_EQ(obj.Call("Scale", {3}).ToDouble(), 30.0);
    EXPECT_EQ(obj.Call("Scale", {3, AutoVariant::Missing()}).ToDouble(), 30.0);
    EXPECT_EQ(obj.Call("Scale", {3, 2}).ToDouble(), 6.0);
}

TEST(AutoDispatch, MisuseGivesAutomationErrorsThatNameTheMember)
{
    AutoVariant obj{AutoObjectPtr(std::make_shared<Store>())};
    EXPECT_NE(ErrorText([&] { obj.Call("Frobnicate"); }).find("Frobnicate"), std::string::npos);
    EXPECT_NE(ErrorText([&] { obj.Call("Frobnicate"); }).find("Store"), std::string::npos);
    EXPECT_NE(ErrorText([&] { obj.Put("Count", 4); }).find("read-only"), std::string::npos);
    EXPECT_NE(ErrorText([&] {
                  obj.Call("Sum", {1, 2});
              }).find("Invalid number of parameters"),
              std::string::npos);
    EXPECT_NE(ErrorText([&] { obj.Call("Scale", {AutoVariant::Missing()}); }).find("not optional"),
              std::string::npos);
    EXPECT_NE(ErrorText([&] { obj.Get("Item", {"x"}); }).find("String"), std::string::npos);
    AutoVariant nothing;
    EXPECT_NE(ErrorText([&] { nothing.Get("Count"); }).find("does not reference an automation object"),
              std::string::npos);
    // An automation error is one of the program's own errors, so the default
    // report shows its text.
    try {
        obj.Call("Nope");
        FAIL();
    } catch (const EVelkError& e) {
        EXPECT_NE(std::string(e.what()).find("Nope"), std::string::npos);
    }
}

TEST(AutoRegistry, CreatesByProgramIdentifierAndAttachesToRunningInstances)
{
    auto& reg = AutoRegistry::Instance();
    int made = 0;
    reg.RegisterClass("Test.Store.12", [&] {
        ++made;
        return std::make_shared<Store>();
    });
    EXPECT_TRUE(reg.IsRegistered("test.store.12"));
    const auto ids = reg.ProgIds();
    EXPECT_NE(std::find(ids.begin(), ids.end(), "Test.Store.12"), ids.end());

    std::weak_ptr<AutoObject> weak;
    {
        AutoObjectPtr a = CreateOleObject("TEST.STORE.12");
        AutoObjectPtr b = CreateOleObject("Test.Store.12");
        EXPECT_NE(a, b); // every creation is a new instance
        weak = a;
    }
    EXPECT_EQ(made, 2);
    EXPECT_TRUE(weak.expired()); // a created instance ends with its last reference

    EXPECT_NE(ErrorText([] { GetActiveOleObject("Test.Store.12"); }).find("Operation unavailable"),
              std::string::npos);
    auto running = std::make_shared<Store>();
    weak = running;
    reg.RegisterActiveObject("Test.Store.12", running);
    running.reset();
    EXPECT_FALSE(weak.expired()); // the table keeps a running instance alive
    EXPECT_EQ(GetActiveOleObject("test.STORE.12"), weak.lock());
    reg.RevokeActiveObject("Test.Store.12");
    EXPECT_TRUE(weak.expired());

    // A provider answers for an instance the table does not hold in-process.
    auto remote = std::make_shared<Store>();
    reg.RegisterActiveProvider("Test.Remote", [&] { return remote; });
    EXPECT_EQ(GetActiveOleObject("test.remote"), remote);
    reg.RegisterActiveProvider("Test.Remote", [] { return AutoObjectPtr(); });
    EXPECT_THROW(GetActiveOleObject("Test.Remote"), EAutoError);
    reg.RevokeActiveProvider("Test.Remote");

    reg.UnregisterClass("test.store.12");
    EXPECT_NE(ErrorText([] { CreateOleObject("Test.Store.12"); }).find("Invalid class string"),
              std::string::npos);
}
