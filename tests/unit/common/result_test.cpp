#include "common/result.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using orvane::common::Reason;
using orvane::common::Result;

namespace {

Result<std::string> FirstWord(const std::string& text) {
  if (text.empty()) return Reason{"nothing to read"};
  return text.substr(0, text.find(' '));
}

Result<void> Check(int n) {
  if (n < 0) return Reason{"negative: " + std::to_string(n)};
  return {};
}

// A text value and a text reason must never be taken for each other, and an
// empty value is still a value (an empty reason still a failure).
TEST(Result, ValueAndReasonStayApart) {
  struct Case {
    Result<std::string> result;
    bool ok;
    std::string value, why;
  };
  const std::vector<Case> cases = {
      {FirstWord("veils of light"), true, "veils", ""},
      {FirstWord(""), false, "", "nothing to read"},
      {Result<std::string>(std::string()), true, "", ""},
      {Result<std::string>(Reason{}), false, "", ""},
      {Result<std::string>(std::string("why")), true, "why", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.result.Ok(), c.ok) << c.value << c.why;
    EXPECT_EQ(static_cast<bool>(c.result), c.ok) << c.value << c.why;
    if (c.ok) {
      EXPECT_EQ(c.result.Value(), c.value);
      EXPECT_EQ(*c.result, c.value);
      EXPECT_TRUE(c.result.Why().empty());
    } else {
      EXPECT_EQ(c.result.Why(), c.why);
    }
  }
}

TEST(Result, StepsWithoutAValue) {
  struct Case {
    int n;
    bool ok;
    const char* why;
  };
  for (const Case& c : {Case{0, true, ""}, {7, true, ""}, {-3, false, "negative: -3"}}) {
    const Result<void> done = Check(c.n);
    EXPECT_EQ(done.Ok(), c.ok) << c.n;
    EXPECT_EQ(!done, !c.ok) << c.n;
    EXPECT_EQ(done.Why(), c.why) << c.n;
  }
}

}  // namespace
