// The plain panel: the caller's icon still, centred in the picture area.
#include "panel_state.h"

// The picture area paints the icon itself once the static control has validated its region.
static LRESULT CALLBACK PictureAreaProc(HWND area, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) {
    return CallWindowProcW(panelState.previousProc, area, message, wParam, lParam);
  }
  PAINTSTRUCT paint;
  BeginPaint(area, &paint);
  EndPaint(area, &paint);
  HDC dc = GetDC(area);
  if (dc) {
    if (panelState.icon) DrawIcon(dc, panelState.iconX, panelState.iconY, panelState.icon);
    ReleaseDC(area, dc);
  }
  return 1;
}

static void SetUpPlainPanel(HWND dialog) {
  PanelState *s = &panelState;
  SetUpPanelTexts(dialog);
  if (s->pictureArea) {
    s->previousProc = (WNDPROC)GetWindowLongPtrW(s->pictureArea, GWLP_WNDPROC);
    SetWindowLongPtrW(s->pictureArea, GWLP_WNDPROC, (LONG_PTR)PictureAreaProc);
  }
  InvalidateRect(dialog, NULL, TRUE);
}

INT_PTR CALLBACK PlainPanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (AnswerPanelMessage(dialog, message, wParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      SetUpPlainPanel(dialog);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 1);
      return TRUE;
    default:
      return FALSE;
  }
}
