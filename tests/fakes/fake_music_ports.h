// Scripted MCI and sound ports: record every call, answer from a table (or a
// script, for the fuzz targets). Calls can also go to a log shared with other
// fakes, so that a test sees the order across them.
#pragma once

#include "music/music.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvane::fakes {

struct FakeAnswer {
  std::int32_t code = 0;
  std::string reply;
  bool writesReply = true;  // a failing platform call may leave the buffer as it was
  bool terminates = true;   // false: a reply that fills the buffer has no NUL
};

class FakeMci final : public music::MciPort {
 public:
  explicit FakeMci(std::vector<std::string>* sharedLog = nullptr) : log(sharedLog) {}
  struct Call {
    std::string command;
    std::uint32_t replyLength;
    bool operator==(const Call& o) const {
      return command == o.command && replyLength == o.replyLength;
    }
  };

  std::map<std::string, FakeAnswer> answers;       // by command; default: success, ""
  std::map<std::int32_t, std::string> errorTexts;  // codes the platform can describe
  // When set, they answer instead of the tables.
  std::function<FakeAnswer(const std::string& command)> script;
  std::function<std::optional<std::string>(std::int32_t code)> errorScript;
  std::vector<std::string>* log;  // when set: "mci COMMAND" for each command

  std::vector<Call> calls;
  std::vector<std::uint32_t> errorTextLengths;

  void Answer(const std::string& command, std::int32_t code, std::string reply = "",
              bool writesReply = true);
  void Fail(const std::string& command, std::int32_t code) { Answer(command, code, "", false); }
  std::vector<std::string> Commands() const;

  std::int32_t SendString(const std::string& command, char* reply,
                          std::uint32_t replyLength) override;
  bool ErrorString(std::int32_t code, char* text, std::uint32_t textLength) override;
};

class FakeSound final : public music::SoundPort {
 public:
  explicit FakeSound(std::vector<std::string>* sharedLog = nullptr) : log(sharedLog) {}
  struct Call {
    bool hasSound;
    std::string sound;
    std::uint32_t flags;
    bool operator==(const Call& o) const {
      return hasSound == o.hasSound && sound == o.sound && flags == o.flags;
    }
  };
  std::uint32_t devices = 1;
  std::vector<std::string>* log;  // when set: "sound FILE" or "sound stop"

  std::vector<Call> calls;
  int deviceCountsAsked = 0;

  std::uint32_t WaveOutDeviceCount() override;
  void PlayWave(const char* sound, std::uint32_t flags) override;
};

}  // namespace orvane::fakes
