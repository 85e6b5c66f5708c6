// Small helpers that the program's dialogs share (Windows only).
#pragma once

#include <windows.h>

#include <stdint.h>

// Shows `value` in decimal in control `id`.
void SetDialogNumber(HWND dialog, int id, uint32_t value);

// Whether check box or radio button `id` is checked (not indeterminate).
bool IsBoxChecked(HWND dialog, int id);
