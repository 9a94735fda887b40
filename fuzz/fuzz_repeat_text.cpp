// The repeat-track text of the settings dialog, through the whole save.
//
// Input: FAIL MODE[2] TEXT. FAIL & 3 is the write that fails (0: none), MODE the
// 16-bit mode to save, TEXT what the user typed into the repeat box.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/music_choice.h"
#include "fuzz/fuzz_check.h"
#include "host/settings.h"

using namespace settings_dialog;

namespace {

struct Write {
  std::string key, value, file;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const unsigned failAt = data[0] & 3;
  const auto mode = static_cast<std::int16_t>(data[1] | data[2] << 8);
  const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);
  const std::string musicFile = "C:\\Music\\a b.mp3";
  const std::string iniFile = "C:\\Saver\\Orvane.ini";

  const RepeatReading reading = ReadRepeatText(text);
  if (!reading.inRange) FUZZ_CHECK(reading.track == 0);
  // What the box shows for a track reads back to that track.
  FUZZ_CHECK(ReadRepeatText(RepeatBoxText(reading.track)).inRange);
  FUZZ_CHECK(ReadRepeatText(RepeatBoxText(reading.track)).track == reading.track);
  FUZZ_CHECK(ReadRepeatText(RepeatBoxText(mode)).track == mode);

  std::vector<Write> writes;
  int pathAsked = 0;
  std::int16_t repeatTrack = 12345;
  const SaveOutcome outcome = SaveMusicSettings(
      mode, text, musicFile, repeatTrack,
      [&] {
        ++pathAsked;
        return iniFile;
      },
      [&](std::string_view section, std::string_view key, const std::string& value,
          const std::string& file) {
        FUZZ_CHECK(section == kSettingsSection);
        writes.push_back({std::string(key), value, file});
        return writes.size() != failAt;
      });

  if (!reading.inRange) {
    // Checked before the first write: the file is never left half saved.
    FUZZ_CHECK(outcome.kind == SaveOutcome::kRepeatOutOfRange);
    FUZZ_CHECK(writes.empty() && repeatTrack == 12345);
    return 0;
  }
  const std::size_t expected = failAt ? failAt : 3;
  FUZZ_CHECK(writes.size() == expected);
  FUZZ_CHECK(pathAsked == static_cast<int>(expected));
  if (failAt) {
    FUZZ_CHECK(outcome.kind == SaveOutcome::kWriteFailed && outcome.failedFile == iniFile);
  } else {
    FUZZ_CHECK(outcome.kind == SaveOutcome::kSaved);
  }
  const char* const keys[] = {kKeyMusicMode.data(), kKeyRepeatTrack.data(), kKeyMusicFile.data()};
  for (std::size_t i = 0; i < writes.size(); ++i) {
    FUZZ_CHECK(writes[i].key == keys[i] && writes[i].file == iniFile);
  }
  // Every number saved is a number text the loader reads back to the same value.
  FUZZ_CHECK(ReadStoredNumber(writes[0].value) == mode);
  if (writes.size() > 1) {
    FUZZ_CHECK(repeatTrack == reading.track);
    FUZZ_CHECK(ReadStoredNumber(writes[1].value) == reading.track);
  }
  if (writes.size() > 2) FUZZ_CHECK(writes[2].value == musicFile);
  return 0;
}
