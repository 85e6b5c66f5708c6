#include "game_commands.h"

void ShowVersionPanel(HWND) {
  // Not yet: the version panel lives in InfoPanel.dll, which is built separately.
}
