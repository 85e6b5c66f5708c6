// The main window's menu and commands around a game: the menu's items and their states, Start
// and Stop, closing the window during a game, and the key commands that only a running game
// receives.
#include <gtest/gtest.h>

#include <string.h>

#include "game_thread.h"
#include "main_window.h"
#include "main_window_fixture.h"
#include "shell_harness.h"

namespace {

const DWORD kPatience = 15000;  // ms; generous for Wine on a loaded machine

class MenuCommands : public MainWindowFixture {
 protected:
  void Command(UINT id) { SendMessageA(window, WM_COMMAND, id, 0); }
  bool Grayed(UINT id) {
    UINT state = GetMenuState(GetMenu(window), id, MF_BYCOMMAND);
    return state != 0xFFFFFFFFu && (state & MF_GRAYED) != 0;
  }
  void ExpectIdleMenu() {
    EXPECT_FALSE(Grayed(40001));
    EXPECT_TRUE(Grayed(40005));
    EXPECT_FALSE(Grayed(40002));
  }
  void ExpectGameMenu() {
    EXPECT_TRUE(Grayed(40001));
    EXPECT_FALSE(Grayed(40005));
    EXPECT_TRUE(Grayed(40002));
  }
};

TEST_F(MenuCommands, MenuHoldsTheCommandsInOrderAndStartsIdle) {
  struct Item {
    UINT id;  // 0: separator
    const char *text;
  };
  const Item expected[] = {{40001, "開始(&G)"},       {40005, "中断(&P)"}, {0, nullptr},
                           {40006, "得点の表示(&D)"}, {40002, "設定(&S)"}, {0, nullptr},
                           {40003, "ﾊﾞｰｼﾞｮﾝ(&A)"},    {0, nullptr},        {40004, "終了(&X)"}};
  HMENU menu = GetMenu(window);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 1);
  char text[64] = "";
  GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "ﾒﾆｭｰ(&M)");
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  const int count = sizeof expected / sizeof expected[0];
  ASSERT_EQ(GetMenuItemCount(popup), count);
  for (int i = 0; i < count; ++i) {
    UINT state = GetMenuState(popup, i, MF_BYPOSITION);
    if (!expected[i].text) {
      EXPECT_TRUE(state & MF_SEPARATOR) << i;
      continue;
    }
    EXPECT_EQ(GetMenuItemID(popup, i), expected[i].id) << i;
    text[0] = 0;
    GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, expected[i].text) << i;
  }
  ExpectIdleMenu();
  EXPECT_FALSE(Grayed(40006));
  EXPECT_FALSE(Grayed(40003));
  EXPECT_FALSE(Grayed(40004));
}

TEST_F(MenuCommands, StartAndStopSwitchTheMenuAndTheGameThread) {
  Command(40001);
  ASSERT_NE(game_thread, nullptr);
  ExpectGameMenu();
  HANDLE thread;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), game_thread, GetCurrentProcess(), &thread, 0,
                              FALSE, DUPLICATE_SAME_ACCESS));
  EXPECT_EQ(WaitForSingleObject(thread, 300), static_cast<DWORD>(WAIT_TIMEOUT));

  Command(40005);
  EXPECT_EQ(game_thread, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
  EXPECT_NE(WaitForSingleObject(gameHost.gameStopEvent, 0), WAIT_OBJECT_0);
  ExpectIdleMenu();
  CloseHandle(thread);

  // A second game starts as the first did.
  Command(40001);
  EXPECT_NE(game_thread, nullptr);
  ExpectGameMenu();
  Command(40005);
  EXPECT_EQ(game_thread, nullptr);
  ExpectIdleMenu();
}

TEST_F(MenuCommands, ClosingDuringAGameSavesTheRunningCountsAndEndsTheGame) {
  // Counts of an earlier game; the game started now begins again from zero.
  for (int k = 0; k < 4; ++k) gameHost.linecnt[k] = 9;
  Command(40001);
  ASSERT_NE(game_thread, nullptr);
  HANDLE thread;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), game_thread, GetCurrentProcess(), &thread, 0,
                              FALSE, DUPLICATE_SAME_ACCESS));
  Sleep(300);

  DestroyTestMainWindow(window);
  window = NULL;

  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
  CloseHandle(thread);
  EXPECT_EQ(game_thread, nullptr);
  std::vector<uint8_t> file = ReadFixture("init.inf");
  ASSERT_EQ(file.size(), 444u);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(Get32(file, kLinecnt + 4 * k), gameHost.linecnt[k]) << k;
  EXPECT_NE(Get32(file, kLinecnt), 9u);
}

// Whether a WM_COMMAND is waiting in this thread's own queue.
bool CommandPostedToThisThread() {
  MSG msg;
  return PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_COMMAND, WM_COMMAND, PM_REMOVE) != 0;
}

TEST_F(MenuCommands, KeyCommandsWithoutAGameAreDropped) {
  // Were the commands forwarded without a game, they would reach the thread named here.
  gameHost.thread_id = GetCurrentThreadId();
  DWORD wait = gameHost.record.wait;
  for (UINT id = 40007; id <= 40012; ++id) {
    Command(id);
    EXPECT_FALSE(CommandPostedToThisThread()) << id;
  }
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(game_thread, nullptr);
  EXPECT_EQ(gameHost.record.wait, wait);
  ExpectIdleMenu();
}

struct WaitWatch {
  uint32_t wanted;
};

bool WaitReached(void *context) {
  volatile uint32_t *wait = &gameHost.record.wait;
  return *wait == static_cast<WaitWatch *>(context)->wanted;
}

TEST_F(MenuCommands, DeleteDuringALevelOneGameReachesTheGameAsASpeedStep) {
  ASSERT_EQ(gameSettings.level, 1);
  Command(40001);
  ASSERT_NE(game_thread, nullptr);
  ASSERT_EQ(gameHost.record.wait, gameSettings.wait_fall);

  // Clearing the well costs one speed step: the time per row loses lv1_speed, of which up to
  // 50 ms stay poll time and the rest is the fall interval.
  uint32_t perRow = gameSettings.wait_fall + gameSettings.wait_poll - gameSettings.lv1_speed;
  WaitWatch watch = {perRow - 50};
  // Sent at once after Start: a game thread without its message queue yet would lose it.
  Command(40012);
  EXPECT_TRUE(WaitUntil(WaitReached, &watch, kPatience));
  EXPECT_EQ(gameHost.record.wait, perRow - 50);
  EXPECT_EQ(gameHost.poll_wait, 50u);

  // The other keys are taken by the game without ending it.
  for (UINT id = 40007; id <= 40010; ++id) Command(id);
  Sleep(300);
  EXPECT_NE(game_thread, nullptr);
  EXPECT_EQ(WaitForSingleObject(game_thread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  Command(40005);
  EXPECT_EQ(game_thread, nullptr);
}

}  // namespace
