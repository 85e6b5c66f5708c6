// The score dialog over the main window: the counts it shows, the game held while it is open,
// and the ways it closes (the button and the close box, not Escape).
#include <gtest/gtest.h>

#include <stdlib.h>

#include "game_thread.h"
#include "main_window.h"
#include "main_window_fixture.h"
#include "shell_harness.h"

namespace {

class ScoreDialog : public MainWindowFixture {
 protected:
  // Opens the dialog with these counts and lets a watcher read and close it.
  SeenDialog Show(const uint32_t (&counts)[4], CloseBy closeBy) {
    for (int k = 0; k < 4; ++k) gameHost.linecnt[k] = counts[k];
    DialogWatcher watcher(true, closeBy);
    SendMessageA(window, WM_COMMAND, 40006, 0);
    SeenDialog seen = watcher.Finish();
    pausedAfter = WaitForSingleObject(gameHost.gamePauseEvent, 0) == WAIT_OBJECT_0;
    return seen;
  }
  bool pausedAfter = true;
};

TEST_F(ScoreDialog, ShowsTheCountsAndTheirTotalAndHoldsTheGameUntilClosed) {
  const struct {
    CloseBy closeBy;
    const char *how;
  } ways[] = {{CloseBy::OkCommand, "close button command"},
              {CloseBy::OkButtonClick, "close button click"},
              {CloseBy::CloseMessage, "close box"}};
  for (const auto &way : ways) {
    SCOPED_TRACE(way.how);
    SeenDialog seen = Show({10, 0, 0, 2}, way.closeBy);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, "得点の表示");
    EXPECT_EQ(seen.fields[0], "10");
    EXPECT_EQ(seen.fields[1], "0");
    EXPECT_EQ(seen.fields[2], "0");
    EXPECT_EQ(seen.fields[3], "2");
    EXPECT_EQ(seen.fields[4], "18");
    EXPECT_TRUE(seen.pausedWhileOpen);
    EXPECT_TRUE(seen.openAfterCancel);
    EXPECT_TRUE(seen.closed);
    EXPECT_FALSE(pausedAfter);
  }
}

TEST_F(ScoreDialog, TotalIsWeightedByRowsAndKeepsThirtyTwoBits) {
  // Total = 1 x singles + 2 x doubles + 3 x triples + 4 x fours, wrapping at 2^32.
  SeenDialog seen = Show({1, 2, 3, 4}, CloseBy::CloseMessage);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.fields[4], "30");
  seen = Show({4000000000u, 0, 0, 100000000u}, CloseBy::CloseMessage);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.fields[0], "4000000000");
  EXPECT_EQ(seen.fields[4], "105032704");  // 4400000000 - 4294967296
}

// Stands in for a game thread that keeps counting while the dialog reads the counts.
DWORD WINAPI KeepCounting(LPVOID stop) {
  volatile uint32_t *counts = gameHost.linecnt;
  while (!*static_cast<volatile LONG *>(stop)) {
    counts[0] = counts[0] + 1;
    counts[3] = counts[3] + 1;
  }
  return 0;
}

TEST_F(ScoreDialog, TotalIsTheTotalOfTheCountsShownEvenWhileTheyChange) {
  volatile LONG stop = 0;
  HANDLE counter = CreateThread(NULL, 0, KeepCounting, (LPVOID)&stop, 0, NULL);
  ASSERT_NE(counter, nullptr);
  for (int round = 0; round < 3; ++round) {
    DialogWatcher watcher(true, CloseBy::CloseMessage);
    SendMessageA(window, WM_COMMAND, 40006, 0);
    SeenDialog seen = watcher.Finish();
    ASSERT_TRUE(seen.found);
    const unsigned long shown = strtoul(seen.fields[0].c_str(), NULL, 10) +
                                2 * strtoul(seen.fields[1].c_str(), NULL, 10) +
                                3 * strtoul(seen.fields[2].c_str(), NULL, 10) +
                                4 * strtoul(seen.fields[3].c_str(), NULL, 10);
    EXPECT_EQ(strtoul(seen.fields[4].c_str(), NULL, 10), shown) << "round " << round;
  }
  stop = 1;
  WaitForSingleObject(counter, INFINITE);
  CloseHandle(counter);
}

TEST_F(ScoreDialog, OpenedDuringAGameShowsItsCountsAndLeavesItRunning) {
  SendMessageA(window, WM_COMMAND, 40001, 0);
  ASSERT_NE(game_thread, nullptr);
  // The game began from zero.
  DialogWatcher watcher(true, CloseBy::OkCommand);
  SendMessageA(window, WM_COMMAND, 40006, 0);
  SeenDialog seen = watcher.Finish();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.fields[0], "0");
  EXPECT_EQ(seen.fields[4], "0");
  EXPECT_TRUE(seen.pausedWhileOpen);
  EXPECT_NE(WaitForSingleObject(gameHost.gamePauseEvent, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(game_thread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  SendMessageA(window, WM_COMMAND, 40005, 0);
  EXPECT_EQ(game_thread, nullptr);
}

}  // namespace
