// "init.inf" through the main window's life: written whole when the window is destroyed, read
// when the next one is created, with the saved position used only for the same block picture.
#include <gtest/gtest.h>

#include <string.h>

#include "game_thread.h"
#include "main_window.h"
#include "settings_file.h"
#include "shell_harness.h"

namespace {

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveFixture("init.inf");
    block = PatternPicture(20, 20, 1);
    WriteFixture("block.bmp", BmpFile(block));
  }
  void TearDown() override {
    DestroyTestMainWindow(window);
    RemoveFixture("init.inf");
    RemoveFixture("block.bmp");
  }
  RECT Frame() {
    RECT frame;
    GetWindowRect(window, &frame);
    return frame;
  }
  void ExpectCentred() {
    RECT frame = Frame();
    POINT centre = CentredTopLeft(frame);
    EXPECT_EQ(frame.left, centre.x);
    EXPECT_EQ(frame.top, centre.y);
  }
  TestPicture block;
  HWND window = NULL;
};

TEST_F(SettingsFile, DestroyingTheWindowWritesSettingsCountsPositionAndChecksum) {
  window = CreateTestMainWindow();
  ASSERT_NE(window, nullptr);
  GameSettings &s = gameSettings;
  s.wait_poll = 30;
  s.wait_fall = 777;
  s.level = 0;
  s.lv1_norma = 11;
  s.lv1_speed = 22;
  s.lv2_block = 8;
  s.lv2_norma = 3;
  s.lv2_upline = 4;
  s.blockfreq = 6;
  s.guide_shadow = 1;
  s.guide_stripe = 1;
  s.stripe_intensity = 200;
  s.image_shown = 1;
  // Bytes left behind after the terminator must not reach the file.
  memset(s.image_path, 'x', sizeof s.image_path);
  strcpy(s.image_path, "D:\\back.bmp");
  s.transparent_enabled = 1;
  s.transparent_colour = 0x00123456u;
  for (int k = 0; k < 16; ++k) s.custom_colours[k] = 0x00100000u + k;
  const uint32_t counts[4] = {10, 0, 7, 2};
  memcpy(gameHost.linecnt, counts, sizeof counts);
  SetWindowPos(window, NULL, 37, 41, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT frame = Frame();

  DestroyTestMainWindow(window);
  window = NULL;

  std::vector<uint8_t> file = ReadFixture("init.inf");
  ASSERT_EQ(file.size(), 444u);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(Get32(file, kLinecnt + 4 * k), counts[k]) << k;
  EXPECT_EQ(Get32(file, kWaitFall), 777u);
  EXPECT_EQ(Get32(file, kWaitPoll), 30u);
  EXPECT_EQ(Get32(file, kLevel), 0u);
  EXPECT_EQ(Get32(file, kLv1Norma), 11u);
  EXPECT_EQ(Get32(file, kLv1Speed), 22u);
  EXPECT_EQ(Get32(file, kGuideShadow), 1u);
  EXPECT_EQ(Get32(file, kGuideStripe), 1u);
  EXPECT_EQ(Get32(file, kBlockCrc), ReferenceCrc(block));
  EXPECT_EQ(static_cast<int32_t>(Get32(file, kWindowX)), frame.left);
  EXPECT_EQ(static_cast<int32_t>(Get32(file, kWindowY)), frame.top);
  EXPECT_EQ(frame.left, 37);
  EXPECT_EQ(Get32(file, kImageShown), 1u);
  std::vector<uint8_t> path(file.begin() + kImagePath, file.begin() + kImagePath + 260);
  std::vector<uint8_t> wantedPath(260, 0);
  memcpy(wantedPath.data(), "D:\\back.bmp", 11);
  EXPECT_EQ(path, wantedPath);
  EXPECT_EQ(Get32(file, kStripeIntensity), 200u);
  for (int k = 0; k < 16; ++k) EXPECT_EQ(Get32(file, kCustomColours + 4 * k), 0x00100000u + k);
  EXPECT_EQ(Get32(file, kTransparentColour), 0x00123456u);
  EXPECT_EQ(Get32(file, kLv2Norma), 3u);
  EXPECT_EQ(Get32(file, kLv2Block), 8u);
  EXPECT_EQ(Get32(file, kLv2Upline), 4u);
  EXPECT_EQ(Get32(file, kTransparentEnabled), 1u);
  EXPECT_EQ(Get32(file, kBlockfreq), 6u);
  for (size_t i = kReserved; i < kSettingsFileSize; ++i) EXPECT_EQ(file[i], 0) << i;
}

TEST_F(SettingsFile, SavedWindowComesBackWhereItWasWithItsSettings) {
  window = CreateTestMainWindow();
  ASSERT_NE(window, nullptr);
  gameSettings.lv1_norma = 19;
  gameHost.linecnt[3] = 5;
  SetWindowPos(window, NULL, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  DestroyTestMainWindow(window);
  gameSettings.lv1_norma = 0;
  gameHost.linecnt[3] = 0;

  window = CreateTestMainWindow();
  ASSERT_NE(window, nullptr);
  RECT frame = Frame();
  EXPECT_EQ(frame.left, 123);
  EXPECT_EQ(frame.top, 77);
  EXPECT_EQ(gameSettings.lv1_norma, 19u);
  EXPECT_EQ(gameHost.linecnt[3], 5u);
}

TEST_F(SettingsFile, MinimisedWindowSavesWhereItWasLastRestoredTo) {
  window = CreateTestMainWindow();
  ASSERT_NE(window, nullptr);
  SetWindowPos(window, NULL, 150, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(window));
  // Restored, moved by the player, and minimised again: the last place counts.
  ShowWindow(window, SW_RESTORE);
  ASSERT_FALSE(IsIconic(window));
  SetWindowPos(window, NULL, 170, 64, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(window));
  RECT parked = Frame();
  EXPECT_FALSE(parked.left == 170 && parked.top == 64) << "minimised where it stood";
  DestroyTestMainWindow(window);
  window = NULL;
  std::vector<uint8_t> file = ReadFixture("init.inf");
  ASSERT_EQ(file.size(), 444u);
  EXPECT_EQ(static_cast<int32_t>(Get32(file, kWindowX)), 170);
  EXPECT_EQ(static_cast<int32_t>(Get32(file, kWindowY)), 64);
}

TEST_F(SettingsFile, AnotherBlockPictureCentresTheWindowButKeepsTheSettings) {
  // Saved for a picture of the same size but other pixels.
  WriteFixture("init.inf", SampleSettingsFile(ReferenceCrc(PatternPicture(20, 20, 2)), 5, 6));
  window = CreateTestMainWindow();
  ASSERT_NE(window, nullptr);
  ExpectCentred();
  EXPECT_EQ(gameSettings.level, 2);
  EXPECT_EQ(gameSettings.wait_fall, 321u);
  EXPECT_EQ(gameHost.linecnt[0], 3u);
}

TEST_F(SettingsFile, FileOfEveryFieldIsTakenAsStored) {
  std::vector<uint8_t> file = SampleSettingsFile(ReferenceCrc(block), 200, 100);
  WriteFixture("init.inf", file);
  window = CreateTestMainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(Frame().left, 200);
  EXPECT_EQ(Frame().top, 100);
  const GameSettings &s = gameSettings;
  for (int k = 0; k < 4; ++k) EXPECT_EQ(gameHost.linecnt[k], 3u + k) << k;
  EXPECT_EQ(s.wait_fall, 321u);
  EXPECT_EQ(s.wait_poll, 40u);
  EXPECT_EQ(s.level, 2);
  EXPECT_EQ(s.lv1_norma, 12u);
  EXPECT_EQ(s.lv1_speed, 33u);
  EXPECT_EQ(s.guide_shadow, 1);
  EXPECT_EQ(s.guide_stripe, 0);
  EXPECT_STREQ(s.image_path, "C:\\pictures\\sea.jpg");
  EXPECT_EQ(s.stripe_intensity, 90);
  for (int k = 0; k < 16; ++k) EXPECT_EQ(s.custom_colours[k], 0x010203u * (k + 1)) << k;
  EXPECT_EQ(s.transparent_colour, 0x00FF00FFu);
  EXPECT_EQ(s.lv2_norma, 4u);
  EXPECT_EQ(s.lv2_block, 9u);
  EXPECT_EQ(s.lv2_upline, 2u);
  EXPECT_EQ(s.transparent_enabled, 1);
  EXPECT_EQ(s.blockfreq, 5);
}

TEST_F(SettingsFile, OneByteShortIsIgnoredOneByteLongIsRead) {
  std::vector<uint8_t> file = SampleSettingsFile(ReferenceCrc(block), 150, 90);
  file.resize(443);
  WriteFixture("init.inf", file);
  window = CreateTestMainWindow();
  ASSERT_NE(window, nullptr);
  ExpectCentred();
  EXPECT_EQ(gameSettings.level, 1);  // the default
  EXPECT_EQ(gameSettings.wait_fall, 500u);
  EXPECT_EQ(gameHost.linecnt[0], 0u);
  DestroyTestMainWindow(window);
  window = NULL;

  file = SampleSettingsFile(ReferenceCrc(block), 150, 90);
  file.push_back(0xEE);
  WriteFixture("init.inf", file);
  window = CreateTestMainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(Frame().left, 150);
  EXPECT_EQ(Frame().top, 90);
  EXPECT_EQ(gameSettings.level, 2);
  EXPECT_EQ(gameHost.linecnt[0], 3u);
}

TEST_F(SettingsFile, OutOfRangeValuesAreTakenUnchanged) {
  std::vector<uint8_t> file = SampleSettingsFile(ReferenceCrc(block), 150, 90);
  Put32(file, kLevel, 7);
  Put32(file, kBlockfreq, 9);
  Put32(file, kWaitPoll, 400);  // more than one poll may take
  WriteFixture("init.inf", file);
  window = CreateTestMainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(gameSettings.level, 7);
  EXPECT_EQ(gameSettings.blockfreq, 9);
  EXPECT_EQ(gameSettings.wait_poll, 400u);
}

}  // namespace
