// The saved window's placement against monitors' work areas: kept where it shows, brought into
// the nearest area where it does not.  A 450 x 520 window, as a 20-pixel block gives.
#include <gtest/gtest.h>

#include "window_placement.h"

namespace {

const int32_t kW = 450, kH = 520;

// One 1280 x 1024 screen with a 40-pixel panel at the bottom.
const ScreenRect kSingle[] = {{0, 0, 1280, 984}};
// A 1920 x 1080 primary, a 1280 x 1024 monitor to its left whose top is 200 higher, and a
// 1024 x 768 one below the primary.
const ScreenRect kThree[] = {{0, 0, 1920, 1040}, {-1280, -200, 0, 824}, {0, 1080, 1024, 1848}};

struct Case {
  const char *what;
  const ScreenRect *areas;
  int count;
  int32_t x, y;          // saved corner
  int32_t wantX, wantY;  // where the window opens
};

const Case kCases[] = {
    {"wholly on the screen", kSingle, 1, 100, 200, 100, 200},
    {"at the screen's corner", kSingle, 1, 0, 0, 0, 0},
    {"partly off the right, 32 pixels on", kSingle, 1, 1248, 100, 1248, 100},
    {"partly off the left and the top", kSingle, 1, -400, -480, -400, -480},
    {"31 pixels on at the right", kSingle, 1, 1249, 100, 830, 100},
    {"off the right edge", kSingle, 1, 4000, 300, 830, 300},
    {"off the left edge", kSingle, 1, -2000, 300, 0, 300},
    {"off the top edge", kSingle, 1, 200, -3000, 200, 0},
    {"off the bottom edge, into the panel", kSingle, 1, 200, 970, 200, 464},
    {"off the bottom right, as after undocking", kSingle, 1, 4000, 3000, 830, 464},
    {"farthest corners a file can hold", kSingle, 1, INT32_MAX, INT32_MIN, 830, 0},
    {"no monitor known", kSingle, 0, 4000, 3000, 4000, 3000},
    {"on the left monitor, above the primary's top", kThree, 3, -900, -150, -900, -150},
    {"across two monitors", kThree, 3, -200, 100, -200, 100},
    {"on the monitor below", kThree, 3, 300, 1200, 300, 1200},
    {"off the left monitor's left edge", kThree, 3, -3000, 0, -1280, 0},
    {"right of the monitor below, which is nearer", kThree, 3, 1400, 1500, 574, 1848 - kH},
    {"below the monitor below", kThree, 3, 100, 2500, 100, 1848 - kH},
    {"above every monitor, over the left one", kThree, 3, -700, -2000, -700, -200},
    {"100 pixels from each of the three: the primary", kThree, 3, -550, 924, 0, 1040 - kH},
};

TEST(WindowPlacement, ASavedPositionIsKeptOnAMonitorAndBroughtIntoTheNearestOtherwise) {
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.what);
    int32_t x = c.x, y = c.y;
    PlaceSavedWindow(&x, &y, kW, kH, c.areas, c.count);
    EXPECT_EQ(c.wantX, x);
    EXPECT_EQ(c.wantY, y);
  }
}

TEST(WindowPlacement, AWindowLargerThanTheWorkAreaAlignsWithItsTopLeftCorner) {
  int32_t x = 5000, y = 5000;
  PlaceSavedWindow(&x, &y, 1500, 1200, kSingle, 1);
  EXPECT_EQ(0, x);
  EXPECT_EQ(0, y);
}

}  // namespace
