// The push button's view, recorded, for the unit tests and the fuzz targets:
// each paint, hover poll, click and property notice is a line of `log`
// ("Pressed/inv", "poll 100", "Click", "notify Caption").
#pragma once

#include "widgets/command.h"

#include <string>
#include <vector>

namespace orvane::fakes {

class FakeCommandView final : public widgets::CommandView {
 public:
  std::vector<std::string> log;
  int width = 960, height = 375;  // twips
  bool failPaint = false;         // painting throws, as a platform failure would

  void PaintSurface(widgets::Picture picture, bool invertGradient) override;
  int WidthTwips() const override { return width; }
  int HeightTwips() const override { return height; }
  void CaptionChanged() override {}
  void BackStyleChanged() override {}
  void StartHoverPoll(unsigned intervalMs) override;
  void RaiseClick() override { log.push_back("Click"); }
  void PropertyChanged(const char* key) override;
};

}  // namespace orvane::fakes
