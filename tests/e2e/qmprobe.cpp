// qmprobe: tells an end-to-end test what the running program shows, through the same window
// functions a user's tools would use.  Output is code page 932 text, one line per answer.
//   qmprobe window    client area and outer frame of the main window, screen coordinates
//   qmprobe message   text of an open "Quillomar" message box, then presses its OK button
//   qmprobe score     the five numbers of an open score dialog
//   qmprobe foreground  "active" when the main window is the foreground window
//   qmprobe control ID  screen rectangle (x y w h) of control ID of the open settings dialog
//   qmprobe panel     the open version panel: its three texts, then its picture area
//   qmprobe steal S   shows a window of its own in the foreground for S seconds
//   qmprobe keepdesktop  holds a hidden window until the Wine session ends
//   qmprobe quit N    posts WM_QUIT with wParam N to the main window's thread
//   qmprobe workarea  the primary monitor's rectangle and its work area (x y w h each)
//   qmprobe state     "minimised" or "normal": the main window's state
//   qmprobe close     closes the main window as the taskbar's Close does (SC_CLOSE)
//   qmprobe texts     every text the program shows, read in UTF-16 and written as UTF-8: the
//                     menu's items, then each open dialog or message box of the program with
//                     its title and its controls' texts (id, class, text)
// Exit code 0 when the thing asked for was found, 1 otherwise.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static HWND MainWindow(void) {
  return FindWindowA("Quillomar", "Quillomar");
}

static int PrintWindow(void) {
  HWND window = MainWindow();
  if (!window) return 1;
  RECT client, frame;
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  GetWindowRect(window, &frame);
  printf("client %ld %ld %ld %ld frame %ld %ld %ld %ld\n", origin.x, origin.y, client.right,
         client.bottom, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
  return 0;
}

struct Search {
  const char *title;
  HWND found;
};

static BOOL CALLBACK FindDialog(HWND window, LPARAM parameter) {
  Search *search = reinterpret_cast<Search *>(parameter);
  char className[64], title[128];
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, title, sizeof title);
  if (strcmp(className, "#32770") == 0 && strcmp(title, search->title) == 0 &&
      IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

static HWND FindTopDialog(const char *title) {
  Search search = {title, NULL};
  EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

static int PrintMessage(void) {
  HWND box = FindTopDialog("Quillomar");
  if (!box) return 1;
  char text[512] = "";
  // The message text is the box's static control with id 0xFFFF.
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  printf("%s\n", text);
  fflush(stdout);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  return 0;
}

static int PrintScore(void) {
  HWND dialog = FindTopDialog("得点の表示");
  if (!dialog) return 1;
  for (int id = 1012; id <= 1016; ++id) {
    char text[32] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    printf("%s%s", id == 1012 ? "" : " ", text);
  }
  printf("\n");
  return 0;
}

static int PrintControl(int id) {
  HWND dialog = FindTopDialog("設定");
  if (!dialog) return 1;
  HWND control = GetDlgItem(dialog, id);
  if (!control) return 1;
  RECT rect;
  GetWindowRect(control, &rect);
  printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  return 0;
}

static int PrintForeground(void) {
  HWND window = MainWindow();
  if (!window) return 1;
  printf("%s\n", GetForegroundWindow() == window ? "active" : "inactive");
  return 0;
}

static int PrintPanel(void) {
  HWND panel = FindTopDialog("Quillomar Version Information");
  if (!panel) return 1;
  char upper[256] = "", lower[256] = "";
  GetDlgItemTextA(panel, 1000, upper, sizeof upper);
  GetDlgItemTextA(panel, 1001, lower, sizeof lower);
  RECT area = {0, 0, 0, 0};
  GetWindowRect(GetDlgItem(panel, 1002), &area);
  printf("Quillomar Version Information\n%s\n%s\narea %ld %ld %ld %ld\n", upper, lower, area.left,
         area.top, area.right - area.left, area.bottom - area.top);
  return 0;
}

// Another program's window taking the foreground, as when the player switches to another
// program; it stays for the given number of seconds.
static int StealForeground(int seconds) {
  WNDCLASSA windowClass;
  ZeroMemory(&windowClass, sizeof windowClass);
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(NULL);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  windowClass.lpszClassName = "QuillomarProbeOther";
  RegisterClassA(&windowClass);
  HWND other = CreateWindowExA(0, windowClass.lpszClassName, "Other", WS_OVERLAPPEDWINDOW, 0, 0,
                               200, 120, NULL, NULL, windowClass.hInstance, NULL);
  if (!other) return 1;
  ShowWindow(other, SW_SHOW);
  SetForegroundWindow(other);
  SetActiveWindow(other);
  DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000u;
  while (GetTickCount() < end) {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(20);
  }
  DestroyWindow(other);
  return 0;
}

// A quit request from outside, carrying a code of its own: the program must still end with 0.
static int PostQuit(int code) {
  HWND window = MainWindow();
  if (!window) return 1;
  DWORD thread = GetWindowThreadProcessId(window, NULL);
  return PostThreadMessageA(thread, WM_QUIT, static_cast<WPARAM>(code), 0) ? 0 : 1;
}

// Holds a hidden window until the Wine session ends, so that Wine's desktop process, which
// ends with the last program that has a window, stays for a whole test run.
static int KeepDesktop(void) {
  HWND keeper = CreateWindowExA(0, "STATIC", "QuillomarProbeKeeper", WS_POPUP, 0, 0, 1, 1, NULL,
                                NULL, GetModuleHandleA(NULL), NULL);
  if (!keeper) return 1;
  MSG msg;
  while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

// What the program sees of the desktop: a panel at the top makes the work area start lower.
static int PrintWorkArea(void) {
  POINT origin = {0, 0};
  MONITORINFO info;
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &info)) return 1;
  const RECT &m = info.rcMonitor, &w = info.rcWork;
  printf("monitor %ld %ld %ld %ld work %ld %ld %ld %ld\n", m.left, m.top, m.right - m.left,
         m.bottom - m.top, w.left, w.top, w.right - w.left, w.bottom - w.top);
  return 0;
}

static int PrintState(void) {
  HWND window = MainWindow();
  if (!window) return 1;
  printf("%s\n", IsIconic(window) ? "minimised" : "normal");
  return 0;
}

// A minimised window has no client area to click and no menu to open: the player closes it
// from the taskbar, whose Close sends this system command.
static int CloseWindow_(void) {
  HWND window = MainWindow();
  if (!window) return 1;
  return PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
}

// UTF-16 as UTF-8 on standard output, so that the answer does not depend on the code page
// the probe runs in.
static void PrintUtf8(const WCHAR *text) {
  char bytes[4096];
  int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, NULL, NULL);
  fputs(length > 0 ? bytes : "(unreadable)", stdout);
}

static void PrintMenu(HMENU menu, const char *indent) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    WCHAR text[256] = L"";
    GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
    printf("%smenu %d ", indent, i);
    PrintUtf8(text);
    printf("\n");
    if (HMENU sub = GetSubMenu(menu, i)) PrintMenu(sub, "  ");
  }
}

static BOOL CALLBACK PrintChild(HWND child, LPARAM) {
  WCHAR className[64] = L"", text[1024] = L"";
  GetClassNameW(child, className, 64);
  // Asked of the control itself: an edit keeps its text where only its own process sees it.
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, &copied);
  printf("  %d ", GetDlgCtrlID(child));
  PrintUtf8(className);
  printf(" ");
  PrintUtf8(text);
  printf("\n");
  return TRUE;
}

static BOOL CALLBACK PrintProgramDialog(HWND window, LPARAM parameter) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  WCHAR className[64] = L"";
  GetClassNameW(window, className, 64);
  if (process != static_cast<DWORD>(parameter) || lstrcmpW(className, L"#32770") != 0 ||
      !IsWindowVisible(window))
    return TRUE;
  WCHAR title[256] = L"";
  GetWindowTextW(window, title, 256);
  printf("dialog ");
  PrintUtf8(title);
  printf("\n");
  EnumChildWindows(window, PrintChild, 0);
  return TRUE;
}

static int PrintTexts(void) {
  HWND window = MainWindow();
  if (!window) return 1;
  PrintMenu(GetMenu(window), "");
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  EnumWindows(PrintProgramDialog, static_cast<LPARAM>(process));
  return 0;
}

int main(int argc, char **argv) {
  if (argc < 2) return 2;
  if (strcmp(argv[1], "window") == 0) return PrintWindow();
  if (strcmp(argv[1], "message") == 0) return PrintMessage();
  if (strcmp(argv[1], "score") == 0) return PrintScore();
  if (strcmp(argv[1], "foreground") == 0) return PrintForeground();
  if (strcmp(argv[1], "control") == 0 && argc > 2) return PrintControl(atoi(argv[2]));
  if (strcmp(argv[1], "panel") == 0) return PrintPanel();
  if (strcmp(argv[1], "steal") == 0 && argc > 2) return StealForeground(atoi(argv[2]));
  if (strcmp(argv[1], "keepdesktop") == 0) return KeepDesktop();
  if (strcmp(argv[1], "quit") == 0 && argc > 2) return PostQuit(atoi(argv[2]));
  if (strcmp(argv[1], "workarea") == 0) return PrintWorkArea();
  if (strcmp(argv[1], "state") == 0) return PrintState();
  if (strcmp(argv[1], "close") == 0) return CloseWindow_();
  if (strcmp(argv[1], "texts") == 0) return PrintTexts();
  return 2;
}
