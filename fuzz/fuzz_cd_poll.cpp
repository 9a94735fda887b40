// The CD poll fed arbitrary MCI replies: it must never send a command outside
// the set the player uses, whatever the device answers.
//
// Input: TRACK[2] POLLS, then one record per platform call, in call order:
// CODE LENGTH BYTES[LENGTH]. CODE with the high bit set fails with an MCI error
// (bit 6: and leaves the reply buffer as it was); an error-text call has text
// when its CODE is odd. A reply may fill the buffer without a NUL.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "music/music.h"
#include "music/music_testing.h"

using namespace orvane::music;

namespace {

class ScriptedMci final : public MciPort {
 public:
  const std::uint8_t* data = nullptr;
  std::size_t size = 0, at = 0;
  std::vector<std::string> commands;
  std::string lastPositionReply;  // what the channel made of the last position query

  std::int32_t SendString(const std::string& command, char* reply,
                          std::uint32_t replyLength) override {
    commands.push_back(command);
    std::uint8_t code = 0;
    std::string bytes;
    Next(code, bytes);
    const bool fails = code & 0x80;
    if (reply != nullptr && replyLength > 0 && !(fails && (code & 0x40))) {
      const std::size_t n = bytes.size() < replyLength ? bytes.size() : replyLength;
      std::memcpy(reply, bytes.data(), n);
      if (n < replyLength) reply[n] = '\0';
    }
    return fails ? 256 + (code & 0x3F) : 0;
  }
  bool ErrorString(std::int32_t, char* text, std::uint32_t textLength) override {
    std::uint8_t code = 0;
    std::string bytes;
    Next(code, bytes);
    if (!(code & 1)) return false;
    const std::size_t n = bytes.size() < textLength - 1 ? bytes.size() : textLength - 1;
    std::memcpy(text, bytes.data(), n);
    text[n] = '\0';
    return true;
  }

 private:
  void Next(std::uint8_t& code, std::string& bytes) {
    if (at + 2 > size) {
      code = 0;
      bytes.clear();
      at = size;
      return;
    }
    code = data[at];
    std::size_t n = data[at + 1];
    at += 2;
    if (n > size - at) n = size - at;
    bytes.assign(reinterpret_cast<const char*>(data + at), n);
    at += n;
  }
};

// The poll never touches the wave device.
class NoSound final : public SoundPort {
 public:
  std::uint32_t WaveOutDeviceCount() override {
    FUZZ_CHECK(!"the CD poll asks for no wave device");
    return 0;
  }
  void PlayWave(const char*, std::uint32_t) override { FUZZ_CHECK(!"the CD poll plays no sound"); }
};

// One MCI word: no blank or control character can add a flag such as "wait"
// (which would block the host until the disc ends) or a second command part.
bool OneWord(const std::string& text) {
  if (text.empty()) return false;
  for (unsigned char c : text)
    if (c <= ' ' || c == '"') return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const auto repeatTrack = static_cast<std::int16_t>(data[0] | data[1] << 8);
  const int polls = 1 + data[2] % 4;
  ScriptedMci mci;
  mci.data = data + 3;
  mci.size = size - 3;
  NoSound sound;
  Music music(mci, sound);

  const std::string position = "status cdaudio position track " + std::to_string(repeatTrack);
  for (int i = 0; i < polls; ++i) {
    const std::size_t first = mci.commands.size();
    const bool keepPolling = music.CdPoll(repeatTrack);
    int plays = 0;
    for (std::size_t k = first; k < mci.commands.size(); ++k) {
      const std::string& c = mci.commands[k];
      if (c == "play cdaudio") {
        ++plays;
      } else if (c.rfind("play cdaudio from ", 0) == 0) {
        ++plays;
        // The start is the position the device gave for the track to repeat.
        FUZZ_CHECK(repeatTrack != 0 && k > first && mci.commands[k - 1] == position);
        FUZZ_CHECK(OneWord(c.substr(18)));
      } else {
        FUZZ_CHECK(c == "status cdaudio current track" || c == "status cdaudio number of tracks" ||
                   c == "status cdaudio mode" || (c == position && repeatTrack != 0));
      }
    }
    FUZZ_CHECK(plays <= 1);
    FUZZ_CHECK(mci.commands.size() - first <= 5);
    if (!keepPolling) FUZZ_CHECK(plays == 0);
    FUZZ_CHECK(MusicTesting::KeepPolling(music) == keepPolling);
  }
  return 0;
}
