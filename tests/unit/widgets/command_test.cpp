#include "widgets/command.h"

#include "tests/fakes/fake_command_view.h"
#include "widgets/command_testing.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace orvane::widgets;

namespace orvane::widgets {
namespace {

using orvane::fakes::FakeCommandView;

std::string Join(const std::vector<std::string>& items) {
  std::string out;
  for (const auto& item : items) out += (out.empty() ? "" : ", ") + item;
  return out;
}

// Applies space-separated inputs: init, move, focus+, focus-, downN, upN, leave, over,
// enable, disable; keys: space (down), space^ (up), space* (a repeated down), enter, enter*.
void Apply(Command& c, const std::string& steps) {
  std::istringstream in(steps);
  std::string step;
  while (in >> step) {
    if (step == "init")
      c.Initialize();
    else if (step == "move")
      c.MouseMove(0);
    else if (step == "focus+")
      c.FocusGained();
    else if (step == "focus-")
      c.FocusLost();
    else if (step.rfind("down", 0) == 0)
      c.MouseDown(std::stoi(step.substr(4)));
    else if (step.rfind("up", 0) == 0)
      c.MouseUp(std::stoi(step.substr(2)));
    else if (step == "leave")
      c.HoverTick(false);
    else if (step == "over")
      c.HoverTick(true);
    else if (step == "enable")
      c.SetEnabled(true);
    else if (step == "disable")
      c.SetEnabled(false);
    else if (step == "space" || step == "space*")
      c.KeyDown(CommandKey::Space, step == "space*");
    else if (step == "space^")
      c.KeyUp(CommandKey::Space);
    else if (step == "enter" || step == "enter*")
      c.KeyDown(CommandKey::Enter, step == "enter*");
    else if (step == "enter^")
      c.KeyUp(CommandKey::Enter);
    else
      FAIL() << "unknown step " << step;
  }
}

PropertyBag Bag(std::initializer_list<std::pair<const char*, PropertyValue>> items) {
  PropertyBag bag;
  for (const auto& [key, value] : items) bag.Set(key, value);
  return bag;
}

struct Button {
  FakeCommandView view;
  Command button{view};
};

// A button as the dialog has it: loaded with a caption and a font only.
struct Loaded : Button {
  Loaded() {
    button.ReadProperties(Bag({{"caption", u"設定"}, {"font", FontRef{7}}}), FontRef{1});
    view.log.clear();
  }
};

// Runs `setup`, then `act`, leaving in the log only what `act` did.
void Act(Loaded& b, const char* setup, const char* act) {
  Apply(b.button, setup);
  b.view.log.clear();
  Apply(b.button, act);
}

struct InputCase {
  const char* setup;
  const char* act;
  int state;
  const char* painted;  // DrawState calls and events of `act`
  bool held = false;
};

TEST(CommandInput, FollowsTheInputTable) {
  const InputCase cases[] = {
      // focus
      {"init", "focus+", 3, "Selected"},
      {"init move", "focus+", 4, "Pressed/inv"},
      {"", "focus+", 3, "Selected"},
      {"init focus+", "focus-", 1, "Normal"},
      {"init move focus+", "focus-", 1, "Normal"},
      {"init", "focus-", 1, ""},
      {"", "focus-", 1, "Normal"},
      // mouse down: only the left button presses
      {"init move", "down1", 2, "Pressed/inv", true},
      {"init move", "down2", 2, ""},
      {"init move", "down4", 2, ""},
      // mouse move
      {"init", "move", 2, "HighLight/inv"},
      {"", "move", 0, ""},
      {"init move", "move", 2, ""},
      {"init focus+", "move", 4, "HighLightSelect"},
      {"init focus+ down1", "move", 3, "", true},
      {"init move focus+", "move", 4, ""},
      // mouse up
      {"init move down1", "up1", 2, "Normal/inv, Click"},
      {"init move focus+ down1", "up1", 4, "HighLightSelect/inv, Click"},
      {"init focus+ down1", "up1", 3, ""},  // state 3: no Click
      {"init focus+", "up2", 3, ""},
      {"init", "up2", 1, "Click"},
      {"init move", "up4", 2, "Click"},
      {"", "up1", 0, "Click"},
      // pointer leaving, found by the poll
      {"init move", "leave", 1, "Normal"},
      {"init move focus+", "leave", 3, "Selected"},
      {"init move focus+", "leave leave leave", 3, "Selected"},
      {"init", "leave", 1, ""},
      {"init move", "over", 2, ""},
      // a disabled button ignores everything and keeps its state
      {"init move disable", "move focus+ down1 up1 leave", 2, ""},
      {"init focus+ down1 disable", "up1 focus-", 3, "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("setup '") + c.setup + "', act '" + c.act + "'");
    Loaded b;
    Act(b, c.setup, c.act);
    EXPECT_EQ(Join(b.view.log), c.painted);
    EXPECT_EQ(b.button.ButtonState(), c.state);
    EXPECT_EQ(CommandTesting::LeftButtonHeld(b.button), c.held);
  }
}

struct SequenceCase {
  const char* name;
  const char* steps;
  const char* log;
  int state;
};

TEST(CommandInput, WholeGestures) {
  const SequenceCase cases[] = {
      {"click", "init move focus+ down1 up1 leave",
       "poll 100, HighLight/inv, Pressed/inv, Pressed/inv, HighLightSelect/inv, Click, Selected",
       3},
      {"drag out, release after a poll", "init move focus+ down1 move leave up1",
       "poll 100, HighLight/inv, Pressed/inv, Pressed/inv, Selected", 3},
      {"drag out, release before the poll", "init move focus+ down1 move up1",
       "poll 100, HighLight/inv, Pressed/inv, Pressed/inv, HighLightSelect/inv, Click", 4},
      {"drag back in while held, release, move", "init move focus+ down1 leave move up1 move",
       "poll 100, HighLight/inv, Pressed/inv, Pressed/inv, Selected, HighLightSelect", 4},
      {"right click on a hovered button", "init move down2 up2", "poll 100, HighLight/inv, Click",
       2},
      {"keyboard focus while hovered, then leave", "init move focus+ leave",
       "poll 100, HighLight/inv, Pressed/inv, Selected", 3},
      {"HighLightSelect from Selected keeps white on top", "init focus+ move",
       "poll 100, Selected, HighLightSelect", 4},
      {"left release without focus paints Normal, moving inside repaints nothing",
       "init move down1 up1 move move leave move",
       "poll 100, HighLight/inv, Pressed/inv, Normal/inv, Click, Normal, HighLight/inv", 2},
      {"enabling again paints Normal and keeps the state", "init move focus+ disable enable",
       "poll 100, HighLight/inv, Pressed/inv, notify Enabled, Disable/inv, notify Enabled, "
       "Normal/inv",
       4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Loaded b;
    Apply(b.button, c.steps);
    EXPECT_EQ(Join(b.view.log), c.log);
    EXPECT_EQ(b.button.ButtonState(), c.state);
  }
}

// The keys of a focused button: the same Pressed look and the same Click as a mouse press
// and release over it, whether or not the pointer is over it.
TEST(CommandInput, SpaceAndEnterPressTheFocusedButton) {
  struct KeyCase {
    const char* setup;
    const char* act;
    const char* painted;
    bool spaceHeld;
  };
  const KeyCase cases[] = {
      // Space: pressed on the way down, Click on the way up
      {"init focus+", "space", "Pressed", true},
      {"init focus+", "space space* space*", "Pressed", true},
      {"init focus+", "space space^", "Pressed, Selected, Click", false},
      {"init move focus+", "space space^", "Pressed/inv, HighLightSelect/inv, Click", false},
      {"init focus+", "space space^ space^", "Pressed, Selected, Click", false},
      // a key already down when the focus came presses nothing
      {"init focus+", "space* space^", "", false},
      {"init focus+", "space^", "", false},
      // Enter clicks at once, once per press
      {"init focus+", "enter", "Pressed, Selected, Click", false},
      {"init focus+", "enter enter* enter^", "Pressed, Selected, Click", false},
      {"init focus+", "space enter space^", "Pressed, Selected, Click", false},
      // the focus lost while Space is down: no Click
      {"init focus+", "space focus- space^", "Pressed, Normal", false},
      // the pointer crossing a button held by Space leaves it pressed
      {"init focus+", "space move leave space^", "Pressed, Pressed, Pressed, Selected, Click",
       false},
      // the mouse holding the button keeps the keys out
      {"init move focus+ down1", "space enter", "", false},
      // disabled: nothing, and no Click once enabled again
      {"init focus+ disable", "space enter", "", false},
      {"init focus+ space disable", "space^ enable", "notify Enabled, Normal", false},
      {"", "focus+ enter", "Selected, Pressed, Selected, Click", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("setup '") + c.setup + "', act '" + c.act + "'");
    Loaded b;
    Act(b, c.setup, c.act);
    EXPECT_EQ(Join(b.view.log), c.painted);
    EXPECT_EQ(CommandTesting::SpaceHeld(b.button), c.spaceHeld);
  }
}

TEST(CommandInput, RestingPictureByState) {
  EXPECT_EQ(RestingPicture(kStateNone), Picture::Normal);
  EXPECT_EQ(RestingPicture(kStateNormal), Picture::Normal);
  EXPECT_EQ(RestingPicture(kStateHighLight), Picture::HighLight);
  EXPECT_EQ(RestingPicture(kStateSelected), Picture::Selected);
  EXPECT_EQ(RestingPicture(kStateHighLightSelect), Picture::HighLightSelect);
}

TEST(CommandInput, InitializeOnAButtonInUseResetsWithoutRepaint) {
  Loaded b;
  Apply(b.button, "init move focus+");
  b.view.log.clear();
  b.button.Initialize();
  EXPECT_EQ(b.button.ButtonState(), kStateNormal);
  EXPECT_EQ(Join(b.view.log), "poll 100");
}

TEST(CommandInvert, RuleByState) {
  struct Row {
    uint8_t state;
    bool previous, expected;
  } rows[] = {{1, true, false},  {2, false, true}, {3, true, false}, {4, true, true},
              {4, false, false}, {0, true, true},  {0, false, false}};
  for (const auto& r : rows) {
    EXPECT_EQ(InvertGradientFor(r.state, r.previous), r.expected) << int(r.state) << r.previous;
  }
}

// --- properties ------------------------------------------------------------------------------

TEST(CommandProperties, LoadedWithCaptionAndFontOnly) {
  FakeCommandView view;
  Command b(view);
  b.ReadProperties(Bag({{"caption", u"ｷｬﾝｾﾙ"}, {"font", FontRef{7}}}), FontRef{1});
  EXPECT_TRUE(b.EnabledField());
  EXPECT_EQ(CommandTesting::FirstRun(b), 1);
  EXPECT_EQ(b.Label().caption, u"ｷｬﾝｾﾙ");
  EXPECT_EQ(b.Font(), FontRef{7});
  EXPECT_EQ(b.Label().colour, 0u);
  EXPECT_EQ(b.BackStyle(), 1);
  EXPECT_EQ(b.ButtonState(), 0);
  EXPECT_EQ(Join(view.log), "Normal");
  EXPECT_DOUBLE_EQ(b.Label().top, 80.0);
  EXPECT_EQ(b.Label().width, 960);
}

TEST(CommandProperties, CreatedWithoutStoredPropertiesCompletesOnFirstEnabledRead) {
  FakeCommandView view;
  Command b(view);
  EXPECT_FALSE(b.EnabledField());
  EXPECT_EQ(CommandTesting::FirstRun(b), 0);
  EXPECT_TRUE(b.Enabled());
  EXPECT_EQ(CommandTesting::FirstRun(b), 1);
  EXPECT_EQ(Join(view.log), "Normal");  // RefreshLook did nothing while still disabled
  view.log.clear();
  EXPECT_TRUE(b.Enabled());  // a later read only repaints
  EXPECT_EQ(Join(view.log), "Normal");
}

TEST(CommandProperties, ReadsThatRepaint) {
  struct Row {
    const char* name;
    bool enabled;
    uint8_t backStyle;
    int (*read)(Command&);
    int value;
    const char* log;
  } rows[] = {
      {"Enabled of an enabled button", true, 1, [](Command& c) { return int(c.Enabled()); }, 1,
       "Normal"},
      {"Enabled of a disabled button", false, 1, [](Command& c) { return int(c.Enabled()); }, 0,
       "Disable"},
      {"FontColour enabled", true, 1, [](Command& c) { return int(c.FontColour()); }, 0x0000FF,
       "Normal"},
      {"FontColour disabled", false, 1, [](Command& c) { return int(c.FontColour()); }, 0x0000FF,
       ""},
      {"Visible opaque", true, 1, [](Command& c) { return int(c.Visible()); }, 255, "Normal"},
      {"Visible transparent", true, 0, [](Command& c) { return int(c.Visible()); }, 0, ""},
      {"Visible opaque, disabled", false, 1, [](Command& c) { return int(c.Visible()); }, 255, ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Button b;
    b.button.ReadProperties(Bag({{"Enabled", r.enabled},
                                 {"FontColour", int64_t{0x0000FF}},
                                 {"Visible", int64_t{r.backStyle}}}),
                            FontRef{});
    b.view.log.clear();
    EXPECT_EQ(r.read(b.button), r.value);
    EXPECT_EQ(Join(b.view.log), r.log);
  }
}

TEST(CommandProperties, WritesAndTheirEffects) {
  Loaded b;
  Apply(b.button, "init move focus+");
  b.view.log.clear();
  b.button.SetEnabled(false);
  EXPECT_EQ(Join(b.view.log), "notify Enabled, Disable/inv");
  EXPECT_FALSE(b.button.Label().enabled);  // greyed caption
  EXPECT_EQ(b.button.ButtonState(), 4);

  b.view.log.clear();
  b.button.SetCaption(u"...");
  EXPECT_EQ(Join(b.view.log), "notify Caption");  // no repaint
  EXPECT_EQ(b.button.Caption(), u"...");

  b.view.log.clear();
  b.button.SetFontColour(0xFFFFFF);  // disabled: RefreshLook does nothing
  EXPECT_EQ(Join(b.view.log), "notify FontColour");
  EXPECT_EQ(b.button.Label().colour, 0xFFFFFFu);

  b.view.log.clear();
  b.button.SetVisible(0);
  EXPECT_EQ(Join(b.view.log), "notify Visible");
  EXPECT_EQ(b.button.Visible(), 0);

  b.button.SetEnabled(true);
  b.view.log.clear();
  b.button.SetVisible(7);
  EXPECT_EQ(Join(b.view.log), "Normal/inv, notify Visible");
  EXPECT_EQ(b.button.BackStyle(), 1);
  EXPECT_EQ(b.button.Visible(), 255);
  EXPECT_TRUE(b.button.Label().enabled);
}

TEST(CommandProperties, FontColourGoesOnWhenPaintingFails) {
  Loaded b;
  b.view.failPaint = true;
  b.button.SetFontColour(0x123456);
  EXPECT_EQ(Join(b.view.log), "notify FontColour");
  EXPECT_EQ(b.button.FontColour(), 0x123456u);
  // Enabled has no such rule: the failure reaches the caller.
  EXPECT_THROW(b.button.SetEnabled(true), std::runtime_error);
}

TEST(CommandProperties, FirstRunZeroForcesBlackCaption) {
  Button b;
  b.button.ReadProperties(Bag({{"FirstRun", u"0"}, {"FontColour", int64_t{0x00FF00}}}), FontRef{});
  EXPECT_EQ(b.button.Label().colour, 0u);
  EXPECT_EQ(CommandTesting::FirstRun(b.button), 0);
}

TEST(CommandProperties, SaveOrderDefaultsAndRoundTrip) {
  struct Row {
    const char* name;
    void (*change)(Command&);
    std::vector<std::string> keys;
  } rows[] = {
      {"as loaded: only what differs from the defaults", [](Command&) {}, {"Caption", "Font"}},
      {"caption Command is left out", [](Command& c) { c.SetCaption(u"Command"); }, {"Font"}},
      {"everything changed, in table order",
       [](Command& c) {
         c.SetVisible(0);
         c.SetFontColour(0xFF);
         c.SetEnabled(false);
       },
       {"Enabled", "Caption", "Font", "FontColour", "Visible"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Loaded b;
    r.change(b.button);
    PropertyBag saved;
    b.view.log.clear();
    b.button.WriteProperties(saved, FontRef{1});
    EXPECT_EQ(saved.Keys(), r.keys);

    Button again;
    Command& a = again.button;
    a.ReadProperties(saved, FontRef{1});
    const std::u16string expected =
        b.button.Caption() == u"Command" ? std::u16string(u"Command1") : b.button.Caption();
    EXPECT_EQ(a.Caption(), expected);
    EXPECT_EQ(a.EnabledField(), b.button.EnabledField());
    EXPECT_EQ(a.Label().colour, b.button.Label().colour);
    EXPECT_EQ(a.BackStyle(), b.button.BackStyle());
    EXPECT_EQ(a.Font(), b.button.Font());
  }
}

TEST(CommandProperties, SavingEndsWithRefreshLook) {
  Loaded b;
  PropertyBag saved;
  b.button.WriteProperties(saved, FontRef{1});
  EXPECT_EQ(Join(b.view.log), "Normal");
}

TEST(CommandProperties, BadStoredValuesReachTheCaller) {
  struct Row {
    const char* key;
    PropertyValue value;
  } rows[] = {
      {"FirstRun", u"abc"},  {"FirstRun", int64_t{256}}, {"Visible", int64_t{2}},
      {"Enabled", u"maybe"}, {"Font", u"Arial"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.key);
    Button b;
    EXPECT_ANY_THROW(b.button.ReadProperties(Bag({{r.key, r.value}}), FontRef{}));
  }
}

TEST(CommandProperties, ResizeShowsTheEnabledLook) {
  Loaded b;
  b.view.height = 315;
  b.button.Resize();
  EXPECT_EQ(Join(b.view.log), "Normal");
  EXPECT_DOUBLE_EQ(b.button.Label().top, 50.0);
  b.button.SetEnabled(false);
  b.view.log.clear();
  b.button.Resize();
  EXPECT_EQ(Join(b.view.log), "Disable");
}

}  // namespace
}  // namespace orvane::widgets
