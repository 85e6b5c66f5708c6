// The main window as creation leaves it: its size and style from the block picture, the render
// geometry and the two surfaces, the first picture of the well, and the refusal to start
// without a readable "block.bmp".
#include <gtest/gtest.h>

#include <stdio.h>

#include "game_thread.h"
#include "main_window.h"
#include "shell_harness.h"
#include "surfaces.h"
#include "window_position.h"

namespace {

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveFixture("init.inf");
    RemoveFixture("block.bmp");
  }
  void TearDown() override {
    DestroyTestMainWindow(window);
    RemoveFixture("init.inf");
    RemoveFixture("block.bmp");
  }
  HWND window = NULL;
};

// Pixel (x, y) of the display surface as 0x00RRGGBB.
uint32_t DisplayPixel(int x, int y) {
  const uint8_t *p = gameHost.render.displayPixels + y * gameHost.render.rowStride + 3 * x;
  return static_cast<uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
}

void ExpectSurfaceOfSize(HBITMAP surface, const uint8_t *pixels, int width, int height) {
  DIBSECTION section;
  ASSERT_EQ(GetObjectA(surface, sizeof section, &section), (int)sizeof section);
  EXPECT_EQ(section.dsBm.bmWidth, width);
  EXPECT_EQ(section.dsBm.bmHeight, height);
  EXPECT_EQ(section.dsBm.bmBitsPixel, 24);
  EXPECT_EQ(section.dsBm.bmBits, pixels);
}

TEST_F(MainWindow, TwentyPixelBlockGivesTheFixedSizeWindowAndItsSurfaces) {
  WriteFixture("block.bmp", BmpFile(PatternPicture(20, 20, 1)));
  window = CreateTestMainWindow();
  ASSERT_NE(window, nullptr);

  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right - client.left, 442);
  EXPECT_EQ(client.bottom - client.top, 482);

  // The system adds clipping and visibility; nothing that allows resizing or maximising.
  LONG style = GetWindowLongA(window, GWL_STYLE) & ~(WS_VISIBLE | WS_CLIPSIBLINGS);
  EXPECT_EQ(style, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);

  const RenderState &rs = gameHost.render;
  EXPECT_EQ(rs.cellWidth, 20);
  EXPECT_EQ(rs.cellHeight, 20);
  EXPECT_EQ(rs.clientWidth, 442);
  EXPECT_EQ(rs.clientHeight, 482);
  EXPECT_EQ(rs.wellWidth, 320);
  EXPECT_EQ(rs.wellHeight, 480);
  EXPECT_EQ(rs.rowStride, 1328);  // 1326 pixel bytes rounded up to a multiple of 4
  EXPECT_EQ(rs.padding, 2);
  EXPECT_EQ(rs.cellStep, 60);
  EXPECT_EQ(rs.cellRowStep, 1328 * 20);
  EXPECT_EQ(rs.bottomLineOffset, 481 * 1328);
  EXPECT_EQ(rs.rightLineOffset, 3 * 321);
  EXPECT_EQ(rs.stripeIntensity, 127);
  EXPECT_EQ(rs.blockPixels, gameHost.blockPicture.pixels);

  ExpectSurfaceOfSize(playField.displaySurface, rs.displayPixels, 442, 482);
  ExpectSurfaceOfSize(playField.backgroundSurface, rs.backgroundPixels, 442, 482);
  EXPECT_NE(rs.displayPixels, rs.backgroundPixels);
}

TEST_F(MainWindow, FirstPictureIsAWhiteFrameAroundABlackWell) {
  WriteFixture("block.bmp", BmpFile(PatternPicture(20, 20, 1)));
  window = CreateTestMainWindow();
  ASSERT_NE(window, nullptr);
  GdiFlush();

  int frameFaults = 0, wellFaults = 0;
  for (int y = 0; y <= 481; ++y) {
    for (int x = 0; x <= 321; ++x) {
      bool frame = x == 0 || x == 321 || y == 0 || y == 481;
      uint32_t pixel = DisplayPixel(x, y);
      if (frame && pixel != 0xFFFFFF) ++frameFaults;
      if (!frame && pixel != 0) ++wellFaults;
    }
  }
  EXPECT_EQ(frameFaults, 0);
  EXPECT_EQ(wellFaults, 0);
  EXPECT_EQ(DisplayPixel(322, 0), 0u);  // the side area has no frame
}

TEST_F(MainWindow, OnePixelBlockGivesTheSmallestPlayField) {
  WriteFixture("block.bmp", BmpFile(PatternPicture(1, 1, 1)));
  window = CreateTestMainWindow();
  ASSERT_NE(window, nullptr);

  EXPECT_EQ(gameHost.render.clientWidth, 24);
  EXPECT_EQ(gameHost.render.clientHeight, 26);
  EXPECT_EQ(gameHost.render.rowStride, 72);
  EXPECT_EQ(gameHost.render.padding, 0);
  ExpectSurfaceOfSize(playField.displaySurface, gameHost.render.displayPixels, 24, 26);
  ExpectSurfaceOfSize(playField.backgroundSurface, gameHost.render.backgroundPixels, 24, 26);

  // The program asks for the outer size that holds a 24 x 26 client area; the system may make
  // the window wider (its smallest captioned window) and the menu bar may wrap.
  RECT wanted = {0, 0, 24, 26};
  AdjustWindowRect(&wanted, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, TRUE);
  RECT frame, client;
  GetWindowRect(window, &frame);
  GetClientRect(window, &client);
  printf("1x1 block: asked outer %ldx%ld, got outer %ldx%ld, client %ldx%ld, SM_CXMIN %d\n",
         wanted.right - wanted.left, wanted.bottom - wanted.top, frame.right - frame.left,
         frame.bottom - frame.top, client.right, client.bottom, GetSystemMetrics(SM_CXMIN));
  EXPECT_GE(frame.right - frame.left, wanted.right - wanted.left);
  EXPECT_EQ(frame.bottom - frame.top, wanted.bottom - wanted.top);
}

TEST_F(MainWindow, WithoutSavedSettingsTheWindowIsCentred) {
  WriteFixture("block.bmp", BmpFile(PatternPicture(20, 20, 1)));
  window = CreateTestMainWindow();
  ASSERT_NE(window, nullptr);
  RECT frame;
  GetWindowRect(window, &frame);
  POINT centre = CentredTopLeft(frame);
  EXPECT_EQ(frame.left, centre.x);
  EXPECT_EQ(frame.top, centre.y);
}

// Each case: what "block.bmp" is (missing when empty).
void ExpectRefusedStart(const std::vector<uint8_t> &blockFile, const char *what) {
  SCOPED_TRACE(what);
  RemoveFixture("block.bmp");
  if (!blockFile.empty()) WriteFixture("block.bmp", blockFile);
  std::vector<uint8_t> saved = SampleSettingsFile(0x12345678u, 10, 20);
  WriteFixture("init.inf", saved);

  DialogWatcher watcher(false, CloseBy::OkCommand);
  HWND window = CreateTestMainWindow();
  const SeenDialog &seen = watcher.Finish();
  DestroyTestMainWindow(window);
  // Windows still delivers WM_DESTROY to the procedure of a window whose WM_CREATE failed
  // (Wine does not): deliver it here as Windows would.
  HWND standIn = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                 GetModuleHandleA(NULL), NULL);
  MainWindowProc(standIn, WM_DESTROY, 0, 0);
  DestroyWindow(standIn);
  DrainMessages();

  EXPECT_EQ(window, nullptr);
  EXPECT_TRUE(seen.found);
  EXPECT_EQ(seen.caption, "Quillomar");
  EXPECT_EQ(seen.staticText, "block.bmp が読み込めません");
  EXPECT_TRUE(seen.closed);
  // A window that never came to be has no settings to save.
  EXPECT_EQ(ReadFixture("init.inf"), saved);
  EXPECT_EQ(playField.displaySurface, nullptr);
  EXPECT_EQ(gameHost.gameStopEvent, nullptr);
}

TEST_F(MainWindow, UnreadableBlockPictureStopsTheStartAndKeepsTheSettingsFile) {
  ExpectRefusedStart({}, "missing");
  std::vector<uint8_t> junk(300, 0x5A);
  ExpectRefusedStart(junk, "not a bitmap");
  std::vector<uint8_t> header = BmpFile(PatternPicture(20, 20, 1));
  header.resize(30);
  ExpectRefusedStart(header, "cut inside its headers");
}

TEST(CenterWindow, WindowLargerThanTheScreenGetsNegativeCoordinates) {
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  HWND big = CreateWindowExA(0, "STATIC", "big", WS_POPUP, 0, 0, screenWidth + 401,
                             screenHeight + 301, NULL, NULL, GetModuleHandleA(NULL), NULL);
  ASSERT_NE(big, nullptr);
  RECT frame;
  GetWindowRect(big, &frame);
  ASSERT_EQ(frame.right - frame.left, screenWidth + 401);
  ASSERT_EQ(frame.bottom - frame.top, screenHeight + 301);

  CenterWindow(big);
  GetWindowRect(big, &frame);
  // Half of -401 and -301, rounded toward zero.
  EXPECT_EQ(frame.left, -200);
  EXPECT_EQ(frame.top, -150);
  EXPECT_EQ(frame.right - frame.left, screenWidth + 401);
  EXPECT_EQ(frame.bottom - frame.top, screenHeight + 301);
  DestroyWindow(big);
}

}  // namespace
