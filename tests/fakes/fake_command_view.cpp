#include "tests/fakes/fake_command_view.h"

#include <stdexcept>

namespace orvane::fakes {

namespace {

const char* Name(widgets::Picture picture) {
  static const char* const kNames[] = {"Normal",   "HighLight",       "Pressed",
                                       "Selected", "HighLightSelect", "Disable"};
  return kNames[static_cast<int>(picture)];
}

}  // namespace

void FakeCommandView::PaintSurface(widgets::Picture picture, bool invertGradient) {
  if (failPaint) throw std::runtime_error("paint failed");
  log.push_back(std::string(Name(picture)) + (invertGradient ? "/inv" : ""));
}

void FakeCommandView::StartHoverPoll(unsigned intervalMs) {
  log.push_back("poll " + std::to_string(intervalMs));
}

void FakeCommandView::PropertyChanged(const char* key) {
  log.push_back(std::string("notify ") + key);
}

}  // namespace orvane::fakes
