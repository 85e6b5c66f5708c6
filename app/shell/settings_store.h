// Reading and writing the settings file's 444 bytes.  A write never leaves a short or
// half-written file behind: the bytes go to a scratch file beside it, which then replaces the
// old file in one step.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "settings_codec.h"

#ifdef __cplusplus
extern "C" {
#endif

// Reads the first SETTINGS_FILE_SIZE bytes of the file at `path` (bytes beyond are ignored).
// Returns 1, or 0 with `out` unchanged when the file cannot be opened or is shorter.
int ReadSettingsBytes(const char *path, uint8_t out[SETTINGS_FILE_SIZE]);

// Replaces the file at `path` with the SETTINGS_FILE_SIZE bytes of `in`.  Returns 1 when they
// are written and in place; 0 when anything fails, with the old file as it was and the scratch
// file removed.
int WriteSettingsBytes(const char *path, const uint8_t in[SETTINGS_FILE_SIZE]);

// The scratch file WriteSettingsBytes uses for `path`: in the same directory, so that the
// replacement stays within one volume, the same name with its last character replaced by "~"
// ("_" when it already is one), so never longer than `path` ("init.inf" gives "init.in~").
// Returns 1, or 0 with `out` empty (when outSize > 0) if `path` names no file or the name does
// not fit.
int SettingsScratchPath(const char *path, char *out, size_t outSize);

#ifdef __cplusplus
}
#endif
