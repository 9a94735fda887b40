// The MCI command channel: every music command of the saver goes through here.
#include "music/music_internal.h"

#include <cstring>

// CP932 bytes; the comments in music.h give the texts.
const char kTextNoCommand[] =
    "\x83\x52\x83\x7d\x83\x93\x83\x68\x95\xb6\x8e\x9a\x97\xf1\x82\xaa"
    "\x8e\x77\x92\xe8\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1";
const char kTextNoErrorText[] =
    "Error (\x95\xb6\x8e\x9a\x97\xf1\x82\xaa\x8e\xe6\x82\xea\x82\xdc\x82\xb9\x82\xf1)";

namespace {

// Stands in while no platform is attached: every command fails the way an
// unknown device does, so the callers take their silent paths.
class NoMci final : public MciPort {
 public:
  std::int32_t sendString(const std::string&, char*, std::uint32_t) override {
    return 263;  // MCIERR_INVALID_DEVICE_NAME
  }
  bool errorString(std::int32_t, char*, std::uint32_t) override { return false; }
};

MusicState gState;

// A platform that filled the whole buffer leaves no NUL; never read past it.
std::string BufferText(const char* buffer, std::size_t size) {
  const void* nul = std::memchr(buffer, '\0', size);
  const std::size_t length =
      nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer) : size;
  return std::string(buffer, length);
}

}  // namespace

MusicState& Bgm() { return gState; }

void MusicAttach(MciPort* mci, SoundPort* sound) {
  gState = MusicState{};
  gState.mci = mci;
  gState.sound = sound;
}

MciPort& AttachedMci() {
  static NoMci none;
  return gState.mci ? *gState.mci : none;
}

std::int32_t MciExec(const std::string& command) {
  return AttachedMci().sendString(command, nullptr, 0);
}

std::int32_t MciSend(const std::string& command, std::string& text) {
  if (command.empty()) {
    text = kTextNoCommand;
    return kMciEmptyCommand;
  }
  MciPort& mci = AttachedMci();
  const std::int32_t result = mci.sendString(command, gState.replyBuffer, kMciReplyLength);
  if (result != 0) {
    if (mci.errorString(result, gState.errorTextBuffer, kMciErrorTextLength)) {
      text = BufferText(gState.errorTextBuffer, kMciErrorTextLength);
    } else {
      text = kTextNoErrorText;
    }
    return result;
  }
  text = BufferText(gState.replyBuffer, kMciReplyLength);
  return 0;
}

std::string MciQuery(const std::string& command) {
  const std::int32_t result = MciSend(command, gState.lastText);
  if (result != 0) {
    return "Error:" + std::to_string(result);
  }
  return gState.lastText;
}

std::int32_t MciPlay(const std::string& device, const std::string& from, const std::string& to) {
  std::string command = "play " + device;
  if (!from.empty()) {
    command += " from " + from;
  }
  if (!to.empty()) {
    command += " to " + to;
  }
  return MciSend(command, gState.lastText);
}
