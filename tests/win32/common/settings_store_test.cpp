// The settings store on real files under Wine.
#include "common/conversions.h"
#include "common/win32_ini_store.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using namespace orvane::common;

namespace {

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "orvane_store_" + std::to_string(GetCurrentProcessId()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    CreateDirectoryA(dir_.c_str(), nullptr);
    ini_ = SettingsPathIn(dir_);
  }
  void TearDown() override {
    for (const std::string& f : created_) DeleteFileA(f.c_str());
    DeleteFileA(ini_.c_str());
    RemoveDirectoryA((dir_ + "\\sub").c_str());
    RemoveDirectoryA(dir_.c_str());
  }
  std::string MakeFile(const std::string& name, const std::string& bytes) {
    std::string path = dir_ + "\\" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    created_.push_back(path);
    return path;
  }
  static std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  Win32IniStore store_;
  std::string dir_, ini_;
  std::vector<std::string> created_;
};

TEST_F(SettingsStore, SavingWritesTheFourLinesByteForByte) {
  // What the dialog writes for mode 2, track 0 and a music file.
  ASSERT_TRUE(
      store_.WriteIniValue(kSettingsSection, kKeyMusicMode, orvane::common::NumberText(2), ini_));
  ASSERT_TRUE(
      store_.WriteIniValue(kSettingsSection, kKeyRepeatTrack, orvane::common::NumberText(0), ini_));
  ASSERT_TRUE(store_.WriteIniValue(kSettingsSection, kKeyMusicFile, "C:\\Music\\song.mp3", ini_));
  // Windows keeps the blank before a number; Wine's profile writer drops
  // blanks at the start of every value, whatever the program passes.
  const char* blank = RunningUnderWine() ? "" : " ";
  EXPECT_EQ(Bytes(ini_), std::string("[Section]\r\n") + "BGM\x8B\xE6\x95\xAA=" + blank + "2\r\n" +
                             "BGM\xD8\xCB\xDF\xB0\xC4=" + blank + "0\r\n" +
                             "BGM\xCC\xA7\xB2\xD9=C:\\Music\\song.mp3\r\n");
  EXPECT_EQ(store_.ReadIniValue(kSettingsSection, kKeyMusicFile, ini_), "C:\\Music\\song.mp3");
}

TEST_F(SettingsStore, MissingKeyOrFileReadsEmptyAndLongValuesAreCut) {
  EXPECT_EQ(store_.ReadIniValue(kSettingsSection, kKeyMusicMode, ini_), "");
  std::string longPath = "C:\\" + std::string(300, 'a') + ".mp3";
  MakeFile("Orvane.ini", "[Section]\r\nBGM\xCC\xA7\xB2\xD9=" + longPath + "\r\n");
  EXPECT_EQ(store_.ReadIniValue(kSettingsSection, kKeyMusicMode, ini_), "");
  EXPECT_EQ(store_.ReadIniValue(kSettingsSection, kKeyMusicFile, ini_), longPath.substr(0, 255));
}

TEST_F(SettingsStore, AWriteThatCannotHappenIsReported) {
  std::string nowhere = dir_ + "\\no such folder\\Orvane.ini";
  EXPECT_FALSE(store_.WriteIniValue(kSettingsSection, kKeyMusicMode, " 1", nowhere));
}

TEST_F(SettingsStore, FileExistsOnlyForFilesThatOpen) {
  std::string empty = MakeFile("empty.wav", "");
  std::string song = MakeFile("song.mp3", "ID3");
  CreateDirectoryA((dir_ + "\\sub").c_str(), nullptr);
  struct Case {
    std::string path;
    bool want;
  };
  const Case cases[] = {
      {empty, true},
      {song, true},
      {song + "\\", true},
      {dir_ + "\\missing.mp3", false},
      {dir_ + "\\sub", false},
      {dir_ + "\\sub\\", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(store_.FileExists(c.path), c.want) << c.path;
}

TEST_F(SettingsStore, AHandWrittenFileWithTrickyValuesLoads) {
  std::string song = MakeFile("song.mp3", "ID3");
  struct Case {
    std::string text;
    int mode, repeat;
    std::string file;
  };
  const Case cases[] = {
      {"BGM\x8B\xE6\x95\xAA= 2\r\nBGM\xD8\xCB\xDF\xB0\xC4=abc\r\nBGM\xCC\xA7\xB2\xD9=" + song, 2, 0,
       song},
      {"BGM\x8B\xE6\x95\xAA=2\r\nBGM\xCC\xA7\xB2\xD9=" + dir_ + "\\gone.mp3", 0, 0, ""},
      {"BGM\x8B\xE6\x95\xAA=1.9\r\nBGM\xD8\xCB\xDF\xB0\xC4= 12", 1, 12, ""},
      {"BGM\x8B\xE6\x95\xAA=abc", 0, 0, ""},
  };
  for (const Case& c : cases) {
    MakeFile("Orvane.ini", "[Section]\r\n" + c.text + "\r\n");
    Settings s = LoadSettings(store_, ini_);
    EXPECT_EQ(static_cast<int>(s.musicMode), c.mode) << c.text;
    EXPECT_EQ(s.repeatTrack, c.repeat) << c.text;
    EXPECT_EQ(s.musicFile, c.file) << c.text;
  }
}

}  // namespace
