// The set-up steps both panels share: texts, picture area, centred icon.
#include <stdlib.h>

#include "panel_ids.h"
#include "panel_state.h"
#include "screen_text.h"

static void *HeapBytes(size_t bytes) {
  return HeapAlloc(GetProcessHeap(), 0, bytes);
}

void *(*PanelAllocate)(size_t bytes) = HeapBytes;

void PanelFree(void *memory) {
  if (memory) HeapFree(GetProcessHeap(), 0, memory);
}

static const char *Text(int index) {
  const char *const *texts = panelState.texts;
  return texts && texts[index] ? texts[index] : "";
}

// The icon's bitmaps serve only for measuring it and are released at once.
static int MeasureIcon(void) {
  PanelState *s = &panelState;
  s->iconX = s->iconY = 0;
  ICONINFO info;
  if (!s->icon || !GetIconInfo(s->icon, &info)) return 1;
  BITMAP size;
  int measured = (info.hbmColor && GetObjectA(info.hbmColor, sizeof size, &size)) ||
                 (info.hbmMask && GetObjectA(info.hbmMask, sizeof size, &size));
  if (measured) {
    s->iconX = (s->width - abs((int)size.bmWidth)) / 2;
    s->iconY = (s->height - abs((int)size.bmHeight)) / 2;
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return measured;
}

int SetUpPanelTexts(HWND dialog) {
  PanelState *s = &panelState;
  SetWindowText932(dialog, Text(0));
  SetDlgItemText932(dialog, IDC_UPPER_TEXT, Text(1));
  SetDlgItemText932(dialog, IDC_LOWER_TEXT, Text(2));

  s->pictureArea = GetDlgItem(dialog, IDC_PICTURE_AREA);
  RECT client = {0, 0, 0, 0};
  if (s->pictureArea) GetClientRect(s->pictureArea, &client);
  s->width = client.right - client.left;
  s->height = client.bottom - client.top;
  return MeasureIcon();
}

int AnswerPanelMessage(HWND dialog, UINT message, WPARAM wParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(dialog, &paint);
    EndPaint(dialog, &paint);
    return 1;
  }
  if (message == WM_COMMAND) {
    // Only OK closes; Escape's command 2 is swallowed with the rest.
    if (LOWORD(wParam) == IDOK) PostMessageA(dialog, WM_CLOSE, 0, 0);
    return 1;
  }
  return 0;
}
