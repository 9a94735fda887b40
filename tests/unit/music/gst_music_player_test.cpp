#include "music/gst_music_player.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

using namespace orvane::music;

namespace {

using orvane::music::GstMusicPlayer;

// A second of a quiet square wave as 16-bit mono WAV.
std::string WriteWav(const std::string& path) {
  const std::uint32_t rate = 8000, samples = 8000, bytes = samples * 2;
  std::ofstream out(path, std::ios::binary);
  auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  out << "RIFF";
  u32(36 + bytes);
  out << "WAVEfmt ";
  u32(16);
  u16(1);
  u16(1);
  u32(rate);
  u32(rate * 2);
  u16(2);
  u16(16);
  out << "data";
  u32(bytes);
  for (std::uint32_t n = 0; n < samples; ++n) u16((n / 20) % 2 ? 0x0400 : 0xFC00);
  return path;
}

class GstMusicPlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/orvane-music-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    // No sound server: nothing is heard whatever the test does (on a desktop an
    // ALSA device could still play the stops' first milliseconds, quietly).
    setenv("PULSE_SERVER", ("unix:" + dir_ + "/no-server").c_str(), 1);
  }
  void TearDown() override {
    std::string command = "rm -rf '" + dir_ + "'";
    (void)!std::system(command.c_str());
  }

  // What the player reported, one line each, once it has said a whole line or
  // `limit` has passed. A wait, not a fixed time: GStreamer's first start on a
  // fresh machine builds its plugin registry, which takes seconds.
  std::string RunUntilSaid(const std::string& path, std::chrono::seconds limit) {
    std::mutex mutex;  // the player reports from its own thread
    std::string said;
    const auto saidSoFar = [&] {
      std::lock_guard<std::mutex> lock(mutex);
      return said;
    };
    {
      GstMusicPlayer player(path, [&](const std::string& line) {
        std::lock_guard<std::mutex> lock(mutex);
        said += line + '\n';
      });
      const auto end = std::chrono::steady_clock::now() + limit;
      while (std::chrono::steady_clock::now() < end && saidSoFar().find('\n') == std::string::npos)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return said;
  }

  std::string dir_;
};

TEST_F(GstMusicPlayerTest, FilesThatCannotPlayGiveOneLine) {
  mkdir((dir_ + "/folder.wav").c_str(), 0755);
  std::ofstream(dir_ + "/text.wav") << "just some words\n";
  struct Case {
    const char* name;
    std::string path;
    const char* saying;
  };
  const Case cases[] = {
      {"missing", dir_ + "/gone.wav", "no such file"},
      {"folder", dir_ + "/folder.wav", "a folder"},
      {"not sound", dir_ + "/text.wav", "stays silent"},
      {"control characters shown as ?", dir_ + "/a\nb.wav", "a?b.wav"},
  };
  for (const Case& c : cases) {
    const std::string said = RunUntilSaid(c.path, std::chrono::seconds(30));
    EXPECT_NE(said.find(c.saying), std::string::npos) << c.name << ": " << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << c.name << ": not one line: " << said;
  }
}

// A stop at any point of the player's start (before GStreamer is up, while the
// pipeline is made, once the loop runs) returns: a lost stop would be a hang.
TEST_F(GstMusicPlayerTest, StopsAtAnyPointOfItsStart) {
  const std::string wav = WriteWav(dir_ + "/tone.wav");
  for (int round = 0; round < 20; ++round) {
    const auto start = std::chrono::steady_clock::now();
    {
      GstMusicPlayer player(wav, [](const std::string&) {});
      std::this_thread::sleep_for(std::chrono::milliseconds(round));
      player.Stop();
      player.Stop();  // a second stop is harmless
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << round;
  }
}

}  // namespace
