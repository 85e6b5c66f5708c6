// The user's settings: game rules, display options and the colour chooser's custom colours.
// The record, its one process-wide instance, its defaults and the split of the fall interval.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
  SETTINGS_PATH_BYTES = 260,  // image_path, terminator included
  SETTINGS_CUSTOM_COLOURS = 16
};

// Colours are COLORREF values, 0x00BBGGRR.  Flags are 1 (checked) or 0, but a settings file is
// taken as stored, so any value may appear.
typedef struct GameSettings {
  uint32_t wait_poll;        // first part of the fall interval, at most the host's POLL_WAIT_LIMIT
  uint32_t wait_fall;        // the rest of it
  int32_t level;             // game mode 0, 1 or 2
  uint32_t lv1_norma;        // levels 1 and 2: cleared rows per speed-up
  uint32_t lv1_speed;        // milliseconds taken off the interval at each speed-up
  uint32_t lv2_block;        // level 2: dropped pieces within which the quota must be met
  uint32_t lv2_norma;        // level 2: the quota of cleared rows
  uint32_t lv2_upline;       // level 2: rows that rise when the quota is missed
  int32_t blockfreq;         // favoured piece 0..6, -1 for none
  int32_t guide_shadow;      // flag: landing-position guide
  int32_t guide_stripe;      // flag: stripes on the background
  int32_t stripe_intensity;  // 0..255 added to the striped columns
  int32_t image_shown;       // flag: background picture
  char image_path[SETTINGS_PATH_BYTES];  // ANSI (code page 932), NUL-terminated
  int32_t transparent_enabled;           // flag: transparent_colour shows the background
  uint32_t transparent_colour;
  uint32_t custom_colours[SETTINGS_CUSTOM_COLOURS];
} GameSettings;

// The program's settings: filled at window creation, edited by the settings dialog, read when
// a game starts and written at the end.  Window thread only.
extern GameSettings gameSettings;

// Puts every default in place: wait 50 + 500, level 1, lv1_norma 30, lv1_speed 70, lv2_block 6,
// lv2_norma 1, lv2_upline 1, blockfreq -1, stripe_intensity 127, every flag 0, an empty path,
// transparent colour black and all custom colours white.
void SetDefaultSettings(GameSettings *settings);

// Stores a new fall interval: up to POLL_WAIT_LIMIT it is all poll time, beyond that the poll
// time is POLL_WAIT_LIMIT and the rest falls to wait_fall.
void SplitWait(GameSettings *settings, uint32_t wait);

// The fall interval the user sees: wait_poll + wait_fall (32-bit unsigned).
uint32_t SettingsWait(const GameSettings *settings);

#ifdef __cplusplus
}
#endif
