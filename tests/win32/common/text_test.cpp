// Text between UTF-16 and the byte strings the pure code keeps, on the real
// code-page tables.
#include "common/win32_text.h"
#include "common/win32_text_testing.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace orvane::common;

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

// What WideCharToMultiByte was asked, and a stand-in that answers as Windows
// does: for UTF-8 it refuses other flags than 0 and WC_ERR_INVALID_CHARS, and
// any used-default report (Wine takes both, so only the arguments tell).
struct NarrowCall {
  unsigned codePage;
  unsigned long flags;
  bool defaultChar;
  bool usedDefault;
};

class StrictNarrow {
 public:
  int operator()(unsigned codePage, unsigned long flags, const wchar_t* text, int length, char* out,
                 int outSize, const char* defaultChar, int* usedDefault) {
    calls.push_back({codePage, flags, defaultChar != nullptr, usedDefault != nullptr});
    if (codePage == CP_UTF8) {
      if (flags != 0 && flags != WC_ERR_INVALID_CHARS) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
      }
      if (defaultChar || usedDefault) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
    }
    return WideCharToMultiByte(codePage, flags, text, length, out, outSize, defaultChar,
                               usedDefault);
  }
  std::vector<NarrowCall> calls;
};

TEST(Text, ExactConversionPassesWhatEachCodePageTakes) {
  struct Row {
    const char* name;
    unsigned codePage;
    const wchar_t* text;
    unsigned long flags;
    bool usedDefault;   // a used-default report is asked for
    const char* bytes;  // nullptr: refused
  };
  const Row rows[] = {
      {"932 kanji", 932, L"C:\\曲.mp3", WC_NO_BEST_FIT_CHARS, true, "C:\\\x8B\xC8.mp3"},
      {"932 refuses e-acute", 932, L"C:\\caf\u00e9.mp3", WC_NO_BEST_FIT_CHARS, true, nullptr},
      {"1252 e-acute", 1252, L"C:\\caf\u00e9.mp3", WC_NO_BEST_FIT_CHARS, true, "C:\\caf\xE9.mp3"},
      // Best fit would store "a" for the a-macron: another file.
      {"1252 refuses a look-alike", 1252, L"C:\\\u0101.mp3", WC_NO_BEST_FIT_CHARS, true, nullptr},
      {"65001 Devanagari", 65001, L"C:\\\u0917\u0940\u0924.mp3", WC_ERR_INVALID_CHARS, false,
       "C:\\\xE0\xA4\x97\xE0\xA5\x80\xE0\xA4\xA4.mp3"},
      {"65001 outside the BMP", 65001, L"C:\\\U0001F3B5.wav", WC_ERR_INVALID_CHARS, false,
       "C:\\\xF0\x9F\x8E\xB5.wav"},
      {"65001 refuses a lone surrogate", 65001, L"C:\\\xD800.mp3", WC_ERR_INVALID_CHARS, false,
       nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    StrictNarrow narrow;
    const std::optional<std::string> bytes = ToCodePageExactly(
        row.text, row.codePage,
        [&narrow](unsigned cp, unsigned long flags, const wchar_t* text, int length, char* out,
                  int outSize, const char* defaultChar, int* usedDefault) {
          return narrow(cp, flags, text, length, out, outSize, defaultChar, usedDefault);
        });
    ASSERT_FALSE(narrow.calls.empty());
    for (const NarrowCall& call : narrow.calls) {
      EXPECT_EQ(call.codePage, row.codePage);
      EXPECT_EQ(call.flags, row.flags);
      EXPECT_FALSE(call.defaultChar);
      EXPECT_EQ(call.usedDefault, row.usedDefault);
    }
    EXPECT_EQ(bytes.has_value(), row.bytes != nullptr);
    if (bytes && row.bytes) {
      EXPECT_EQ(*bytes, row.bytes);
    }
  }
}

}  // namespace
