#include "linux/egl_config_choice.h"

namespace orvane::linux_program {

std::size_t ChooseWindowConfig(const std::vector<ConfigChannels>& offered) {
  // 0 is the one wanted; among equals EGL's order stands.
  auto rank = [](const ConfigChannels& c) {
    const bool eightBit = c.red == 8 && c.green == 8 && c.blue == 8;
    if (c.alpha == 0) return eightBit ? 0 : 1;
    return eightBit ? 2 : 3;
  };
  std::size_t best = 0;
  for (std::size_t n = 1; n < offered.size(); ++n)
    if (rank(offered[n]) < rank(offered[best])) best = n;
  return best;
}

}  // namespace orvane::linux_program
