// Rounding, number formats, point sizes and style parameters of the chart
// engine.

#include "chartcommon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ChartCommon, RoundingHalvesToEven)
{
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(1e20), std::numeric_limits<int>::max());
    EXPECT_EQ(RoundHalfEven(-1e20), std::numeric_limits<int>::min());
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);

    EXPECT_EQ(ClampPixel(40000.0), 32767);
    EXPECT_EQ(ClampPixel(-40000.0), -32768);
    EXPECT_EQ(ClampPixel(100.5), 100);
    EXPECT_EQ(ClampPixel(std::numeric_limits<double>::infinity()), 32767);

    EXPECT_EQ(FloorDiv(-3, 5), -1);
    EXPECT_EQ(FloorMod(-3, 5), 2);
    EXPECT_EQ(FloorMod(10, 5), 0);
    EXPECT_EQ(FloorDiv(7, 5), 1);
}

TEST(ChartCommon, GeneralFormatWithPrecisionFour)
{
    auto g = [](double v) { return FormatGeneral(v, 4, 4).toStdString(); };
    EXPECT_EQ(g(2.5), "2.5");
    EXPECT_EQ(g(3.14159), "3.142");
    EXPECT_EQ(g(-2.5), "-2.5");
    EXPECT_EQ(g(100), "100");
    EXPECT_EQ(g(1234.4), "1234");
    EXPECT_EQ(g(0), "0");
    EXPECT_EQ(g(0.1), "0.1");
    EXPECT_EQ(g(0.00001234), "0.00001234");
    EXPECT_EQ(g(0.00001), "0.00001");
    // Below 0.00001 or with more than four integer digits: scientific, with
    // a four-digit exponent.
    EXPECT_EQ(g(0.000001234), "1.234E-0006");
    EXPECT_EQ(g(12346), "1.235E0004");
    EXPECT_EQ(g(-12346), "-1.235E0004");
    // 9999.6 rounds to five integer digits.
    EXPECT_EQ(g(9999.6), "1E0004");
    EXPECT_EQ(g(1.5e300), "1.5E0300");
    EXPECT_EQ(g(std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(FormatGeneral(123456.0, 7, 0).toStdString(), "123456");
    EXPECT_EQ(FormatGeneral(1.5e7, 7, 0).toStdString(), "1.5E7");
}

TEST(ChartCommon, FixedFormat)
{
    EXPECT_EQ(FormatFixed(1.4f, 1).toStdString(), "1.4");
    EXPECT_EQ(FormatFixed(0.30000001192092896, 1).toStdString(), "0.3");
    EXPECT_EQ(FormatFixed(-0.04, 1).toStdString(), "0.0");
    EXPECT_EQ(FormatFixed(-0.06, 1).toStdString(), "-0.1");
    EXPECT_EQ(FormatFixed(500, -2).toStdString(), "500");
}

TEST(ChartCommon, PointsToPixelsAt96Dpi)
{
    EXPECT_EQ(PointsToPixels(8), 11);  // 10.67
    EXPECT_EQ(PointsToPixels(9), 12);
    EXPECT_EQ(PointsToPixels(10), 13); // 13.33
    EXPECT_EQ(PointsToPixels(12), 16);
    EXPECT_EQ(PointsToPixels(20), 27); // 26.67
}

TEST(ChartCommon, ColoursInWindowsLayout)
{
    const TColor c = ChartRGB(202, 236, 253);
    EXPECT_EQ(c, 0xFDECCA);
    EXPECT_EQ(ToQColor(c), QColor(202, 236, 253));
    EXPECT_EQ(FromQColor(QColor(0, 0, 128)), 0x800000);
}

TEST(ChartCommon, StyleParameters)
{
    ResetChartSettings();
    EXPECT_EQ(ChartSetting(kSetMaxZoomDepth), 1000);
    EXPECT_EQ(ChartSetting(kSetLabelDistXFloat), 5);
    EXPECT_DOUBLE_EQ(ChartSetting(kSetMinorTicSizeX), 0.6);
    EXPECT_EQ(ChartSetting(999), 0);

    EXPECT_TRUE(SetChartSetting(kSetMaxZoomDepth, 0));
    EXPECT_EQ(ChartSetting(kSetMaxZoomDepth), 1); // lower bound
    EXPECT_TRUE(SetChartSetting(kSetMinorTicSizeY, 7));
    EXPECT_EQ(ChartSetting(kSetMinorTicSizeY), 1); // upper bound
    EXPECT_TRUE(SetChartSetting(kSetDisableZoomAutoRedraw, 0.6));
    EXPECT_EQ(ChartSetting(kSetDisableZoomAutoRedraw), 1); // integer parameter, rounded
    EXPECT_FALSE(SetChartSetting(999, 1));
    EXPECT_FALSE(SetChartSetting(kSetLabelDistY, std::nan("")));
    ResetChartSettings();
    EXPECT_EQ(ChartSetting(kSetMaxZoomDepth), 1000);
    EXPECT_EQ(ChartSetting(kSetDisableZoomAutoRedraw), 0);

    // Every entry's default lies within its bounds.
    int found = 0;
    for (int n = 0; n <= 200; ++n) {
        if (const TChartSetting* s = FindChartSetting(n)) {
            ++found;
            EXPECT_LE(s->lower, s->defaultValue) << s->name;
            EXPECT_GE(s->upper, s->defaultValue) << s->name;
        }
    }
    EXPECT_EQ(found, 39);
}
