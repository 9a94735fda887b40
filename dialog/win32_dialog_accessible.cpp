// What screen readers hear from the music panel: a group named by its heading whose painted
// choices are radio buttons (the chosen one checked), and the repeat box named by its label.
// The buttons answer for themselves (widgets/win32_command.cpp).
#include <oleacc.h>

#include "dialog/music_choice.h"
#include "dialog/win32_dialog_parts.h"
#include "widgets/win32_accessible.h"

namespace orvane::dialog {

using widgets::AccessibleAnswer;
using widgets::AccessibleFacts;
using widgets::AccessibleSource;

namespace {

// Parts 1 to 3 are the choices in their order on the panel (kModesOnScreen).
// A standard radio button's action.
constexpr wchar_t kCheckAction[] = L"Check";

RECT Union(TwipRect a, TwipRect b) {
  const RECT ra = ToRect(ToPixels(a));
  const RECT rb = ToRect(ToPixels(b));
  RECT both;
  UnionRect(&both, &ra, &rb);
  return both;
}

class MusicPanelSource final : public AccessibleSource {
 public:
  explicit MusicPanelSource(Dialog& d) : d_(d) {}

  int PartCount() const override { return kModeCount; }

  AccessibleFacts Describe(int part) const override {
    AccessibleFacts facts;
    if (part == 0) {
      facts.role = ROLE_SYSTEM_GROUPING;
      facts.name = kHeadingText;
      return facts;
    }
    const int mode = kModesOnScreen[part - 1];
    facts.role = ROLE_SYSTEM_RADIOBUTTON;
    facts.name = kModeLabelTexts[static_cast<size_t>(mode)];
    facts.defaultAction = kCheckAction;
    facts.place =
        Union(kModeIndicators[static_cast<size_t>(mode)], kModeLabels[static_cast<size_t>(mode)]);
    if (LookForMode(d_.env->settings->musicMode).selectedIndicator == mode) {
      // The arrow keys move the checked choice: with the panel focused, it has the focus.
      facts.state |= STATE_SYSTEM_CHECKED | (GetFocus() == d_.panel ? STATE_SYSTEM_FOCUSED : 0);
    }
    return facts;
  }

  // As a press on the choice.
  void DoDefaultAction(int part) override {
    if (part >= 1 && part <= kModeCount) ChooseMusicMode(d_, kModesOnScreen[part - 1]);
  }

 private:
  Dialog& d_;
};

}  // namespace

struct PanelAccess {
  explicit PanelAccess(Dialog& d) : source(d), answer(d.panel, source) {}
  MusicPanelSource source;
  AccessibleAnswer answer;
};

void PanelAccessDeleter::operator()(PanelAccess* access) const { delete access; }

void MakePanelAccessible(Dialog& d) {
  if (d.panel) d.panelAccess.reset(new PanelAccess(d));
}

bool HandlePanelAccessible(Dialog& d, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return d.panelAccess && d.panelAccess->answer.Handle(message, wParam, lParam, result);
}

void AnnounceMusicMode(const Dialog& d) {
  if (!d.panelAccess) return;
  for (LONG part = 1; part <= kModeCount; ++part)
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, d.panel, OBJID_CLIENT, part);
}

}  // namespace orvane::dialog
