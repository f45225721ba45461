// Every equation colour with every text colour the fields use: the text
// drawn is the field's own colour where it contrasts enough, else black or
// white. Expected choices and ratios from an independent WCAG calculation
// (python, sRGB luminance).
#include <gtest/gtest.h>

#include "CalcPage.h"
#include "ReadableColour.h"

namespace {
QColor FromTColor(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

struct Case {
    const char* equation;
    TColor background;
    double blueRatio;             // contrast of the computed fields' blue text
    Qt::GlobalColor blue, red, black; // colour drawn for blue, red and black text
};

const QColor kBlue(0, 0, 255), kRed(255, 0, 0), kBlack(0, 0, 0);
} // namespace

TEST(ReadableColour, EveryEquationColourGetsReadableText)
{
    const Case cases[] = {
        {"FlowParameter", EqColour::FlowParameter, 2.15, Qt::black, Qt::black, Qt::black},
        {"LoadFactor", EqColour::LoadFactor, 1.00, Qt::white, Qt::white, Qt::white},
        {"FloodVelocity", EqColour::FloodVelocity, 2.18, Qt::black, Qt::black, Qt::black},
        {"OperatingVelocity", EqColour::OperatingVelocity, 8.00, Qt::blue, Qt::black, Qt::black},
        {"TheoreticalDiameter", EqColour::TheoreticalDiameter, 6.85, Qt::blue, Qt::black, Qt::black},
        {"LiquidLoad", EqColour::LiquidLoad, 5.04, Qt::blue, Qt::black, Qt::black},
        {"VapourLoad", EqColour::VapourLoad, 5.83, Qt::blue, Qt::black, Qt::black},
        {"EquilibriumSlope", EqColour::EquilibriumSlope, 2.05, Qt::black, Qt::black, Qt::black},
        {"StrippingFactor", EqColour::StrippingFactor, 4.72, Qt::blue, Qt::black, Qt::black},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.equation);
        const QColor bg = FromTColor(c.background);
        EXPECT_NEAR(ContrastRatio(bg, kBlue), c.blueRatio, 0.01);
        EXPECT_EQ(ReadableTextColour(bg, kBlue), QColor(c.blue));
        EXPECT_EQ(ReadableTextColour(bg, kRed), QColor(c.red));
        EXPECT_EQ(ReadableTextColour(bg, kBlack), QColor(c.black));
        for (const QColor& text : {kBlue, kRed, kBlack})
            EXPECT_GE(ContrastRatio(bg, ReadableTextColour(bg, text)), 4.5);
    }
    EXPECT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
}
