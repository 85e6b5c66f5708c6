// The engine's input callback: the only pacing of the engine's loop, the two holds (window
// inactive or a modal panel open; the Pause key), and the mapping of posted key commands.
#include <windows.h>

#include "game_host.h"
#include "host_callbacks.h"
#include "resource.h"
#include "speed_step.h"

static const DWORD kHoldStep = 250;  // ms per wait while a game is held

// Takes the next WM_COMMAND posted to this thread, if any.
static int TakeCommand(MSG *msg) {
  return PeekMessageA(msg, reinterpret_cast<HWND>(-1), WM_COMMAND, WM_COMMAND, PM_REMOVE) != 0;
}

// Keys pressed while the game was held are not carried over into the game.
static void DropWaitingCommands(void) {
  MSG msg;
  while (TakeCommand(&msg)) {
  }
}

static int IsKeyCommand(const MSG *msg) {
  UINT id = LOWORD(msg->wParam);
  return id >= IDK_FIRST && id <= IDK_LAST;
}

static void CheckDownKey(GameHost *host) {
  CheckSoftDrop(host, (GetAsyncKeyState(VK_DOWN) & 0x8000) != 0);
}

static int StopRequested(GameHost *host, DWORD milliseconds) {
  return WaitForSingleObject(host->gameStopEvent, milliseconds) == WAIT_OBJECT_0;
}

// The Pause-key hold: ends with the next Pause key; other keys are thrown away meanwhile.
static int32_t HoldForPauseKey(GameHost *host) {
  for (;;) {
    if (StopRequested(host, kHoldStep)) return CMD_QUIT;
    MSG msg;
    for (;;) {
      if (!TakeCommand(&msg)) {
        CheckDownKey(host);
        break;
      }
      if (!IsKeyCommand(&msg)) break;
      int32_t command = EngineCommandForKey(LOWORD(msg.wParam));
      if (command == CMD_PAUSE) {
        DropWaitingCommands();
        return CMD_NONE;
      }
      // A positive command is dropped and the next message is looked at at once.
    }
  }
}

int32_t QUILLCORE_CALL input_proc(void *user) {
  GameHost *host = static_cast<GameHost *>(user);

  if (WaitForSingleObject(host->gamePauseEvent, 0) == WAIT_OBJECT_0) {
    do {
      if (StopRequested(host, kHoldStep)) return CMD_QUIT;
    } while (WaitForSingleObject(host->gamePauseEvent, 0) == WAIT_OBJECT_0);
    DropWaitingCommands();
    return CMD_NONE;
  }

  // A command already waiting is taken at once: a held key repeats faster than one poll time
  // per command, and waiting before each would pile its repeats up behind the next key.  The
  // poll paces the loop only when nothing waits; the engine's clock alone decides the falls.
  if (StopRequested(host, 0)) return CMD_QUIT;
  MSG msg;
  if (!TakeCommand(&msg)) {
    if (StopRequested(host, host->poll_wait)) return CMD_QUIT;
    if (!TakeCommand(&msg)) {
      CheckDownKey(host);
      return CMD_NONE;
    }
  }
  if (!IsKeyCommand(&msg)) return CMD_NONE;
  int32_t command = EngineCommandForKey(LOWORD(msg.wParam));
  switch (command) {
    case CMD_CLEAR:
      // In levels 1 and 2 clearing the board costs as much as reaching a quota.
      if (host->level != 0) ApplySpeedStep(host);
      return CMD_CLEAR;
    case CMD_PAUSE:
      return HoldForPauseKey(host);
    default:
      return command;
  }
}
