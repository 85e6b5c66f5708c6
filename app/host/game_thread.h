// The game thread (Windows only): Start and Stop of a game, the thread that makes the one
// engine call, the menu states, and the forwarding of key commands to that thread.
//
// Threads: everything here but the thread procedure runs on the window thread.  The window
// thread writes `gameHost` only in StartGame, before the game thread exists, and reads the
// statistics only after the thread has ended.
#pragma once

#include <windows.h>

#include "game_host.h"

#ifdef __cplusplus
extern "C" {
#endif

// The settings a game is played with, copied into `gameHost` at each start.
typedef struct GameRules {
  uint32_t wait_fall;
  uint32_t wait_poll;
  int32_t level;
  uint32_t lv1_norma;
  uint32_t lv1_speed;
  uint32_t lv2_block;
  uint32_t lv2_norma;
  uint32_t lv2_upline;
  int32_t blockfreq;
  int32_t guide_shadow;
  int32_t transparent_enabled;
  uint32_t transparent_colour;
} GameRules;

extern GameHost gameHost;
// The running game thread, null when no game runs: the program's test of a running game.
extern HANDLE game_thread;

// Once, when the main window is created: the engine callbacks, the user pointer and the
// game's stop and pause events.  Returns 0 when the events cannot be made.
int InitGameHost(void);

// When the main window goes, after the game has been stopped: closes what InitGameHost made.
// Safe to call when InitGameHost failed or never ran.
void ReleaseGameHost(void);

// Start, Stop and Settings enabled for no game (running 0) or the reverse (running 1).
void SetMenuStates(HWND window, int running);

// Start: fills `gameHost` from `rules` and creates the game thread.  On failure shows
// "ゲームの起動に失敗しました" and returns 0 with the menus back in their idle states.
int StartGame(HWND window, const GameRules *rules);

// Stop, first half: signals gameStopEvent, waits for the thread, closes it and resets the
// event.  Returns 1 when a game was running (the caller then runs the score script and resets
// the well), 0 when there was none.
int StopGameThread(void);

// The game-ended command 1042: closes the finished thread's handle and resets gameStopEvent,
// and returns 1 (the caller then runs the score script).  It never waits: while the game thread
// has not ended it returns 0 and does nothing, except that the running thread's own 1042, seen
// in the moment between its posting and the thread's return, is posted to `window` once more.
int CloseEndedGameThread(HWND window);

// Accelerator commands 40007..40012: posted to the game thread while a game runs, else dropped.
void ForwardKeyCommand(WPARAM wParam, LPARAM lParam);

// The game thread procedure, exposed for tests that run a game on a thread of their own.
DWORD WINAPI GameThreadProc(LPVOID parameter);

#ifdef __cplusplus
}
#endif
