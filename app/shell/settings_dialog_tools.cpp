// The settings dialog's helpers around its fields: the file and colour choosers, the picture
// field that accepts dropped files, and the tooltips that show what an expression gives.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <string.h>

#include "interpreter.h"
#include "main_window.h"
#include "number_field.h"
#include "resource.h"
#include "screen_text.h"
#include "settings_dialog.h"

namespace {

const int kNumberFields[] = {IDC_WAIT_TIME, IDC_LV1_NORMA, IDC_LV1_SPEED,
                             IDC_LV2_BLOCK, IDC_LV2_NORMA, IDC_LV2_UPLINE};

// The chooser's filter pairs, each text ending in a zero byte, the list in two.
const char kPictureFilters[] =
    "画像ﾌｧｲﾙ(*.JPG , *.BMP)\0*.JPG;*.BMP\0"
    "JPEG ﾌｧｲﾙ(*.JPG)\0*.JPG\0"
    "ﾋﾞｯﾄﾏｯﾌﾟ ﾌｧｲﾙ(*.BMP)\0*.BMP\0"
    "All files (*.*)\0*.*\0";
const char kChooserTitle[] = "ﾌｧｲﾙを開く";

LRESULT CALLBACK DropHandler(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_DROPFILES)
    return CallWindowProcW(settingsDialog.previousEditProc, edit, message, wParam, lParam);
  HDROP drop = reinterpret_cast<HDROP>(wParam);
  // Only the first file counts; its type is checked when the background is composed.  A path
  // too long for the buffer is not taken: cut short, it could name another file.  It is shown
  // as the system names it; OK finds out whether the settings can hold it.
  UINT length = DragQueryFileW(drop, 0, NULL, 0);
  if (length > 0 && length < DROP_PATH_BYTES &&
      DragQueryFileW(drop, 0, settingsDialog.dropBuffer, DROP_PATH_BYTES) == length)
    SetWindowTextW(edit, settingsDialog.dropBuffer);
  DragFinish(drop);
  return 0;
}

}  // namespace

void InstallDropHandler(HWND dialog) {
  HWND edit = GetDlgItem(dialog, IDC_IMAGE_PATH);
  settingsDialog.previousEditProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DropHandler)));
}

void CreateNumberTooltips(HWND dialog) {
  settingsDialog.tooltip =
      CreateWindowExW(0, TOOLTIPS_CLASSW, NULL, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, dialog, NULL, instance, NULL);
  if (!settingsDialog.tooltip) return;
  for (int id : kNumberFields) {
    TOOLINFOW tool;
    memset(&tool, 0, sizeof tool);
    // The size every version of the tooltip control accepts.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, id));
    tool.hinst = instance;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(settingsDialog.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void DestroyNumberTooltips(void) {
  if (interpreter.module && settingsDialog.tooltip) DestroyWindow(settingsDialog.tooltip);
  settingsDialog.tooltip = NULL;
}

void SupplyTooltipText(HWND dialog, NMHDR *header) {
  if (!interpreter.module) return;
  NMTTDISPINFOW *info = reinterpret_cast<NMTTDISPINFOW *>(header);
  int field = 0;
  for (int id : kNumberFields)
    if (reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, id)) == header->idFrom) {
      field = id;
      break;
    }
  if (!field) return;
  char text[TOOLTIP_TEXT_BYTES];
  GetDlgItemText932(dialog, field, text, sizeof text);
  if (!text[0]) return;
  info->hinst = NULL;
  char shown[TOOLTIP_TEXT_BYTES];
  DescribeExpression(text, shown, sizeof shown);
  WideFrom932(shown, settingsDialog.tooltipBuffer, TOOLTIP_TEXT_BYTES);
  info->lpszText = settingsDialog.tooltipBuffer;
}

void BrowsePictureFile(HWND dialog) {
  settingsDialog.browseBuffer[0] = L'\0';
  GetDlgItemTextW(dialog, IDC_IMAGE_PATH, settingsDialog.browseBuffer, BROWSE_PATH_BYTES);
  WCHAR filters[sizeof kPictureFilters];
  WCHAR title[sizeof kChooserTitle];
  // The filter list's own terminating zero bytes come along (sizeof counts the last one).
  WideFrom932Bytes(kPictureFilters, sizeof kPictureFilters, filters, sizeof kPictureFilters);
  WideFrom932(kChooserTitle, title, sizeof kChooserTitle);
  OPENFILENAMEW chooser;
  memset(&chooser, 0, sizeof chooser);
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = dialog;
  chooser.lpstrFilter = filters;
  chooser.nFilterIndex = 1;
  chooser.lpstrFile = settingsDialog.browseBuffer;
  chooser.nMaxFile = BROWSE_PATH_BYTES;
  chooser.lpstrTitle = title;
  chooser.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  chooser.lpstrDefExt = L"JPG";
  // The chooser leaves the current directory wherever the player browsed to (the flag above is
  // documented not to prevent that for the open chooser): put it back afterwards.
  WCHAR current[MAX_PATH];
  const DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
  const BOOL chosen = GetOpenFileNameW(&chooser);
  if (length > 0 && length < MAX_PATH) SetCurrentDirectoryW(current);
  if (chosen) SetDlgItemTextW(dialog, IDC_IMAGE_PATH, settingsDialog.browseBuffer);
}

void ChooseTransparentColour(HWND dialog) {
  static_assert(sizeof(COLORREF) == sizeof gameSettings.custom_colours[0],
                "the chooser edits the custom colours in place");
  CHOOSECOLORW chooser;
  memset(&chooser, 0, sizeof chooser);
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = dialog;
  chooser.rgbResult = settingsDialog.colour;
  chooser.lpCustColors = reinterpret_cast<COLORREF *>(gameSettings.custom_colours);
  chooser.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorW(&chooser)) return;
  settingsDialog.colour = chooser.rgbResult;
  HBRUSH brush = CreateSolidBrush(settingsDialog.colour);
  if (brush) {
    if (settingsDialog.swatchBrush) DeleteObject(settingsDialog.swatchBrush);
    settingsDialog.swatchBrush = brush;
  }
  InvalidateRect(dialog, NULL, FALSE);
}
