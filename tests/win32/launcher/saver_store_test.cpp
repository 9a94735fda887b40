// The saver store's path rules on real files: every spelling Windows or a
// user may have stored names the installed Orvane.scr, nothing else does, and
// the short form is what the system reports.
#include "common/win32_text.h"
#include "launcher/win32_saver_store.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

using orvane::common::FromUtf8;
using orvane::common::ToUtf8;
using orvane::launcher::StoredSaverValue;
using orvane::launcher::Win32SaverStore;

namespace {

class SaverStorePaths : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"Orvane Store Test " + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    scr_ = folder_ + L"\\Orvane.scr";
    other_ = folder_ + L"\\Other Saver.scr";
    for (const auto& file : {scr_, other_}) {
      HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      ASSERT_NE(h, INVALID_HANDLE_VALUE);
      CloseHandle(h);
    }
  }
  void TearDown() override {
    DeleteFileW(scr_.c_str());
    DeleteFileW(other_.c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  std::wstring folder_, scr_, other_;
};

std::wstring Upper(std::wstring text) {
  CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::wstring Lower(std::wstring text) {
  CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

TEST_F(SaverStorePaths, EverySpellingOfTheSaverNamesItAndNoOtherFileDoes) {
  Win32SaverStore store(ToUtf8(folder_));
  const std::string scr = ToUtf8(scr_);
  const std::string shortScr = store.ShortPathOf(scr);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring relativeToTemp = scr_.substr(wcslen(temp));
  struct Row {
    const char* why;
    std::string spelling;
    bool same;
  } rows[] = {
      {"the long path", scr, true},
      {"its short form", shortScr, true},
      {"quoted", "\"" + scr + "\"", true},
      {"in capitals", ToUtf8(Upper(scr_)), true},
      {"short form in lower case, quoted, with a blank after",
       "\"" + ToUtf8(Lower(FromUtf8(shortScr))) + "\" ", true},
      {"through %TEMP%", "%TEMP%\\" + ToUtf8(relativeToTemp), true},
      {"another file of the folder", ToUtf8(other_), false},
      {"the folder itself", ToUtf8(folder_), false},
      {"nothing", "", false},
      {"only quotes", "\"\"", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(store.NamesSameFile(row.spelling, scr), row.same) << row.why << ": " << row.spelling;
  }
}

TEST_F(SaverStorePaths, TheStoredValueIsTheShortFormTheSystemReportsOrTheLongPath) {
  Win32SaverStore store(ToUtf8(folder_));
  const std::string scr = ToUtf8(scr_);
  wchar_t reported[MAX_PATH] = {};
  const DWORD n = GetShortPathNameW(scr_.c_str(), reported, MAX_PATH);
  ASSERT_GT(n, 0u);
  EXPECT_EQ(store.ShortPathOf(scr), ToUtf8(reported));
  const std::string value = StoredSaverValue(scr, store.ShortPathOf(scr));
  // Wine always makes short names; a volume without them gives the long path
  // back, and the value is then the long path (the table test's row).
  if (std::wstring(reported) != scr_) {
    EXPECT_EQ(value.find(' '), std::string::npos) << value;
  } else {
    EXPECT_EQ(value, scr);
  }
  EXPECT_TRUE(store.NamesSameFile(value, scr));
  EXPECT_EQ(store.ShortPathOf(ToUtf8(folder_ + L"\\missing.scr")), "");
}

}  // namespace
