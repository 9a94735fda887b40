// The host's folder as an ANSI path, on real folders: one whose name the code
// page cannot hold is reached through its short form, so the settings file
// and the engine beside the program are found however it was started.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/win32_text.h"
#include "host/win32_paths.h"

using namespace orvane::common;
using namespace orvane::host;

namespace {

using orvane::common::ToAnsiExactly;

class HostPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() == CP_UTF8) GTEST_SKIP() << "every name fits code page 65001";
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"orvane_paths_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::wstring& f : files_) DeleteFileW(f.c_str());
    for (auto d = folders_.rbegin(); d != folders_.rend(); ++d) RemoveDirectoryW(d->c_str());
    RemoveDirectoryW(root_.c_str());
  }
  // A folder under the test's root holding an Orvane.ini with `text` in it.
  std::wstring Folder(const std::wstring& name, const std::string& text) {
    std::wstring folder = root_ + L"\\" + name;
    EXPECT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    folders_.push_back(folder);
    std::wstring ini = folder + L"\\Orvane.ini";
    HANDLE file = CreateFileW(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    files_.push_back(ini);
    return folder;
  }
  std::wstring root_;
  std::vector<std::wstring> folders_, files_;
};

// What the ANSI entry points read from "<folder>\Orvane.ini".
std::string ReadThroughAnsi(const std::string& folder) {
  HANDLE file = CreateFileA((folder + "\\Orvane.ini").c_str(), GENERIC_READ, FILE_SHARE_READ,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(cannot open)";
  char buffer[64] = {};
  DWORD read = 0;
  ReadFile(file, buffer, sizeof buffer - 1, &read, nullptr);
  CloseHandle(file);
  return std::string(buffer, read);
}

TEST_F(HostPaths, EveryFolderIsReachedThroughTheAnsiPathGiven) {
  struct Row {
    const char* name;
    const wchar_t* folder;
    bool keptAsIs;  // the code page holds the name, so the path stays long
  };
  // The test prefix runs with code page 932; 1252 holds e-acute but not kanji.
  const bool japanese = GetACP() == 932;
  const Row rows[] = {
      {"plain", L"Orvane Folder", true},
      {"kanji", L"\u66f2\u96c6 Folder", japanese},
      {"e-acute and a-macron", L"Caf\u00e9 \u0101 Folder", false},
      {"outside the BMP", L"\U0001F3B5 Music Folder", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::wstring folder = Folder(row.folder, row.name);
    const std::string ansi = AnsiPathOf(folder);
    EXPECT_EQ(ansi == ToAnsiExactly(folder).value_or(""), row.keptAsIs) << ansi;
    EXPECT_EQ(ReadThroughAnsi(ansi), row.name) << ansi;
  }
}

TEST_F(HostPaths, AMissingFolderOutsideTheCodePageNamesNothing) {
  const std::wstring missing = root_ + L"\\\u0101 gone";
  const std::string ansi = AnsiPathOf(missing);
  EXPECT_FALSE(ansi.empty());
  EXPECT_EQ(GetFileAttributesA(ansi.c_str()), INVALID_FILE_ATTRIBUTES) << ansi;
}

TEST(HostFolder, IsTheFolderOfThisProgram) {
  char module[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, module, MAX_PATH);
  ASSERT_GT(n, 0u);
  const std::string path(module, n);
  EXPECT_EQ(HostFolder(), path.substr(0, path.find_last_of('\\')));
  EXPECT_EQ(EngineFilePath(), HostFolder() + "\\Orvane.dll");
  EXPECT_EQ(HostSettingsPath(), HostFolder() + "\\Orvane.ini");
}

}  // namespace
