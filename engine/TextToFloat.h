#pragma once
// Conversion of catalogue cells, list constants and combo-box texts, which an
// equation reads as numbers at every evaluation.

#include <string>

// Blanks around the number are allowed, nothing else (point as decimal
// separator). Throws EConvertError "'<text>' is not a valid floating point
// value" otherwise, also for a value beyond the range of a double.
double TextToFloat(const std::string& text);
