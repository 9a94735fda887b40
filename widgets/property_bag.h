#pragma once
// The stored property set of one control: named values, names matched without regard to
// (ASCII) case, kept in the order they were first written.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace orvane::widgets {

// A font as the platform knows it (on Windows an HFONT); compared by identity.
struct FontRef {
  uintptr_t handle = 0;
  bool operator==(const FontRef& o) const { return handle == o.handle; }
};

using PropertyValue = std::variant<bool, int64_t, std::u16string, FontRef>;

class PropertyBag {
 public:
  // The stored value, or `fallback` when the key is missing.
  PropertyValue Read(std::string_view key, const PropertyValue& fallback) const;
  // Stores `value`, or leaves the key out when it equals `defaultValue` (a number and a text
  // holding that number count as equal).
  void Write(std::string_view key, const PropertyValue& value, const PropertyValue& defaultValue);
  void Set(std::string_view key, const PropertyValue& value);
  const PropertyValue* Find(std::string_view key) const;
  std::vector<std::string> Keys() const;

 private:
  std::vector<std::pair<std::string, PropertyValue>> items_;
};

bool SameValue(const PropertyValue& a, const PropertyValue& b);

// Conversions of a stored value to the type a property holds. A value of the wrong kind throws
// std::invalid_argument; a number outside the range throws std::out_of_range. Numbers given as
// text are read in decimal (or "&H" hexadecimal), fractions rounded half to even.
bool ToBool(const PropertyValue& v);
int64_t ToInteger(const PropertyValue& v, int64_t min, int64_t max);
std::u16string ToText(const PropertyValue& v);
FontRef ToFont(const PropertyValue& v);

}  // namespace orvane::widgets
