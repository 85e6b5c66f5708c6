// Which names a script may give to open, kill and name, before the program's filter is asked.
#pragma once

#include <string>

// True for a name no script may use: empty, too long, holding a NUL, holding a ':' other than
// a drive's ("com1:", "nul.txt:", "a.txt:stream" name a device or a hidden stream of a file),
// or a device name in any letter case ("con", "com0.txt", "lpt9", "com\xB9" (the superscript
// one of code page 1252), "dir\nul").  The name is walked character by character in the
// system's ANSI code page, as the file system reads it, so a trail byte that equals "\" never
// ends a directory, and a lead byte followed by no possible trail byte ("\x81:") never hides
// the character after it.
bool IsRefusedFileName(const std::string &name);
