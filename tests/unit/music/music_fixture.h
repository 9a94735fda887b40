// Music over the scripted MCI and sound ports, fresh for each test.
#pragma once

#include "music/music.h"
#include "tests/fakes/fake_music_ports.h"

#include <gtest/gtest.h>

class MusicTest : public ::testing::Test {
 protected:
  orvane::fakes::FakeMci mci_;
  orvane::fakes::FakeSound sound_;
  orvane::music::Music music_{mci_, sound_};
};
