// The stored properties of the push button: a property set made from the input,
// read by the button, written back and read again.
//
// Input: records KEY KIND LENGTH BYTES[LENGTH]. KEY picks one of the names
// below, KIND the value's kind: a flag, a number of up to 8 bytes, a text of
// one character per byte or per byte pair, or a font.
#include "fuzz/fuzz_check.h"
#include "tests/fakes/fake_command_view.h"
#include "widgets/command.h"
#include "widgets/command_testing.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

using namespace orvane::widgets;
using orvane::fakes::FakeCommandView;

namespace {

const char* const kKeys[] = {"Enabled",  "Caption", "Font",       "FirstRun",   "FontColour",
                             "Visible",  "enabled", "CAPTION",    "fontcolour", "VISIBLE",
                             "firstrun", "Other",   "FontColour2"};

PropertyValue ValueOf(unsigned kind, const std::uint8_t* bytes, std::size_t n) {
  switch (kind % 5) {
    case 0:
      return n > 0 && (bytes[0] & 1);
    case 1: {
      std::int64_t v = 0;
      std::memcpy(&v, bytes, n < 8 ? n : 8);
      return v;
    }
    case 2:
      return std::u16string(bytes, bytes + n);
    case 3: {
      std::u16string text;
      for (std::size_t i = 0; i + 1 < n; i += 2)
        text += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
      return text;
    }
    default:
      return FontRef{n};
  }
}

// Reads the set as the container does; false when the button refused it the
// documented way (a value of the wrong kind, or a number out of range).
bool Load(Command& button, const PropertyBag& bag) {
  try {
    button.ReadProperties(bag, FontRef{1});
    return true;
  } catch (const std::invalid_argument&) {
  } catch (const std::out_of_range&) {
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  PropertyBag bag;
  std::size_t at = 0;
  while (at + 3 <= size) {
    const char* key = kKeys[data[at] % (sizeof kKeys / sizeof kKeys[0])];
    const unsigned kind = data[at + 1];
    std::size_t n = data[at + 2];
    at += 3;
    if (n > size - at) n = size - at;
    const PropertyValue value = ValueOf(kind, data + at, n);
    at += n;
    bag.Set(key, value);

    // The conversions answer within range or refuse the documented way.
    try {
      const std::int64_t v = ToInteger(value, INT16_MIN, INT16_MAX);
      FUZZ_CHECK(v >= INT16_MIN && v <= INT16_MAX);
    } catch (const std::invalid_argument&) {
    } catch (const std::out_of_range&) {
    }
    try {
      ToBool(value);
    } catch (const std::invalid_argument&) {
    }
    const PropertyValue other = ValueOf(kind + 1, data + at - n, n);
    FUZZ_CHECK(SameValue(value, other) == SameValue(other, value));
    FUZZ_CHECK(SameValue(value, value));
  }

  FakeCommandView view;
  view.width = 1635;
  Command button(view);
  if (!Load(button, bag)) return 0;
  FUZZ_CHECK(button.BackStyle() <= 1);

  // What the button writes, it reads back the same.
  PropertyBag saved;
  button.WriteProperties(saved, FontRef{1});
  FakeCommandView view2;
  view2.width = 1635;
  Command again(view2);
  FUZZ_CHECK(Load(again, saved));
  FUZZ_CHECK(again.EnabledField() == button.EnabledField());
  FUZZ_CHECK(CommandTesting::FirstRun(again) == CommandTesting::FirstRun(button));
  FUZZ_CHECK(again.BackStyle() == button.BackStyle());
  FUZZ_CHECK(again.Label().colour == button.Label().colour);
  FUZZ_CHECK(again.Label().font == button.Label().font);
  // "Command" is the written default but "Command1" the read one: that caption is not kept.
  if (button.Label().caption != u"Command")
    FUZZ_CHECK(again.Label().caption == button.Label().caption);
  return 0;
}
