// The export: resets the panel's record, reads the modifiers and shows the matching panel.
#include "info_panel.h"

#include "fine_timer.h"
#include "panel_ids.h"
#include "panel_state.h"

PanelState panelState;

// A UTF-16 dialog: the caller's 932 texts are converted for it, so they read the same in any
// code page the system runs in.
static int ShowPanel(HWND owner, DLGPROC procedure) {
  return (int)DialogBoxParamW(panelState.module, MAKEINTRESOURCEW(IDD_INFOPANEL), owner, procedure,
                              0);
}

static int KeyHeld(int key) {
  return (GetAsyncKeyState(key) & 0x8000) != 0;
}

int __cdecl InfoPanel(HINSTANCE instance, HWND owner, UINT iconId, const char *const *texts) {
  PanelState *s = &panelState;
  s->texts = texts;
  s->drawThread = s->copyThread = INVALID_HANDLE_VALUE;
  s->memoryDC = NULL;
  s->frameBitmap = NULL;
  s->frameBits = NULL;
  for (int i = 0; i < 4; ++i) s->pictures[i] = NULL, s->poseTables[i] = NULL;
  s->stopEvent = s->frameReadyEvent = s->drawDoneEvent = s->copyDoneEvent = NULL;

  s->icon = LoadIconA(instance, MAKEINTRESOURCEA(LOWORD(iconId)));

  COLORREF face = GetSysColor(COLOR_BTNFACE);
  s->faceColour = (int32_t)(GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face));

  s->mode = 0;
  if (KeyHeld(VK_SHIFT)) s->mode += 1;
  if (KeyHeld(VK_CONTROL)) s->mode += 2;

  // A slow machine gets the still icon whatever is held.
  if (GetSystemMetrics(SM_SLOWMACHINE) == 1) return ShowPanel(owner, PlainPanelProc);
  if (s->mode != 0) {
    // The frames are paced by 10 and 20 ms waits, which the default tick makes 15.6 and 31.2.
    int fineTimer = BeginFineTimer();
    int result = ShowPanel(owner, AnimatedPanelProc);
    if (fineTimer) EndFineTimer();
    if (result != 2) return result;
    // 2: the animation could not be set up; the user still gets the panel.
  }
  return ShowPanel(owner, PlainPanelProc);
}
