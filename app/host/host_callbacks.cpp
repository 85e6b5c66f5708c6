#include "host_callbacks.h"

#include <windows.h>

#include "cells.h"
#include "game_host.h"
#include "statistics.h"
#include "surfaces.h"

static void DrawBoard(GameHost *host, const char *view_board, const char *next_picture) {
  LockSurfaces();
  PrepareDirectDrawing();
  DrawField(&host->render, view_board);
  if (next_picture) DrawPreview(&host->render, next_picture);
  UnlockSurfaces();
}

void QUILLCORE_CALL spawn_proc(const char *view_board, const char *next_picture, int32_t,
                               void *user) {
  GameHost *host = static_cast<GameHost *>(user);
  DrawBoard(host, view_board, next_picture);
  InvalidateRect(host->hwnd, NULL, FALSE);
}

void QUILLCORE_CALL redraw_proc(const char *view_board, void *user) {
  GameHost *host = static_cast<GameHost *>(user);
  DrawBoard(host, view_board, NULL);
  RECT well = {host->wellRect.left, host->wellRect.top, host->wellRect.right,
               host->wellRect.bottom};
  InvalidateRect(host->hwnd, &well, FALSE);
}

void QUILLCORE_CALL clear_proc(int32_t *, const ClearReport *report, void *user) {
  CountClearReport(static_cast<GameHost *>(user), report);
}
