#include "common/settings.h"

#include <optional>

#include "common/conversions.h"

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

SaveResult SaveSettings(IniStore& store, const std::function<std::string()>& settingsFile,
                        const Settings& settings) {
  const std::pair<std::string_view, std::string> values[] = {
      {kKeyMusicMode, conv::NumberText(settings.MusicMode)},
      {kKeyRepeatTrack, conv::NumberText(settings.RepeatTrack)},
      {kKeyMusicFile, settings.MusicFile},
  };
  for (const auto& [key, value] : values) {
    const std::string file = settingsFile();
    if (!store.WriteIniValue(kSettingsSection, key, value, file)) return {false, file};
  }
  return {true, {}};
}
