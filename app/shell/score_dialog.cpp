// The score dialog: the statistics of the current or last game, read once when it opens.
// It only displays; Escape does not close it (command 2 is not acted on).
#include "score_dialog.h"

#include "dialog_items.h"
#include "game_thread.h"
#include "main_window.h"
#include "messages.h"
#include "resource.h"
#include "statistics.h"

static INT_PTR CALLBACK ScoreDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      // During a game the counts change under the dialog: take them once, so that the total
      // shown is always the total of the four counts shown.
      uint32_t counts[4];
      for (int i = 0; i < 4; ++i) counts[i] = gameHost.linecnt[i];
      for (int i = 0; i < 4; ++i) SetDialogNumber(dialog, IDC_SCORE_LINE1 + i, counts[i]);
      SetDialogNumber(dialog, IDC_SCORE_TOTAL, TotalLines(counts));
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) PostMessageA(dialog, WM_CLOSE, 0, 0);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 2);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(dialog, &paint);
      EndPaint(dialog, &paint);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void ShowScoreDialog(HWND window) {
  // A UTF-16 dialog keeps the template's labels readable in any code page.
  if (DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SCORE), window, ScoreDialogProc, 0) == -1)
    ShowErrorMessage(window, MSG_WINDOW_CREATE_FAILED);
}
