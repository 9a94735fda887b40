#include "tests/fakes/fake_music_ports.h"

#include <algorithm>
#include <cstring>

namespace orvane::fakes {

void FakeMci::Answer(const std::string& command, std::int32_t code, std::string reply,
                     bool writesReply) {
  answers[command] = FakeAnswer{code, std::move(reply), writesReply, true};
}

std::vector<std::string> FakeMci::Commands() const {
  std::vector<std::string> out;
  for (const Call& c : calls) out.push_back(c.command);
  return out;
}

std::int32_t FakeMci::SendString(const std::string& command, char* reply,
                                 std::uint32_t replyLength) {
  calls.push_back({command, replyLength});
  if (log) log->push_back("mci " + command);
  FakeAnswer a;
  if (script) {
    a = script(command);
  } else if (auto it = answers.find(command); it != answers.end()) {
    a = it->second;
  }
  if (a.writesReply && reply != nullptr && replyLength > 0) {
    const std::size_t room = a.terminates ? replyLength - 1 : replyLength;
    const std::size_t n = std::min<std::size_t>(a.reply.size(), room);
    std::memcpy(reply, a.reply.data(), n);
    if (n < replyLength) reply[n] = '\0';
  }
  return a.code;
}

bool FakeMci::ErrorString(std::int32_t code, char* text, std::uint32_t textLength) {
  errorTextLengths.push_back(textLength);
  std::optional<std::string> found;
  if (errorScript) {
    found = errorScript(code);
  } else if (auto it = errorTexts.find(code); it != errorTexts.end()) {
    found = it->second;
  }
  if (!found || textLength == 0) return false;
  const std::size_t n = std::min<std::size_t>(found->size(), textLength - 1);
  std::memcpy(text, found->data(), n);
  text[n] = '\0';
  return true;
}

std::uint32_t FakeSound::WaveOutDeviceCount() {
  ++deviceCountsAsked;
  return devices;
}

void FakeSound::PlayWave(const char* sound, std::uint32_t flags) {
  calls.push_back({sound != nullptr, sound ? sound : "", flags});
  if (log) log->push_back(sound ? std::string("sound ") + sound : "sound stop");
}

}  // namespace orvane::fakes
