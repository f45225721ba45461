// Rounding, number formats, point sizes and style parameters of the chart
// engine.

#include "chartcommon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ChartCommon, RoundingHalvesToEvenAndClamps)
{
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(1e20), std::numeric_limits<int>::max());
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
    EXPECT_EQ(ClampPixel(40000.0), 32767);
    EXPECT_EQ(ClampPixel(-HUGE_VAL), -32768);
    EXPECT_EQ(FloorMod(-3, 5), 2);
    EXPECT_EQ(PointsToPixels(8), 11); // 10.67 at 96 dpi
    EXPECT_EQ(PointsToPixels(10), 13);
}

TEST(ChartCommon, GeneralFormatWithPrecisionFour)
{
    auto g = [](double v) { return FormatGeneral(v, 4, 4).toStdString(); };
    EXPECT_EQ(g(2.5), "2.5");
    EXPECT_EQ(g(3.14159), "3.142");
    EXPECT_EQ(g(-2.5), "-2.5");
    EXPECT_EQ(g(1234.4), "1234");
    EXPECT_EQ(g(0), "0");
    EXPECT_EQ(g(0.00001234), "0.00001234");
    // Below 0.00001 or with more than four integer digits: scientific, with
    // an exponent of four digits; 9999.6 rounds to five integer digits.
    EXPECT_EQ(g(0.000001234), "1.234E-0006");
    EXPECT_EQ(g(12346), "1.235E0004");
    EXPECT_EQ(g(9999.6), "1E0004");
    EXPECT_EQ(g(std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(FormatFixed(1.4f, 1).toStdString(), "1.4");
    EXPECT_EQ(FormatFixed(-0.04, 1).toStdString(), "0.0");
}

TEST(ChartCommon, StyleParametersStayInBounds)
{
    ResetChartSettings();
    EXPECT_EQ(ChartSetting(kSetMaxZoomDepth), 1000);
    EXPECT_TRUE(SetChartSetting(kSetMaxZoomDepth, 0));
    EXPECT_EQ(ChartSetting(kSetMaxZoomDepth), 1);
    EXPECT_TRUE(SetChartSetting(kSetDisableZoomAutoRedraw, 0.6));
    EXPECT_EQ(ChartSetting(kSetDisableZoomAutoRedraw), 1); // integer parameter
    EXPECT_FALSE(SetChartSetting(999, 1));
    EXPECT_FALSE(SetChartSetting(kSetLabelDistY, std::nan("")));
    ResetChartSettings();
    EXPECT_EQ(ChartSetting(kSetMaxZoomDepth), 1000);
}
