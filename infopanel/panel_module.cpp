// The library's attach: it remembers its own module, which holds dialog 101.
#include "panel_state.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) panelState.module = module;
  return TRUE;
}
