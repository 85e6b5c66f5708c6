// Program start: one copy only, the program directory, the window class and accelerators,
// the optional interpreter library, the main window and its message loop.
#include <windows.h>
#include <commctrl.h>

#include "interpreter.h"
#include "main_window.h"
#include "messages.h"
#include "program_paths.h"
#include "resource.h"

// The interpreter library is looked up by bare name, and the folder the player started the
// program from (a downloads folder, a USB stick) comes early in that search: a library planted
// there would run inside the game.  Take it out before anything is loaded by name, keeping the
// program's folder and the system's.  SetDefaultDllDirectories does that wherever it exists
// (Vista and 7 with their loader update, every later Windows); SetDllDirectoryA("") takes the
// current directory out elsewhere.  Both are looked up: neither is in every supported system.
static void KeepStartingFolderOutOfLibrarySearch(void) {
  typedef BOOL(WINAPI * SetDefaultDirectories)(DWORD);
  typedef BOOL(WINAPI * SetDirectory)(LPCSTR);
  const DWORD kSearchDefaultDirs = 0x00001000;  // LOAD_LIBRARY_SEARCH_DEFAULT_DIRS
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (!kernel) return;
  SetDefaultDirectories setDefault = reinterpret_cast<SetDefaultDirectories>(
      reinterpret_cast<void (*)(void)>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault && setDefault(kSearchDefaultDirs)) return;
  SetDirectory setDllDirectory = reinterpret_cast<SetDirectory>(
      reinterpret_cast<void (*)(void)>(GetProcAddress(kernel, "SetDllDirectoryA")));
  if (setDllDirectory) setDllDirectory("");
}

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) {
  KeepStartingFolderOutOfLibrarySearch();
  // Held until the process ends; a second copy sees it and leaves without a word.
  CreateMutexA(NULL, FALSE, "Quillomar");
  if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  instance = module;
  InitProgramDirectory();
  InitCommonControls();

  if (!RegisterMainWindowClass(module)) {
    ShowErrorMessage(NULL, MSG_WINDOW_CREATE_FAILED);
    return 0;
  }
  HACCEL accelerators = LoadAcceleratorsW(module, MAKEINTRESOURCEW(IDR_ACCELERATORS));
  if (!accelerators) {
    ShowErrorMessage(NULL, MSG_WINDOW_CREATE_FAILED);
    return 0;
  }
  LoadInterpreter();

  HWND window = CreateMainWindow(module);
  if (!window) {
    FreeInterpreter();
    return 0;
  }
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);

  // The loop ends at WM_QUIT (0) and also when GetMessageW fails (-1); either way the program
  // ends with exit code 0, never with whatever the last message carried.  The windows are
  // UTF-16 windows, so their messages go through the wide calls.
  MSG msg;
  while (GetMessageW(&msg, NULL, 0, 0) > 0) {
    if (!TranslateAcceleratorW(window, accelerators, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  FreeInterpreter();
  return 0;
}
