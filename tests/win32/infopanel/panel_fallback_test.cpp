// The panel's code linked in directly: a failed animated set-up falls back to the plain panel,
// and a click on the picture area's edge switches the pace.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include "fine_timer.h"
#include "info_panel.h"
#include "panel_driver.h"
#include "panel_state.h"

namespace {

const char *const kTexts[3] = {"予備の試験", "upper", "lower"};

int ShowSystemIconPanel() {
  // The library's resources are this program's own.
  panelState.module = GetModuleHandleA(NULL);
  return InfoPanel(NULL, NULL, 32512 /* IDI_APPLICATION */, kTexts);
}

int allocations, failAfter;
void *FailingAllocate(size_t bytes) {
  if (allocations++ >= failAfter) return NULL;
  return HeapAlloc(GetProcessHeap(), 0, bytes);
}

TEST(PanelFallback, AFailedAnimatedSetUpShowsThePlainPanelInstead) {
  void *(*original)(size_t) = PanelAllocate;
  PanelAllocate = FailingAllocate;
  // Failing the first picture, the last picture and the pose tables of a four-face spin.
  for (int fail : {0, 3, 5}) {
    SCOPED_TRACE(fail);
    allocations = 0, failAfter = fail;
    int before = ProcessThreads();
    bool plain = false, released = false;
    PanelCall call;
    call.keys = 3;
    call.title = kTexts[0];
    call.drive = [&](HWND panel) {
      HWND area = GetDlgItem(panel, 1002);
      // The plain panel has put its own procedure on the picture area.
      plain = panelState.previousProc != NULL &&
              GetWindowLongPtrA(area, GWLP_WNDPROC) != (LONG_PTR)panelState.previousProc;
      released = panelState.drawThread == INVALID_HANDLE_VALUE &&
                 panelState.copyThread == INVALID_HANDLE_VALUE && !panelState.memoryDC &&
                 !panelState.frameBitmap && !panelState.stopEvent && !panelState.pictures[0] &&
                 !panelState.poseTables[0];
      PostMessageA(panel, WM_COMMAND, IDOK, 0);
    };
    panelState.previousProc = NULL;
    EXPECT_EQ(RunPanel(call, ShowSystemIconPanel), 1);
    ASSERT_TRUE(call.keysHeld);
    EXPECT_EQ(panelState.mode, 3) << "the modifiers were seen";
    EXPECT_GT(allocations, fail) << "the failing allocation was reached";
    EXPECT_TRUE(plain);
    EXPECT_TRUE(released);
    EXPECT_EQ(ProcessThreads(), before);
  }
  PanelAllocate = original;
}

TEST(PanelFallback, AClickOnThePictureAreasEdgeTogglesFastModeAndElsewhereNothing) {
  LONG afterEdge = -1, afterSecond = -1, afterOutside = -1;
  LONG delayFast = -1, delayNormal = -1;
  PanelCall call;
  call.keys = 2;  // one face: normal pace 20 ms
  call.title = kTexts[0];
  call.drive = [&](HWND panel) {
    RECT area;
    GetWindowRect(GetDlgItem(panel, 1002), &area);
    POINT edge = {area.right - 1, area.top}, outside = {area.right + 3, area.top + 5};
    ScreenToClient(panel, &edge);
    ScreenToClient(panel, &outside);
    SendMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edge.x, edge.y));
    afterEdge = panelState.fastMode, delayFast = panelState.frameDelay;
    SendMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edge.x, edge.y));
    afterSecond = panelState.fastMode, delayNormal = panelState.frameDelay;
    SendMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(outside.x, outside.y));
    afterOutside = panelState.fastMode;
    PostMessageA(panel, WM_CLOSE, 0, 0);
  };
  EXPECT_EQ(RunPanel(call, ShowSystemIconPanel), 1);
  EXPECT_EQ(panelState.baseDelay, 20);
  EXPECT_EQ(afterEdge, 1);
  EXPECT_EQ(delayFast, 0);
  EXPECT_EQ(afterSecond, 0);
  EXPECT_EQ(delayNormal, 20);
  EXPECT_EQ(afterOutside, 0);
}

volatile LONG begins, ends;
UINT WINAPI CountBegin(UINT) {
  InterlockedIncrement(&begins);
  return TIMERR_NOERROR;
}
UINT WINAPI CountEnd(UINT) {
  InterlockedIncrement(&ends);
  return TIMERR_NOERROR;
}

TEST(PanelFallback, TheAnimatedPanelHoldsTheFineTimerWhileOpenAndGivesItBackHoweverItEnds) {
  FineTimerCalls counting = {CountBegin, CountEnd};
  SetFineTimerCalls(&counting);
  void *(*original)(size_t) = PanelAllocate;
  struct Ending {
    const char *what;
    int keys;
    UINT message;
    WPARAM wParam;
    int failSetUp;
    LONG requests;
  } endings[] = {{"closed", 1, WM_CLOSE, 0, 0, 1},
                 {"OK", 3, WM_COMMAND, IDOK, 0, 1},
                 {"set-up failed", 2, WM_COMMAND, IDOK, 1, 1},
                 {"still icon", 0, WM_CLOSE, 0, 0, 0}};
  for (const Ending &e : endings) {
    SCOPED_TRACE(e.what);
    begins = ends = 0;
    allocations = 0, failAfter = 0;
    PanelAllocate = e.failSetUp ? FailingAllocate : original;
    LONG beginsOpen = -1, endsOpen = -1;
    PanelCall call;
    call.keys = e.keys;
    call.title = kTexts[0];
    call.drive = [&](HWND panel) {
      beginsOpen = begins, endsOpen = ends;
      PostMessageA(panel, e.message, e.wParam, 0);
    };
    EXPECT_EQ(RunPanel(call, ShowSystemIconPanel), 1);
    EXPECT_TRUE(call.found);
    // A failed set-up gives the timer back before the still panel opens.
    EXPECT_EQ(e.failSetUp ? 0 : e.requests, beginsOpen - endsOpen);
    EXPECT_EQ(e.requests, begins);
    EXPECT_EQ(e.requests, ends);
  }
  PanelAllocate = original;
  SetFineTimerCalls(NULL);
}

}  // namespace
