// The program's texts on the screen (Windows only).  Inside the program every text is code page
// 932, whatever code page the system runs in; a text becomes UTF-16 only where it reaches a
// window, and what the user types or chooses comes back as 932.  The conversion always names
// code page 932 itself: the system's ANSI code page (1252 on most Windows outside Japan) would
// read the same bytes as other characters.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// The 932 text `text` as UTF-16 in `out` (outChars units, terminator included).  A 932 text of
// n bytes never needs more than n + 1 units.  Returns 1, or 0 with `out` empty (when outChars >
// 0) when the text does not fit.
int WideFrom932(const char *text, WCHAR *out, int outChars);

// The same for `count` bytes that may hold zero bytes of their own (a chooser's filter list);
// the result is terminated after the `count` converted units.
int WideFrom932Bytes(const char *bytes, int count, WCHAR *out, int outChars);

// The UTF-16 text `text` as 932 in `out` (outBytes bytes, terminator included).  Returns 1, or
// 0 with `out` empty (when outBytes > 0) when a character has no 932 form (no look-alike is
// put in its place: a path so changed would name another file) or the text does not fit.
int Text932FromWide(const WCHAR *text, char *out, int outBytes);

// Window and control texts in 932, shown and read through the wide calls, so that a window
// created with the wide calls keeps them in UTF-16.  The setters return 1, or 0 when the text
// could not be converted or set.  The getters return 1 with the whole text; 0 with `out` empty
// when the text has a character without a 932 form, or 0 with `out` holding the text cut at a
// character boundary (outBytes - 1 bytes at most) when it is longer.
int SetWindowText932(HWND window, const char *text);
int SetDlgItemText932(HWND dialog, int control, const char *text);
int GetWindowText932(HWND window, char *out, int outBytes);
int GetDlgItemText932(HWND dialog, int control, char *out, int outBytes);

// MessageBoxW with a 932 text and caption; returns what MessageBoxW returns.
int MessageBox932(HWND owner, const char *text, const char *caption, UINT type);

#ifdef __cplusplus
}
#endif
