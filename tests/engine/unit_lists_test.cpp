// The US customary items of the unit lists: each factor text against the
// unit's exact definition, and every field through every such unit.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "ComboBoxU.h"
#include "EditD.h"
#include "Messages.h"
#include "NumberText.h"
#include "UnitLists.h"

namespace {

// The exact definitions, written out here rather than taken from the lists.
constexpr long double kLb = 0.45359237L;          // kg
constexpr long double kFt = 0.3048L;              // m
constexpr long double kIn = 0.0254L;              // m
constexpr long double kGal = 3.785411784e-3L;     // m3, US gallon
constexpr long double kLbf = 4.4482216152605L;    // N
constexpr long double kInH2O = 1000 * 9.80665L * kIn; // Pa, conventional water column
constexpr long double kPsi = kLbf / (kIn * kIn);  // Pa

struct NewUnit {
    const char* field; // a field that uses the list
    int index;         // appended after the existing items
    const char* name;
    long double exact; // SI per unit
};

const NewUnit kNewUnits[] = {
    {"LD", 4, "lb/h", kLb / 3600},
    {"LD", 5, "lb/s", kLb},
    {"LD", 6, "klb/h", 1000 * kLb / 3600},
    {"DlD", 3, "lb/ft3", kLb / (kFt * kFt * kFt)},
    {"MlD", 2, "lb/ft.h", kLb / (kFt * 3600)},
    {"SLD", 3, "lbf/ft", kLbf / kFt},
    {"DlfD", 3, "ft2/h", kFt * kFt / 3600},
    {"UfD", 5, "ft/s", kFt},
    {"UfD", 6, "ft/min", kFt / 60},
    {"UfD", 7, "gpm/ft2", kGal / 60 / (kFt * kFt)},
    {"dD", 3, "ft", kFt},
    {"dD", 4, "in", kIn},
    {"dPdryD", 5, "mbar/m", 100},
    {"dPdryD", 6, "inH2O/ft", kInH2O / kFt},
    {"dPdryD", 7, "psi/ft", kPsi / kFt},
};

std::string FactorText(const std::string& item) { return item.substr(item.find('|') + 1); }

// Half a unit in the last decimal the text carries.
long double HalfLastDigit(const std::string& text)
{
    const auto point = text.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
    return 0.5L * std::pow(10.0L, -decimals);
}

class UnitListsTest : public ::testing::Test {
protected:
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
};

} // namespace

TEST_F(UnitListsTest, NewFactorTextsAreTheExactDefinitionsToTheirLastDigit)
{
    for (const NewUnit& u : kNewUnits) {
        SCOPED_TRACE(u.name);
        const auto items = UnitItemsForField(u.field);
        ASSERT_LT(u.index, static_cast<int>(items.size()));
        const std::string& item = items[static_cast<std::size_t>(u.index)];
        EXPECT_EQ(TComboBoxU::ItemUnit(item), u.name);
        // Padded to the list's width like the items before it.
        EXPECT_EQ(item.find('|'), items[0].find('|'));
        const std::string text = FactorText(item);
        long double factor = 0;
        ASSERT_TRUE(ParseNumber(text, factor)) << text;
        EXPECT_LE(std::fabs(factor - u.exact), HalfLastDigit(text) * 1.0000001L) << text;
        // At least nine significant digits: the seven shown ones stay true.
        EXPECT_LE(std::fabs(factor - u.exact) / u.exact, 5e-9L) << text;
    }
}

TEST_F(UnitListsTest, EveryFieldRoundTripsThroughEveryNewUnit)
{
    for (const char* field : {"LD", "VD", "DlD", "DvD", "MlD", "MvD", "SLD", "DlfD", "DvfD", "UfD", "UpD", "UlsD",
                              "UvsD", "dpD", "dD", "HTUVD", "HTULD", "HTUOVD", "HETPD", "dPdryD", "dPwaterD"}) {
        const UnitList* list = UnitListForField(field);
        ASSERT_NE(list, nullptr) << field;
        for (const NewUnit& u : kNewUnits) {
            if (UnitListForField(u.field) != list) continue;
            SCOPED_TRACE(std::string(field) + " in " + u.name);
            TEditD f(field);
            TComboBoxU unit("U", UnitItemsForField(field), &f);
            unit.SetItemIndex(u.index);
            EXPECT_EQ(unit.GetUnit(), u.name);
            // Typed value -> SI -> shown value.
            f.SetText("123.4567");
            const double si = f.GetValue();
            EXPECT_NEAR(si, static_cast<double>(123.4567L * u.exact), 5e-9 * si);
            f.SetText("");
            f.SetValue(si);
            EXPECT_EQ(f.FloatStr(), "123.4567");
            // Back to the SI unit: the value in SI stays.
            unit.SetItemIndex(0);
            EXPECT_NEAR(f.GetValue(), si, 1e-14 * si);
        }
    }
}
