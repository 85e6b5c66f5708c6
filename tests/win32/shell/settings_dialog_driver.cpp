#include "settings_dialog_driver.h"

#include <commctrl.h>
#include <string.h>

#include "screen_text.h"
#include "shell_harness.h"

namespace {

const DWORD kAppearTimeout = 20000;
const DWORD kCloseTimeout = 10000;

struct Search {
  const char *className;
  HWND owner;   // when set, only windows it owns
  HWND except;  // never this one
  HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM context) {
  Search *search = reinterpret_cast<Search *>(context);
  char className[64];
  if (window == search->except || !GetClassNameA(window, className, sizeof className) ||
      strcmp(className, search->className) != 0)
    return TRUE;
  if (search->owner && GetWindow(window, GW_OWNER) != search->owner) return TRUE;
  if (!search->owner && !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindThreadWindow(DWORD thread, const char *className, HWND owner, HWND except) {
  Search search = {className, owner, except, NULL};
  EnumThreadWindows(thread, FindWindowOf, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct Drive {
  DWORD thread;
  const std::function<void(HWND)> *steps;
  bool found;
};

DWORD WINAPI RunSteps(LPVOID parameter) {
  Drive *drive = static_cast<Drive *>(parameter);
  DWORD start = GetTickCount();
  HWND dialog = NULL;
  while (!dialog && GetTickCount() - start < kAppearTimeout) {
    Sleep(50);
    dialog = FindThreadWindow(drive->thread, "#32770", NULL, NULL);
  }
  if (!dialog) return 0;
  drive->found = true;
  (*drive->steps)(dialog);
  if (!WaitGone(dialog, 500)) {
    // The steps left it open: close any message box over it, then the dialog itself.
    while (HWND box = FindThreadWindow(drive->thread, "#32770", NULL, dialog)) {
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      if (!WaitGone(box, kCloseTimeout)) break;
    }
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    WaitGone(dialog, kCloseTimeout);
  }
  return 0;
}

}  // namespace

bool DriveSettingsDialog(HWND window, const std::function<void(HWND)> &steps) {
  Drive drive = {GetCurrentThreadId(), &steps, false};
  HANDLE helper = CreateThread(NULL, 0, RunSteps, &drive, 0, NULL);
  if (!helper) return false;
  SendMessageA(window, WM_COMMAND, 40002, 0);
  while (MsgWaitForMultipleObjects(1, &helper, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
    DrainMessages();
  CloseHandle(helper);
  return drive.found;
}

std::string ItemText(HWND dialog, int id) {
  char text[512] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void SetItemText(HWND dialog, int id, const char *text) {
  SetDlgItemTextA(dialog, id, text);
}

void ClickItem(HWND dialog, int id) {
  SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool IsItemChecked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool IsItemEnabled(HWND dialog, int id) {
  return IsWindowEnabled(GetDlgItem(dialog, id)) != 0;
}

std::string PressOk(HWND dialog) {
  DWORD thread = GetWindowThreadProcessId(dialog, NULL);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  DWORD start = GetTickCount();
  while (GetTickCount() - start < kCloseTimeout) {
    if (!IsWindow(dialog) || !IsWindowVisible(dialog)) return "";
    if (HWND box = FindThreadWindow(thread, "#32770", NULL, dialog)) {
      Sleep(100);
      std::string text = ItemText(box, 0xFFFF);
      char caption[64] = "";
      GetWindowTextA(box, caption, sizeof caption);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      WaitGone(box, kCloseTimeout);
      return std::string(caption) == "Quillomar" ? text : "(caption " + std::string(caption) + ")";
    }
    Sleep(20);
  }
  return "(nothing happened)";
}

HWND FindTooltip(HWND dialog) {
  return FindThreadWindow(GetWindowThreadProcessId(dialog, NULL), TOOLTIPS_CLASSA, dialog, NULL);
}

// The tooltip is a UTF-16 control: it asks with TTN_NEEDTEXTW, and the text comes back here as
// 932 for comparison.
std::string TooltipText(HWND dialog, int id) {
  NMTTDISPINFOW info;
  memset(&info, 0, sizeof info);
  info.hdr.hwndFrom = FindTooltip(dialog);
  info.hdr.idFrom = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, id));
  info.hdr.code = TTN_NEEDTEXTW;
  info.hinst = reinterpret_cast<HINSTANCE>(1);
  SendMessageW(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  if (!info.lpszText) return "(none)";
  if (info.hinst) return "(instance kept)";
  char text[1024];
  return Text932FromWide(info.lpszText, text, sizeof text) ? text : "(no 932 form)";
}
