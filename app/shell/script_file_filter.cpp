#include "script_file_filter.h"

#include "path_parts.h"

namespace {

// The code page the file system reads the script's names in.
const UINT kCodePage = CP_ACP;

char FoldAsciiCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Equal ignoring the case of ASCII letters, character by character: a trail byte of a
// double-byte character is compared as it is, never case-folded (0x83 0x41 and 0x83 0x61 are
// two different characters).
bool SameIgnoringCase(const char *a, const char *b) {
  while (*a && *b) {
    if (IsDBCSLeadByteEx(kCodePage, static_cast<BYTE>(*a))) {
      if (a[0] != b[0] || a[1] != b[1]) return false;
      if (!a[1]) return true;
      a += 2;
      b += 2;
      continue;
    }
    if (FoldAsciiCase(*a) != FoldAsciiCase(*b)) return false;
    ++a;
    ++b;
  }
  return *a == *b;
}

}  // namespace

LONG WINAPI ScriptFileFilter(const char *path, const char *directory) {
  if (!path || !directory) return SCRIPT_FILE_REFUSED;
  char place[PATH_BUFFER_BYTES];
  // A path too long to split must not pass for a bare name.
  if (!DriveAndDirectory(path, place, sizeof place)) return SCRIPT_FILE_REFUSED;
  if (!place[0]) return 0;
  return SameIgnoringCase(place, directory) ? 0 : SCRIPT_FILE_REFUSED;
}
