#pragma once
// Types and helpers shared by the chart engine: colours in the Windows
// layout, rounding, the style parameter table, fonts and number formats.

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>

// A Windows colour value: red in the low byte, green in the second, blue in
// the third. Negative values are special codes of some operations.
using TColor = std::int32_t;

constexpr TColor ChartRGB(int r, int g, int b)
{
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

// Axis colour that means "the background colour, but drawn".
inline constexpr TColor kAxisBackgroundColour = -255;

QColor ToQColor(TColor c);
TColor FromQColor(const QColor& c);

// Nearest integer, a half going to the even neighbour (rnd(2.5) = 2). Values
// beyond the int range are clamped, NaN gives 0, so callers never see
// undefined conversions.
int RoundHalfEven(double v);

// rnd(v) clamped to the 16-bit coordinate range of the drawing surface.
int ClampPixel(double v);

// Integer division that floors, also for negative numerators.
int FloorDiv(int a, int b);
int FloorMod(int a, int b);

// Style parameters of the engine. The table holds every parameter the
// library knows; the operations read only a few of them.
struct TChartSetting {
    int number;
    double defaultValue;
    double lower;
    double upper;
    bool isInteger;
    const char* name;
};

// Current value of a parameter (integer parameters come back rounded); 0 for
// an unknown number.
double ChartSetting(int number);
// Sets a parameter within its bounds; false for an unknown number or a
// non-finite value.
bool SetChartSetting(int number, double value);
void ResetChartSettings();
const TChartSetting* FindChartSetting(int number);

enum : int {
    kSetDisableZoomAutoRedraw = 5,
    kSetMaxZoomDepth = 10,
    kSetMinLogRatio = 11,
    kSetLabelDistXFloat = 20,
    kSetLabelDistXExp = 21,
    kSetMajorTicSizeX = 23,
    kSetMinorTicSizeX = 24,
    kSetLabelDistY = 40,
    kSetMajorTicSizeY = 43,
    kSetMinorTicSizeY = 44,
    kSetAntialiasFont = 1,
};

// A range a logarithmic axis accepts, widened to whole decades: an end at or
// below zero becomes `decades` decades under the other end (one decade when
// both are), and no more than `decades` decades lie below the top. A range
// without a positive value gives 1..10.
struct TLogRange {
    double min = 1;
    double max = 10;
};
TLogRange SanitisedLogRange(double min, double max, int decades);

// Fonts. The drawings name Windows fonts; the substitutions that map them to
// installed ones live in one place, here.
void InstallChartFontSubstitutions();
// Screen points to pixels at the 96 dpi the drawings are laid out for.
int PointsToPixels(int points);
// dotsPerInch > 0: the points of a printer or PDF page at its resolution, so
// that a chart reads the same on paper; 0: the screen rule above.
QFont MakeChartFont(const QString& name, int points, bool italic, bool bold, bool antialias,
                    double dotsPerInch = 0);

// Fixed notation with the given number of decimals (negative taken as 0).
QString FormatFixed(double v, int decimals);
// General format: fixed notation with up to `precision` significant digits
// when the value has at most `precision` integer digits and is at least
// 0.00001 in magnitude, otherwise scientific notation with an exponent of at
// least `expDigits` digits. Trailing zeros are dropped.
QString FormatGeneral(double v, int precision, int expDigits);

// Mouse buttons and shift state in the Windows style of the paint surface's
// events.
enum TChartButton : int { mbLeft = 0, mbRight = 1, mbMiddle = 2 };
enum TChartShift : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};

// One read-out of the mouse position in a graph.
struct TChartReadout {
    int graph = 0;
    int mouseX = 0;
    int mouseY = 0;
    double worldX = 0;
    float worldY[4] = {0, 0, 0, 0};
};
