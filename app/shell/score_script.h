// The end of a game handed to the player's score script, "qmscore.bas" beside the program
// (Windows only).
#pragma once

// Runs the script once for the game that has just ended; does nothing without an interpreter
// library, a script, or a game whose statistics it has not yet taken.
void RunScoreScript(void);
