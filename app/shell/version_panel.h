// Version (40003): the program's texts and icon in InfoPanel.dll's panel (Windows only).
#pragma once

#include <windows.h>

void ShowVersionPanel(HWND window);
