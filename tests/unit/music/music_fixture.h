// Music over the scripted MCI and sound ports, fresh for each test.
#pragma once

#include <gtest/gtest.h>

#include "music/music.h"
#include "tests/fakes/fake_music_ports.h"

using orvane::fakes::FakeAnswer;
using orvane::fakes::FakeMci;
using orvane::fakes::FakeSound;

class MusicTest : public ::testing::Test {
 protected:
  FakeMci mci_;
  FakeSound sound_;
  orvane::music::Music music_{mci_, sound_};
};
