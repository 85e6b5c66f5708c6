#include "host_harness.h"

#include <stdlib.h>
#include <string.h>

#include "cells.h"
#include "host_callbacks.h"
#include "resource.h"

int MakeGameEvents(GameHost *host) {
  host->gameStopEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
  host->gamePauseEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
  return host->gameStopEvent && host->gamePauseEvent;
}

void CloseGameEvents(GameHost *host) {
  if (host->gameStopEvent) CloseHandle(host->gameStopEvent);
  if (host->gamePauseEvent) CloseHandle(host->gamePauseEvent);
  host->gameStopEvent = NULL;
  host->gamePauseEvent = NULL;
}

HWND MakeHiddenMenuWindow(void) {
  static const char kClass[] = "QuillomarHostTestWindow";
  HINSTANCE module = GetModuleHandleA(NULL);
  WNDCLASSA wc;
  memset(&wc, 0, sizeof wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = module;
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);  // a second registration in one process fails harmlessly
  HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDR_MAINMENU));
  if (!menu) return NULL;
  HWND window = CreateWindowA(kClass, "host test", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, NULL, menu,
                              module, NULL);
  if (!window) DestroyMenu(menu);
  return window;
}

static uint32_t blockWords[TEST_CELL * TEST_CELL] = {0x00102030, 0x00405060, 0x00708090,
                                                     0x00a0b0c0};

int MakePixels(RenderState *rs) {
  memset(rs, 0, sizeof *rs);
  if (!SetUpRenderGeometry(rs, TEST_CELL, TEST_CELL)) return 0;
  SetGameDrawingOrigins(rs);
  size_t bytes = (size_t)rs->rowStride * rs->clientHeight;
  rs->displayPixels = static_cast<uint8_t *>(malloc(bytes));
  rs->backgroundPixels = static_cast<uint8_t *>(malloc(bytes));
  if (!rs->displayPixels || !rs->backgroundPixels) return 0;
  for (size_t i = 0; i < bytes; ++i) rs->backgroundPixels[i] = (uint8_t)(0x11 + i % 7);
  memset(rs->displayPixels, 0xEE, bytes);
  rs->blockPixels = blockWords;
  return 1;
}

void ReleasePixels(RenderState *rs) {
  free(rs->displayPixels);
  free(rs->backgroundPixels);
  rs->displayPixels = NULL;
  rs->backgroundPixels = NULL;
}

void BlockPixelBytes(const RenderState *, int x, int y, unsigned char out[3]) {
  uint32_t word = blockWords[y * TEST_CELL + x];
  out[0] = (unsigned char)(word >> 16);  // blue
  out[1] = (unsigned char)(word >> 8);   // green
  out[2] = (unsigned char)word;          // red
}

int PixelOffset(const RenderState *rs, int x, int y) {
  int stride = (rs->clientWidth * 3 + 3) / 4 * 4;
  return y * stride + 3 * x;
}

int CellLook(const RenderState *rs, int x, int y) {
  int block = 1, background = 1;
  for (int dy = 0; dy < TEST_CELL; ++dy) {
    for (int dx = 0; dx < TEST_CELL; ++dx) {
      int at = PixelOffset(rs, x + dx, y + dy);
      unsigned char want[3];
      BlockPixelBytes(rs, dx, dy, want);
      if (memcmp(rs->displayPixels + at, want, 3) != 0) block = 0;
      if (memcmp(rs->displayPixels + at, rs->backgroundPixels + at, 3) != 0) background = 0;
    }
  }
  return block ? 1 : background ? 2 : 0;
}

int PostKey(DWORD threadId, UINT id) {
  return PostThreadMessageA(threadId, WM_COMMAND, id, 0) != 0;
}

static DWORD WINAPI InputCallProc(LPVOID parameter) {
  InputCall *call = static_cast<InputCall *>(parameter);
  MSG msg;
  PeekMessageA(&msg, NULL, WM_USER, WM_USER, PM_NOREMOVE);  // makes the queue
  for (int i = 0; i < call->prepostedCount; ++i) PostKey(GetCurrentThreadId(), call->preposted[i]);
  SetEvent(call->ready);
  DWORD start = GetTickCount();
  call->result = input_proc(call->host);
  call->elapsed = GetTickCount() - start;
  call->commandLeftOver =
      PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_COMMAND, WM_COMMAND, PM_REMOVE) != 0;
  return 0;
}

int StartInputCall(InputCall *call) {
  call->result = -100;
  call->commandLeftOver = -1;
  call->ready = CreateEventA(NULL, TRUE, FALSE, NULL);
  if (!call->ready) return 0;
  call->thread = CreateThread(NULL, 0, InputCallProc, call, 0, &call->threadId);
  if (!call->thread) return 0;
  return WaitForSingleObject(call->ready, 10000) == WAIT_OBJECT_0;
}

int FinishInputCall(InputCall *call, DWORD milliseconds) {
  if (WaitForSingleObject(call->thread, milliseconds) != WAIT_OBJECT_0) return 0;
  CloseHandle(call->thread);
  CloseHandle(call->ready);
  call->thread = NULL;
  call->ready = NULL;
  return 1;
}
