#include "common/settings.h"

#include "common/conversions.h"

#include <optional>

namespace orvane::common {

std::string SettingsPathIn(std::string_view hostFolder) {
  std::string path(hostFolder);
  path += '\\';
  path += kSettingsFileName;
  return path;
}

std::int16_t ReadStoredNumber(std::string_view text) {
  std::optional<double> number = ParseNumber(text);
  if (!number) return 0;
  return ToInt16(Floor(*number)).value_or(0);
}

Settings LoadSettings(IniStore& store, const std::string& iniPath) {
  Settings s;
  s.musicMode = static_cast<MusicMode>(
      ReadStoredNumber(store.ReadIniValue(kSettingsSection, kKeyMusicMode, iniPath)));
  s.repeatTrack = ReadStoredNumber(store.ReadIniValue(kSettingsSection, kKeyRepeatTrack, iniPath));
  std::string file = store.ReadIniValue(kSettingsSection, kKeyMusicFile, iniPath);
  if (!file.empty() && store.FileExists(file)) {
    s.musicFile = file;
  } else if (s.musicMode == MusicMode::File) {
    s.musicMode = MusicMode::None;
  }
  return s;
}

Result<void> SaveSettings(IniStore& store, const std::function<std::string()>& settingsFile,
                          const Settings& settings) {
  const std::pair<std::string_view, std::string> values[] = {
      {kKeyMusicMode, NumberText(static_cast<std::int16_t>(settings.musicMode))},
      {kKeyRepeatTrack, NumberText(settings.repeatTrack)},
      {kKeyMusicFile, settings.musicFile},
  };
  for (const auto& [key, value] : values) {
    const std::string file = settingsFile();
    if (!store.WriteIniValue(kSettingsSection, key, value, file)) return Reason{file};
  }
  return {};
}

}  // namespace orvane::common
