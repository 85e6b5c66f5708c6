// The drawing and counting callbacks on plain heap pixel memory and a hidden window.
#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>

#include "host_callbacks.h"
#include "host_harness.h"

namespace {

class HostCallbacks : public ::testing::Test {
 protected:
  void SetUp() override {
    memset(&host, 0, sizeof host);
    ASSERT_TRUE(MakePixels(&host.render));
    host.hwnd = MakeHiddenMenuWindow();
    ASSERT_TRUE(host.hwnd != NULL);
    // The well and its frame, as a game start sets it.
    host.wellRect.right = 16 * TEST_CELL + 2;
    host.wellRect.bottom = 24 * TEST_CELL + 2;
    memset(board, ' ', sizeof board);
    board[0] = 'O';             // column 0, row 0
    board[23 * 16 + 15] = '#';  // column 15, row 23
    board[10 * 16 + 5] = '.';   // a guide cell
    board[10 * 16 + 6] = 'x';   // an unknown code shows the background
    // A hidden window keeps no update region, so this one is shown (without activation) to
    // let the test read back what the callbacks invalidated.
    ShowWindow(host.hwnd, SW_SHOWNOACTIVATE);
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    ValidateRect(host.hwnd, NULL);
  }
  void TearDown() override {
    DestroyWindow(host.hwnd);
    ReleasePixels(&host.render);
  }

  // Field cell (col, row): its top-left pixel is one frame pixel in from the surface corner.
  int Field(int col, int row) {
    return CellLook(&host.render, 1 + col * TEST_CELL, 1 + row * TEST_CELL);
  }
  // Preview cell (j, i): its top-left pixel is at column 17 + j, row 5 + i of cells.
  int Preview(int j, int i) {
    return CellLook(&host.render, (17 + j) * TEST_CELL, (5 + i) * TEST_CELL);
  }
  void ExpectFieldDrawn() {
    EXPECT_EQ(1, Field(0, 0));
    EXPECT_EQ(1, Field(15, 23));
    EXPECT_EQ(2, Field(1, 0));
    EXPECT_EQ(2, Field(6, 10));
    EXPECT_EQ(2, Field(8, 12));
    // The guide cell is the block's negative.
    int at = PixelOffset(&host.render, 1 + 5 * TEST_CELL, 1 + 10 * TEST_CELL);
    unsigned char block[3];
    BlockPixelBytes(&host.render, 0, 0, block);
    for (int b = 0; b < 3; ++b) EXPECT_EQ(255 - block[b], host.render.displayPixels[at + b]);
    // The frame: the background's inverse.
    int frame = PixelOffset(&host.render, 0, 7);
    EXPECT_EQ(255 - host.render.backgroundPixels[frame], host.render.displayPixels[frame]);
  }
  RECT UpdateRect() {
    RECT r = {0, 0, 0, 0};
    GetUpdateRect(host.hwnd, &r, FALSE);
    return r;
  }

  GameHost host;
  char board[384];
};

TEST_F(HostCallbacks, SpawnDrawsTheFieldAndTheWholePreviewAndInvalidatesTheClientArea) {
  const char next[] = "    OOO  O      ";  // row 1: columns 0..2; row 2: column 1
  spawn_proc(board, next, 123, &host);
  ExpectFieldDrawn();
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      EXPECT_EQ(next[i * 4 + j] == 'O' ? 1 : 2, Preview(j, i)) << "preview " << j << "," << i;

  RECT r = UpdateRect();
  RECT client;
  GetClientRect(host.hwnd, &client);
  EXPECT_EQ(client.right, r.right);
  EXPECT_EQ(client.bottom, r.bottom);
}

TEST_F(HostCallbacks, RedrawDrawsOnlyTheFieldAndInvalidatesOnlyTheWell) {
  redraw_proc(board, &host);
  ExpectFieldDrawn();
  // The preview is left as it was (the display's original fill).
  int at = PixelOffset(&host.render, 17 * TEST_CELL, 5 * TEST_CELL);
  EXPECT_EQ(0xEE, host.render.displayPixels[at]);

  RECT r = UpdateRect();
  EXPECT_EQ(0, r.left);
  EXPECT_EQ(0, r.top);
  EXPECT_EQ(16 * TEST_CELL + 2, r.right);
  EXPECT_EQ(24 * TEST_CELL + 2, r.bottom);
}

TEST_F(HostCallbacks, ClearCountsEveryReportAndStepsTheSpeedAtTheThreshold) {
  host.level = 1;
  host.lv1_norma = 3;
  host.lv1_threshold = 3;
  host.lv1_speed = 70;
  host.record.wait = 500;
  host.poll_wait = 50;
  int32_t tally = 41;

  ClearReport two = {{0, 1, 0, 0}};
  clear_proc(&tally, &two, &host);  // total 2: below the threshold
  EXPECT_EQ(500u, host.record.wait);
  ClearReport ones = {{2, 0, 0, 0}};
  clear_proc(&tally, &ones, &host);  // total 4: one step
  EXPECT_EQ(2u, host.linecnt[0]);
  EXPECT_EQ(1u, host.linecnt[1]);
  EXPECT_EQ(0u, host.linecnt[2]);
  EXPECT_EQ(0u, host.linecnt[3]);
  EXPECT_EQ(50u, host.poll_wait);
  EXPECT_EQ(430u, host.record.wait);
  EXPECT_EQ(6u, host.lv1_threshold);
  EXPECT_EQ(41, tally);
}

}  // namespace
