#pragma once
// The character each glyph of a PDF stands for, as its text layer says.
//
// Qt's PDF writer finds the character of an embedded glyph by asking the
// font's character map for every code point and keeping the first that
// gives the glyph. The CJK faces (Noto Sans/Serif CJK) give one glyph both
// to a common ideograph and to its Kangxi radical or radical-supplement
// form, which come first: 目 was written as ⽬ (U+2F6C), 气 as ⽓, 水 as ⽔,
// so a reader searching the PDF for "项目名称" found nothing. The page looks
// right either way; only the text layer (the ToUnicode maps) is wrong, and
// it is mended after the PDF is written.

#include <QByteArray>
#include <QMap>
#include <QString>

#include <vector>

// The PDF with every ToUnicode map's radical forms replaced by the unified
// ideographs they stand for; the file itself when no map has one (or the
// file is not laid out as Qt writes it: then it is left as it is).
QByteArray UnifyPdfTextLayer(const QByteArray& pdf);

// Every ToUnicode map of the PDF: glyph code -> text.
std::vector<QMap<uint, QString>> PdfToUnicodeMaps(const QByteArray& pdf);

// The unified ideograph of a Kangxi radical or a CJK radical-supplement
// form that has one (Unicode's compatibility decomposition); other
// characters as they are.
QString UnifiedIdeographs(const QString& text);
