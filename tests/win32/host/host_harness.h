// Shared pieces of the game-host tests: the two manual-reset events, a hidden window with the
// program's menu, plain heap pixel memory for a tiny block picture, and a worker thread that
// makes one input_proc call with its own message queue.
#pragma once

#include <windows.h>

#include "game_host.h"

// A 2 x 2 block picture keeps the surfaces small and every cell easy to check.
enum { TEST_CELL = 2 };

// Creates both events (manual reset, not signalled) in `host`; returns 1 on success.
int MakeGameEvents(GameHost *host);
void CloseGameEvents(GameHost *host);

// A hidden top-level window with menu 101 from this module's resources; null on failure.
HWND MakeHiddenMenuWindow(void);

// Geometry for TEST_CELL x TEST_CELL cells, heap display and background memory (background a
// fixed pattern, display a different fill) and a block picture of distinct pixel words.
// Returns 1 on success; ReleasePixels frees what it made.
int MakePixels(RenderState *rs);
void ReleasePixels(RenderState *rs);

// The block picture's pixel at (x, y) as the display stores it (blue, green, red).
void BlockPixelBytes(const RenderState *rs, int x, int y, unsigned char out[3]);

// Byte offset of pixel (x, y) in a surface, computed from the client width alone.
int PixelOffset(const RenderState *rs, int x, int y);

// 1 when the TEST_CELL-sized cell whose top-left pixel is (x, y) shows the block picture in
// the display; 2 when it shows the background; 0 for anything else.
int CellLook(const RenderState *rs, int x, int y);

// One input_proc call on a thread of its own.  The thread makes its message queue, posts
// `preposted` command ids to itself, signals `ready`, calls input_proc, records the result,
// whether a WM_COMMAND was still waiting afterwards, and the call's duration.
typedef struct InputCall {
  GameHost *host;
  UINT preposted[8];
  int prepostedCount;
  HANDLE ready;
  HANDLE thread;
  DWORD threadId;
  volatile LONG result;
  volatile LONG commandLeftOver;
  volatile DWORD elapsed;
} InputCall;

// Starts the worker and waits until its queue exists; returns 1 on success.
int StartInputCall(InputCall *call);
// Waits up to `milliseconds` for the worker to return; 1 when it did (handle then closed).
int FinishInputCall(InputCall *call, DWORD milliseconds);

// Posts WM_COMMAND `id` to a thread's queue.
int PostKey(DWORD threadId, UINT id);
