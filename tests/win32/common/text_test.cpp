// Text between UTF-16 and the byte strings the pure code keeps, on the real
// code-page tables.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/win32_text.h"

namespace {

using namespace orvane::text;

TEST(Text, Utf8RoundTrips) {
  for (const wchar_t* text : {L"", L"/p 1234", L"C:\\曲\\ﾌｧｲﾙ.mp3", L"\U0001F3B5 é"}) {
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  }
  EXPECT_EQ(ToUtf8(L"\u00e9"), "\xC3\xA9");
}

// The test prefix runs with the Japanese ANSI code page.
TEST(Text, OnlyPathsTheAnsiCodePageHoldsPassExactly) {
  if (GetACP() != 932) GTEST_SKIP() << "ANSI code page " << GetACP();
  struct Case {
    const wchar_t* text;
    bool held;
    const char* bytes;
  };
  const Case cases[] = {
      {L"C:\\Music\\song.mp3", true, "C:\\Music\\song.mp3"},
      {L"C:\\曲.mp3", true, "C:\\\x8B\xC8.mp3"},
      {L"C:\\ﾌｧｲﾙ.wav", true, "C:\\\xCC\xA7\xB2\xD9.wav"},
      {L"C:\\caf\u00e9.mp3", false, ""},   // no é in 932, and no "e" stand-in either
      {L"C:\\\U0001F3B5.mp3", false, ""},  // outside the code page
      {L"C:\\\u00fc.wav", false, ""},
      {L"", true, ""},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> ansi = ToAnsiExactly(c.text);
    EXPECT_EQ(ansi.has_value(), c.held) << ToUtf8(c.text);
    if (ansi) EXPECT_EQ(*ansi, c.bytes) << ToUtf8(c.text);
  }
}

}  // namespace
