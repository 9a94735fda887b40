// The settings load over a store that answers arbitrary bytes for all three
// values, and the stored-number reader on its own.
//
// Input: MODE \0 REPEAT \0 FILE \0 EXISTS, where the file "exists" when the
// first byte of EXISTS is odd. The store keeps its promise of at most 255 bytes.
#include "common/conversions.h"
#include "common/settings.h"
#include "fuzz/fuzz_check.h"
#include "tests/fakes/fake_ini_store.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace orvane::common;

namespace {

using orvane::fakes::FakeIniStore;

void CheckNumberReader(std::string_view text) {
  const std::int16_t n = ReadStoredNumber(text);
  // Wine writes values without the blank Windows keeps: both read the same.
  FUZZ_CHECK(ReadStoredNumber(" " + std::string(text) + "\t") == n);
  // What the dialog writes for a number reads back to that number.
  FUZZ_CHECK(ReadStoredNumber(orvane::common::NumberText(n)) == n);
  bool digit = false;
  for (char c : text) digit = digit || (c >= '0' && c <= '9');
  if (!digit) FUZZ_CHECK(n == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> fields;
  std::size_t at = 0;
  while (fields.size() < 3) {
    const std::size_t nul = input.find('\0', at);
    fields.emplace_back(
        input.substr(at, nul == std::string_view::npos ? input.size() - at : nul - at));
    if (nul == std::string_view::npos) {
      at = input.size();
      break;
    }
    at = nul + 1;
  }
  FakeIniStore store;
  const std::string_view keys[] = {kKeyMusicMode, kKeyRepeatTrack, kKeyMusicFile};
  for (std::size_t i = 0; i < fields.size(); ++i) store.values[std::string(keys[i])] = fields[i];
  store.everyFileExists = at < input.size() && (static_cast<unsigned char>(input[at]) & 1) != 0;

  CheckNumberReader(input);
  const std::string iniPath = SettingsPathIn("C:\\Saver");
  const Settings s = LoadSettings(store, iniPath);

  // One read per key, in the order mode, repeat, file, all from the one file.
  FUZZ_CHECK(store.reads.size() == 3);
  for (std::size_t i = 0; i < store.reads.size(); ++i) {
    FUZZ_CHECK(store.reads[i].key == keys[i]);
    FUZZ_CHECK(store.reads[i].section == kSettingsSection && store.reads[i].file == iniPath);
  }
  FUZZ_CHECK(store.writes.empty());  // the load never writes

  const std::string modeText = fields[0].substr(0, 255);
  const std::string repeatText = fields.size() > 1 ? fields[1].substr(0, 255) : "";
  const std::string fileText = fields.size() > 2 ? fields[2].substr(0, 255) : "";
  CheckNumberReader(modeText);
  FUZZ_CHECK(s.repeatTrack == ReadStoredNumber(repeatText));

  // A music file is kept only when the store said it exists, and it is the stored text.
  if (!s.musicFile.empty()) {
    FUZZ_CHECK(s.musicFile == fileText);
    FUZZ_CHECK(store.everyFileExists && store.existsAsked.size() == 1 &&
               store.existsAsked[0] == fileText);
  }
  for (const std::string& asked : store.existsAsked) FUZZ_CHECK(!asked.empty());
  // Mode 2 always comes with such a file; any other mode is the stored number.
  if (s.musicMode == MusicMode::File) FUZZ_CHECK(!s.musicFile.empty());
  const std::int16_t stored = ReadStoredNumber(modeText);
  const auto mode = static_cast<std::int16_t>(s.musicMode);
  FUZZ_CHECK(mode == stored || (stored == 2 && mode == 0 && s.musicFile.empty()));
  return 0;
}
