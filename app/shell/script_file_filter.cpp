#include "script_file_filter.h"

#include <string.h>

#include "ansi_chars.h"
#include "path_parts.h"

namespace {

char FoldAsciiCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Equal ignoring the case of ASCII letters, character by character: a trail byte of a
// double-byte character is compared as it is, never case-folded (0x83 0x41 and 0x83 0x61 are
// two different characters).
bool SameIgnoringCase(const char *a, const char *b) {
  while (*a && *b) {
    if (AnsiCharacterBytes(a) == 2) {
      if (a[0] != b[0] || a[1] != b[1]) return false;
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

// A ':' other than a drive letter's names a device or a stream of a file, never a file of the
// program directory.
bool HasForeignColon(const char *path) {
  for (const char *p = path; *p; p += AnsiCharacterBytes(p))
    if (*p == ':' && !(p == path + 1 && IsAsciiLetter(path[0]))) return true;
  return false;
}

// The last part of `path`, just after its last separator or its drive.
const char *LastPart(const char *path) {
  const char *start = path;
  for (const char *p = path; *p; p += AnsiCharacterBytes(p))
    if (*p == '\\' || *p == '/' || *p == ':') start = p + 1;
  return start;
}

// `name` as Windows compares it: up to a ':', trailing dots and blanks dropped, ASCII letters
// in lower case, a double-byte character kept as it is.  False when it does not fit.
bool FoldName(const char *name, char *out, size_t outSize) {
  size_t length = 0;
  for (const char *p = name; *p && *p != ':';) {
    const int bytes = AnsiCharacterBytes(p);
    if (length + (size_t)bytes >= outSize) return false;
    out[length++] = bytes == 1 ? FoldAsciiCase(p[0]) : p[0];
    if (bytes == 2) out[length++] = p[1];
    p += bytes;
  }
  // A dot or a blank is never a trail byte, so the last bytes can be looked at alone.
  while (length > 0 && (out[length - 1] == '.' || out[length - 1] == ' ')) --length;
  out[length] = '\0';
  return true;
}

const char *const kProgramFiles[] = {"quillomar.exe", "quillcore.dll", "infopanel.dll",
                                     "exprn40.dll",   "exprn35.dll",   "exprn34.dll",
                                     "block.bmp",     "init.inf",      "init.in~"};
// Names Windows may load from the program's folder by their ending alone.
const char *const kLoadedExtensions[] = {".dll", ".exe", ".manifest", ".local"};
// What a short alias of a protected name may end in: the first three letters of its ending.
const char *const kAliasExtensions[] = {".dll", ".exe", ".man", ".loc", ".bmp", ".inf"};

bool IsOneOf(const char *text, const char *const *list, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (strcmp(text, list[i]) == 0) return true;
  return false;
}

#define IS_ONE_OF(text, list) IsOneOf(text, list, sizeof list / sizeof list[0])

}  // namespace

int IsProtectedProgramFileName(const char *name) {
  char folded[PATH_BUFFER_BYTES];
  if (!name || !FoldName(name, folded, sizeof folded) || !folded[0]) return 1;
  if (IS_ONE_OF(folded, kProgramFiles)) return 1;
  // A dot is never a trail byte either.
  const char *ending = strrchr(folded, '.');
  if (!ending) return 0;
  if (IS_ONE_OF(ending, kLoadedExtensions)) return 1;
  // Any "~" byte counts, even one that is a trail byte: a refused harmless name is no harm.
  return strchr(folded, '~') && IS_ONE_OF(ending, kAliasExtensions) ? 1 : 0;
}

LONG WINAPI ScriptFileFilter(const char *path, const char *directory) {
  if (!path || !directory || HasForeignColon(path)) return SCRIPT_FILE_REFUSED;
  char place[PATH_BUFFER_BYTES];
  // A path too long to split must not pass for a bare name.
  if (!DriveAndDirectory(path, place, sizeof place)) return SCRIPT_FILE_REFUSED;
  if (place[0] && !SameIgnoringCase(place, directory)) return SCRIPT_FILE_REFUSED;
  return IsProtectedProgramFileName(LastPart(path)) ? SCRIPT_FILE_REFUSED : 0;
}
