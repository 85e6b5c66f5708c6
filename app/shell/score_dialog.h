// Show score (40006): the statistics of the current or last game (Windows only).
#pragma once

#include <windows.h>

void ShowScoreDialog(HWND window);
