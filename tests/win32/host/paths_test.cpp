// The host's own files on real folders: named by the code page, by their
// short form, or (a folder the code page cannot spell on a volume without 8.3
// names) only by their UTF-16 name, the settings file keeps the same bytes,
// the engine is found and starts, and the program's own path is recognised
// at the start of its command line however it is spelt.
#include "common/conversions.h"
#include "common/win32_file_names.h"
#include "common/win32_ini_store.h"
#include "common/win32_text.h"
#include "host/entry.h"
#include "host/win32_command_line.h"
#include "host/win32_engine_start.h"
#include "host/win32_paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orvane::common;
using namespace orvane::host;

namespace {

// Wine always makes short names; Windows may not. The second kind of volume.
std::wstring NoShortNames(const std::wstring& path) { return path; }

class HostFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"orvane_files_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::wstring& f : files_) DeleteFileW(f.c_str());
    for (auto d = folders_.rbegin(); d != folders_.rend(); ++d) RemoveDirectoryW(d->c_str());
    RemoveDirectoryW(root_.c_str());
  }
  std::wstring Folder(const std::wstring& name) {
    const std::wstring folder = root_ + L"\\" + name;
    EXPECT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    folders_.push_back(folder);
    return folder;
  }
  std::wstring Track(const std::wstring& file) {
    files_.push_back(file);
    return file;
  }
  static std::string Bytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(cannot open)";
    char buffer[1024] = {};
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
  }

  std::wstring root_;
  std::vector<std::wstring> folders_, files_;
};

struct FolderRow {
  const char* name;
  const wchar_t* folder;
};

// The test prefix runs with code page 932: it holds kanji but not e-acute.
const FolderRow kFolders[] = {
    {"plain", L"Orvane Folder"},
    {"kanji", L"\u66f2\u96c6 Folder"},
    {"e-acute and a-macron", L"Caf\u00e9 \u0101 Folder"},
    {"outside the BMP", L"\U0001F3B5 Music Folder"},
};

struct ShortNameRow {
  const char* name;
  ShortPathFunction shortPathOf;
};

const ShortNameRow kVolumes[] = {
    {"short names", SystemShortPath},
    {"no short names", NoShortNames},
};

// A value in code page bytes that code page 932 holds: "C:\曲\a.mp3".
const std::string kMusicFileBytes = "C:\\\x8B\xC8\\a.mp3";

TEST_F(HostFiles, TheSettingsFileKeepsItsBytesInEveryFolder) {
  std::string expected;  // the first row's file, written as earlier versions wrote it
  int row = 0;
  for (const FolderRow& f : kFolders) {
    for (const ShortNameRow& v : kVolumes) {
      SCOPED_TRACE(std::string(f.name) + ", " + v.name);
      const std::wstring folder = Folder(std::wstring(f.folder) + std::to_wstring(row++));
      const std::wstring iniWide = Track(folder + L"\\Orvane.ini");
      const std::string ini = SettingsPathIn(folder);
      EXPECT_EQ(FromUtf8(ini), iniWide);
      Win32IniStore store(v.shortPathOf);
      const Result<void> saved = SaveSettings(
          store, [&] { return ini; }, Settings{MusicMode::Cd, 12, kMusicFileBytes});
      EXPECT_TRUE(saved.Ok()) << saved.Why();
      const std::string bytes = Bytes(iniWide);
      if (expected.empty()) expected = bytes;
      EXPECT_EQ(bytes, expected);
      EXPECT_NE(bytes.find("BGM\xCC\xA7\xB2\xD9=" + kMusicFileBytes), std::string::npos) << bytes;

      const Settings loaded = LoadSettings(store, ini);
      EXPECT_EQ(loaded.musicMode, MusicMode::Cd);
      EXPECT_EQ(loaded.repeatTrack, 12);
      EXPECT_EQ(store.ReadIniValue(kSettingsSection, kKeyMusicFile, ini), kMusicFileBytes);
    }
  }
}

TEST_F(HostFiles, ALongValueIsCutAlikeWhicheverWayTheFileIsReached) {
  const std::wstring folder = Folder(L"Caf\u00e9 long");
  const std::wstring ini = Track(folder + L"\\Orvane.ini");
  const std::string value = "C:\\" + std::string(300, 'a') + ".mp3";
  const std::string text = "[Section]\r\nBGM\xCC\xA7\xB2\xD9=" + value + "\r\n";
  HANDLE file = CreateFileW(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  for (const ShortNameRow& v : kVolumes) {
    Win32IniStore store(v.shortPathOf);
    EXPECT_EQ(store.ReadIniValue(kSettingsSection, kKeyMusicFile, ToUtf8(ini)),
              value.substr(0, 255))
        << v.name;
  }
}

TEST_F(HostFiles, AnAnsiNameIsUsedWhereOneExists) {
  const bool japanese = GetACP() == 932;
  for (const FolderRow& f : kFolders) {
    const std::wstring folder = Folder(f.folder);
    const std::optional<std::string> exact = ToAnsiExactly(folder);
    // Where the code page holds the name, it is the name; else the short form or none.
    EXPECT_EQ(AnsiNameOf(folder, NoShortNames), exact) << f.name;
    const std::optional<std::string> named = AnsiNameOf(folder);
    ASSERT_TRUE(named.has_value()) << f.name << ": Wine makes a short name";
    EXPECT_NE(GetFileAttributesA(named->c_str()), INVALID_FILE_ATTRIBUTES) << f.name;
    if (std::string(f.name) == "kanji") {
      EXPECT_EQ(exact.has_value(), japanese);
    }
  }
}

// A small program of the system's that ends by itself, copied as the engine.
std::wstring StandInEngine() {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system) + L"\\hostname.exe";
}

TEST_F(HostFiles, TheEngineIsFoundAndStartsFromAnyFolder) {
  if (!FileOpensForReading(StandInEngine())) GTEST_SKIP() << "no hostname.exe to stand in";
  for (const FolderRow& f : kFolders) {
    SCOPED_TRACE(f.name);
    const std::wstring folder = Folder(std::wstring(f.folder) + L" engine");
    const std::wstring engine = EnginePathIn(folder);
    EXPECT_FALSE(FileOpensForReading(engine)) << "not there yet";
    ASSERT_TRUE(CopyFileW(StandInEngine().c_str(), Track(engine).c_str(), FALSE));
    EXPECT_TRUE(FileOpensForReading(engine));
    EXPECT_FALSE(FileOpensForReading(folder)) << "a folder is no file";
    HANDLE process = StartEngineProcess(engine);
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(WaitForSingleObject(process, 20000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(process, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(process);
  }
}

// Windows lets a process take the foreground only when the foreground process
// started it or named it; Wine lets any process. So the calls are recorded.
TEST(EngineStart, HandsTheForegroundOnBeforeTheEngineRuns) {
  std::vector<std::string> calls;
  EngineStartCalls fake;
  HANDLE thread = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE process = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  fake.createProcess = [&](LPCWSTR application, LPWSTR commandLine, DWORD flags,
                           const STARTUPINFOW& startup, PROCESS_INFORMATION& info) {
    calls.push_back("create " + ToUtf8(application) + " | " + ToUtf8(commandLine) +
                    ((flags & CREATE_SUSPENDED) ? " suspended" : "") + " show " +
                    std::to_string(startup.wShowWindow));
    info.hProcess = process;
    info.hThread = thread;
    info.dwProcessId = 4242;
    return TRUE;
  };
  fake.allowSetForegroundWindow = [&](DWORD id) {
    calls.push_back("allow foreground " + std::to_string(id));
    return TRUE;
  };
  fake.resumeThread = [&](HANDLE resumed) {
    calls.push_back(resumed == thread ? "resume engine" : "resume other");
    return DWORD{1};
  };
  const HANDLE started = StartEngineProcess(L"C:\\My Saver\\Orvane.dll", fake);
  EXPECT_EQ(started, process);
  EXPECT_EQ(calls, (std::vector<std::string>{
                       "create C:\\My Saver\\Orvane.dll | \"C:\\My Saver\\Orvane.dll\" suspended "
                       "show 1",
                       "allow foreground 4242", "resume engine"}));
  CloseHandle(process);

  // An engine that cannot start is given nothing.
  calls.clear();
  fake.createProcess = [&](LPCWSTR, LPWSTR, DWORD, const STARTUPINFOW&, PROCESS_INFORMATION&) {
    calls.push_back("create");
    return FALSE;
  };
  EXPECT_EQ(StartEngineProcess(L"C:\\gone\\Orvane.dll", fake), nullptr);
  EXPECT_EQ(calls, std::vector<std::string>{"create"});
}

TEST_F(HostFiles, TheProgramsOwnPathIsKnownInEverySpelling) {
  for (const FolderRow& f : kFolders) {
    SCOPED_TRACE(f.name);
    const std::wstring folder = Folder(std::wstring(f.folder) + L" scr");
    const std::wstring program = Track(folder + L"\\Orvane.scr");
    HANDLE file =
        CreateFileW(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    const std::wstring shortForm = SystemShortPath(program);
    ASSERT_FALSE(shortForm.empty());
    ASSERT_NE(shortForm, program) << "Wine makes a short name for a folder with a blank";

    const std::vector<std::string> withShort = OwnPathSpellings(program);
    const std::vector<std::string> withoutShort = OwnPathSpellings(program, NoShortNames);
    EXPECT_EQ(withShort, (std::vector<std::string>{ToUtf8(program), ToUtf8(shortForm)}));
    EXPECT_EQ(withoutShort, std::vector<std::string>{ToUtf8(program)});
    // Started by its short path, the long one is known too.
    EXPECT_EQ(OwnPathSpellings(shortForm, NoShortNames),
              (std::vector<std::string>{ToUtf8(shortForm), ToUtf8(program)}));

    const std::string longText = ToUtf8(program);
    const std::string upper = ToUtf8(std::wstring(CharUpperW(std::wstring(program).data())));
    struct Line {
      std::string text;
      const char* want;
    };
    const Line lines[] = {
        {longText + " /s", "/s"},
        {"\"" + longText + "\" /p 1234", "/p 1234"},
        {upper + " /c:1234", "/c:1234"},
        {ToUtf8(shortForm) + " /s", "/s"},
        {longText, ""},
    };
    for (const Line& l : lines) {
      EXPECT_EQ(ArgumentText(l.text, withShort, SameFileNameSpelling), l.want) << l.text;
      if (l.text.rfind(ToUtf8(shortForm), 0) != 0) {
        EXPECT_EQ(ArgumentText(l.text, withoutShort, SameFileNameSpelling), l.want) << l.text;
      }
    }
  }
}

TEST(SameFileNameSpelling, IgnoresCaseAsTheFileSystemDoes) {
  EXPECT_TRUE(SameFileNameSpelling("C:\\Caf\xC3\xA9", "c:\\CAF\xC3\x89"));  // é and É
  EXPECT_TRUE(SameFileNameSpelling("C:\\\xE6\x9B\xB2", "c:\\\xE6\x9B\xB2"));
  EXPECT_FALSE(SameFileNameSpelling("C:\\Cafe", "C:\\Caf\xC3\xA9"));
  EXPECT_FALSE(SameFileNameSpelling("C:\\A", "C:\\AB"));
}

TEST(HostFolder, IsTheFolderOfThisProgram) {
  wchar_t module[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, module, MAX_PATH);
  ASSERT_GT(n, 0u);
  const std::wstring path(module, n);
  EXPECT_EQ(ModulePath(), path);
  EXPECT_EQ(HostFolder(), path.substr(0, path.find_last_of(L'\\')));
  EXPECT_EQ(EngineFilePath(), HostFolder() + L"\\Orvane.dll");
  EXPECT_EQ(HostSettingsPath(), ToUtf8(HostFolder()) + "\\Orvane.ini");
}

}  // namespace
