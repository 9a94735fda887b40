#pragma once
// Number and text conversions with the exact behaviour the settings file and
// the dialog have always had: files written by earlier versions must read the
// same, and numbers must be written the same way.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::common {

// Lenient reading of a decimal number: blanks, tabs and line feeds are ignored
// wherever they stand, reading stops at the first character that cannot
// continue it (sign, digits, one point, an exponent E or D), and text without
// a number gives 0, "&H10" and "&O20" included. Out-of-range magnitudes give
// +-infinity. (Val in the program that first wrote the settings file.)
double LenientNumber(std::string_view text);

// Strict reading: the whole text must be one decimal number (optional sign,
// fraction, exponent E or D) with only blanks or tabs around it.
std::optional<double> ParseNumber(std::string_view text);

// Next lower whole number (2.7 -> 2, -0.5 -> -1).
double Floor(double x);

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double x);

// A whole number in range, or nothing (outside the range, or not finite).
std::optional<std::int16_t> ToInt16(double whole);
std::optional<std::int32_t> ToInt32(double whole);

// Decimal text with one leading blank for a non-negative number (" 2", "-3").
std::string NumberText(long long n);

// Decimal text as the pattern "##" gives it: empty for 0 ("", "7", "-7").
// (FormatHash before; the repeat box shows a stored track this way.)
std::string NumberTextOrEmpty(long long n);

}  // namespace orvane::common
