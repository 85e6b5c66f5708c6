// Drives the settings dialog as a user would, from a helper thread, while the test thread has
// it open through the Settings command.  The helper's actions are messages to the dialog's
// controls; message boxes raised by OK are read and closed.  Whatever the steps do, the
// dialog is closed in the end, so no failing test can hang on it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Sends the Settings command to `window` and runs `steps` against the dialog it opens.
// Returns false when the dialog did not appear.
bool DriveSettingsDialog(HWND window, const std::function<void(HWND dialog)> &steps);

// Helper-thread actions on the open dialog.
std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const char *text);
void ClickItem(HWND dialog, int id);
bool IsItemChecked(HWND dialog, int id);
bool IsItemEnabled(HWND dialog, int id);

// Presses OK: returns the text of the message box it raised, after closing that box, or an
// empty text when the dialog ended instead.
std::string PressOk(HWND dialog);

// The tooltip window of the dialog, null when it has none.
HWND FindTooltip(HWND dialog);

// The text the dialog supplies for the tooltip of field `id`, or "(none)" when it leaves the
// request unanswered.
std::string TooltipText(HWND dialog, int id);
