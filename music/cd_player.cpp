// Audio-CD playback: the poll restarts a stopped disc and, with a track to
// repeat, sends the device back to that track's start whenever it has left it.
#include "music/music.h"

#include <cctype>
#include <cstring>
#include <optional>

namespace orvane::music {

namespace {

std::string UpperCase(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return text;
}

bool Failed(const std::string& reply) { return UpperCase(reply).find("ERR") != std::string::npos; }

// A track number as MCI writes it: decimal, blanks around allowed. Anything
// else (an empty reply included) is no number.
std::optional<long> TrackNumber(const std::string& text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t digits = i;
  long value = 0;
  while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
    // Saturate: a number that large differs from every 16-bit track anyway.
    if (value < 100000000L) value = value * 10 + (text[i] - '0');
    ++i;
  }
  if (i == digits) return std::nullopt;
  while (i < n && text[i] == ' ') ++i;
  if (i != n) return std::nullopt;
  return negative ? -value : value;
}

// The start of the track goes into the play command as the device gave it. More
// than one word would add flags of its own to that command ("wait" would hold
// the host's only thread until the disc ends), so such a reply is not used.
bool UsableStart(const std::string& start) {
  for (unsigned char c : start) {
    if (c <= ' ' || c == '"') return false;
  }
  return true;
}

}  // namespace

void Music::CdOpen() {
  MciExec("open cdaudio");
  // Positions in tracks:minutes:seconds:frames.
  MciExec("set cdaudio time format tmsf");
}

bool Music::CdPoll(std::int16_t repeatTrack) {
  keepPolling_ = true;
  try {
    const std::string current = MciQuery("status cdaudio current track");
    if (Failed(current)) {
      keepPolling_ = false;
      return false;
    }
    // Only its failure matters: a drive without a readable disc.
    if (Failed(MciQuery("status cdaudio number of tracks"))) {
      keepPolling_ = false;
      return false;
    }
    // The buffer is not cleared: a failed query leaves the previous mode.
    mci_.SendString("status cdaudio mode", cdModeBuffer_, kCdModeLength);
    const bool stopped = std::strncmp(cdModeBuffer_, "stopped", 7) == 0;

    if (repeatTrack == 0) {
      if (stopped) {
        MciPlay("cdaudio", "", "");
      }
      return keepPolling_;
    }
    // The current track must be a number even when the device is stopped.
    const std::optional<long> track = TrackNumber(current);
    if (!track) {
      keepPolling_ = false;
      return false;
    }
    if (stopped || *track != repeatTrack) {
      const std::string start =
          MciQuery("status cdaudio position track " + std::to_string(repeatTrack));
      if (UsableStart(start)) MciPlay("cdaudio", start, "");  // on to the end of the disc
    }
  } catch (...) {
    keepPolling_ = false;
  }
  return keepPolling_;
}

void Music::CdClose() {
  MciExec("stop cdaudio");
  MciExec("close cdaudio");
}

}  // namespace orvane::music
