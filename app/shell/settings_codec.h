// The settings file "init.inf" as bytes: a fixed 444-byte record of little-endian 32-bit
// numbers and one 260-byte path, with no header and no version.  This module only converts
// between the record and its bytes; reading and writing the file is settings_store.
#pragma once

#include <stdint.h>

#include "game_settings.h"

#ifdef __cplusplus
extern "C" {
#endif

enum { SETTINGS_FILE_SIZE = 444 };

// Everything the file keeps: the last game's clear counts (linecnt[k]: clears of k + 1 rows),
// the settings, the checksum of the block picture and the main window's top-left corner.
typedef struct SettingsFileRecord {
  uint32_t linecnt[4];
  GameSettings settings;
  uint32_t block_crc;
  int32_t window_x, window_y;
} SettingsFileRecord;

// Writes the whole 444-byte image of `record`: the reserved bytes and every byte of the path
// field after its terminator are zero, whatever follows the terminator in memory.  A path with
// no terminator in its 260 bytes is written as its first 259 bytes.
void EncodeSettingsRecord(const SettingsFileRecord *record, uint8_t out[SETTINGS_FILE_SIZE]);

// Fills every field of `record` from the 444 bytes, as stored, without range checks.  The path
// is taken up to its terminator; one that has none within its 260 bytes is cut to 259 bytes.
// The path buffer is zero after its terminator.
void DecodeSettingsRecord(const uint8_t in[SETTINGS_FILE_SIZE], SettingsFileRecord *record);

#ifdef __cplusplus
}
#endif
