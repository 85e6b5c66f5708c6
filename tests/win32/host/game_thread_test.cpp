// Whole games of the real engine on the real game thread: a game that runs to its end, games
// ended by Stop, and the menu states around them, seen through a hidden window with menu 101.
#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>

#include <mmsystem.h>

#include "fine_timer.h"
#include "game_thread.h"
#include "host_harness.h"
#include "resource.h"

namespace {

// A game nobody steers: every piece falls straight down as fast as the engine can go.
GameRules FastRules(void) {
  GameRules rules;
  memset(&rules, 0, sizeof rules);
  rules.wait_fall = 0;
  rules.wait_poll = 0;
  rules.level = 0;
  rules.lv1_norma = 30;
  rules.lv1_speed = 70;
  rules.lv2_block = 10;
  rules.lv2_norma = 1;
  rules.lv2_upline = 1;
  rules.blockfreq = -1;
  return rules;
}

// A game slow enough to be still running when the test stops it.
GameRules SlowRules(void) {
  GameRules rules = FastRules();
  rules.wait_fall = 1000;
  rules.wait_poll = 20;
  return rules;
}

class GameThread : public ::testing::Test {
 protected:
  void SetUp() override {
    memset(&gameHost, 0, sizeof gameHost);
    ASSERT_TRUE(InitGameHost());
    ASSERT_TRUE(MakePixels(&gameHost.render));
    window = MakeHiddenMenuWindow();
    ASSERT_TRUE(window != NULL);
    SetMenuStates(window, 0);
  }
  void TearDown() override {
    if (game_thread) StopGameThread();
    if (window) DestroyWindow(window);
    ReleaseGameHost();
    ReleasePixels(&gameHost.render);
  }

  // Pumps the window's messages until 1042 has arrived or `limit` ms have passed, and for
  // `after` ms more; returns how many 1042 commands reached the window.
  int PumpGameEnded(DWORD limit, DWORD after) {
    int count = 0;
    DWORD start = GetTickCount();
    DWORD deadline = limit;
    while (GetTickCount() - start < deadline) {
      MSG msg;
      if (!PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
        continue;
      }
      if (msg.message == WM_COMMAND && LOWORD(msg.wParam) == IDC_GAME_ENDED) {
        EXPECT_EQ(window, msg.hwnd);
        if (++count == 1) deadline = GetTickCount() - start + after;
        continue;
      }
      DispatchMessageA(&msg);
    }
    return count;
  }

  UINT State(UINT id) { return GetMenuState(GetMenu(window), id, MF_BYCOMMAND); }
  void ExpectIdleMenus() {
    EXPECT_FALSE(State(IDM_START) & MF_GRAYED);
    EXPECT_TRUE(State(IDM_STOP) & MF_GRAYED);
    EXPECT_FALSE(State(IDM_SETTINGS) & MF_GRAYED);
  }
  void ExpectRunningMenus() {
    EXPECT_TRUE(State(IDM_START) & MF_GRAYED);
    EXPECT_FALSE(State(IDM_STOP) & MF_GRAYED);
    EXPECT_TRUE(State(IDM_SETTINGS) & MF_GRAYED);
  }
  static int StopEventSet() { return WaitForSingleObject(gameHost.gameStopEvent, 0) == 0; }

  HWND window = NULL;
};

TEST_F(GameThread, MenuStatesFollowTheRunningFlagAndLeaveTheOtherItemsAlone) {
  ExpectIdleMenus();
  SetMenuStates(window, 1);
  ExpectRunningMenus();
  EXPECT_FALSE(State(IDM_EXIT) & MF_GRAYED);
  EXPECT_FALSE(State(IDM_VERSION) & MF_GRAYED);
  SetMenuStates(window, 0);
  ExpectIdleMenus();
  EXPECT_FALSE(State(IDM_EXIT) & MF_GRAYED);
}

TEST_F(GameThread, AGameLeftAloneRunsToTheTopAndReportsItsEndOnce) {
  for (int k = 0; k < 4; ++k) gameHost.linecnt[k] = 7 + k;  // the last game's figures
  GameRules rules = FastRules();
  ASSERT_EQ(1, StartGame(window, &rules));
  ASSERT_TRUE(game_thread != NULL);

  DWORD start = GetTickCount();
  int ended = PumpGameEnded(60000, 0);
  ASSERT_EQ(1, ended) << "no game-ended command within 60 s";
  // The game-over pause of one second comes before the command.
  EXPECT_GE(GetTickCount() - start, 900u);
  // The thread ends right after posting; nothing else may arrive after it.
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(game_thread, 10000));
  EXPECT_EQ(0, PumpGameEnded(300, 0));
  ExpectIdleMenus();

  // Straight falls can never fill a row 16 cells wide; the old figures are gone.
  for (int k = 0; k < 4; ++k) EXPECT_EQ(0u, gameHost.linecnt[k]) << "linecnt " << k;
  // The stack reached the top of the well: blocks were drawn in its top rows.
  int topBlocks = 0;
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 16; ++col)
      topBlocks += CellLook(&gameHost.render, 1 + col * TEST_CELL, 1 + row * TEST_CELL) == 1;
  EXPECT_GT(topBlocks, 0);

  SetEvent(gameHost.gameStopEvent);  // a Stop that raced the end must not outlive it
  EXPECT_EQ(1, CloseEndedGameThread(window));
  EXPECT_TRUE(game_thread == NULL);
  EXPECT_FALSE(StopEventSet());
}

TEST_F(GameThread, AGameTheEngineRefusesStillReportsItsEnd) {
  GameRules rules = FastRules();
  rules.blockfreq = 7;  // no such piece: the engine returns at once without playing
  ASSERT_EQ(1, StartGame(window, &rules));
  ASSERT_EQ(1, PumpGameEnded(60000, 0));
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(game_thread, 10000));
  EXPECT_EQ(0, PumpGameEnded(300, 0));
  ExpectIdleMenus();
  // Nothing was ever drawn: the display keeps the fill it was made with.
  EXPECT_EQ(0xEE, gameHost.render.displayPixels[PixelOffset(&gameHost.render, 1, 1)]);
  EXPECT_EQ(1, CloseEndedGameThread(window));
  EXPECT_TRUE(game_thread == NULL);
}

TEST_F(GameThread, StopEndsARunningGameWithoutTheGameEndedCommand) {
  GameRules rules = SlowRules();
  ASSERT_EQ(1, StartGame(window, &rules));
  Sleep(300);
  ASSERT_EQ(WAIT_TIMEOUT, WaitForSingleObject(game_thread, 0)) << "game ended by itself";
  ExpectRunningMenus();

  // A game-ended command that meets a game still being played (stale, or posted by another
  // program) is ignored at once: it neither waits for the game nor ends it.
  DWORD before = GetTickCount();
  EXPECT_EQ(0, CloseEndedGameThread(window));
  EXPECT_LT(GetTickCount() - before, 500u);
  ASSERT_TRUE(game_thread != NULL);
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(game_thread, 0));
  EXPECT_EQ(0, PumpGameEnded(300, 0)) << "nor posted again";

  DWORD start = GetTickCount();
  EXPECT_EQ(1, StopGameThread());
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_TRUE(game_thread == NULL);
  EXPECT_FALSE(StopEventSet());
  EXPECT_EQ(0, PumpGameEnded(1500, 0));
  ExpectIdleMenus();
}

TEST_F(GameThread, StartResetsTheLastGamesStateAndStopEndsAGameHeldByThePauseEvent) {
  gameHost.linecnt[0] = 3;
  gameHost.linecnt[3] = 9;
  gameHost.soft_drop = 1;
  gameHost.saved_wait = 999;
  gameHost.score_script_done = 1;
  SetEvent(gameHost.gamePauseEvent);  // the window is inactive from the start
  GameRules rules = SlowRules();
  rules.level = 1;
  rules.lv1_norma = 12;
  ASSERT_EQ(1, StartGame(window, &rules));
  Sleep(400);
  ASSERT_EQ(WAIT_TIMEOUT, WaitForSingleObject(game_thread, 0));
  ExpectRunningMenus();
  // Held: the game thread changes none of these now.
  for (int k = 0; k < 4; ++k) EXPECT_EQ(0u, gameHost.linecnt[k]) << "linecnt " << k;
  EXPECT_EQ(0, gameHost.soft_drop);
  EXPECT_EQ(0, gameHost.score_script_done);
  EXPECT_EQ(1000u, gameHost.record.wait);
  EXPECT_EQ(20u, gameHost.poll_wait);
  EXPECT_EQ(12u, gameHost.lv1_threshold);

  DWORD start = GetTickCount();
  EXPECT_EQ(1, StopGameThread());
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_TRUE(game_thread == NULL);
  EXPECT_EQ(0, PumpGameEnded(1500, 0));
  ExpectIdleMenus();
}

TEST_F(GameThread, StopWithNoGameReportsNoneAndLeavesTheEventAlone) {
  EXPECT_EQ(0, StopGameThread());
  EXPECT_FALSE(StopEventSet());
  ExpectIdleMenus();
}

TEST_F(GameThread, KeysWithNoGameRunningAreNotForwarded) {
  MSG msg;
  PeekMessageA(&msg, NULL, WM_USER, WM_USER, PM_NOREMOVE);
  gameHost.thread_id = GetCurrentThreadId();  // where a stale forward would land
  ForwardKeyCommand(IDK_LEFT, 0);
  EXPECT_FALSE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_COMMAND, WM_COMMAND, PM_REMOVE));
}

TEST_F(GameThread, APauseKeyForwardedAtOnceAfterStartHoldsTheGame) {
  // Left alone this game reaches the top within a few seconds; held by the Pause key it
  // cannot end, and Stop still ends it at once.
  GameRules rules = FastRules();
  ASSERT_EQ(1, StartGame(window, &rules));
  ForwardKeyCommand(IDK_PAUSE, 0);
  EXPECT_EQ(0, PumpGameEnded(4000, 0));
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(game_thread, 0));
  ExpectRunningMenus();
  DWORD start = GetTickCount();
  EXPECT_EQ(1, StopGameThread());
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_EQ(0, PumpGameEnded(1000, 0));
}

// The 1 ms timer requests, counted; `grant` decides whether a request is granted.
volatile LONG begins, ends, badPeriods, grant = 1;
UINT WINAPI CountBegin(UINT period) {
  InterlockedIncrement(&begins);
  if (period != 1) InterlockedIncrement(&badPeriods);
  return grant ? TIMERR_NOERROR : TIMERR_NOCANDO;
}
UINT WINAPI CountEnd(UINT period) {
  InterlockedIncrement(&ends);
  if (period != 1) InterlockedIncrement(&badPeriods);
  return TIMERR_NOERROR;
}

TEST_F(GameThread, EveryEndingOfAGameGivesBackTheFineTimerItAskedFor) {
  FineTimerCalls counting = {CountBegin, CountEnd};
  SetFineTimerCalls(&counting);
  struct Ending {
    const char *what;
    int refused, stopped;
    LONG granted;
  } endings[] = {
      {"game over", 0, 0, 1}, {"refused", 1, 0, 1}, {"stopped", 0, 1, 1}, {"not granted", 0, 1, 0}};
  for (const Ending &e : endings) {
    SCOPED_TRACE(e.what);
    begins = ends = 0, grant = e.granted;
    GameRules rules = e.stopped ? SlowRules() : FastRules();
    if (e.refused) rules.blockfreq = 7;
    ASSERT_EQ(1, StartGame(window, &rules));
    if (e.stopped) {
      Sleep(300);
      EXPECT_EQ(1, begins) << "asked for while the game runs";
      EXPECT_EQ(0, ends);
      EXPECT_EQ(1, StopGameThread());
    } else {
      ASSERT_EQ(1, PumpGameEnded(60000, 0));
      ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(game_thread, 10000));
      EXPECT_EQ(1, CloseEndedGameThread(window));
    }
    EXPECT_EQ(1, begins);
    EXPECT_EQ(e.granted, ends) << "only a granted request is given back";
  }
  EXPECT_EQ(0, badPeriods);
  SetFineTimerCalls(NULL);
}

}  // namespace
