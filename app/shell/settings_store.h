// Reading and writing the settings file's 444 bytes.  A write normally never leaves a short or
// half-written file behind: the bytes go to a scratch file beside it, which then replaces the
// old file in one step.  Only where no scratch file can be created is the file written in place.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "platform.h"
#include "settings_codec.h"

#ifdef __cplusplus
extern "C" {
#endif

// Paths are UTF-16, so that the settings file beside the program is found whatever the program
// folder's name.

// Reads the first SETTINGS_FILE_SIZE bytes of the file at `path` (bytes beyond are ignored).
// Returns 1, or 0 with `out` unchanged when the file cannot be opened or is shorter.
int ReadSettingsBytes(const WCHAR *path, uint8_t out[SETTINGS_FILE_SIZE]);

// Replaces the file at `path` with the SETTINGS_FILE_SIZE bytes of `in`.  Returns 1 when they
// are written and in place; 0 when anything fails, with the old file as it was and the scratch
// file removed.  When the scratch file cannot be created the file at `path` is written in place
// instead (created if need be, cut to SETTINGS_FILE_SIZE bytes): every step is checked, and a
// failure of the first write leaves the old file as it was, though one later in the record may
// leave part of it written.
int WriteSettingsBytes(const WCHAR *path, const uint8_t in[SETTINGS_FILE_SIZE]);

// The scratch file WriteSettingsBytes uses for `path`: in the same directory, so that the
// replacement stays within one volume, the same name with its last character replaced by "~"
// ("_" when it already is one), so never longer than `path` ("init.inf" gives "init.in~"); a
// last character of two UTF-16 units is replaced whole.  Returns 1, or 0 with `out` empty (when
// outUnits > 0) if `path` names no file or the name does not fit in outUnits or MAX_PATH units.
int SettingsScratchPath(const WCHAR *path, WCHAR *out, size_t outUnits);

#ifdef __cplusplus
}
#endif
