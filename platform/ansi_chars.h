// Walking ANSI text one character at a time in the system's ANSI code page, the one the file
// system reads ANSI names in.  A lead byte starts a double-byte character only when the byte
// after it can be a trail byte; otherwise it stands alone, so it never hides the character
// after it (a ":", "/", "." or blank after a stray lead byte is still seen as one).
#pragma once

#include "platform.h"

// Bytes of the character at `text`: 2 for a lead byte and a byte that can be its trail byte,
// else 1 (also at the terminator).
static inline int AnsiCharacterBytes(const char *text) {
  const BYTE lead = (BYTE)text[0];
  if (!lead || !IsDBCSLeadByteEx(CP_ACP, lead)) return 1;
  const BYTE trail = (BYTE)text[1];
  return trail >= 0x40 && trail <= 0xFC && trail != 0x7F ? 2 : 1;
}
