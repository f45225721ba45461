#pragma once
// Fonts of the printed and PDF pages.
//
// Qt's PDF writer gives each embedded glyph its character from the font's
// character map alone. The CJK faces (Noto Sans/Serif CJK SC) shape the
// digits of a Latin run into their proportional-digit glyphs, which that map
// does not reach, so "T-201" came back from the PDF as "T-". A page font
// therefore puts a TrueType Latin face first: Latin runs take its plain
// glyphs, Chinese text falls through to the CJK face.

#include <QFont>
#include <QStringList>

// The families a page font tries for a text meant to look like `family`:
// a serif or sans Latin face, then `family`, then the CJK face of its kind.
QStringList PageFontFamilies(const QString& family);

// The sans font of tables on a page, `points` in points of the page (the
// painter's device resolution turns them into pixels).
QFont PageFont(double points, bool bold = false);

// The smallest type a page may print: anything smaller is not read.
inline constexpr double kMinPagePoints = 7.0;
