#include "host/settings.h"

#include <optional>

#include "common/conversions.h"

Settings gSettings;

std::string SettingsFilePath(std::string_view hostFolder) {
  std::string path(hostFolder);
  path += '\\';
  path += kSettingsFileName;
  return path;
}

std::int16_t ReadStoredNumber(std::string_view text) {
  std::optional<double> number = conv::ParseNumber(text);
  if (!number) return 0;
  return conv::ToInt16(conv::Floor(*number)).value_or(0);
}

Settings LoadSettings(IniStore& store, const std::string& iniPath) {
  Settings s;
  s.MusicMode = ReadStoredNumber(store.ReadIniValue(kSettingsSection, kKeyMusicMode, iniPath));
  s.RepeatTrack = ReadStoredNumber(store.ReadIniValue(kSettingsSection, kKeyRepeatTrack, iniPath));
  std::string file = store.ReadIniValue(kSettingsSection, kKeyMusicFile, iniPath);
  if (!file.empty() && store.FileExists(file)) {
    s.MusicFile = file;
  } else if (s.MusicMode == 2) {
    s.MusicMode = 0;
  }
  return s;
}
