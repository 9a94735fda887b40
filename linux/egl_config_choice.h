// Which of EGL's window configurations the show draws with, decided from their
// channel sizes alone.
#pragma once

#include <cstddef>
#include <vector>

namespace orvane::linux_program {

struct ConfigChannels {
  int red = 0, green = 0, blue = 0, alpha = 0;  // bits
};

// The index of the configuration to use, from those EGL offered in its own order
// (deepest colour first); none offered: 0. Wanted: 8 bits for each colour and no
// alpha. The picture is 8 bits a channel (its texture, its blending), so deeper
// colour only costs conversions: the renderer packs each pixel into 10 bits and
// a compositor converts the buffer for every frame it shows (seen: a 10-bit
// buffer cost a software compositor about 10 ms a frame). Without alpha the
// compositor knows the surface is opaque and draws nothing beneath it. Failing
// that, the first without alpha, then the first 8-bit one, then EGL's first.
std::size_t ChooseWindowConfig(const std::vector<ConfigChannels>& offered);

}  // namespace orvane::linux_program
