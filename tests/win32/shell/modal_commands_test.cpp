// Commands that open a modal window, arriving while they must not act: posted (by another
// program, or a second message already queued) over their own open window, or Settings during
// a game.  A helper thread watches the windows of the test thread, which runs the commands.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "game_thread.h"
#include "main_window_fixture.h"
#include "settings_dialog.h"
#include "settings_dialog_driver.h"
#include "shell_harness.h"

namespace {

const DWORD kWatch = 2500;  // ms; long enough for a wrongly opened window to show under Wine

struct DialogCount {
  DWORD thread;
  int count;
};

BOOL CALLBACK CountDialog(HWND window, LPARAM context) {
  char className[32];
  if (GetClassNameA(window, className, sizeof className) && strcmp(className, "#32770") == 0 &&
      IsWindowVisible(window))
    ++reinterpret_cast<DialogCount *>(context)->count;
  return TRUE;
}

int DialogsOf(DWORD thread) {
  DialogCount count = {thread, 0};
  EnumThreadWindows(thread, CountDialog, reinterpret_cast<LPARAM>(&count));
  return count.count;
}

BOOL CALLBACK CloseDialog(HWND window, LPARAM) {
  char className[32];
  if (GetClassNameA(window, className, sizeof className) && strcmp(className, "#32770") == 0)
    PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

// Posts the first command to the main window, waits for a dialog to open (when one is
// expected), posts the rest while it is open, then watches the test thread's dialogs for
// kWatch ms and keeps the most it saw at once; in the end it closes every one of them.
struct Watch {
  HWND window;
  DWORD thread;
  std::vector<UINT> commands;
  int most;
};

DWORD WINAPI PostAndWatch(LPVOID parameter) {
  Watch *watch = static_cast<Watch *>(parameter);
  PostMessageA(watch->window, WM_COMMAND, watch->commands[0], 0);
  for (DWORD start = GetTickCount();
       DialogsOf(watch->thread) == 0 && GetTickCount() - start < kWatch;)
    Sleep(50);
  for (size_t i = 1; i < watch->commands.size(); ++i)
    PostMessageA(watch->window, WM_COMMAND, watch->commands[i], 0);
  DWORD start = GetTickCount();
  while (GetTickCount() - start < kWatch) {
    int now = DialogsOf(watch->thread);
    if (now > watch->most) watch->most = now;
    Sleep(50);
  }
  for (int round = 0; round < 200 && DialogsOf(watch->thread) > 0; ++round) {
    EnumThreadWindows(watch->thread, CloseDialog, 0);
    Sleep(100);
  }
  return 0;
}

class ModalCommands : public MainWindowFixture {
 protected:
  // Posts the commands (the second and later while the first one's dialog is open) and
  // returns how many dialogs were open at most while they were handled.
  int MostDialogsAfterPosting(std::initializer_list<UINT> commands) {
    Watch watch = {window, GetCurrentThreadId(), commands, 0};
    HANDLE watcher = CreateThread(NULL, 0, PostAndWatch, &watch, 0, NULL);
    if (!watcher) return -1;
    while (MsgWaitForMultipleObjects(1, &watcher, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1)
      DrainMessages();
    CloseHandle(watcher);
    return watch.most;
  }
  bool GameRuns() { return game_thread && WaitForSingleObject(game_thread, 0) == WAIT_TIMEOUT; }
  bool Paused() { return WaitForSingleObject(gameHost.gamePauseEvent, 0) == WAIT_OBJECT_0; }
};

TEST_F(ModalCommands, SettingsPostedDuringAGameOrOverItsOwnDialogIsIgnored) {
  SendMessageA(window, WM_COMMAND, 40001, 0);
  ASSERT_TRUE(GameRuns());
  EXPECT_EQ(MostDialogsAfterPosting({40002}), 0) << "no settings dialog over a running game";
  EXPECT_TRUE(GameRuns());
  SendMessageA(window, WM_COMMAND, 40005, 0);
  ASSERT_EQ(game_thread, nullptr);

  int dialogs = 0;
  HBRUSH brush = NULL;
  bool brushKept = false;
  ASSERT_TRUE(DriveSettingsDialog(window, [&](HWND dialog) {
    brush = settingsDialog.swatchBrush;
    // Settings again, and Start, which must not start a game under the dialog either.
    PostMessageA(GetWindow(dialog, GW_OWNER), WM_COMMAND, 40002, 0);
    PostMessageA(GetWindow(dialog, GW_OWNER), WM_COMMAND, 40001, 0);
    Sleep(kWatch);
    dialogs = DialogsOf(GetWindowThreadProcessId(dialog, NULL));
    brushKept = settingsDialog.swatchBrush == brush && GetObjectType(brush) == OBJ_BRUSH;
  }));
  EXPECT_EQ(dialogs, 1);
  EXPECT_TRUE(brushKept) << "the open dialog's swatch brush was replaced";
  EXPECT_EQ(game_thread, nullptr);

  // Once closed, the dialog opens again as before.
  EXPECT_TRUE(DriveSettingsDialog(window, [](HWND) {}));
}

TEST_F(ModalCommands, ScoreAndVersionOpenDuringAGameButNeverTwiceOverThemselves) {
  SendMessageA(window, WM_COMMAND, 40001, 0);
  ASSERT_TRUE(GameRuns());
  EXPECT_EQ(MostDialogsAfterPosting({40006, 40006}), 1) << "score dialog";
  EXPECT_EQ(MostDialogsAfterPosting({40003, 40003}), 1) << "version panel";
  // One over the other is another matter, and allowed.
  EXPECT_EQ(MostDialogsAfterPosting({40003, 40006}), 2) << "score over the version panel";
  EXPECT_FALSE(Paused());
  EXPECT_TRUE(GameRuns());
  SendMessageA(window, WM_COMMAND, 40005, 0);
}

}  // namespace
