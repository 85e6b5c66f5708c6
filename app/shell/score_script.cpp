#include "game_commands.h"

void RunScoreScript(void) {
  // Not yet: "qmscore.bas" is run here once the interpreter's BASIC entry points are bound.
  // Until then a game's end hands nothing over, as when no interpreter library is present.
}
