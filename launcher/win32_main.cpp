// OrvaneSettings.exe: what the Start-menu entries start.
//
//   (nothing), /c     opens Orvane's settings dialog: starts "Orvane.scr" /c
//                     from this program's folder
//   /select [/quiet]  makes that Orvane.scr the user's screen saver; /quiet
//                     (setup) says nothing and leaves it to the exit code
//
// Exit codes: 0 done; 1 Orvane.scr could not be started or the choice could
// not be written; 3 stored, but a policy decides the screen saver.
//
// A Start-menu entry cannot name Orvane.scr itself: Windows opens a shortcut
// to a .scr file through the .scr file type, whose command is "%1" /S, and
// the entry's own arguments are lost (the show would start, not the dialog).
#include "common/win32_text.h"
#include "launcher/saver_choice.h"
#include "launcher/win32_saver_store.h"

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace orvane::launcher {
namespace {

constexpr int kExitFailed = 1;
constexpr int kExitPolicyDecides = 3;
constexpr wchar_t kCaption[] = L"Orvane";

// This program's folder, without the trailing backslash, however long.
std::wstring OwnFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return L".";
    if (n < path.size()) break;
    path.resize(path.size() * 2);
  }
  std::wstring folder = path.data();
  return folder.substr(0, folder.find_last_of(L'\\'));
}

void Say(const std::wstring& text, UINT icon) {
  MessageBoxW(nullptr, text.c_str(), kCaption, MB_OK | icon);
}

int OpenSettings(const std::wstring& folder) {
  const std::wstring scr = folder + L"\\Orvane.scr";
  std::wstring commandLine = L"\"" + scr + L"\" /c";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // Suspended until it may take the foreground: this program was started by
  // the shell in front, the dialog's process was not.
  if (!CreateProcessW(scr.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                      nullptr, folder.c_str(), &startup, &process)) {
    Say(L"Orvane's settings cannot be opened: Orvane.scr could not be started from\r\n" + folder,
        MB_ICONERROR);
    return kExitFailed;
  }
  AllowSetForegroundWindow(process.dwProcessId);
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}

int SelectOrvane(const std::wstring& folder, bool quiet) {
  Win32SaverStore store(common::ToUtf8(folder));
  const ChoiceOutcome outcome = ChooseOrvane(store, common::ToUtf8(folder + L"\\Orvane.scr"));
  switch (outcome) {
    case ChoiceOutcome::Chosen:
      if (!quiet) Say(L"Orvane is your screen saver again.", MB_ICONINFORMATION);
      return 0;
    case ChoiceOutcome::PolicyDecides:
      if (!quiet)
        Say(L"Orvane is kept as your choice, but a policy set on this computer decides the screen "
            L"saver, so Windows starts another one or none.",
            MB_ICONWARNING);
      return kExitPolicyDecides;
    case ChoiceOutcome::NotWritten:
      break;
  }
  if (!quiet)
    Say(L"Orvane could not be made your screen saver: the setting could not be written.",
        MB_ICONERROR);
  return kExitFailed;
}

}  // namespace
}  // namespace orvane::launcher

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  bool select = false, quiet = false;
  for (int i = 1; argv && i < argc; ++i) {
    if (CompareStringOrdinal(argv[i], -1, L"/select", -1, TRUE) == CSTR_EQUAL) select = true;
    if (CompareStringOrdinal(argv[i], -1, L"/quiet", -1, TRUE) == CSTR_EQUAL) quiet = true;
  }
  LocalFree(argv);
  const std::wstring folder = orvane::launcher::OwnFolder();
  return select ? orvane::launcher::SelectOrvane(folder, quiet)
                : orvane::launcher::OpenSettings(folder);
}
