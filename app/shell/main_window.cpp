#include "main_window.h"

#include <imm.h>

#include "game_commands.h"
#include "game_thread.h"
#include "resource.h"
#include "score_dialog.h"
#include "settings_dialog.h"
#include "settings_file.h"
#include "surfaces.h"
#include "version_panel.h"
#include "window_position.h"
#include "window_setup.h"

HINSTANCE instance;

// Set once WM_CREATE has set the window up: a window whose set-up failed still receives
// WM_DESTROY, and must not write "init.inf" from defaults that were never read from it.
static int windowSetUp;

// A UTF-16 window: its menu, and the dialogs it owns, show their Japanese texts whatever the
// system's ANSI code page is.
static const WCHAR kClassName[] = L"Quillomar";

int RegisterMainWindowClass(HINSTANCE module) {
  WNDCLASSW windowClass;
  ZeroMemory(&windowClass, sizeof windowClass);
  windowClass.style = 0;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = module;
  windowClass.hIcon = LoadIconW(module, MAKEINTRESOURCEW(IDI_QUILLOMAR));
  windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
  windowClass.lpszClassName = kClassName;
  return RegisterClassW(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE module) {
  // Fixed size: it can be minimised, but not maximised or resized; the block picture decides
  // its size.
  return CreateWindowExW(0, kClassName, L"Quillomar", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL,
                         module, NULL);
}

// Whether each modal window is open.  Their commands can still arrive while one is (posted by
// another program, or a second message already queued), and a second copy over the first
// would share the first's state.
static int settingsOpen, scoreOpen, versionOpen;

static void ShowOnce(int *open, HWND window, void (*show)(HWND)) {
  *open = 1;
  show(window);
  *open = 0;
}

// Version and Show score hold the game while they are open.
static void WithGamePaused(HWND window, int *open, void (*show)(HWND)) {
  if (*open) return;
  if (gameHost.gamePauseEvent) SetEvent(gameHost.gamePauseEvent);
  ShowOnce(open, window, show);
  if (gameHost.gamePauseEvent) ResetEvent(gameHost.gamePauseEvent);
}

static void ShowSettings(HWND window) {
  // The menu greys Settings during a game, but a posted command is not stopped by the menu:
  // the dialog's OK recomposes the background, which the game thread draws from.
  if (game_thread || settingsOpen) return;
  ShowOnce(&settingsOpen, window, ShowSettingsDialog);
  ComposeBackgroundFromSettings(window);
}

static void DispatchCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  UINT command = LOWORD(wParam);
  switch (command) {
    case IDC_GAME_ENDED:
      HandleGameEnded(window);
      break;
    case IDM_START:
      // Nor may a game start under the settings dialog, for the same reason.
      if (!settingsOpen) StartGameFromSettings(window);
      break;
    case IDM_SETTINGS:
      ShowSettings(window);
      break;
    case IDM_VERSION:
      WithGamePaused(window, &versionOpen, ShowVersionPanel);
      break;
    case IDM_EXIT:
      DestroyWindow(window);
      break;
    case IDM_STOP:
      StopGame(window);
      break;
    case IDM_SHOWSCORE:
      WithGamePaused(window, &scoreOpen, ShowScoreDialog);
      break;
    default:
      if (command >= IDK_FIRST && command <= IDK_LAST) ForwardKeyCommand(wParam, lParam);
      break;
  }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      windowSetUp = SetUpSurfaces(window);
      if (windowSetUp) RememberRestoredPosition(window);
      // The keys are the game's: with an input method on, a letter would start a composition
      // that then takes Space and the arrows.  The dialogs' text fields keep theirs.
      if (windowSetUp) ImmAssociateContext(window, NULL);
      return windowSetUp ? 0 : -1;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // The system ends the process once this returns: no WM_DESTROY follows, so save here
      // what closing the window saves, with the game's counts as they stand.
      if (wParam && windowSetUp) {
        StopGameForSessionEnd();
        SaveSettings(window);
      }
      return 0;
    case WM_DESTROY:
      if (windowSetUp) SaveSettings(window);
      ReleaseSurfaces(window);
      windowSetUp = 0;
      PostQuitMessage(0);
      return 0;
    case WM_ACTIVATE:
      if (gameHost.gamePauseEvent) {
        if (LOWORD(wParam) != WA_INACTIVE)
          ResetEvent(gameHost.gamePauseEvent);
        else
          SetEvent(gameHost.gamePauseEvent);
      }
      return 0;
    case WM_MOVE:
      RememberRestoredPosition(window);
      return 0;
    case WM_PAINT:
      PaintWindow(window);
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_COMMAND:
      DispatchCommand(window, wParam, lParam);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}
