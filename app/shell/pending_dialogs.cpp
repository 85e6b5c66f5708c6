#include "game_commands.h"

void ShowSettingsDialog(HWND) {
  // Not yet: the settings dialog (template 104) is built separately; until then the
  // settings come only from "init.inf" and the defaults.
}
