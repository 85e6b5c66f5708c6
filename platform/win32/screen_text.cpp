#include "screen_text.h"

#include <string.h>

namespace {

const UINT kProgramCodePage = 932;

// The longest window text the program shows or reads: the tooltip's, 512 bytes.
const int kTextUnits = 1024;

}  // namespace

int WideFrom932Bytes(const char *bytes, int count, WCHAR *out, int outChars) {
  if (outChars <= 0) return 0;
  out[0] = L'\0';
  if (count == 0) return 1;
  // Fails (0) when the result does not fit; a cut text is never shown as whole.
  int units = MultiByteToWideChar(kProgramCodePage, 0, bytes, count, out, outChars - 1);
  if (units <= 0) {
    out[0] = L'\0';
    return 0;
  }
  out[units] = L'\0';
  return 1;
}

int WideFrom932(const char *text, WCHAR *out, int outChars) {
  return WideFrom932Bytes(text, lstrlenA(text), out, outChars);
}

int Text932FromWide(const WCHAR *text, char *out, int outBytes) {
  if (outBytes <= 0) return 0;
  out[0] = '\0';
  const int units = lstrlenW(text);
  if (units == 0) return 1;
  BOOL lost = FALSE;
  int bytes = WideCharToMultiByte(kProgramCodePage, WC_NO_BEST_FIT_CHARS, text, units, out,
                                  outBytes - 1, NULL, &lost);
  if (bytes <= 0 || lost) {
    out[0] = '\0';
    return 0;
  }
  out[bytes] = '\0';
  return 1;
}

int SetWindowText932(HWND window, const char *text) {
  WCHAR wide[kTextUnits];
  if (!WideFrom932(text, wide, kTextUnits)) return 0;
  return SetWindowTextW(window, wide) != 0;
}

int SetDlgItemText932(HWND dialog, int control, const char *text) {
  HWND item = GetDlgItem(dialog, control);
  return item && SetWindowText932(item, text);
}

int GetWindowText932(HWND window, char *out, int outBytes) {
  if (outBytes <= 0) return 0;
  out[0] = '\0';
  WCHAR wide[kTextUnits];
  wide[0] = L'\0';
  GetWindowTextW(window, wide, kTextUnits);
  // Every unit takes at most two bytes in 932.
  char whole[2 * kTextUnits];
  if (!Text932FromWide(wide, whole, sizeof whole)) return 0;
  // Cut like the ANSI call's buffer would, but never inside a double-byte character.
  int at = 0;
  while (whole[at]) {
    const int step = IsDBCSLeadByteEx(kProgramCodePage, (BYTE)whole[at]) && whole[at + 1] ? 2 : 1;
    if (at + step > outBytes - 1) break;
    at += step;
  }
  memcpy(out, whole, (size_t)at);
  out[at] = '\0';
  return whole[at] == '\0';
}

int GetDlgItemText932(HWND dialog, int control, char *out, int outBytes) {
  if (outBytes > 0) out[0] = '\0';
  HWND item = GetDlgItem(dialog, control);
  return item && GetWindowText932(item, out, outBytes);
}

int MessageBox932(HWND owner, const char *text, const char *caption, UINT type) {
  WCHAR wideText[kTextUnits], wideCaption[128];
  WideFrom932(text, wideText, kTextUnits);
  WideFrom932(caption, wideCaption, 128);
  return MessageBoxW(owner, wideText, wideCaption, type);
}
