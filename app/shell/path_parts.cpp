// Path walking in the system's ANSI code page, the one the file system reads ANSI names in.
#include "path_parts.h"

#include <string.h>

#include "ansi_chars.h"

namespace {

inline const char *NextChar(const char *p) {
  return p + AnsiCharacterBytes(p);
}

inline int IsSeparator(const char *p) {
  return *p == '\\' || *p == '/';
}

int EndsInSeparator(const char *text) {
  const char *last = NULL;
  for (const char *p = text; *p; p = NextChar(p)) last = p;
  return last && IsSeparator(last);
}

// Copies [begin, end) into a PATH_BUFFER_BYTES buffer; a span too long is cut before the first
// character that would not fit.
int CopyPart(char *out, const char *begin, const char *end) {
  if (!out) return 1;
  const char *stop = begin;
  while (stop < end) {
    const char *next = NextChar(stop);
    if (next - begin > PATH_BUFFER_BYTES - 1) break;
    stop = next;
  }
  memcpy(out, begin, (size_t)(stop - begin));
  out[stop - begin] = '\0';
  return stop == end;
}

int IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

int SplitPathParts(const char *path, char *drive, char *dir, char *name, char *ext) {
  const char *rest = path;
  if (IsAsciiLetter(path[0]) && path[1] == ':') rest = path + 2;

  const char *nameStart = rest;  // just after the last separator
  const char *dot = NULL;        // last "." of the final component
  const char *p = rest;
  for (; *p; p = NextChar(p)) {
    if (IsSeparator(p)) {
      nameStart = p + 1;
      dot = NULL;
    } else if (*p == '.') {
      dot = p;
    }
  }
  const char *end = p;
  const char *nameEnd = dot ? dot : end;

  int whole = CopyPart(drive, path, rest);
  whole &= CopyPart(dir, rest, nameStart);
  whole &= CopyPart(name, nameStart, nameEnd);
  whole &= CopyPart(ext, nameEnd, end);
  return whole;
}

int DriveAndDirectory(const char *path, char *out, size_t outSize) {
  char drive[PATH_BUFFER_BYTES], dir[PATH_BUFFER_BYTES];
  int whole = SplitPathParts(path, drive, dir, NULL, NULL);
  const size_t driveBytes = strlen(drive), dirBytes = strlen(dir);
  const int addSeparator = (driveBytes + dirBytes > 0) && !EndsInSeparator(dir[0] ? dir : drive);
  if (!whole || driveBytes + dirBytes + (size_t)addSeparator + 1 > outSize) {
    if (outSize > 0) out[0] = '\0';
    return 0;
  }
  memcpy(out, drive, driveBytes);
  memcpy(out + driveBytes, dir, dirBytes);
  size_t at = driveBytes + dirBytes;
  if (addSeparator) out[at++] = '\\';
  out[at] = '\0';
  return 1;
}

int JoinProgramFilePath(const char *directory, const char *name, char *out, size_t outSize) {
  const size_t dirBytes = strlen(directory), nameBytes = strlen(name);
  const int addSeparator = dirBytes > 0 && !EndsInSeparator(directory);
  if (dirBytes + (size_t)addSeparator + nameBytes + 1 > outSize) {
    if (outSize > 0) out[0] = '\0';
    return 0;
  }
  memcpy(out, directory, dirBytes);
  size_t at = dirBytes;
  if (addSeparator) out[at++] = '\\';
  memcpy(out + at, name, nameBytes);
  out[at + nameBytes] = '\0';
  return 1;
}
