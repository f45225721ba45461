#include "chartcommon.h"

#include "FontSetup.h"
#include "PdfFont.h"

#include <QFont>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

QColor ToQColor(TColor c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

TColor FromQColor(const QColor& c)
{
    return ChartRGB(c.red(), c.green(), c.blue());
}

int RoundHalfEven(double v)
{
    if (std::isnan(v))
        return 0;
    // nearbyint follows the current rounding mode, which the program never
    // changes from round-to-nearest-even; it raises no inexact trap either.
    const double r = std::nearbyint(v);
    if (r >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}

int ClampPixel(double v)
{
    if (std::isnan(v))
        return 0;
    if (v > 32767.0)
        return 32767;
    if (v < -32768.0)
        return -32768;
    return RoundHalfEven(v);
}

int FloorDiv(int a, int b)
{
    int q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

int FloorMod(int a, int b)
{
    return a - FloorDiv(a, b) * b;
}

namespace {

constexpr std::array<TChartSetting, 39> kSettings{{
    {1, 1, 0, 1, true, "antialias font"},
    {2, 20, 10, 100, true, "legend width"},
    {3, 0, 0, 1, true, "mode colour scale"},
    {4, 0, 0, 1, true, "symbol exponent"},
    {5, 0, 0, 1, true, "disable zoom autoredraw"},
    {10, 1000, 1, 100000, false, "max zoom depth"},
    {11, 2, 1, 100, false, "min log ratio"},
    {20, 5, 1, 100, false, "label dist X float"},
    {21, 8, 1, 100, false, "label dist X exp"},
    {22, 1, 0.2, 5, false, "fineness log X"},
    {23, 1, 0, 3, false, "major ticsize X"},
    {24, 0.6, 0, 1, false, "minor ticsize X"},
    {25, 0, -90, 90, true, "angle text X"},
    {26, 0, 0, 0, false, "format sci labels X"},
    {40, 2, 1, 100, false, "label dist Y"},
    {41, 0, 0, 1, true, "rotate vert caption Y"},
    {42, 1, 0.2, 5, false, "fineness log Y"},
    {43, 1, 0, 3, false, "major ticsize Y"},
    {44, 0.6, 0, 1, false, "minor ticsize Y"},
    {45, 0, -90, 90, true, "angle text Y"},
    {46, 0, 0, 0, false, "format sci labels Y"},
    {60, 2, 1, 100, false, "label dist R"},
    {61, 20, 1, 1000, false, "max zoom depth R"},
    {62, 1, 0.1, 10, false, "fineness grid polar"},
    {63, 1, 0, 3, false, "major ticsize R"},
    {64, 0.6, 0, 1, false, "minor ticsize R"},
    {66, 0, 0, 0, false, "format sci labels R"},
    {100, 5, 1, 100, false, "label dist X 1"},
    {101, 2, 1, 100, false, "label dist X 2"},
    {102, 1, 0, 3, false, "ticsize X"},
    {110, 5, 1, 100, false, "label dist Y 1"},
    {111, 2, 1, 100, false, "label dist Y 2"},
    {112, 1, 0, 3, false, "ticsize Y"},
    {120, 5, 1, 100, false, "label dist Z 1"},
    {121, 2, 1, 100, false, "label dist Z 2"},
    {122, 0.6, 0, 3, false, "ticsize Z"},
    {130, 5, 1, 100, false, "label dist R 1"},
    {131, 2, 1, 100, false, "label dist R 2"},
    {132, 1, 0, 3, false, "ticsize R"},
}};

std::array<double, kSettings.size()>& SettingValues()
{
    static std::array<double, kSettings.size()> values = [] {
        std::array<double, kSettings.size()> v{};
        for (std::size_t i = 0; i < kSettings.size(); ++i)
            v[i] = kSettings[i].defaultValue;
        return v;
    }();
    return values;
}

int SettingIndex(int number)
{
    for (std::size_t i = 0; i < kSettings.size(); ++i)
        if (kSettings[i].number == number)
            return static_cast<int>(i);
    return -1;
}

} // namespace

const TChartSetting* FindChartSetting(int number)
{
    const int i = SettingIndex(number);
    return i < 0 ? nullptr : &kSettings[static_cast<std::size_t>(i)];
}

double ChartSetting(int number)
{
    const int i = SettingIndex(number);
    if (i < 0)
        return 0;
    const double v = SettingValues()[static_cast<std::size_t>(i)];
    return kSettings[static_cast<std::size_t>(i)].isInteger ? RoundHalfEven(v) : v;
}

bool SetChartSetting(int number, double value)
{
    const int i = SettingIndex(number);
    if (i < 0 || !std::isfinite(value))
        return false;
    const TChartSetting& s = kSettings[static_cast<std::size_t>(i)];
    SettingValues()[static_cast<std::size_t>(i)] = std::clamp(value, s.lower, s.upper);
    return true;
}

void ResetChartSettings()
{
    for (std::size_t i = 0; i < kSettings.size(); ++i)
        SettingValues()[i] = kSettings[i].defaultValue;
}

TLogRange SanitisedLogRange(double min, double max, int decades)
{
    decades = std::clamp(decades, 1, 300);
    if (min > max)
        std::swap(min, max);
    if (!std::isfinite(max) || !(max > 0))
        return TLogRange();
    const double top = std::pow(10.0, std::ceil(std::log10(max)));
    const double lowest = top / std::pow(10.0, decades);
    double bottom = min > 0 && std::isfinite(min) ? std::pow(10.0, std::floor(std::log10(min))) : lowest;
    bottom = std::max(bottom, lowest);
    if (!(bottom < top))
        bottom = top / 10;
    return TLogRange{bottom, top};
}

void InstallChartFontSubstitutions()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // SimSun is a Song (serif) face; the Noto Serif CJK family is its closest
    // installed match. Arial goes to Liberation Sans, which has its metrics,
    // so that label widths, and with them the automatic axis steps, are the
    // same on every machine (fontconfig's own choice varies).
    InstallFontSubstitutes();
}

int PointsToPixels(int points)
{
    // The Windows conversion MulDiv(points, 96, 72), rounding halves away
    // from zero like MulDiv does.
    const long long n = static_cast<long long>(points) * 96;
    const long long q = (n >= 0 ? n + 36 : n - 36) / 72;
    return static_cast<int>(q);
}

QFont MakeChartFont(const QString& name, int points, bool italic, bool bold, bool antialias, double dotsPerInch)
{
    InstallChartFontSubstitutions();
    QFont font(name);
    // On a page (PDF, printer) Latin runs take a TrueType face, so that the
    // PDF's text layer keeps their digits.
    if (dotsPerInch > 0) font.setFamilies(PageFontFamilies(name));
    const int pixels = dotsPerInch > 0 ? RoundHalfEven(points * std::min(dotsPerInch, 10000.0) / 72.0)
                                       : PointsToPixels(points);
    font.setPixelSize(std::max(1, pixels));
    font.setItalic(italic);
    font.setBold(bold);
    font.setStyleStrategy(antialias ? QFont::PreferAntialias : QFont::NoAntialias);
    return font;
}

QString FormatFixed(double v, int decimals)
{
    if (!std::isfinite(v))
        return std::isnan(v) ? QStringLiteral("NAN")
                             : (v > 0 ? QStringLiteral("INF") : QStringLiteral("-INF"));
    decimals = std::clamp(decimals, 0, 18);
    QString s = QString::number(v, 'f', decimals);
    // A value that rounds to zero carries no sign.
    bool allZero = true;
    for (QChar ch : s)
        if (ch.isDigit() && ch != QLatin1Char('0'))
            allZero = false;
    if (allZero && s.startsWith(QLatin1Char('-')))
        s.remove(0, 1);
    return s;
}

QString FormatGeneral(double v, int precision, int expDigits)
{
    if (std::isnan(v))
        return QStringLiteral("NAN");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (v == 0)
        return QStringLiteral("0");
    precision = std::clamp(precision, 1, 18);
    expDigits = std::clamp(expDigits, 0, 4);

    // Round to the wanted significant digits first: the rounded value
    // decides how many integer digits there are (9999.6 has five).
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, v);
    QString sci = QString::fromLatin1(buf);
    const int ePos = sci.indexOf(QLatin1Char('e'));
    const int exponent = sci.mid(ePos + 1).toInt();
    QString mantissa = sci.left(ePos);

    auto stripZeros = [](QString s) {
        if (s.contains(QLatin1Char('.'))) {
            while (s.endsWith(QLatin1Char('0')))
                s.chop(1);
            if (s.endsWith(QLatin1Char('.')))
                s.chop(1);
        }
        return s;
    };

    if (exponent < precision && std::fabs(v) >= 0.00001) {
        const int decimals = precision - 1 - exponent;
        std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
        return stripZeros(QString::fromLatin1(buf));
    }
    QString digits = QString::number(std::abs(exponent));
    while (digits.size() < expDigits)
        digits.prepend(QLatin1Char('0'));
    return stripZeros(mantissa) + QLatin1Char('E') + (exponent < 0 ? QStringLiteral("-") : QString()) +
           digits;
}
