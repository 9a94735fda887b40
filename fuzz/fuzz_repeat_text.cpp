// The repeat-track text of the settings dialog, through the whole save.
//
// Input: FAIL MODE[2] TEXT. FAIL & 3 is the write that fails (0: none), MODE the
// 16-bit mode to save, TEXT what the user typed into the repeat box.
#include "common/settings.h"
#include "dialog/music_choice.h"
#include "fuzz/fuzz_check.h"
#include "tests/fakes/fake_ini_store.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace orvane::common;

using namespace orvane::dialog;

using orvane::fakes::FakeIniStore;

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

  FakeIniStore store;
  store.failAt = static_cast<int>(failAt);
  int pathAsked = 0;
  Settings settings;
  settings.musicMode = static_cast<orvane::common::MusicMode>(mode);
  settings.repeatTrack = 12345;
  settings.musicFile = musicFile;
  const SaveOutcome outcome = SaveMusicChoice(settings, text, store, [&] {
    ++pathAsked;
    return iniFile;
  });
  const std::vector<FakeIniStore::Write>& writes = store.writes;
  // The save only writes, and only into the settings section.
  FUZZ_CHECK(store.reads.empty() && store.existsAsked.empty());
  for (const FakeIniStore::Write& w : writes) FUZZ_CHECK(w.section == kSettingsSection);
  const std::int16_t repeatTrack = settings.repeatTrack;
  // The save changes the repeat track only; the rest is the user's choice as it was.
  FUZZ_CHECK(static_cast<std::int16_t>(settings.musicMode) == mode &&
             settings.musicFile == musicFile);

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
