// What screen readers hear from the music panel: a group named by its heading whose painted
// choices are radio buttons (the chosen one checked), and the repeat box, a combo box named by
// its label (which is painted, so no reader could find it beside the box). The buttons answer
// for themselves (widgets/win32_command.cpp).
#include "dialog/music_choice.h"
#include "dialog/win32_dialog_parts.h"
#include "widgets/win32_accessible.h"

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

namespace orvane::dialog {

using widgets::AccessibleAnswer;
using widgets::AccessibleFacts;
using widgets::AccessibleSource;

namespace {

// Parts 1 to 3 are the choices in their order on the panel (kModesOnScreen).
// A standard radio button's action.
constexpr wchar_t kCheckAction[] = L"Check";

RECT Union(TwipRect a, TwipRect b, int dpi) {
  const RECT ra = ToRect(ToPixels(a, dpi));
  const RECT rb = ToRect(ToPixels(b, dpi));
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
    const int choice = PanelIndexOf(kModesOnScreen[part - 1]);
    facts.role = ROLE_SYSTEM_RADIOBUTTON;
    facts.name = kModeLabelTexts[static_cast<size_t>(choice)];
    facts.defaultAction = kCheckAction;
    facts.place = Union(kModeIndicators[static_cast<size_t>(choice)],
                        kModeLabels[static_cast<size_t>(choice)], d_.dpi);
    if (LookForMode(d_.env->settings->musicMode).selectedIndicator == choice) {
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

class RepeatBoxSource final : public AccessibleSource {
 public:
  explicit RepeatBoxSource(HWND box) : box_(box) {}

  AccessibleFacts Describe(int) const override {
    AccessibleFacts facts;
    facts.role = ROLE_SYSTEM_COMBOBOX;
    facts.name = kRepeatLabelText;
    facts.value.resize(static_cast<size_t>(GetWindowTextLengthW(box_)) + 1);
    facts.value.resize(static_cast<size_t>(
        GetWindowTextW(box_, facts.value.data(), static_cast<int>(facts.value.size()))));
    // The focus is in the box's text field, a window of its own inside it.
    if (IsChild(box_, GetFocus())) facts.state |= STATE_SYSTEM_FOCUSED;
    facts.state |= SendMessageW(box_, CB_GETDROPPEDSTATE, 0, 0) ? STATE_SYSTEM_EXPANDED
                                                                : STATE_SYSTEM_COLLAPSED;
    return facts;
  }
  void DoDefaultAction(int) override {}

 private:
  HWND box_;
};

constexpr UINT_PTR kRepeatBoxSubclass = 1;

}  // namespace

struct DialogAccess {
  explicit DialogAccess(Dialog& d)
      : panelSource(d),
        panelAnswer(d.panel, panelSource),
        repeatSource(d.repeat),
        repeatAnswer(d.repeat, repeatSource) {}
  MusicPanelSource panelSource;
  AccessibleAnswer panelAnswer;
  RepeatBoxSource repeatSource;
  AccessibleAnswer repeatAnswer;
};

void DialogAccessDeleter::operator()(DialogAccess* access) const { delete access; }

namespace {

// The repeat box is the platform's combo box: its own procedure, with screen readers answered
// before it.
LRESULT CALLBACK RepeatBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) {
  auto* access = reinterpret_cast<DialogAccess*>(data);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(box, RepeatBoxProc, id);
  if (LRESULT done; access->repeatAnswer.Handle(message, wParam, lParam, done)) return done;
  return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

void MakeAccessible(Dialog& d) {
  if (!d.panel || !d.repeat) return;
  d.access.reset(new DialogAccess(d));
  SetWindowSubclass(d.repeat, RepeatBoxProc, kRepeatBoxSubclass,
                    reinterpret_cast<DWORD_PTR>(d.access.get()));
}

bool HandlePanelAccessible(Dialog& d, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return d.access && d.access->panelAnswer.Handle(message, wParam, lParam, result);
}

void AnnounceMusicMode(const Dialog& d) {
  if (!d.access) return;
  for (LONG part = 1; part <= kModeCount; ++part)
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, d.panel, OBJID_CLIENT, part);
}

}  // namespace orvane::dialog
