#include "common/conversions.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvane::common;

namespace {

// Decimal numbers only: the &H and &O forms read as no number.
TEST(LenientNumber, ReadsLikeThePlainTextToNumberConversion) {
  struct Case {
    const char* text;
    double want;
  };
  const Case cases[] = {
      {"1234", 1234}, {" 1234", 1234}, {":1234", 0},  {"1 2\t3\n4", 1234}, {"12abc", 12},
      {"", 0},        {"abc", 0},      {"-5", -5},    {"+5", 5},           {"- 5", -5},
      {"--5", 0},     {"1.5", 1.5},    {".5", 0.5},   {"1.2.3", 1.2},      {"1,000", 1},
      {"1e3", 1000},  {"1D2", 100},    {"2E-1", 0.2}, {"1e", 1},           {"1e+", 1},
      {"7\r8", 7},    {"&H10", 0},     {"&hff", 0},   {"&O20", 0},         {"&17", 0},
      {"&H", 0},      {"&X1", 0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(orvane::common::LenientNumber(c.text), c.want) << '"' << c.text << '"';
  }
  EXPECT_TRUE(std::isinf(orvane::common::LenientNumber("1e999")));
}

TEST(ParseNumber, AcceptsOnlyOneDecimalNumberWithBlanksAround) {
  struct Case {
    const char* text;
    bool ok;
    double want;
  };
  const Case cases[] = {
      {"2", true, 2},    {" 2", true, 2},    {"2 \t", true, 2},   {"-0.5", true, -0.5},
      {"+7", true, 7},   {"1.9", true, 1.9}, {"1e2", true, 100},  {"1D-1", true, 0.1},
      {".5", true, .5},  {"5.", true, 5},    {"", false, 0},      {"  ", false, 0},
      {"abc", false, 0}, {"1 2", false, 0},  {"2x", false, 0},    {"1e", false, 0},
      {"-", false, 0},   {".", false, 0},    {"1e999", false, 0}, {"--1", false, 0},
      {"1,5", false, 0},
  };
  for (const Case& c : cases) {
    auto got = orvane::common::ParseNumber(c.text);
    ASSERT_EQ(got.has_value(), c.ok) << '"' << c.text << '"';
    if (c.ok) {
      EXPECT_DOUBLE_EQ(*got, c.want) << '"' << c.text << '"';
    }
  }
}

TEST(Rounding, FloorGoesDownAndHalvesRoundToEven) {
  struct Case {
    double x;
    double floor;
    double even;
  };
  const Case cases[] = {
      {2.7, 2, 3},  {-0.5, -1, -0},  {0.5, 0, 0},    {1.5, 1, 2},
      {2.5, 2, 2},  {3.5, 3, 4},     {-1.5, -2, -2}, {-2.5, -3, -2},
      {2.49, 2, 2}, {-2.51, -3, -3}, {7, 7, 7},      {32767.5, 32767, 32768},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(orvane::common::Floor(c.x), c.floor) << c.x;
    EXPECT_EQ(orvane::common::RoundHalfEven(c.x), c.even) << c.x;
  }
}

TEST(Ranges, WholeNumbersOutsideTheTypeAreRefused) {
  EXPECT_EQ(orvane::common::ToInt16(-32768), -32768);
  EXPECT_EQ(orvane::common::ToInt16(32767), 32767);
  EXPECT_FALSE(orvane::common::ToInt16(32768));
  EXPECT_FALSE(orvane::common::ToInt16(-32769));
  EXPECT_FALSE(orvane::common::ToInt16(NAN));
  EXPECT_FALSE(orvane::common::ToInt16(INFINITY));
  EXPECT_EQ(orvane::common::ToInt32(-2147483648.0), INT32_MIN);
  EXPECT_EQ(orvane::common::ToInt32(2147483647.0), INT32_MAX);
  EXPECT_FALSE(orvane::common::ToInt32(2147483648.0));
}

TEST(NumberText, NonNegativeNumbersGetOneLeadingBlank) {
  EXPECT_EQ(orvane::common::NumberText(0), " 0");
  EXPECT_EQ(orvane::common::NumberText(2), " 2");
  EXPECT_EQ(orvane::common::NumberText(12), " 12");
  EXPECT_EQ(orvane::common::NumberText(-3), "-3");
  EXPECT_EQ(orvane::common::NumberText(-32768), "-32768");
}

TEST(NumberTextOrEmpty, ZeroIsEmpty) {
  EXPECT_EQ(orvane::common::NumberTextOrEmpty(0), "");
  EXPECT_EQ(orvane::common::NumberTextOrEmpty(1), "1");
  EXPECT_EQ(orvane::common::NumberTextOrEmpty(30), "30");
  EXPECT_EQ(orvane::common::NumberTextOrEmpty(-4), "-4");
}

}  // namespace
