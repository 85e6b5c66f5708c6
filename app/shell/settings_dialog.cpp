// The settings dialog: opening over the main window, initialisation from the settings, the
// enabling of its groups, the live explanations of the level numbers, and its ending.  OK's
// validation lives in settings_dialog_store.cpp, the choosers, drop handler and tooltips in
// settings_dialog_tools.cpp.
#include "settings_dialog.h"

#include <commctrl.h>
#include <stdio.h>

#include "dialog_items.h"
#include "interpreter.h"
#include "main_window.h"
#include "messages.h"
#include "number_field.h"
#include "resource.h"
#include "screen_text.h"

SettingsDialogState settingsDialog;

namespace {

const int kLevel1Group[] = {IDC_LV1_NORMA,       IDC_LV1_SPEED,    IDC_LV1_NORMA_LABEL,
                            IDC_LV1_SPEED_LABEL, IDC_LEVEL1_GROUP, IDC_LV1_EXPLANATION};
const int kLevel2Group[] = {IDC_LV2_BLOCK,       IDC_LV2_NORMA,       IDC_LV2_UPLINE,
                            IDC_LV2_BLOCK_LABEL, IDC_LV2_NORMA_LABEL, IDC_LV2_UPLINE_LABEL,
                            IDC_LEVEL2_GROUP,    IDC_LV2_EXPLANATION};
const int kStripeGroup[] = {IDC_STRIPE_DARK_LABEL, IDC_STRIPE_BRIGHT_LABEL, IDC_STRIPE_INTENSITY};
const int kPictureGroup[] = {IDC_IMAGE_LABEL, IDC_IMAGE_PATH, IDC_BROWSE_IMAGE};
const int kColourGroup[] = {IDC_COLOUR_LABEL, IDC_COLOUR_SWATCH, IDC_BROWSE_COLOUR};

// The stripe intensity slider moves this far per page.
const int kIntensityPage = 5;
const int kIntensityMax = 255;

template <size_t N>
void EnableGroup(HWND dialog, const int (&group)[N], BOOL enable) {
  for (int id : group) EnableWindow(GetDlgItem(dialog, id), enable);
}

// Level 0 uses neither group of numbers, level 1 only the first, level 2 both; with no level
// checked both stay in use.
void EnableLevelGroups(HWND dialog) {
  if (IsBoxChecked(dialog, IDC_LEVEL0)) {
    EnableGroup(dialog, kLevel1Group, FALSE);
    EnableGroup(dialog, kLevel2Group, FALSE);
    return;
  }
  EnableGroup(dialog, kLevel1Group, TRUE);
  EnableGroup(dialog, kLevel2Group, !IsBoxChecked(dialog, IDC_LEVEL1));
}

template <size_t N>
void FollowCheckBox(HWND dialog, int checkBox, const int (&group)[N]) {
  EnableGroup(dialog, group, IsBoxChecked(dialog, checkBox));
}

void CheckFlag(HWND dialog, int checkBox, int32_t flag) {
  CheckDlgButton(dialog, checkBox, flag == 1 ? BST_CHECKED : BST_UNCHECKED);
}

void ExplainLevel1(HWND dialog) {
  uint32_t norma, speed;
  char text[256] = "";
  if (EvaluateNumber(dialog, IDC_LV1_NORMA, &norma) &&
      EvaluateNumber(dialog, IDC_LV1_SPEED, &speed))
    snprintf(text, sizeof text, "%lu 段消去した時、ブロックの落下速度が %lu 速くなります。",
             static_cast<unsigned long>(norma), static_cast<unsigned long>(speed));
  SetDlgItemText932(dialog, IDC_LV1_EXPLANATION, text);
}

void ExplainLevel2(HWND dialog) {
  uint32_t block, norma, upline;
  char text[256] = "";
  if (EvaluateNumber(dialog, IDC_LV2_BLOCK, &block) &&
      EvaluateNumber(dialog, IDC_LV2_NORMA, &norma) &&
      EvaluateNumber(dialog, IDC_LV2_UPLINE, &upline))
    snprintf(text, sizeof text,
             "%lu ブロック落下するまでに、%lu 段以上消去していないと、%lu 段上がります。",
             static_cast<unsigned long>(block), static_cast<unsigned long>(norma),
             static_cast<unsigned long>(upline));
  SetDlgItemText932(dialog, IDC_LV2_EXPLANATION, text);
}

void Initialise(HWND dialog) {
  const GameSettings &settings = gameSettings;
  if (settings.level >= 0 && settings.level <= 2)
    CheckDlgButton(dialog, IDC_LEVEL0 + settings.level, BST_CHECKED);
  EnableLevelGroups(dialog);
  if (settings.blockfreq >= -1 && settings.blockfreq <= 6)
    CheckDlgButton(dialog, IDC_FREQ_PIECE0 + settings.blockfreq, BST_CHECKED);
  CheckFlag(dialog, IDC_TRANSPARENT, settings.transparent_enabled);
  FollowCheckBox(dialog, IDC_TRANSPARENT, kColourGroup);
  CheckFlag(dialog, IDC_IMAGE_SHOWN, settings.image_shown);
  FollowCheckBox(dialog, IDC_IMAGE_SHOWN, kPictureGroup);
  SetDlgItemText932(dialog, IDC_IMAGE_PATH, settings.image_path);
  // Each text raises EN_CHANGE, which fills the two explanations.
  SetDialogNumber(dialog, IDC_WAIT_TIME, SettingsWait(&settings));
  SetDialogNumber(dialog, IDC_LV1_NORMA, settings.lv1_norma);
  SetDialogNumber(dialog, IDC_LV1_SPEED, settings.lv1_speed);
  SetDialogNumber(dialog, IDC_LV2_BLOCK, settings.lv2_block);
  SetDialogNumber(dialog, IDC_LV2_NORMA, settings.lv2_norma);
  SetDialogNumber(dialog, IDC_LV2_UPLINE, settings.lv2_upline);
  CheckDlgButton(dialog, IDC_GUIDE_SHADOW, static_cast<UINT>(settings.guide_shadow));
  CheckFlag(dialog, IDC_GUIDE_STRIPE, settings.guide_stripe);
  FollowCheckBox(dialog, IDC_GUIDE_STRIPE, kStripeGroup);
  SendDlgItemMessageA(dialog, IDC_STRIPE_INTENSITY, TBM_SETPAGESIZE, 0, kIntensityPage);
  SendDlgItemMessageA(dialog, IDC_STRIPE_INTENSITY, TBM_SETRANGE, TRUE,
                      MAKELPARAM(0, kIntensityMax));
  SendDlgItemMessageA(dialog, IDC_STRIPE_INTENSITY, TBM_SETPOS, TRUE, settings.stripe_intensity);
  InstallDropHandler(dialog);
  if (interpreter.module) CreateNumberTooltips(dialog);
  settingsDialog.swatch = GetDlgItem(dialog, IDC_COLOUR_SWATCH);
  char size[32];
  snprintf(size, sizeof size, "%d × %d", settingsDialog.playWidth, settingsDialog.playHeight);
  SetDlgItemText932(dialog, IDC_WINDOW_SIZE, size);
}

void Command(HWND dialog, int id, int notification) {
  switch (id) {
    case IDOK:
      if (StoreDialogSettings(dialog)) {
        DestroyNumberTooltips();
        EndDialog(dialog, IDOK);
      }
      break;
    case IDCANCEL:
      PostMessageA(dialog, WM_CLOSE, 0, 0);
      break;
    case IDC_LEVEL0:
    case IDC_LEVEL1:
    case IDC_LEVEL2:
      EnableLevelGroups(dialog);
      break;
    case IDC_LV1_NORMA:
    case IDC_LV1_SPEED:
      if (notification == EN_CHANGE) ExplainLevel1(dialog);
      break;
    case IDC_LV2_BLOCK:
    case IDC_LV2_NORMA:
    case IDC_LV2_UPLINE:
      if (notification == EN_CHANGE) ExplainLevel2(dialog);
      break;
    case IDC_GUIDE_STRIPE:
      FollowCheckBox(dialog, IDC_GUIDE_STRIPE, kStripeGroup);
      break;
    case IDC_IMAGE_SHOWN:
      FollowCheckBox(dialog, IDC_IMAGE_SHOWN, kPictureGroup);
      break;
    case IDC_TRANSPARENT:
      FollowCheckBox(dialog, IDC_TRANSPARENT, kColourGroup);
      break;
    case IDC_BROWSE_IMAGE:
      BrowsePictureFile(dialog);
      break;
    case IDC_BROWSE_COLOUR:
      ChooseTransparentColour(dialog);
      break;
    default:
      break;
  }
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog);
      return TRUE;
    case WM_COMMAND:
      Command(dialog, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      DestroyNumberTooltips();
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(dialog, &paint);
      EndPaint(dialog, &paint);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == settingsDialog.swatch)
        return reinterpret_cast<INT_PTR>(settingsDialog.swatchBrush);
      // The dialog manager colours the other labels, with the theme's background under
      // Common Controls 6.
      return FALSE;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR *>(lParam)->code != TTN_NEEDTEXTW) return FALSE;
      SupplyTooltipText(dialog, reinterpret_cast<NMHDR *>(lParam));
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowSettingsDialog(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  settingsDialog.playWidth = client.right - client.left;
  settingsDialog.playHeight = client.bottom - client.top;
  settingsDialog.colour = gameSettings.transparent_colour;
  settingsDialog.swatchBrush = CreateSolidBrush(settingsDialog.colour);
  // Created as a UTF-16 dialog, so that its controls keep the template's texts and ours as
  // they are, whatever the system's ANSI code page.
  INT_PTR result =
      DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), window, SettingsDialogProc, 0);
  if (settingsDialog.swatchBrush) DeleteObject(settingsDialog.swatchBrush);
  settingsDialog.swatchBrush = NULL;
  settingsDialog.swatch = NULL;
  if (result == -1) ShowErrorMessage(window, MSG_WINDOW_CREATE_FAILED);
}
