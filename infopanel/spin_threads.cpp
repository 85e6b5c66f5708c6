// The animated panel's two worker threads: the drawing thread turns the tiles frame by frame
// into the frame buffer, the copy thread puts each finished frame on the screen.
#include "panel_state.h"
#include "spin_tiles.h"
#include "tile_drawing.h"

DWORD WINAPI CopyThreadProc(LPVOID) {
  PanelState *s = &panelState;
  // Stop first, so that it wins when both are set.
  HANDLE events[2] = {s->stopEvent, s->frameReadyEvent};
  for (;;) {
    DWORD result = WaitForMultipleObjects(2, events, FALSE, INFINITE);
    if (result == WAIT_OBJECT_0) break;
    // A wait that can no longer succeed would otherwise spin here for ever.
    if (result == WAIT_FAILED) break;
    if (result != WAIT_OBJECT_0 + 1) continue;
    EnterCriticalSection(&s->frameLock);
    HDC dc = GetDC(s->pictureArea);
    if (dc) {
      BitBlt(dc, 0, 0, s->width, s->height, s->memoryDC, 0, 0, SRCCOPY);
      ReleaseDC(s->pictureArea, dc);
    }
    LeaveCriticalSection(&s->frameLock);
    ResetEvent(s->frameReadyEvent);
  }
  SetEvent(s->copyDoneEvent);
  return 0;
}

// One spin's drawing order: the tiles of frames 0 to 180 and those of frames 181 to 360, the
// first of each with the face colour as background.
typedef struct SpinPlan {
  int count;
  SurfaceJob first[4], second[4];
  const FrameTransform *firstTables[4], *secondTables[4];
  int checkMidTurn;  // test the stop between frames 180 and 181
} SpinPlan;

static void PlanTile(SurfaceJob *job, const FrameTransform **table, int picture, int poseTable,
                     int32_t background) {
  PanelState *s = &panelState;
  InitSurfaceJob(job, s->frameBits, s->rowPad, s->pictures[picture], s->width, s->height,
                 background);
  *table = s->poseTables[poseTable];
}

static int StopSet(void) {
  return WaitForSingleObject(panelState.stopEvent, 0) == WAIT_OBJECT_0;
}

// The pause and the stop check in one wait, then one frame; 0 when the stop came.
static int FrameStep(SurfaceJob *jobs, const FrameTransform *const *tables, int count, int k) {
  PanelState *s = &panelState;
  if (WaitForSingleObject(s->stopEvent, (DWORD)s->frameDelay) == WAIT_OBJECT_0) return 0;
  EnterCriticalSection(&s->frameLock);
  for (int i = 0; i < count; ++i) {
    jobs[i].transform = &tables[i][k];
    DrawTile(&jobs[i]);
  }
  LeaveCriticalSection(&s->frameLock);
  SetEvent(s->frameReadyEvent);
  return 1;
}

static DWORD RunSpin(SpinPlan *plan) {
  while (!StopSet()) {
    int k = 0;
    for (; k <= 180; ++k) {
      if (!FrameStep(plan->first, plan->firstTables, plan->count, k)) goto stopped;
    }
    if (plan->checkMidTurn && StopSet()) break;
    for (; k < kTurnFrames; ++k) {
      if (!FrameStep(plan->second, plan->secondTables, plan->count, k)) goto stopped;
    }
  }
stopped:
  SetEvent(panelState.drawDoneEvent);
  return 0;
}

DWORD WINAPI OneFaceLoop(LPVOID) {
  int32_t face = panelState.faceColour;
  SpinPlan plan = {};
  plan.count = 1;
  PlanTile(&plan.first[0], &plan.firstTables[0], 1, 0, face);
  PlanTile(&plan.second[0], &plan.secondTables[0], 1, 0, face);
  return RunSpin(&plan);
}

// A is picture 0 on table 0, B picture 1 on table 1; the first half of a turn repaints the area
// with B, the second half with A.
DWORD WINAPI TwoFaceLoop(LPVOID) {
  int32_t face = panelState.faceColour;
  SpinPlan plan = {};
  plan.count = 2;
  plan.checkMidTurn = 1;
  PlanTile(&plan.first[0], &plan.firstTables[0], 1, 1, face);
  PlanTile(&plan.first[1], &plan.firstTables[1], 0, 0, -1);
  PlanTile(&plan.second[0], &plan.secondTables[0], 0, 0, face);
  PlanTile(&plan.second[1], &plan.secondTables[1], 1, 1, -1);
  return RunSpin(&plan);
}

DWORD WINAPI FourFaceLoop(LPVOID) {
  int32_t face = panelState.faceColour;
  SpinPlan plan = {};
  plan.count = 4;
  for (int i = 0; i < 4; ++i) {
    int32_t background = i == 0 ? face : -1;
    PlanTile(&plan.first[i], &plan.firstTables[i], i, i, background);
    PlanTile(&plan.second[i], &plan.secondTables[i], i, i, background);
  }
  return RunSpin(&plan);
}
