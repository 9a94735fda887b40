#include "common/conversions.h"

#include <cmath>
#include <cstdlib>

namespace orvane::common {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal number (sign, mantissa, exponent) at the start of s; length 0
// when there is none. With requireExponentDigits false a dangling "E" or "E+"
// belongs to the number but reads as no exponent, as the lenient reading does.
struct DecimalScan {
  std::size_t length = 0;     // characters that belong to the number
  std::size_t numberEnd = 0;  // end of the part strtod may read
};

DecimalScan ScanDecimal(std::string_view s, bool requireExponentDigits) {
  DecimalScan scan;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) {
    ++i;
    ++digits;
  }
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) {
      ++i;
      ++digits;
    }
  }
  if (digits == 0) return scan;
  scan.length = scan.numberEnd = i;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    std::size_t expDigits = 0;
    while (j < s.size() && IsDigit(s[j])) {
      ++j;
      ++expDigits;
    }
    if (expDigits > 0) {
      scan.length = scan.numberEnd = j;
    } else if (!requireExponentDigits) {
      scan.length = j;  // "1E" and "1E+" read as 1
    } else {
      scan.length = 0;
    }
  }
  return scan;
}

double ToDouble(std::string_view s) {
  std::string copy(s);
  for (char& c : copy) {
    if (c == 'd' || c == 'D') c = 'e';
  }
  // strtod gives +-HUGE_VAL (infinity) on overflow and 0 on underflow.
  return std::strtod(copy.c_str(), nullptr);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

double LenientNumber(std::string_view text) {
  std::string packed;
  packed.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') packed.push_back(c);
  }
  DecimalScan scan = ScanDecimal(packed, false);
  if (scan.length == 0) return 0.0;
  return ToDouble(std::string_view(packed).substr(0, scan.numberEnd));
}

std::optional<double> ParseNumber(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  std::string_view core = text.substr(begin, end - begin);
  DecimalScan scan = ScanDecimal(core, true);
  if (scan.length == 0 || scan.length != core.size()) return std::nullopt;
  double value = ToDouble(core);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

double Floor(double x) { return std::floor(x); }

double RoundHalfEven(double x) {
  if (!std::isfinite(x)) return x;
  double lower = std::floor(x);
  double diff = x - lower;
  if (diff < 0.5) return lower;
  if (diff > 0.5) return lower + 1.0;
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::optional<std::int16_t> ToInt16(double whole) {
  if (!(whole >= -32768.0 && whole <= 32767.0)) return std::nullopt;
  return static_cast<std::int16_t>(whole);
}

std::optional<std::int32_t> ToInt32(double whole) {
  if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) return std::nullopt;
  return static_cast<std::int32_t>(whole);
}

std::string NumberText(long long n) { return n < 0 ? std::to_string(n) : " " + std::to_string(n); }

std::string NumberTextOrEmpty(long long n) { return n == 0 ? std::string() : std::to_string(n); }

}  // namespace orvane::common
