// Splitting and joining of ANSI paths in the system's ANSI code page, as the file system reads
// them.  The trail bytes of a double-byte code page such as 932 include 0x5C, the backslash (the
// second byte of "表" is one), so every walk goes character by character and a trail byte is
// never taken for a separator or a dot; under a single-byte code page every 0x5C is one.
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// Size of every path buffer of the program, terminator included.
enum { PATH_BUFFER_BYTES = 260 };

// Splits `path` into drive (an ASCII letter and its colon at the start, else empty; a UNC path
// has none), directory (after the drive, up to and including the last "\" or "/"), name, and
// extension (from the last "." of the final component, dot included; empty when it has none).
// Each non-null output receives PATH_BUFFER_BYTES bytes at most, always terminated; pass null
// for parts not wanted.  Returns 1, or 0 when a part had to be cut short (at a character
// boundary).
int SplitPathParts(const char *path, char *drive, char *dir, char *name, char *ext);

// Drive and directory of `path` joined, with a "\" added when the result is not empty and does
// not already end in "\" or "/"; empty when the path has neither.  Returns 1, or 0 with `out`
// empty (when outSize > 0) if the result does not fit in outSize bytes.
int DriveAndDirectory(const char *path, char *out, size_t outSize);

// `directory` and `name` joined with a "\" between them unless `directory` is empty or already
// ends in a separator; an empty directory gives `name` alone.  Returns 1, or 0 with `out` empty
// (when outSize > 0) if the result does not fit, so a cut path can never name another file.
int JoinProgramFilePath(const char *directory, const char *name, char *out, size_t outSize);

#ifdef __cplusplus
}
#endif
