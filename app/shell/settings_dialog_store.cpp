// OK of the settings dialog: every field that the chosen level uses is read and checked in a
// fixed order, and only when all are valid is the whole record stored at once.  No value is
// corrected or limited: what a field evaluates to is what the game gets.
#include <windows.h>

#include <commctrl.h>
#include <string.h>
#include <wchar.h>

#include "dialog_items.h"
#include "game_settings.h"
#include "messages.h"
#include "number_field.h"
#include "resource.h"
#include "screen_text.h"
#include "settings_dialog.h"

namespace {

int32_t CheckedLevel(HWND dialog) {
  if (IsBoxChecked(dialog, IDC_LEVEL0)) return 0;
  if (IsBoxChecked(dialog, IDC_LEVEL1)) return 1;
  return 2;
}

// The first checked of "no change" and pieces 0 to 4; then piece 5; else piece 6.
int32_t CheckedBlockfreq(HWND dialog) {
  for (int id = IDC_FREQ_NONE; id <= IDC_FREQ_PIECE4; ++id)
    if (IsBoxChecked(dialog, id)) return id - IDC_FREQ_PIECE0;
  return IsBoxChecked(dialog, IDC_FREQ_PIECE5) ? 5 : 6;
}

// A path the background can be read from: one existing file.  A pattern or a directory would
// be found by the search too, but names no picture.
bool NamesAFile(const WCHAR *path) {
  if (wcspbrk(path, L"*?")) return false;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(path, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

int Refuse(HWND dialog, const char *message) {
  ShowErrorMessage(dialog, message);
  return 0;
}

}  // namespace

int StoreDialogSettings(HWND dialog) {
  GameSettings next = gameSettings;
  next.level = CheckedLevel(dialog);
  next.blockfreq = CheckedBlockfreq(dialog);
  uint32_t wait;
  if (!EvaluateNumber(dialog, IDC_WAIT_TIME, &wait)) return Refuse(dialog, MSG_WAIT_INVALID);
  if (next.level != 0) {
    if (!EvaluateNumber(dialog, IDC_LV1_NORMA, &next.lv1_norma))
      return Refuse(dialog, MSG_LV1_NORMA_INVALID);
    if (!EvaluateNumber(dialog, IDC_LV1_SPEED, &next.lv1_speed))
      return Refuse(dialog, MSG_LV1_SPEED_INVALID);
  }
  if (next.level == 2) {
    if (!EvaluateNumber(dialog, IDC_LV2_BLOCK, &next.lv2_block))
      return Refuse(dialog, MSG_LV2_BLOCK_INVALID);
    if (!EvaluateNumber(dialog, IDC_LV2_NORMA, &next.lv2_norma))
      return Refuse(dialog, MSG_LV2_NORMA_INVALID);
    if (!EvaluateNumber(dialog, IDC_LV2_UPLINE, &next.lv2_upline))
      return Refuse(dialog, MSG_LV2_UPLINE_INVALID);
  }
  next.guide_shadow = static_cast<int32_t>(IsDlgButtonChecked(dialog, IDC_GUIDE_SHADOW));
  next.guide_stripe = static_cast<int32_t>(IsDlgButtonChecked(dialog, IDC_GUIDE_STRIPE));
  next.image_shown = static_cast<int32_t>(IsDlgButtonChecked(dialog, IDC_IMAGE_SHOWN));
  next.transparent_enabled = static_cast<int32_t>(IsDlgButtonChecked(dialog, IDC_TRANSPARENT));
  if (IsBoxChecked(dialog, IDC_IMAGE_SHOWN)) {
    // Read as the system names the file; kept as the settings file keeps every path, in 932.
    // A path longer than the field's 260 bytes is read whole, so that it is refused rather
    // than cut into the name of another file.
    WCHAR shown[2 * IMAGE_PATH_TEXT_BYTES];
    char whole[4 * IMAGE_PATH_TEXT_BYTES];
    if (GetDlgItemTextW(dialog, IDC_IMAGE_PATH, shown, 2 * IMAGE_PATH_TEXT_BYTES) == 0)
      return Refuse(dialog, MSG_IMAGE_PATH_EMPTY);
    if (!Text932FromWide(shown, whole, sizeof whole))
      return Refuse(dialog, MSG_IMAGE_PATH_UNSTORABLE);
    if (strlen(whole) >= IMAGE_PATH_TEXT_BYTES || !NamesAFile(shown))
      return Refuse(dialog, MSG_IMAGE_PATH_INVALID);
    memset(next.image_path, 0, sizeof next.image_path);
    memcpy(next.image_path, whole, strlen(whole) + 1);
  }
  next.stripe_intensity =
      static_cast<int32_t>(SendDlgItemMessageW(dialog, IDC_STRIPE_INTENSITY, TBM_GETPOS, 0, 0));
  // The chosen colour is kept whether or not the transparent colour is switched on.
  next.transparent_colour = settingsDialog.colour;
  SplitWait(&next, wait);
  gameSettings = next;
  return 1;
}
