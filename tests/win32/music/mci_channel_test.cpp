// The music module on the real winmm under Wine: what the platform answers
// decides the silent paths of the players.
#include "music/music.h"
#include "music/music_testing.h"
#include "music/win32_music.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

using namespace orvane::music;

namespace {

std::wstring FromCodePage(const std::string& text, UINT codePage) {
  const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(),
                                    static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                      out.data(), n);
  return out;
}

std::string Upper(std::string s) {
  CharUpperBuffA(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

class RealMci : public ::testing::Test {
 protected:
  Win32MusicDevices devices_;
  Music music_{devices_.mci, devices_.sound};
};

TEST_F(RealMci, UnknownDeviceGivesAnErrorReply) {
  std::string text;
  const std::int32_t code = music_.MciSend("status orvanenodevice mode", text);
  EXPECT_NE(code, 0);
  // The platform describes its own codes.
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text, kTextNoErrorText);

  const std::string reply = music_.MciQuery("status orvanenodevice mode");
  EXPECT_EQ(reply, "Error:" + std::to_string(code));
  EXPECT_NE(Upper(reply).find("ERR"), std::string::npos);
}

TEST_F(RealMci, EmptyCommandNeverReachesThePlatform) {
  std::string text;
  EXPECT_EQ(music_.MciSend("", text), -1);
  EXPECT_EQ(FromCodePage(text, 932), L"コマンド文字列が指定されていません");
  EXPECT_EQ(music_.MciQuery(""), "Error:-1");
}

TEST_F(RealMci, CdWithoutDriveEndsPollingAtTheFirstTick) {
  music_.CdOpen();
  EXPECT_EQ(music_.MciQuery("status cdaudio current track").rfind("Error:", 0), 0u);
  EXPECT_FALSE(music_.CdPoll(0));
  EXPECT_FALSE(music_.CdPoll(3));
  EXPECT_FALSE(MusicTesting::KeepPolling(music_));
  music_.CdClose();
}

TEST_F(RealMci, Mp3ThatCannotOpenLeavesKeepAliveHarmless) {
  music_.Mp3Open("C:\\no such folder\\missing song.mp3");
  EXPECT_FALSE(music_.Mp3IsPlaying());
  for (int i = 0; i < 3; ++i) music_.Mp3KeepAlive();
  EXPECT_EQ(music_.MciQuery("status MP3Play mode").rfind("Error:", 0), 0u);
  music_.Mp3Close();
}

}  // namespace
