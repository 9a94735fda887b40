#include "music/music.h"
#include "tests/unit/music/music_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>

using namespace orvane::music;
using orvane::fakes::FakeMci;

using ::testing::ElementsAre;

namespace {

// The module's own texts must be exactly the CP932 form of these.
std::string Cp932(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  std::string in = utf8, out(utf8.size() * 2, '\0');
  char* ip = in.data();
  char* op = out.data();
  size_t il = in.size(), ol = out.size();
  EXPECT_NE(iconv(cd, &ip, &il, &op, &ol), static_cast<size_t>(-1));
  iconv_close(cd);
  out.resize(out.size() - ol);
  return out;
}

using MciChannel = MusicTest;

TEST_F(MciChannel, EmptyCommandSendsNothing) {
  std::string text = "old";
  EXPECT_EQ(music_.MciSend("", text), -1);
  EXPECT_EQ(text, Cp932("コマンド文字列が指定されていません"));
  EXPECT_EQ(music_.MciQuery(""), "Error:-1");
  EXPECT_TRUE(mci_.calls.empty());
}

TEST_F(MciChannel, SendReturnsReplyThroughA512Buffer) {
  mci_.Answer("status cdaudio mode", 0, "playing");
  std::string text;
  EXPECT_EQ(music_.MciSend("status cdaudio mode", text), 0);
  EXPECT_EQ(text, "playing");
  EXPECT_THAT(mci_.calls, ElementsAre(FakeMci::Call{"status cdaudio mode", 512}));
  EXPECT_EQ(music_.MciQuery("status cdaudio mode"), "playing");
}

TEST_F(MciChannel, FailureGivesTheDescriptionOrTheFixedText) {
  mci_.Fail("open nowhere", 263);
  mci_.errorTexts[263] = "The device is not known.";
  std::string text;
  EXPECT_EQ(music_.MciSend("open nowhere", text), 263);
  EXPECT_EQ(text, "The device is not known.");

  mci_.Fail("open elsewhere", 300);
  EXPECT_EQ(music_.MciSend("open elsewhere", text), 300);
  EXPECT_EQ(text, Cp932("Error (文字列が取れません)"));
  EXPECT_THAT(mci_.errorTextLengths, ElementsAre(256u, 256u));
}

TEST_F(MciChannel, QueryTurnsFailureIntoSignedErrorText) {
  struct Row {
    std::int32_t code;
    const char* expected;
  } rows[] = {
      {263, "Error:263"},
      {-5, "Error:-5"},
      {static_cast<std::int32_t>(0x80000001u), "Error:-2147483647"},
  };
  for (const Row& r : rows) {
    mci_.Fail("status x mode", r.code);
    mci_.errorTexts[r.code] = "described";
    EXPECT_EQ(music_.MciQuery("status x mode"), r.expected);
  }
}

TEST_F(MciChannel, ReplyThatFillsTheBufferIsCutAtItsEnd) {
  // The platform filled all 512 bytes without a NUL.
  class Flooding final : public MciPort {
   public:
    std::int32_t SendString(const std::string&, char* reply, std::uint32_t n) override {
      std::memset(reply, 'x', n);
      return 0;
    }
    bool ErrorString(std::int32_t, char*, std::uint32_t) override { return false; }
  } flooding;
  Music flooded(flooding, sound_);
  EXPECT_EQ(flooded.MciQuery("status cdaudio mode"), std::string(512, 'x'));
}

TEST_F(MciChannel, ExecSendsWithoutReplyBuffer) {
  mci_.Fail("close MP3Play", 263);
  EXPECT_EQ(music_.MciExec("close MP3Play"), 263);
  EXPECT_THAT(mci_.calls, ElementsAre(FakeMci::Call{"close MP3Play", 0}));
  EXPECT_TRUE(mci_.errorTextLengths.empty());
}

TEST_F(MciChannel, PlayCommandShapes) {
  struct Row {
    const char* from;
    const char* to;
    const char* sent;
  } rows[] = {
      {"", "", "play cdaudio"},
      {"03:00:00:00", "", "play cdaudio from 03:00:00:00"},
      {"", "05:01:02:03", "play cdaudio to 05:01:02:03"},
      {"1", "2", "play cdaudio from 1 to 2"},
  };
  for (const Row& r : rows) {
    mci_.calls.clear();
    EXPECT_EQ(music_.MciPlay("cdaudio", r.from, r.to), 0);
    EXPECT_THAT(mci_.calls, ElementsAre(FakeMci::Call{r.sent, 512})) << r.sent;
  }
  mci_.Fail("play cdaudio", 274);
  EXPECT_EQ(music_.MciPlay("cdaudio", "", ""), 274);
}

TEST(MciWithoutPlatform, EverythingFailsQuietly) {
  Music music;
  EXPECT_EQ(music.MciQuery("status cdaudio current track"), "Error:263");
  EXPECT_FALSE(music.CdPoll(0));
  music.WavPlay("C:\\a.wav");
  music.WavStop();
  music.Mp3Open("C:\\a.mp3");
  music.Mp3KeepAlive();
  music.Mp3Close();
}

}  // namespace
