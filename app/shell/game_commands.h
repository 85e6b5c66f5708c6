// The shell's side of a game (Windows only): Start from the settings, Stop, the end of the
// session and the end of a game.
#pragma once

#include <windows.h>

// Start (40001): copies the settings into the game record and starts the game thread.
void StartGameFromSettings(HWND window);

// Stop (40005, and when the main window is destroyed): ends a running game, runs its score
// script and resets the well.  Does nothing when no game runs.
void StopGame(HWND window);

// The end of the Windows session: ends a running game without its score script (the system
// ends the process soon after, and a script cut off half-way could leave its files damaged).
// Does nothing when no game runs.
void StopGameForSessionEnd(void);

// The game-ended command 1042, posted by a game thread that finished by itself.
void HandleGameEnded(HWND window);
