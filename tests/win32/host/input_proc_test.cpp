// input_proc with real events and the calling thread's real message queue.
#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>

#include "host_callbacks.h"
#include "host_harness.h"
#include "resource.h"

namespace {

class InputProc : public ::testing::Test {
 protected:
  void SetUp() override {
    memset(&host, 0, sizeof host);
    ASSERT_TRUE(MakeGameEvents(&host));
    MSG msg;
    PeekMessageA(&msg, NULL, WM_USER, WM_USER, PM_NOREMOVE);
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    }
  }
  void TearDown() override { CloseGameEvents(&host); }

  void Post(UINT id) { ASSERT_TRUE(PostKey(GetCurrentThreadId(), id)); }
  static int CommandWaiting() {
    MSG msg;
    return PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_COMMAND, WM_COMMAND, PM_NOREMOVE) != 0;
  }

  GameHost host;
};

TEST_F(InputProc, MapsEachKeyToItsEngineCommandOneMessagePerCall) {
  Post(IDK_LEFT);
  Post(IDK_RIGHT);
  Post(IDK_ROTATE);
  Post(IDK_DROP);
  Post(IDK_CLEAR);
  EXPECT_EQ(CMD_LEFT, input_proc(&host));
  EXPECT_EQ(CMD_RIGHT, input_proc(&host));
  EXPECT_EQ(CMD_ROTATE_LEFT, input_proc(&host));
  EXPECT_EQ(CMD_DROP, input_proc(&host));
  EXPECT_EQ(CMD_CLEAR, input_proc(&host));
  EXPECT_EQ(CMD_NONE, input_proc(&host));
  EXPECT_FALSE(CommandWaiting());
}

TEST_F(InputProc, IdsOutsideTheKeyRangeAreConsumedAsNoCommand) {
  Post(IDM_SHOWSCORE);  // 40006, just below the key range
  Post(IDK_LAST + 1);
  Post(IDC_GAME_ENDED);
  Post(IDK_LEFT);
  EXPECT_EQ(CMD_NONE, input_proc(&host));
  EXPECT_EQ(CMD_NONE, input_proc(&host));
  EXPECT_EQ(CMD_NONE, input_proc(&host));
  EXPECT_EQ(CMD_LEFT, input_proc(&host));
}

TEST_F(InputProc, OnlyCommandMessagesAreTakenFromTheQueue) {
  ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_USER + 5, IDK_LEFT, 0));
  EXPECT_EQ(CMD_NONE, input_proc(&host));
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, NULL, WM_USER + 5, WM_USER + 5, PM_REMOVE));
}

TEST_F(InputProc, DeleteLeavesTheTimingAloneInLevelZeroAndStepsItInLevelsOneAndTwo) {
  host.record.wait = 500;
  host.poll_wait = 0;  // no pause in the call; the step's own split is what is checked
  host.lv1_speed = 70;
  host.level = 0;
  Post(IDK_CLEAR);
  EXPECT_EQ(CMD_CLEAR, input_proc(&host));
  EXPECT_EQ(500u, host.record.wait);
  EXPECT_EQ(0u, host.poll_wait);

  for (int level = 1; level <= 2; ++level) {
    host.level = level;
    host.record.wait = 500;
    host.poll_wait = 50;
    Post(IDK_CLEAR);
    EXPECT_EQ(CMD_CLEAR, input_proc(&host)) << "level " << level;
    EXPECT_EQ(50u, host.poll_wait) << "level " << level;
    EXPECT_EQ(430u, host.record.wait) << "level " << level;
  }
}

TEST_F(InputProc, AReleasedDownKeyRestoresTheKeptFallInterval) {
  // Nobody presses Down on the test display, so the check sees the key up.
  host.soft_drop = 1;
  host.saved_wait = 430;
  host.record.wait = 430 >> 4;
  EXPECT_EQ(CMD_NONE, input_proc(&host));
  EXPECT_EQ(0, host.soft_drop);
  EXPECT_EQ(430u, host.record.wait);
}

TEST_F(InputProc, WaitsAboutThePollTimeWhenNoKeyIsWaiting) {
  host.poll_wait = 300;
  DWORD start = GetTickCount();
  EXPECT_EQ(CMD_NONE, input_proc(&host));
  // Loose lower bound only: the tick counter is coarse and the machine is busy.
  EXPECT_GE(GetTickCount() - start, 250u);
}

TEST_F(InputProc, WaitingCommandsAreTakenWithoutThePollWaitAndTheStopStillComesFirst) {
  // A held key's repeats: none of them may wait a poll time, or they pile up behind the next
  // key.  With a 20 s poll any wait shows.
  host.poll_wait = 20000;
  for (int k = 0; k < 60; ++k) Post(IDK_LEFT);
  Post(IDK_RIGHT);
  DWORD start = GetTickCount();
  for (int k = 0; k < 60; ++k) {
    ASSERT_EQ(CMD_LEFT, input_proc(&host)) << k;
    ASSERT_LT(GetTickCount() - start, 5000u) << "command " << k << " waited";
  }
  EXPECT_EQ(CMD_RIGHT, input_proc(&host));
  EXPECT_LT(GetTickCount() - start, 5000u);
  Post(IDK_DROP);
  SetEvent(host.gameStopEvent);
  EXPECT_EQ(CMD_QUIT, input_proc(&host)) << "a waiting key does not hold off Stop";
}

TEST_F(InputProc, ASetStopEventEndsThePollWaitAtOnceWithQuit) {
  host.poll_wait = 20000;
  SetEvent(host.gameStopEvent);
  Post(IDK_LEFT);
  DWORD start = GetTickCount();
  EXPECT_EQ(CMD_QUIT, input_proc(&host));
  EXPECT_LT(GetTickCount() - start, 5000u);
}

TEST_F(InputProc, PauseHoldsUntilTheNextPauseAndThrowsAwayTheKeysBetween) {
  Post(IDK_PAUSE);
  Post(IDK_LEFT);
  Post(IDK_RIGHT);
  Post(IDK_ROTATE);
  Post(IDK_DROP);
  Post(IDK_CLEAR);
  Post(IDK_PAUSE);
  Post(IDK_LEFT);  // after the hold, still removed with the rest of the queue
  host.level = 1;
  host.record.wait = 500;
  host.poll_wait = 50;
  host.lv1_speed = 70;
  EXPECT_EQ(CMD_NONE, input_proc(&host));
  EXPECT_FALSE(CommandWaiting());
  // The thrown-away Delete applied no speed step.
  EXPECT_EQ(500u, host.record.wait);
  EXPECT_EQ(50u, host.poll_wait);
}

// --- Holds on a worker thread, released or stopped from this thread ---

class InputHold : public InputProc {
 protected:
  void TearDown() override {
    if (call.thread) {
      // Never leave a worker blocked on events that are about to be closed.
      SetEvent(host.gameStopEvent);
      FinishInputCall(&call, 10000);
    }
    InputProc::TearDown();
  }
  void Start() {
    call.host = &host;
    ASSERT_TRUE(StartInputCall(&call));
  }
  // The worker is still inside input_proc after a while: it really holds.
  void ExpectStillHolding() {
    Sleep(400);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(call.thread, 0));
  }
  // Returns within a generous bound of the release.
  void ExpectReturnsPromptly() {
    DWORD start = GetTickCount();
    ASSERT_TRUE(FinishInputCall(&call, 5000));
    EXPECT_LT(GetTickCount() - start, 1500u);
  }

  InputCall call = {};
};

TEST_F(InputHold, StopDuringThePauseEventHoldReturnsQuitPromptly) {
  SetEvent(host.gamePauseEvent);
  Start();
  ExpectStillHolding();
  SetEvent(host.gameStopEvent);
  ExpectReturnsPromptly();
  EXPECT_EQ(CMD_QUIT, call.result);
}

TEST_F(InputHold, KeysPostedDuringThePauseEventHoldAreDroppedWhenItEnds) {
  SetEvent(host.gamePauseEvent);
  call.preposted[0] = IDK_LEFT;  // pressed just before the window went inactive
  call.prepostedCount = 1;
  Start();
  ASSERT_TRUE(PostKey(call.threadId, IDK_RIGHT));
  ASSERT_TRUE(PostKey(call.threadId, IDK_DROP));
  ExpectStillHolding();
  ResetEvent(host.gamePauseEvent);
  ExpectReturnsPromptly();
  EXPECT_EQ(CMD_NONE, call.result);
  EXPECT_EQ(0, call.commandLeftOver);
}

TEST_F(InputHold, StopDuringThePauseKeyHoldReturnsQuitPromptly) {
  call.preposted[0] = IDK_PAUSE;
  call.prepostedCount = 1;
  Start();
  ExpectStillHolding();
  SetEvent(host.gameStopEvent);
  ExpectReturnsPromptly();
  EXPECT_EQ(CMD_QUIT, call.result);
}

TEST_F(InputHold, ThePauseKeyHoldIgnoresOtherKeysAndTheWindowsActivation) {
  call.preposted[0] = IDK_PAUSE;
  call.prepostedCount = 1;
  Start();
  // Let the worker reach the Pause-key hold first (the event is tested before the key).
  ExpectStillHolding();
  // Deactivating and reactivating the window neither ends nor adds to this hold.
  SetEvent(host.gamePauseEvent);
  Sleep(300);
  ResetEvent(host.gamePauseEvent);
  for (UINT id = IDK_LEFT; id <= IDK_CLEAR; ++id) {
    if (id != IDK_PAUSE) {
      ASSERT_TRUE(PostKey(call.threadId, id));
    }
  }
  ExpectStillHolding();
  ASSERT_TRUE(PostKey(call.threadId, IDK_PAUSE));
  ExpectReturnsPromptly();
  EXPECT_EQ(CMD_NONE, call.result);
  EXPECT_EQ(0, call.commandLeftOver);
}

}  // namespace
