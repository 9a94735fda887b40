// The CD poll fed arbitrary MCI replies: it must never send a command outside
// the set the player uses, whatever the device answers.
//
// Input: TRACK[2] POLLS, then one record per platform call, in call order:
// CODE LENGTH BYTES[LENGTH]. CODE with the high bit set fails with an MCI error
// (bit 6: and leaves the reply buffer as it was); an error-text call has text
// when its CODE is odd. A reply may fill the buffer without a NUL.
#include "fuzz/fuzz_check.h"
#include "music/music.h"
#include "music/music_testing.h"
#include "tests/fakes/fake_music_ports.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using namespace orvane::music;

namespace {

using orvane::fakes::FakeAnswer;
using orvane::fakes::FakeMci;
using orvane::fakes::FakeSound;

// The platform's answers, one record after the other from the input.
struct ByteScript {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0, at = 0;

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
  FakeAnswer Reply() {
    std::uint8_t code = 0;
    FakeAnswer a;
    Next(code, a.reply);
    const bool fails = code & 0x80;
    a.code = fails ? 256 + (code & 0x3F) : 0;
    a.writesReply = !(fails && (code & 0x40));
    a.terminates = false;
    return a;
  }
  std::optional<std::string> ErrorText() {
    std::uint8_t code = 0;
    std::string bytes;
    Next(code, bytes);
    if (!(code & 1)) return std::nullopt;
    return bytes;
  }
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
  ByteScript script{data + 3, size - 3};
  FakeMci mci;
  mci.script = [&script](const std::string&) { return script.Reply(); };
  mci.errorScript = [&script](std::int32_t) { return script.ErrorText(); };
  FakeSound sound;
  Music music(mci, sound);

  const std::string position = "status cdaudio position track " + std::to_string(repeatTrack);
  for (int i = 0; i < polls; ++i) {
    const std::size_t first = mci.calls.size();
    const bool keepPolling = music.CdPoll(repeatTrack);
    int plays = 0;
    for (std::size_t k = first; k < mci.calls.size(); ++k) {
      const std::string& c = mci.calls[k].command;
      if (c == "play cdaudio") {
        ++plays;
      } else if (c.rfind("play cdaudio from ", 0) == 0) {
        ++plays;
        // The start is the position the device gave for the track to repeat.
        FUZZ_CHECK(repeatTrack != 0 && k > first && mci.calls[k - 1].command == position);
        FUZZ_CHECK(OneWord(c.substr(18)));
      } else {
        FUZZ_CHECK(c == "status cdaudio current track" || c == "status cdaudio number of tracks" ||
                   c == "status cdaudio mode" || (c == position && repeatTrack != 0));
      }
    }
    FUZZ_CHECK(plays <= 1);
    FUZZ_CHECK(mci.calls.size() - first <= 5);
    // The poll never touches the wave device.
    FUZZ_CHECK(sound.calls.empty() && sound.deviceCountsAsked == 0);
    if (!keepPolling) FUZZ_CHECK(plays == 0);
    FUZZ_CHECK(MusicTesting::KeepPolling(music) == keepPolling);
  }
  return 0;
}
