#pragma once
// Text on a coloured field must stay readable: the equation colours are
// kept (they tell which equation computed the field), but where the field's
// text colour does not stand out from its background enough, the text is
// drawn in black or white, whichever contrasts more. "Enough" is the WCAG
// contrast ratio of 4.5 for normal text (docs/readable-colours.md).

#include <QColor>

// WCAG 2 contrast ratio of two colours, 1 (none) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);
// text itself when it contrasts with background by at least 4.5, else black
// or white.
QColor ReadableTextColour(const QColor& background, const QColor& text);
