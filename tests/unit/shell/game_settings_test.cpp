#include "game_settings.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

TEST(GameSettings, DefaultsAreInPlaceForAFreshInstall) {
  GameSettings s;
  memset(&s, 0x5A, sizeof s);  // whatever was there before must not survive
  SetDefaultSettings(&s);
  EXPECT_EQ(SettingsWait(&s), 550u);
  EXPECT_EQ(s.wait_poll, 50u);
  EXPECT_EQ(s.level, 1);
  EXPECT_EQ(s.lv1_norma, 30u);
  EXPECT_EQ(s.lv1_speed, 70u);
  EXPECT_EQ(s.lv2_block, 6u);
  EXPECT_EQ(s.lv2_norma, 1u);
  EXPECT_EQ(s.lv2_upline, 1u);
  EXPECT_EQ(s.blockfreq, -1);
  EXPECT_EQ(s.stripe_intensity, 127);
  EXPECT_EQ(s.guide_shadow, 0);
  EXPECT_EQ(s.guide_stripe, 0);
  EXPECT_EQ(s.image_shown, 0);
  EXPECT_EQ(s.transparent_enabled, 0);
  EXPECT_EQ(s.transparent_colour, 0u);
  EXPECT_EQ(s.image_path[0], '\0');
  for (uint32_t colour : s.custom_colours) EXPECT_EQ(colour, 0x00FFFFFFu);
}

TEST(GameSettings, WaitIsSplitIntoAtMostFiftyMillisecondsOfPollingAndTheRest) {
  const uint32_t cases[][3] = {{0, 0, 0},   {40, 40, 0},    {50, 50, 0},
                               {51, 50, 1}, {550, 50, 500}, {0xFFFFFFFFu, 50, 0xFFFFFFCDu}};
  for (const auto &c : cases) {
    GameSettings s;
    SetDefaultSettings(&s);
    SplitWait(&s, c[0]);
    EXPECT_EQ(s.wait_poll, c[1]) << c[0];
    EXPECT_EQ(s.wait_fall, c[2]) << c[0];
    EXPECT_EQ(SettingsWait(&s), c[0]);
  }
}

}  // namespace
