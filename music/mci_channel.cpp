// The MCI command channel: every music command of the saver goes through here.
#include "music/music.h"

#include <cstring>

namespace orvane::music {

// CP932 bytes; the comments in music.h give the texts.
const char kTextNoCommand[] =
    "\x83\x52\x83\x7d\x83\x93\x83\x68\x95\xb6\x8e\x9a\x97\xf1\x82\xaa"
    "\x8e\x77\x92\xe8\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1";
const char kTextNoErrorText[] =
    "Error (\x95\xb6\x8e\x9a\x97\xf1\x82\xaa\x8e\xe6\x82\xea\x82\xdc\x82\xb9\x82\xf1)";

namespace {

// Stands in for a machine without devices: every command fails the way an
// unknown device does, so the callers take their silent paths.
class NoMci final : public MciPort {
 public:
  std::int32_t SendString(const std::string&, char*, std::uint32_t) override {
    return 263;  // MCIERR_INVALID_DEVICE_NAME
  }
  bool ErrorString(std::int32_t, char*, std::uint32_t) override { return false; }
};

// And no wave output device.
class NoSound final : public SoundPort {
 public:
  std::uint32_t WaveOutDeviceCount() override { return 0; }
  void PlayWave(const char*, std::uint32_t) override {}
};

NoMci gNoMci;
NoSound gNoSound;

// A platform that filled the whole buffer leaves no NUL; never read past it.
std::string BufferText(const char* buffer, std::size_t size) {
  const void* nul = std::memchr(buffer, '\0', size);
  const std::size_t length =
      nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer) : size;
  return std::string(buffer, length);
}

}  // namespace

Music::Music() : Music(gNoMci, gNoSound) {}

Music::Music(MciPort& mci, SoundPort& sound) : mci_(mci), sound_(sound) {}

std::int32_t Music::MciExec(const std::string& command) {
  return mci_.SendString(command, nullptr, 0);
}

std::int32_t Music::MciSend(const std::string& command, std::string& text) {
  if (command.empty()) {
    text = kTextNoCommand;
    return kMciEmptyCommand;
  }
  const std::int32_t result = mci_.SendString(command, replyBuffer_, kMciReplyLength);
  if (result != 0) {
    if (mci_.ErrorString(result, errorTextBuffer_, kMciErrorTextLength)) {
      text = BufferText(errorTextBuffer_, kMciErrorTextLength);
    } else {
      text = kTextNoErrorText;
    }
    return result;
  }
  text = BufferText(replyBuffer_, kMciReplyLength);
  return 0;
}

std::string Music::MciQuery(const std::string& command) {
  const std::int32_t result = MciSend(command, lastText_);
  if (result != 0) {
    return "Error:" + std::to_string(result);
  }
  return lastText_;
}

std::int32_t Music::MciPlay(const std::string& device, const std::string& from,
                            const std::string& to) {
  std::string command = "play " + device;
  if (!from.empty()) {
    command += " from " + from;
  }
  if (!to.empty()) {
    command += " to " + to;
  }
  return MciSend(command, lastText_);
}

}  // namespace orvane::music
