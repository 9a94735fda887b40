#include "linux/keyboard_focus.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orvane::linux_program;

namespace {

// Surfaces of the show, by address only.
const int kFirstTarget = 1, kSecondTarget = 2;
const void* const kFirst = &kFirstTarget;
const void* const kSecond = &kSecondTarget;

enum class Kind { Enter, Leave, Gone, Ask };

struct Event {
  Kind kind;
  const void* surface;
  double at;
  bool lost;  // for Ask: what LostToAnotherClient answers
};

TEST(KeyboardFocus, LeaveCountsOnlyAfterTheGrace) {
  struct Case {
    const char* what;
    std::vector<Event> events;
  };
  const double g = KeyboardFocus::kGrace;
  const Case cases[] = {
      {"left for good: lost after the grace, not before, and once",
       {{Kind::Enter, kFirst, 0, false},
        {Kind::Leave, kFirst, 1, false},
        {Kind::Ask, nullptr, 1 + g / 2, false},
        {Kind::Ask, nullptr, 1 + g, true},
        {Kind::Ask, nullptr, 2 + g, false}}},
      {"moved to the show's other output: never lost",
       {{Kind::Enter, kFirst, 0, false},
        {Kind::Leave, kFirst, 1, false},
        {Kind::Enter, kSecond, 1, false},
        {Kind::Ask, nullptr, 5, false}}},
      {"handed to a new window and straight back (a compositor's flick)",
       {{Kind::Enter, kFirst, 0, false},
        {Kind::Leave, kFirst, 1, false},
        {Kind::Ask, nullptr, 1.01, false},
        {Kind::Enter, kFirst, 1.02, false},
        {Kind::Ask, nullptr, 5, false}}},
      // A leave from a surface that had no keyboard is an old event out of order.
      {"leave of a surface without the keyboard",
       {{Kind::Enter, kSecond, 0, false},
        {Kind::Leave, kFirst, 1, false},
        {Kind::Ask, nullptr, 5, false}}},
      {"leave before any enter", {{Kind::Leave, kFirst, 1, false}, {Kind::Ask, nullptr, 5, false}}},
      {"leave of no surface (destroyed already)",
       {{Kind::Enter, kFirst, 0, false},
        {Kind::Leave, nullptr, 1, false},
        {Kind::Ask, nullptr, 5, false}}},
      // An output that goes takes its surface; that is no client taking the keyboard.
      {"the surface with the keyboard went",
       {{Kind::Enter, kFirst, 0, false},
        {Kind::Gone, kFirst, 1, false},
        {Kind::Ask, nullptr, 5, false}}},
      {"lost a second time after coming back",
       {{Kind::Enter, kFirst, 0, false},
        {Kind::Leave, kFirst, 1, false},
        {Kind::Ask, nullptr, 2, true},
        {Kind::Enter, kSecond, 3, false},
        {Kind::Leave, kSecond, 4, false},
        {Kind::Ask, nullptr, 4 + g, true}}},
  };
  for (const Case& c : cases) {
    KeyboardFocus focus;
    for (std::size_t n = 0; n < c.events.size(); ++n) {
      const Event& e = c.events[n];
      switch (e.kind) {
        case Kind::Enter:
          focus.Entered(e.surface);
          break;
        case Kind::Leave:
          focus.Left(e.surface, e.at);
          break;
        case Kind::Gone:
          focus.Gone(e.surface);
          break;
        case Kind::Ask:
          EXPECT_EQ(focus.LostToAnotherClient(e.at), e.lost) << c.what << ", event " << n;
          break;
      }
    }
  }
}

// The loop's wait is cut to the end of the grace, and is unlimited otherwise.
TEST(KeyboardFocus, WaitLimit) {
  const double g = KeyboardFocus::kGrace;
  KeyboardFocus focus;
  EXPECT_FALSE(focus.WaitLimit(0));
  focus.Entered(kFirst);
  EXPECT_FALSE(focus.WaitLimit(1));
  focus.Left(kFirst, 10);
  ASSERT_TRUE(focus.WaitLimit(10 + g / 5));
  EXPECT_NEAR(*focus.WaitLimit(10 + g / 5), g * 4 / 5, 1e-9);
  EXPECT_EQ(*focus.WaitLimit(10 + 2 * g), 0.0);  // overdue: ask at once
  EXPECT_TRUE(focus.LostToAnotherClient(10 + g));
  EXPECT_FALSE(focus.WaitLimit(11));  // said once: nothing more to wait for
}

}  // namespace
