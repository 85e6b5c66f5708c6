// The settings dialog (template 104), shared between its files (Windows only).  The dialog is
// modal and only one exists at a time, so its state is one static record.
#pragma once

#include <windows.h>

// Buffer sizes, terminators included.
enum {
  DROP_PATH_BYTES = 260,
  BROWSE_PATH_BYTES = 260,
  TOOLTIP_TEXT_BYTES = 512,
  IMAGE_PATH_TEXT_BYTES = 260
};

// Settings (40002): the modal dialog over `window`; OK stores every setting at once.
void ShowSettingsDialog(HWND window);

typedef struct SettingsDialogState {
  int playWidth, playHeight;  // the main window's client size when the dialog opened
  COLORREF colour;            // the transparent colour being edited
  HBRUSH swatchBrush;         // brush of `colour`, painted into the swatch
  HWND swatch;                // control 1026
  HWND tooltip;               // the tooltip window, only with an interpreter library
  WNDPROC previousEditProc;   // edit 1015's procedure before the drop handler
  // The path buffers hold UTF-16 as the system gives it (one unit per byte of the 932 limit:
  // a path that fits the settings never needs more); the tooltip's holds its shown text.
  WCHAR dropBuffer[DROP_PATH_BYTES];
  WCHAR browseBuffer[BROWSE_PATH_BYTES];
  WCHAR tooltipBuffer[TOOLTIP_TEXT_BYTES];
} SettingsDialogState;

extern SettingsDialogState settingsDialog;

// Validates every field that matters for the chosen level and stores all settings at once.
// On the first invalid field shows its message (owned by the dialog) and returns 0 with
// nothing stored; else returns 1.
int StoreDialogSettings(HWND dialog);

// Edit 1015 takes the first file dropped on it; installed at initialisation.
void InstallDropHandler(HWND dialog);

// The tooltips of the six number fields (only with an interpreter library) and their text on
// demand; TTN_NEEDTEXTW is handled by SupplyTooltipText.
void CreateNumberTooltips(HWND dialog);
void DestroyNumberTooltips(void);
void SupplyTooltipText(HWND dialog, NMHDR *header);

// The two choosers: the picture file into edit 1015, the transparent colour into the swatch.
void BrowsePictureFile(HWND dialog);
void ChooseTransparentColour(HWND dialog);
