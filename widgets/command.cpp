#include "widgets/command.h"

#include <cstdint>
#include <exception>
#include <stdexcept>

namespace orvane::widgets {

namespace {

// Steps that must not keep the next ones from running.
template <class Step>
void Attempt(Step&& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

}  // namespace

// --- public members -------------------------------------------------------------------------

void Command::SetCaption(const std::u16string& caption) {
  label_.caption = caption;
  view_.CaptionChanged();
  view_.PropertyChanged("Caption");
}

bool Command::Enabled() {
  if (firstRun_ == 0) {
    RefreshLook();
    firstRun_ = 1;
    enabled_ = true;
  }
  const bool result = enabled_;
  ShowEnabledLook();
  return result;
}

void Command::SetEnabled(bool enabled) {
  enabled_ = enabled;
  view_.PropertyChanged("Enabled");
  ShowEnabledLook();
}

void Command::SetFont(FontRef font) {
  label_.font = font;
  view_.CaptionChanged();
  view_.PropertyChanged("Font");
}

uint32_t Command::FontColour() {
  uint32_t colour = 0;
  Attempt([&] { colour = label_.colour; });
  Attempt([&] { RefreshLook(); });
  return colour;
}

void Command::SetFontColour(uint32_t colour) {
  Attempt([&] {
    label_.colour = colour;
    view_.CaptionChanged();
  });
  Attempt([&] { RefreshLook(); });
  Attempt([&] { view_.PropertyChanged("FontColour"); });
}

uint8_t Command::Visible() {
  if (backStyle_ == 0) return 0;
  RefreshLook();
  return 255;
}

void Command::SetVisible(uint8_t visible) {
  if (visible != 0) {
    SetBackStyle(1);
    RefreshLook();
  } else {
    SetBackStyle(0);
  }
  view_.PropertyChanged("Visible");
}

void Command::Initialize() {
  buttonState_ = kStateNormal;
  pollRunning_ = true;
  view_.StartHoverPoll(kHoverPollMs);
}

// --- stored properties ----------------------------------------------------------------------

void Command::ReadProperties(const PropertyBag& bag, FontRef ambientFont) {
  enabled_ = ToBool(bag.Read("Enabled", true));
  label_.caption = ToText(bag.Read("Caption", u"Command1"));
  label_.font = ToFont(bag.Read("Font", ambientFont));
  firstRun_ = static_cast<uint8_t>(ToInteger(bag.Read("FirstRun", u"1"), 0, 255));
  label_.colour =
      static_cast<uint32_t>(ToInteger(bag.Read("FontColour", u"0"), INT32_MIN, UINT32_MAX));
  SetBackStyle(static_cast<uint8_t>(ToInteger(bag.Read("Visible", u"1"), INT16_MIN, INT16_MAX)));
  view_.CaptionChanged();
  RefreshLook();
}

void Command::WriteProperties(PropertyBag& bag, FontRef ambientFont) {
  bag.Write("Enabled", enabled_, true);
  bag.Write("Caption", label_.caption, u"Command");
  bag.Write("Font", label_.font, ambientFont);
  bag.Write("FirstRun", static_cast<int64_t>(firstRun_), u"1");
  bag.Write("FontColour", static_cast<int64_t>(static_cast<int32_t>(label_.colour)), u"0");
  bag.Write("Visible", static_cast<int64_t>(backStyle_), u"1");
  RefreshLook();
}

void Command::SetBackStyle(uint8_t style) {
  // The surface knows only opaque and transparent.
  if (style > 1) throw std::invalid_argument("background style must be 0 or 1");
  backStyle_ = style;
  view_.BackStyleChanged();
}

// --- repaints -------------------------------------------------------------------------------

void Command::SetCaptionEnabled(bool enabled) {
  label_.enabled = enabled;
  view_.CaptionChanged();
}

void Command::ShowEnabledLook() {
  if (enabled_) {
    DrawState(Picture::Normal);
    SetCaptionEnabled(true);
  } else {
    DrawState(Picture::Disable);
    SetCaptionEnabled(false);
  }
}

void Command::RefreshLook() {
  if (!enabled_) return;
  Attempt([&] { SetCaptionEnabled(true); });
  if (firstRun_ == 0) {
    Attempt([&] {
      label_.colour = 0;
      view_.CaptionChanged();
    });
  }
  Attempt([&] { DrawState(Picture::Normal); });
}

void Command::DrawState(Picture picture) {
  invertGradient_ = InvertGradientFor(buttonState_, invertGradient_);
  const int w = view_.WidthTwips();
  const int h = view_.HeightTwips();
  lastPicture_ = picture;
  view_.PaintSurface(picture, invertGradient_);
  label_.top = CaptionTopTwips(h);
  label_.left = 0;
  label_.width = w;
  view_.CaptionChanged();
}

// --- input ----------------------------------------------------------------------------------

void Command::FocusGained() {
  if (!enabled_) return;
  if (buttonState_ != kStateHighLight) {
    buttonState_ = kStateSelected;
    DrawState(Picture::Selected);
  } else {
    buttonState_ = kStateHighLightSelect;
    DrawState(Picture::Pressed);
  }
}

void Command::FocusLost() {
  // A key press that loses the focus never clicks, as with a standard button.
  spaceHeld_ = false;
  if (!enabled_) return;
  if (buttonState_ != kStateNormal) {
    buttonState_ = kStateNormal;
    DrawState(Picture::Normal);
  }
}

void Command::MouseDown(int button) {
  if (!enabled_) return;
  if (button == kLeftButton) {
    leftButtonHeld_ = true;
    DrawState(Picture::Pressed);
  }
}

void Command::MouseMove(int /*button*/) {
  if (!enabled_) return;
  if (buttonState_ == kStateNormal) {
    buttonState_ = kStateHighLight;
    DrawHover(Picture::HighLight);
  } else if (buttonState_ == kStateSelected && !leftButtonHeld_) {
    buttonState_ = kStateHighLightSelect;
    DrawHover(Picture::HighLightSelect);
  }
}

void Command::MouseUp(int button) {
  if (!enabled_) return;
  if (button == kLeftButton) {
    leftButtonHeld_ = false;
    if (buttonState_ == kStateHighLight) {
      DrawState(Picture::Normal);
    } else if (buttonState_ == kStateHighLightSelect) {
      DrawState(Picture::HighLightSelect);
    }
  }
  // Last: the container may destroy the button while handling Click.
  if (buttonState_ != kStateSelected && enabled_) view_.RaiseClick();
}

void Command::HoverTick(bool pointerOverOwnWindow) {
  if (!pointerOverOwnWindow) PointerLeft();
}

void Command::PointerLeft() {
  if (!enabled_) return;
  if (buttonState_ == kStateHighLight) {
    buttonState_ = kStateNormal;
    DrawHover(Picture::Normal);
  } else if (buttonState_ == kStateHighLightSelect) {
    buttonState_ = kStateSelected;
    DrawHover(Picture::Selected);
  }
}

// --- keyboard -------------------------------------------------------------------------------
// A press by key clicks whatever the pointer does: the focus says which button is meant, so
// state 3 (pointer outside) clicks too. The mouse keeps its own rules while it holds the button.

void Command::KeyDown(CommandKey key, bool repeat) {
  if (repeat) return;
  if (key == CommandKey::Enter) {
    Press();
    return;
  }
  if (!enabled_ || spaceHeld_ || leftButtonHeld_) return;
  spaceHeld_ = true;
  DrawState(Picture::Pressed);
}

void Command::Press() {
  if (!enabled_ || spaceHeld_ || leftButtonHeld_) return;
  DrawState(Picture::Pressed);
  DrawState(RestingPicture(buttonState_));
  // Last: the container may destroy the button while handling Click.
  view_.RaiseClick();
}

void Command::KeyUp(CommandKey key) {
  if (key != CommandKey::Space || !spaceHeld_) return;
  spaceHeld_ = false;
  if (!enabled_) return;
  DrawState(RestingPicture(buttonState_));
  view_.RaiseClick();
}

}  // namespace orvane::widgets
