#include "game_thread.h"

#include "cells.h"
#include "fine_timer.h"
#include "host_callbacks.h"
#include "screen_text.h"
#include "resource.h"
#include "surfaces.h"

namespace {

// Before the first Start there is no game whose statistics the score script could take: a
// stray game-ended command then runs nothing.
constexpr GameHost InitialHost() {
  GameHost host = {};
  host.score_script_done = 1;
  return host;
}

}  // namespace

GameHost gameHost = InitialHost();
HANDLE game_thread;

// Set by the game thread once its game is over, just before it resets the menus (which enables
// Start) and posts 1042; cleared by StartGame before the next thread exists.  It tells the
// game-ended command of the running thread, which is in its last steps, from a stale or
// foreign 1042 that meets a game still being played.
static volatile LONG game_over;

static const char kGameStartFailed[] = "ゲームの起動に失敗しました";

int InitGameHost(void) {
  gameHost.record.spawn_proc = spawn_proc;
  gameHost.record.redraw_proc = redraw_proc;
  gameHost.record.spare_proc = NULL;
  gameHost.record.input_proc = input_proc;
  gameHost.record.clear_proc = clear_proc;
  gameHost.record.user = &gameHost;
  gameHost.gameStopEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
  gameHost.gamePauseEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
  return gameHost.gameStopEvent && gameHost.gamePauseEvent;
}

void ReleaseGameHost(void) {
  if (gameHost.gameStopEvent) CloseHandle(gameHost.gameStopEvent);
  if (gameHost.gamePauseEvent) CloseHandle(gameHost.gamePauseEvent);
  gameHost.gameStopEvent = NULL;
  gameHost.gamePauseEvent = NULL;
}

void SetMenuStates(HWND window, int running) {
  HMENU menu = GetMenu(window);
  if (!menu) return;
  UINT idle = running ? MF_GRAYED : MF_ENABLED;
  UINT busy = running ? MF_ENABLED : MF_GRAYED;
  EnableMenuItem(menu, IDM_START, MF_BYCOMMAND | idle);
  EnableMenuItem(menu, IDM_STOP, MF_BYCOMMAND | busy);
  EnableMenuItem(menu, IDM_SETTINGS, MF_BYCOMMAND | idle);
}

DWORD WINAPI GameThreadProc(LPVOID parameter) {
  GameHost *host = static_cast<GameHost *>(parameter);
  // Give the thread its message queue at once, so key commands posted in the first moments
  // of the game are not refused.
  MSG msg;
  PeekMessageA(&msg, NULL, WM_USER, WM_USER, PM_NOREMOVE);

  // The engine's clock and input_proc's poll keep the game's time: at the system's default
  // tick both would step in 15.6 ms.
  int fineTimer = BeginFineTimer();
  int32_t result = Quillomar(&host->record);
  if (fineTimer) EndFineTimer();
  if (result == 1) {
    MessageBeep(0);
    Sleep(1000);
  }
  InterlockedExchange(&game_over, 1);
  ResetDisplay(&host->render);
  SetMenuStates(host->hwnd, 0);
  InvalidateRect(host->hwnd, NULL, FALSE);
  if (WaitForSingleObject(host->gameStopEvent, 0) != WAIT_OBJECT_0)
    PostMessageA(host->hwnd, WM_COMMAND, IDC_GAME_ENDED, 0);
  return 0;
}

// A thread has a message queue only once it has made its first message call; until then every
// key command posted to it is refused and lost.  Wait for the queue, so that a key pressed at
// once after Start still reaches the game.  The probe is a WM_COMMAND without a command id,
// which input_proc takes and ignores.  A thread that ends without a queue ends the wait too.
static void AwaitGameThreadQueue(const GameHost *host) {
  while (!PostThreadMessageA(host->thread_id, WM_COMMAND, 0, 0)) {
    if (WaitForSingleObject(game_thread, 1) != WAIT_TIMEOUT) return;
  }
}

int StartGame(HWND window, const GameRules *rules) {
  SetMenuStates(window, 1);

  GameHost *host = &gameHost;
  for (int k = 0; k < 4; ++k) host->linecnt[k] = 0;
  host->record.guide_shadow = rules->guide_shadow;
  host->record.wait = rules->wait_fall;
  host->poll_wait = rules->wait_poll;
  host->level = rules->level;
  host->record.level2 = rules->level == 2 ? 1 : 0;
  host->lv1_threshold = rules->lv1_norma;
  host->lv1_norma = rules->lv1_norma;
  host->lv1_speed = rules->lv1_speed;
  host->record.lv2_norma = rules->lv2_norma;
  host->record.lv2_block = rules->lv2_block;
  host->record.lv2_upline = rules->lv2_upline;
  host->record.blockfreq = rules->blockfreq;
  host->record.freq_weight = 7;
  host->soft_drop = 0;
  host->saved_wait = 0;
  host->score_script_done = 0;
  host->hwnd = window;
  host->render.transparentEnabled = rules->transparent_enabled;
  host->render.transparentColour = rules->transparent_colour;

  SetGameDrawingOrigins(&host->render);
  host->wellRect.left = 0;
  host->wellRect.top = 0;
  host->wellRect.right = BOARD_COLUMNS * host->render.cellWidth + FRAME_PIXELS;
  host->wellRect.bottom = BOARD_ROWS * host->render.cellHeight + FRAME_PIXELS;

  InterlockedExchange(&game_over, 0);
  game_thread = CreateThread(NULL, 0, GameThreadProc, host, 0, &host->thread_id);
  if (!game_thread) {
    MessageBox932(window, kGameStartFailed, "Quillomar", MB_ICONERROR);
    SetMenuStates(window, 0);
    return 0;
  }
  AwaitGameThreadQueue(host);
  return 1;
}

int StopGameThread(void) {
  if (!game_thread) return 0;
  SetEvent(gameHost.gameStopEvent);
  WaitForSingleObject(game_thread, INFINITE);
  CloseHandle(game_thread);
  game_thread = NULL;
  ResetEvent(gameHost.gameStopEvent);
  return 1;
}

int CloseEndedGameThread(HWND window) {
  if (game_thread && WaitForSingleObject(game_thread, 0) != WAIT_OBJECT_0) {
    // Never wait here for a game that may still be played: a 1042 that was not posted by the
    // running thread at its end is stale or foreign and is ignored.  The running thread's own
    // 1042 can arrive a moment before the thread has returned; look at it again once it has.
    if (InterlockedCompareExchange(&game_over, 0, 0)) {
      PostMessageA(window, WM_COMMAND, IDC_GAME_ENDED, 0);
    }
    return 0;
  }
  if (game_thread) {
    CloseHandle(game_thread);
    game_thread = NULL;
  }
  if (gameHost.gameStopEvent) ResetEvent(gameHost.gameStopEvent);
  return 1;
}

void ForwardKeyCommand(WPARAM wParam, LPARAM lParam) {
  if (game_thread) PostThreadMessageA(gameHost.thread_id, WM_COMMAND, wParam, lParam);
}
