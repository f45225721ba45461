#pragma once
// Conversions between numbers and the texts a value field holds. Stored
// project files and printouts depend on these exact forms, so they do not
// follow the C library's locale: the point is always the decimal separator.
//
// The fields work in 80-bit extended precision (long double on x86-64), as the
// original did, so that texts such as 720.000000002016 come out digit for digit.

#include <string>
#include <string_view>

// Removes leading and trailing blanks and control characters (code <= 32).
std::string Trim(std::string_view s);
// The same without a copy.
std::string_view TrimView(std::string_view s);

// Parses a number: optional leading blanks, optional sign, digits with an
// optional point, optional exponent "E"/"e" with optional sign; nothing may
// follow. Returns false for anything else, including an empty text and a
// value out of range.
bool ParseNumber(std::string_view text, long double& out);
bool ParseNumber(std::string_view text, double& out);

// General format with the given number of significant digits: fixed notation
// when the rounded magnitude is at least 0.00001 and it has at most
// `precision` digits before the point, else scientific with at least
// `expDigits` exponent digits (no sign for positive exponents). Trailing
// zeros of the fraction and a trailing point are dropped; zero is "0".
std::string FormatGeneral(long double value, int precision, int expDigits);

// 15 significant digits, exponent without padding (1E-6): the text written
// into a field by SetValue.
inline std::string FullPrecisionText(long double v) { return FormatGeneral(v, 15, 0); }

// 7 significant digits, exponent padded to 4 digits (1E-0006): the display string.
inline std::string DisplayText(long double v) { return FormatGeneral(v, 7, 4); }
