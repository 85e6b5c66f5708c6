// InfoPanel.dll's one export: the modal version panel of a calling program.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Shows the panel over `owner` and returns when the user closes it: 1 then, or the platform's
// failure value when the dialog cannot be created.  texts[0] is the window title, texts[1] and
// texts[2] the upper and lower lines (code page 932); they are borrowed for the call only (a
// null array or entry shows as empty).  The icon is resource LOWORD(iconId) of `instance`.
// Holding Shift, Ctrl or both at the call shows the icon on spinning tiles instead of still.
// One panel at a time per process.
int __cdecl InfoPanel(HINSTANCE instance, HWND owner, UINT iconId, const char *const *texts);

#ifdef __cplusplus
}
#endif
