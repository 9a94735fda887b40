#include "linux/show_slots.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orvane::linux_program;

namespace {

// Outputs come (+) and go (-n releases slot n); each row is what Take answers.
TEST(ShowSlots, PrimaryKeptFreedSlotsReused) {
  struct Step {
    int release;   // -1: take a slot instead
    int expected;  // the slot taken
  };
  const std::vector<Step> steps = {
      {-1, 0}, {-1, 1}, {-1, 2}, {1, 0},
      {-1, 1},           // the second output went and another came: its slot again
      {0, 0},  {-1, 3},  // the primary's output went: its slot is not handed out
      {2, 0},  {1, 0},  {-1, 1}, {-1, 2},
  };
  ShowSlots slots;
  for (std::size_t n = 0; n < steps.size(); ++n) {
    if (steps[n].release >= 0)
      slots.Release(steps[n].release);
    else
      EXPECT_EQ(slots.Take(), steps[n].expected) << "step " << n;
  }
  EXPECT_EQ(slots.InUse(), 3u);  // 1, 2, 3; the primary's released

  // Hot-plugging one output over and over does not grow the slots.
  for (int n = 0; n < 100; ++n) slots.Release(slots.Take());
  EXPECT_EQ(slots.Take(), 4);
}

}  // namespace
