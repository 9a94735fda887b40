#include "launcher/win32_saver_store.h"

#include "common/win32_text.h"

#include <windows.h>

#include <vector>

namespace orvane::launcher {
namespace {

using common::FromUtf8;
using common::ToUtf8;

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kPolicyKey[] = L"Software\\Policies\\Microsoft\\Windows\\Control Panel\\Desktop";
// Setup's uninstall entry, where the uninstaller looks for the earlier saver.
constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvane";

// A text value of HKCU\<key>, as stored (%variables% left as they are).
std::optional<StoredText> ReadText(const wchar_t* key, const std::string& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return std::nullopt;
  const std::wstring valueName = FromUtf8(name);
  std::optional<StoredText> result;
  DWORD type = 0, bytes = 0;
  if (RegQueryValueExW(opened, valueName.c_str(), nullptr, &type, nullptr, &bytes) ==
          ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    // The stored text need not end in a null: room for one more.
    std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = bytes;
    if (RegQueryValueExW(opened, valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS) {
      result = StoredText{ToUtf8(std::wstring(data.data())), static_cast<unsigned>(type)};
    }
  }
  RegCloseKey(opened);
  return result;
}

bool WriteText(const wchar_t* key, const std::string& name, const std::string& text) {
  const std::wstring data = FromUtf8(text);
  return RegSetKeyValueW(HKEY_CURRENT_USER, key, FromUtf8(name).c_str(), REG_SZ, data.c_str(),
                         static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// One spelling for comparing: blanks and quotes around it dropped,
// %variables% expanded, made full, and long where the file exists.
std::wstring ComparablePath(const std::string& spelling) {
  std::wstring path = FromUtf8(spelling);
  const size_t first = path.find_first_not_of(L" \"");
  if (first == std::wstring::npos) return L"";
  path = path.substr(first, path.find_last_not_of(L" \"") - first + 1);
  std::vector<wchar_t> buffer(32768);
  DWORD n = ExpandEnvironmentStringsW(path.c_str(), buffer.data(), 32768);
  if (n > 0 && n <= 32768) path = buffer.data();
  n = GetFullPathNameW(path.c_str(), 32768, buffer.data(), nullptr);
  if (n > 0 && n < 32768) path = buffer.data();
  n = GetLongPathNameW(path.c_str(), buffer.data(), 32768);
  if (n > 0 && n < 32768) path = buffer.data();
  return path;
}

}  // namespace

std::optional<StoredText> Win32SaverStore::ReadDesktopValue(const std::string& name) {
  return ReadText(kDesktopKey, name);
}

bool Win32SaverStore::WriteDesktopValue(const std::string& name, const std::string& text) {
  return WriteText(kDesktopKey, name, text);
}

std::optional<std::string> Win32SaverStore::ReadPolicyValue(const std::string& name) {
  if (auto stored = ReadText(kPolicyKey, name)) return stored->text;
  return std::nullopt;
}

bool Win32SaverStore::InstalledBySetupHere() {
  const std::optional<StoredText> location = ReadText(kUninstallKey, "InstallLocation");
  return location && NamesSameFile(location->text, installFolder_);
}

void Win32SaverStore::RememberEarlierSaver(const std::optional<StoredText>& saver,
                                           const std::optional<std::string>& active) {
  WriteText(kUninstallKey, "PreviousScreenSaver", saver ? saver->text : "");
  const DWORD type = saver ? saver->type : 0;
  RegSetKeyValueW(HKEY_CURRENT_USER, kUninstallKey, L"PreviousScreenSaverType", REG_DWORD, &type,
                  sizeof type);
  WriteText(kUninstallKey, "PreviousScreenSaveActive", active.value_or(""));
}

std::string Win32SaverStore::ShortPathOf(const std::string& path) {
  std::vector<wchar_t> shortPath(32768);
  const DWORD n = GetShortPathNameW(FromUtf8(path).c_str(), shortPath.data(), 32768);
  if (n == 0 || n >= 32768) return "";
  return ToUtf8(shortPath.data());
}

bool Win32SaverStore::NamesSameFile(const std::string& a, const std::string& b) {
  const std::wstring left = ComparablePath(a), right = ComparablePath(b);
  if (left.empty() || right.empty()) return false;
  return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                              static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

void Win32SaverStore::AnnounceScreenSaverOn() {
  // Sets the running session's state too, and every top-level window hears
  // WM_SETTINGCHANGE (SPI_SETSCREENSAVEACTIVE).
  SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr,
                        SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

}  // namespace orvane::launcher
