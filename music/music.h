// Background music of the saver: the MCI command channel, the music-file
// players (WAV through the waveform sound call, MP3 through MCI) and the
// audio-CD player. Pure code: the platform is reached only through the two
// ports below, which the Windows back end (music/win32_music.h) implements.
//
// Texts. Every text that crosses this API (commands, replies, MusicFile) is in
// the system's ANSI code page, byte for byte as the ANSI entry points take and
// give it: pass MusicFile exactly as the settings file holds it. The module's
// own two texts below are CP932, the code page the product was made for.
//
// Failures are silent: nothing here shows, logs or throws anything. Results
// only steer the CD poll and the MP3 start.
#pragma once

#include <cstdint>
#include <string>

namespace orvane::music {

// The platform's MCI string interface.
class MciPort {
 public:
  virtual ~MciPort() = default;
  // mciSendStringA with no window. The platform writes at most replyLength
  // bytes (NUL included) into reply; reply may be null when replyLength is 0.
  // Returns 0 or the MCI error code.
  virtual std::int32_t SendString(const std::string& command, char* reply,
                                  std::uint32_t replyLength) = 0;
  // mciGetErrorStringA; false when the platform has no text for the code.
  virtual bool ErrorString(std::int32_t code, char* text, std::uint32_t textLength) = 0;
};

// The platform's waveform sound service.
class SoundPort {
 public:
  virtual ~SoundPort() = default;
  // waveOutGetNumDevs.
  virtual std::uint32_t WaveOutDeviceCount() = 0;
  // PlaySoundA with no module; sound null stops the playing sound.
  virtual void PlayWave(const char* sound, std::uint32_t flags) = 0;
};

// PlaySound flags (the platform's published values).
constexpr std::uint32_t kSndAsync = 0x0001;
constexpr std::uint32_t kSndNoDefault = 0x0002;
constexpr std::uint32_t kSndLoop = 0x0008;
constexpr std::uint32_t kSndFilename = 0x20000;

// Sizes passed to the platform.
constexpr std::uint32_t kMciReplyLength = 512;
constexpr std::uint32_t kMciErrorTextLength = 256;
constexpr std::uint32_t kMp3ModeLength = 30;
constexpr std::uint32_t kCdModeLength = 255;

// This channel's own result for an empty command.
constexpr std::int32_t kMciEmptyCommand = -1;

// "コマンド文字列が指定されていません" (CP932): the text for an empty command.
extern const char kTextNoCommand[];
// "Error (文字列が取れません)" (CP932): the platform has no text for the code.
extern const char kTextNoErrorText[];

// The one MCI alias under which a music file is open.
constexpr const char* kMp3Alias = "MP3Play";

// The saver's music: one object over the two ports, owned by whoever plays
// (the show). The buffers keep their content between queries, as the mode
// tests rely on. Without ports it behaves as a machine with no MCI devices and
// no wave device.
class Music {
 public:
  Music();
  Music(MciPort& mci, SoundPort& sound);
  Music(const Music&) = delete;
  Music& operator=(const Music&) = delete;

  // MCI command channel. All calls are synchronous; none waits for playback.
  std::int32_t MciExec(const std::string& command);                     // no reply buffer
  std::int32_t MciSend(const std::string& command, std::string& text);  // reply or error text
  std::string MciQuery(const std::string& command);                     // reply, or "Error:<code>"
  std::int32_t MciPlay(const std::string& device, const std::string& from,
                       const std::string& to);  // "play <device>[ from f][ to t]"

  // Music file (MusicMode 2). musicFile is the MusicFile setting.
  void WavPlay(const std::string& musicFile);  // loops by itself until WavStop
  void WavStop();
  void Mp3Open(const std::string& musicFile);  // open under "MP3Play", play if the open worked
  bool Mp3IsPlaying();
  bool Mp3KeepAlive();  // every 1000 ms: restart from 0 unless playing; true when it restarted
  void Mp3Close();

  // Audio CD (MusicMode 1). repeatTrack is the RepeatTrack setting (0: the whole disc).
  void CdOpen();
  bool CdPoll(std::int16_t repeatTrack);  // every 200 ms; false once polling should stop
  void CdClose();

 private:
  friend struct MusicTesting;

  MciPort& mci_;
  SoundPort& sound_;
  char replyBuffer_[kMciReplyLength] = {};
  char errorTextBuffer_[kMciErrorTextLength] = {};
  std::string lastText_;
  char mp3ModeBuffer_[kMp3ModeLength] = {};
  char cdModeBuffer_[kCdModeLength] = {};
  bool keepPolling_ = false;
};

}  // namespace orvane::music
