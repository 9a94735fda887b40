#include "widgets/property_bag.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace orvane::widgets {

namespace {

bool KeyEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

auto KeyIs(std::string_view key) {
  return [key](const auto& item) { return KeyEquals(item.first, key); };
}

// A text read as a number, or nothing when it is not one.
std::optional<double> TextNumber(const std::u16string& text) {
  std::string ascii;
  for (char16_t c : text) {
    if (c > 0x7F) return std::nullopt;
    ascii += static_cast<char>(c);
  }
  const size_t first = ascii.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const size_t last = ascii.find_last_not_of(" \t");
  ascii = ascii.substr(first, last - first + 1);
  if (ascii.size() > 2 && ascii[0] == '&' && (ascii[1] == 'H' || ascii[1] == 'h')) {
    char* end = nullptr;
    const unsigned long long v = std::strtoull(ascii.c_str() + 2, &end, 16);
    if (*end != '\0' || ascii[2] == '-' || ascii[2] == '+' || v > 0xFFFFFFFFull)
      return std::nullopt;
    return static_cast<double>(v);
  }
  for (char c : ascii) {
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+'))
      return std::nullopt;  // no exponents, names or hex floats
  }
  char* end = nullptr;
  const double v = std::strtod(ascii.c_str(), &end);
  if (*end != '\0' || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<double> AsNumber(const PropertyValue& v) {
  if (auto b = std::get_if<bool>(&v)) return *b ? -1.0 : 0.0;
  if (auto i = std::get_if<int64_t>(&v)) return static_cast<double>(*i);
  if (auto s = std::get_if<std::u16string>(&v)) return TextNumber(*s);
  return std::nullopt;
}

}  // namespace

const PropertyValue* PropertyBag::Find(std::string_view key) const {
  const auto it = std::find_if(items_.begin(), items_.end(), KeyIs(key));
  return it == items_.end() ? nullptr : &it->second;
}

PropertyValue PropertyBag::Read(std::string_view key, const PropertyValue& fallback) const {
  const PropertyValue* found = Find(key);
  return found ? *found : fallback;
}

void PropertyBag::Set(std::string_view key, const PropertyValue& value) {
  const auto it = std::find_if(items_.begin(), items_.end(), KeyIs(key));
  if (it != items_.end()) {
    it->second = value;
  } else {
    items_.emplace_back(std::string(key), value);
  }
}

void PropertyBag::Write(std::string_view key, const PropertyValue& value,
                        const PropertyValue& defaultValue) {
  if (!SameValue(value, defaultValue)) {
    Set(key, value);
  } else {
    items_.erase(std::remove_if(items_.begin(), items_.end(), KeyIs(key)), items_.end());
  }
}

std::vector<std::string> PropertyBag::Keys() const {
  std::vector<std::string> keys;
  for (const auto& item : items_) keys.push_back(item.first);
  return keys;
}

bool SameValue(const PropertyValue& a, const PropertyValue& b) {
  if (a.index() == b.index()) return a == b;
  if (std::holds_alternative<FontRef>(a) || std::holds_alternative<FontRef>(b)) return false;
  const auto x = AsNumber(a);
  const auto y = AsNumber(b);
  return x && y && *x == *y;
}

bool ToBool(const PropertyValue& v) {
  if (auto b = std::get_if<bool>(&v)) return *b;
  if (auto s = std::get_if<std::u16string>(&v)) {
    auto is = [&](const char* word) {
      std::string ascii;
      for (char16_t c : *s) ascii += c < 0x80 ? static_cast<char>(c) : '?';
      return KeyEquals(ascii, word);
    };
    if (is("True")) return true;
    if (is("False")) return false;
  }
  const auto n = AsNumber(v);
  if (!n) throw std::invalid_argument("not a boolean value");
  return *n != 0.0;
}

int64_t ToInteger(const PropertyValue& v, int64_t min, int64_t max) {
  const auto n = AsNumber(v);
  if (!n) throw std::invalid_argument("not a number");
  const double rounded = std::nearbyint(*n);  // default rounding mode: half to even
  if (rounded < static_cast<double>(min) || rounded > static_cast<double>(max))
    throw std::out_of_range("number out of range");
  return static_cast<int64_t>(rounded);
}

std::u16string ToText(const PropertyValue& v) {
  if (auto s = std::get_if<std::u16string>(&v)) return *s;
  if (auto b = std::get_if<bool>(&v)) return *b ? u"True" : u"False";
  if (auto i = std::get_if<int64_t>(&v)) {
    const std::string digits = std::to_string(*i);
    return std::u16string(digits.begin(), digits.end());
  }
  throw std::invalid_argument("not a text");
}

FontRef ToFont(const PropertyValue& v) {
  if (auto f = std::get_if<FontRef>(&v)) return *f;
  throw std::invalid_argument("not a font");
}

}  // namespace orvane::widgets
