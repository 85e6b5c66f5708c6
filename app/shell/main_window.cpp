#include "main_window.h"

#include "game_commands.h"
#include "game_thread.h"
#include "resource.h"
#include "settings_file.h"
#include "surfaces.h"
#include "window_setup.h"

HINSTANCE instance;
GameSettings gameSettings;

// Set once WM_CREATE has set the window up: a window whose set-up failed still receives
// WM_DESTROY, and must not write "init.inf" from defaults that were never read from it.
static int windowSetUp;

static const char kClassName[] = "Quillomar";

int RegisterMainWindowClass(HINSTANCE module) {
  WNDCLASSA windowClass;
  ZeroMemory(&windowClass, sizeof windowClass);
  windowClass.style = 0;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = module;
  windowClass.hIcon = LoadIconA(module, MAKEINTRESOURCEA(IDI_QUILLOMAR));
  windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
  windowClass.lpszClassName = kClassName;
  return RegisterClassA(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE module) {
  // Fixed size: it can be minimised, but not maximised or resized; the block picture decides
  // its size.
  return CreateWindowExA(0, kClassName, "Quillomar", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL,
                         module, NULL);
}

void CenterWindow(HWND window) {
  RECT frame;
  GetWindowRect(window, &frame);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  MoveWindow(window, x, y, width, height, TRUE);
}

static void WithGamePaused(HWND window, void (*show)(HWND)) {
  if (gameHost.gamePauseEvent) SetEvent(gameHost.gamePauseEvent);
  show(window);
  if (gameHost.gamePauseEvent) ResetEvent(gameHost.gamePauseEvent);
}

static void DispatchCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  UINT command = LOWORD(wParam);
  switch (command) {
    case IDC_GAME_ENDED: HandleGameEnded(window); break;
    case IDM_START: StartGameFromSettings(window); break;
    case IDM_SETTINGS:
      ShowSettingsDialog(window);
      ComposeBackgroundFromSettings(window);
      break;
    case IDM_VERSION: WithGamePaused(window, ShowVersionPanel); break;
    case IDM_EXIT: DestroyWindow(window); break;
    case IDM_STOP: StopGame(window); break;
    case IDM_SHOWSCORE: WithGamePaused(window, ShowScoreDialog); break;
    default:
      if (command >= IDK_FIRST && command <= IDK_LAST) ForwardKeyCommand(wParam, lParam);
      break;
  }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      windowSetUp = SetUpSurfaces(window);
      return windowSetUp ? 0 : -1;
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
    case WM_PAINT: PaintWindow(window); return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_COMMAND: DispatchCommand(window, wParam, lParam); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}
