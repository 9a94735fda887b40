#pragma once
// The user's music settings and the INI file that keeps them ("Orvane.ini"
// beside the program): loading and saving over one IniStore. Pure.
#include "common/result.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orvane::common {

// What plays during the show, stored as its number ("BGM区分"). A hand-edited
// file may hold any other 16-bit number: it is kept as it is, saved back as it
// was read and plays nothing.
enum class MusicMode : std::int16_t { None = 0, Cd = 1, File = 2 };

struct Settings {
  MusicMode musicMode = MusicMode::None;
  std::int16_t repeatTrack = 0;  // CD track to repeat, 0 for the whole disc
  std::string musicFile;         // full path of the music file, empty for none
};

// File, section and key names. The keys are code page 932 bytes and must stay
// byte for byte what files written by earlier versions hold.
inline constexpr std::string_view kSettingsFileName = "Orvane.ini";
inline constexpr std::string_view kSettingsSection = "Section";
inline constexpr std::string_view kKeyMusicMode = "BGM\x8B\xE6\x95\xAA";        // BGM区分
inline constexpr std::string_view kKeyRepeatTrack = "BGM\xD8\xCB\xDF\xB0\xC4";  // BGMﾘﾋﾟｰﾄ
inline constexpr std::string_view kKeyMusicFile = "BGM\xCC\xA7\xB2\xD9";        // BGMﾌｧｲﾙ

// Access to INI files and to the file system. Sections, keys, values and the
// paths given to FileExists are system code page bytes. The INI file's own
// name is UTF-8: it is the program's own file, named from the folder the
// program lies in, which the code page may not be able to spell.
class IniStore {
 public:
  virtual ~IniStore() = default;
  // At most 255 bytes; a missing key or file gives the empty text.
  virtual std::string ReadIniValue(std::string_view section, std::string_view key,
                                   const std::string& fileName) = 0;
  // False when the value could not be written.
  virtual bool WriteIniValue(std::string_view section, std::string_view key,
                             const std::string& value, const std::string& fileName) = 0;
  // True only when the file opens for reading (one trailing backslash ignored).
  virtual bool FileExists(const std::string& path) = 0;
};

// "<folder>\Orvane.ini" for the folder the program lies in (no trailing
// backslash), in the folder's own encoding.
std::string SettingsPathIn(std::string_view hostFolder);

// A stored number: blanks around it allowed, cut down to the next lower whole
// number; 0 when empty, not a number or outside the 16-bit range.
std::int16_t ReadStoredNumber(std::string_view text);

// Reads the three keys in the order mode, repeat, file. File mode falls back to none
// when the music file is empty or cannot be opened, and then MusicFile is empty.
Settings LoadSettings(IniStore& store, const std::string& iniPath);

// Writes mode, repeat track and file, in that order, each to the file that
// settingsFile() names at that moment (the program may have been moved). The
// first failing write ends the save, so nothing after it is written; the
// reason is then the file that could not be written.
Result<void> SaveSettings(IniStore& store, const std::function<std::string()>& settingsFile,
                          const Settings& settings);

}  // namespace orvane::common
