// Scripted MCI and sound ports: record every call, answer from a table.
#pragma once

#include "music/music.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

using namespace orvane::music;

struct FakeAnswer {
  std::int32_t code = 0;
  std::string reply;
  bool writesReply = true;  // a failing platform call may leave the buffer as it was
};

class FakeMci final : public MciPort {
 public:
  struct Call {
    std::string command;
    std::uint32_t replyLength;
    bool operator==(const Call& o) const {
      return command == o.command && replyLength == o.replyLength;
    }
  };

  std::map<std::string, FakeAnswer> answers;       // by command; default: success, ""
  std::map<std::int32_t, std::string> errorTexts;  // codes the platform can describe
  std::vector<Call> calls;
  std::vector<std::uint32_t> errorTextLengths;

  void Answer(const std::string& command, std::int32_t code, std::string reply = "",
              bool writesReply = true) {
    answers[command] = FakeAnswer{code, std::move(reply), writesReply};
  }
  void Fail(const std::string& command, std::int32_t code) { Answer(command, code, "", false); }

  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    for (const Call& c : calls) out.push_back(c.command);
    return out;
  }

  std::int32_t SendString(const std::string& command, char* reply,
                          std::uint32_t replyLength) override {
    calls.push_back({command, replyLength});
    FakeAnswer a;
    if (auto it = answers.find(command); it != answers.end()) a = it->second;
    if (a.writesReply && reply != nullptr && replyLength > 0) {
      const std::size_t n = std::min<std::size_t>(a.reply.size(), replyLength - 1);
      std::memcpy(reply, a.reply.data(), n);
      reply[n] = '\0';
    }
    return a.code;
  }
  bool ErrorString(std::int32_t code, char* text, std::uint32_t textLength) override {
    errorTextLengths.push_back(textLength);
    auto it = errorTexts.find(code);
    if (it == errorTexts.end()) return false;
    std::strncpy(text, it->second.c_str(), textLength - 1);
    text[textLength - 1] = '\0';
    return true;
  }
};

class FakeSound final : public SoundPort {
 public:
  struct Call {
    bool hasSound;
    std::string sound;
    std::uint32_t flags;
    bool operator==(const Call& o) const {
      return hasSound == o.hasSound && sound == o.sound && flags == o.flags;
    }
  };
  std::uint32_t devices = 1;
  std::vector<Call> calls;

  std::uint32_t WaveOutDeviceCount() override { return devices; }
  void PlayWave(const char* sound, std::uint32_t flags) override {
    calls.push_back({sound != nullptr, sound ? sound : "", flags});
  }
};

// Fresh fakes and music over them for each test.
class MusicTest : public ::testing::Test {
 protected:
  FakeMci mci_;
  FakeSound sound_;
  Music music_{mci_, sound_};
};
