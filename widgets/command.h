#pragma once
// The push button `Command`: its fields, public members, stored properties and the input rules
// that move it between its four states. Painting and the platform stay behind CommandView.
#include "widgets/command_drawing.h"
#include "widgets/property_bag.h"

#include <cstdint>
#include <string>

namespace orvane::widgets {

// ButtonState values.
enum : uint8_t {
  kStateNone = 0,  // until Initialize
  kStateNormal = 1,
  kStateHighLight = 2,
  kStateSelected = 3,
  kStateHighLightSelect = 4,
};

// Mouse button numbers as the input handlers receive them.
enum : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

constexpr unsigned kHoverPollMs = 100;

// The keys a focused button answers, as a standard push button does.
enum class CommandKey { Space, Enter };

// The look a state rests in once a press is over.
constexpr Picture RestingPicture(uint8_t state) {
  return state == kStateHighLight         ? Picture::HighLight
         : state == kStateSelected        ? Picture::Selected
         : state == kStateHighLightSelect ? Picture::HighLightSelect
                                          : Picture::Normal;
}

// Direction of the background gradient for a paint in `state`; `previous` is kept for the
// states that do not choose one (HighLightSelect, and 0 before Initialize).
constexpr bool InvertGradientFor(uint8_t state, bool previous) {
  return state == kStateNormal || state == kStateSelected ? false
         : state == kStateHighLight                       ? true
                                                          : previous;
}

// What the model asks of the platform.
class CommandView {
 public:
  virtual ~CommandView() = default;
  // Paints the surface: clear, gradient, the frame of `picture`, present.
  virtual void PaintSurface(Picture picture, bool invertGradient) = 0;
  virtual int WidthTwips() const = 0;
  virtual int HeightTwips() const = 0;
  // The caption label's text, font, colour, enabled look or place changed: show it again.
  virtual void CaptionChanged() = 0;
  // The surface turned opaque or transparent.
  virtual void BackStyleChanged() = 0;
  virtual void StartHoverPoll(unsigned intervalMs) = 0;
  virtual void RaiseClick() = 0;
  // A stored property changed, so the container should save the properties again.
  virtual void PropertyChanged(const char* key) = 0;
};

// The caption label: it has no field of its own in the button, the label keeps these.
struct CaptionLabel {
  std::u16string caption = u"Command";
  FontRef font;
  uint32_t colour = 0;  // black
  bool enabled = true;
  int left = 0;      // twips
  double top = 90;   // twips; a real number
  int width = 1635;  // twips
  int height = kCaptionHeightTwips;
};

class Command {
 public:
  explicit Command(CommandView& view) : view_(view) {}

  // Public members.
  const std::u16string& Caption() const { return label_.caption; }
  void SetCaption(const std::u16string& caption);
  bool Enabled();  // reading completes a first run and repaints
  void SetEnabled(bool enabled);
  FontRef Font() const { return label_.font; }
  void SetFont(FontRef font);
  uint32_t FontColour();  // reading repaints Normal when enabled
  void SetFontColour(uint32_t colour);
  uint8_t Visible();  // 0 transparent, 255 opaque (and then repaints)
  void SetVisible(uint8_t visible);
  void Initialize();

  // Container hooks.
  void ReadProperties(const PropertyBag& bag, FontRef ambientFont);
  void WriteProperties(PropertyBag& bag, FontRef ambientFont);
  void Resize() { ShowEnabledLook(); }

  // Input.
  void FocusGained();
  void FocusLost();
  void MouseDown(int button);
  void MouseMove(int button);
  void MouseUp(int button);
  void HoverTick(bool pointerOverOwnWindow);
  void PointerLeft();
  // Keys reach only the focused button. Space presses on its way down and clicks on its way
  // up; Enter clicks at once. `repeat`: the key was already down (the keyboard repeating it).
  void KeyDown(CommandKey key, bool repeat);
  void KeyUp(CommandKey key);
  // A press and release in one (Enter, or a screen reader's "press"): Pressed, the resting
  // look, Click.
  void Press();

  // Repaints.
  void ShowEnabledLook();
  void RefreshLook();
  void DrawState(Picture picture);

  // Fields, for the platform side (tests see the rest through command_testing.h).
  uint8_t ButtonState() const { return buttonState_; }
  bool EnabledField() const { return enabled_; }
  uint8_t BackStyle() const { return backStyle_; }
  const CaptionLabel& Label() const { return label_; }
  Picture LastPicture() const { return lastPicture_; }

 private:
  friend struct CommandTesting;

  void SetCaptionEnabled(bool enabled);
  void SetBackStyle(uint8_t style);
  // The hover rows' repaint: a button held down by Space keeps looking pressed.
  void DrawHover(Picture picture) { DrawState(spaceHeld_ ? Picture::Pressed : picture); }

  CommandView& view_;
  uint8_t buttonState_ = kStateNone;
  bool enabled_ = false;
  uint8_t firstRun_ = 0;
  bool invertGradient_ = false;
  bool leftButtonHeld_ = false;
  bool spaceHeld_ = false;  // Space went down on this button and has not come up
  uint8_t backStyle_ = 1;   // opaque
  CaptionLabel label_;
  Picture lastPicture_ = Picture::Normal;
  bool pollRunning_ = false;
};

}  // namespace orvane::widgets
