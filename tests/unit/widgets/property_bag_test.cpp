#include "widgets/property_bag.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace orvane::widgets;

namespace orvane::widgets {
namespace {

TEST(PropertyBag, KeysIgnoreCaseAndKeepTheirOrder) {
  PropertyBag bag;
  bag.Set("caption", u"a");
  bag.Set("Font", FontRef{3});
  bag.Set("CAPTION", u"b");
  EXPECT_EQ(std::get<std::u16string>(bag.Read("Caption", u"x")), u"b");
  EXPECT_EQ(std::get<FontRef>(bag.Read("fONT", FontRef{})), FontRef{3});
  EXPECT_EQ(std::get<bool>(bag.Read("Enabled", true)), true);
  EXPECT_EQ(bag.Keys(), (std::vector<std::string>{"caption", "Font"}));
}

TEST(PropertyBag, WriteLeavesOutDefaults) {
  struct Row {
    PropertyValue value, defaultValue;
    bool stored;
  } rows[] = {
      {true, true, false},
      {false, true, true},
      {int64_t{1}, u"1", false},
      {int64_t{0}, u"0", false},
      {int64_t{2}, u"1", true},
      {u"Command", u"Command", false},
      {u"command", u"Command", true},
      {FontRef{1}, FontRef{1}, false},
      {FontRef{2}, FontRef{1}, true},
  };
  for (const auto& r : rows) {
    PropertyBag bag;
    bag.Set("Key", u"stale");
    bag.Write("KEY", r.value, r.defaultValue);
    EXPECT_EQ(bag.Find("key") != nullptr, r.stored);
  }
}

TEST(PropertyBag, Conversions) {
  EXPECT_EQ(ToInteger(u"1", 0, 255), 1);
  EXPECT_EQ(ToInteger(u" 42 ", 0, 255), 42);
  EXPECT_EQ(ToInteger(u"2.5", 0, 255), 2);  // half to even
  EXPECT_EQ(ToInteger(u"3.5", 0, 255), 4);
  EXPECT_EQ(ToInteger(u"&HFF", 0, 255), 255);
  EXPECT_EQ(ToInteger(true, -1, 0), -1);
  EXPECT_THROW(ToInteger(u"256", 0, 255), std::out_of_range);
  EXPECT_THROW(ToInteger(int64_t{-1}, 0, 255), std::out_of_range);
  EXPECT_THROW(ToInteger(u"", 0, 255), std::invalid_argument);
  EXPECT_THROW(ToInteger(u"1e3", 0, 9999), std::invalid_argument);
  EXPECT_THROW(ToInteger(u"１", 0, 9), std::invalid_argument);
  EXPECT_THROW(ToInteger(FontRef{}, 0, 9), std::invalid_argument);

  EXPECT_TRUE(ToBool(u"true"));
  EXPECT_FALSE(ToBool(u"False"));
  EXPECT_TRUE(ToBool(int64_t{-1}));
  EXPECT_FALSE(ToBool(u"0"));
  EXPECT_THROW(ToBool(u"yes"), std::invalid_argument);

  EXPECT_EQ(ToText(int64_t{-12}), u"-12");
  EXPECT_EQ(ToText(true), u"True");
  EXPECT_THROW(ToFont(u"Tahoma"), std::invalid_argument);
}

}  // namespace
}  // namespace orvane::widgets
