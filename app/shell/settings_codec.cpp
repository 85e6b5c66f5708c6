#include "settings_codec.h"

#include <string.h>

namespace {

// Byte offsets of the file's fields.
enum {
  AT_LINECNT = 0,  // four counters
  AT_WAIT_FALL = 16,
  AT_WAIT_POLL = 20,
  AT_LEVEL = 24,
  AT_LV1_NORMA = 28,
  AT_LV1_SPEED = 32,
  AT_GUIDE_SHADOW = 36,
  AT_GUIDE_STRIPE = 40,
  AT_BLOCK_CRC = 44,
  AT_WINDOW_X = 48,
  AT_WINDOW_Y = 52,
  AT_IMAGE_SHOWN = 56,
  AT_IMAGE_PATH = 60,
  AT_STRIPE_INTENSITY = 320,
  AT_CUSTOM_COLOURS = 324,  // sixteen colours
  AT_TRANSPARENT_COLOUR = 388,
  AT_LV2_NORMA = 392,
  AT_LV2_BLOCK = 396,
  AT_LV2_UPLINE = 400,
  AT_TRANSPARENT_ENABLED = 404,
  AT_BLOCKFREQ = 408,
  AT_RESERVED = 412  // 32 bytes, zero
};

static_assert(AT_IMAGE_PATH + SETTINGS_PATH_BYTES == AT_STRIPE_INTENSITY, "path field size");
static_assert(AT_CUSTOM_COLOURS + 4 * SETTINGS_CUSTOM_COLOURS == AT_TRANSPARENT_COLOUR,
              "custom colours size");
static_assert(AT_RESERVED + 32 == SETTINGS_FILE_SIZE, "record size");

void Put(uint8_t *out, int at, uint32_t v) {
  out[at] = (uint8_t)v;
  out[at + 1] = (uint8_t)(v >> 8);
  out[at + 2] = (uint8_t)(v >> 16);
  out[at + 3] = (uint8_t)(v >> 24);
}

uint32_t Get(const uint8_t *in, int at) {
  return (uint32_t)in[at] | (uint32_t)in[at + 1] << 8 | (uint32_t)in[at + 2] << 16 |
         (uint32_t)in[at + 3] << 24;
}

int32_t GetSigned(const uint8_t *in, int at) {
  return (int32_t)Get(in, at);
}

// Length of a path field's text: up to its terminator, at most one byte short of the field so
// that there is always room for one.
size_t PathLength(const char *text) {
  size_t n = 0;
  while (n < SETTINGS_PATH_BYTES - 1 && text[n]) ++n;
  return n;
}

}  // namespace

void EncodeSettingsRecord(const SettingsFileRecord *record, uint8_t out[SETTINGS_FILE_SIZE]) {
  const GameSettings *s = &record->settings;
  memset(out, 0, SETTINGS_FILE_SIZE);
  for (int k = 0; k < 4; ++k) Put(out, AT_LINECNT + 4 * k, record->linecnt[k]);
  Put(out, AT_WAIT_FALL, s->wait_fall);
  Put(out, AT_WAIT_POLL, s->wait_poll);
  Put(out, AT_LEVEL, (uint32_t)s->level);
  Put(out, AT_LV1_NORMA, s->lv1_norma);
  Put(out, AT_LV1_SPEED, s->lv1_speed);
  Put(out, AT_GUIDE_SHADOW, (uint32_t)s->guide_shadow);
  Put(out, AT_GUIDE_STRIPE, (uint32_t)s->guide_stripe);
  Put(out, AT_BLOCK_CRC, record->block_crc);
  Put(out, AT_WINDOW_X, (uint32_t)record->window_x);
  Put(out, AT_WINDOW_Y, (uint32_t)record->window_y);
  Put(out, AT_IMAGE_SHOWN, (uint32_t)s->image_shown);
  memcpy(out + AT_IMAGE_PATH, s->image_path, PathLength(s->image_path));
  Put(out, AT_STRIPE_INTENSITY, (uint32_t)s->stripe_intensity);
  for (int i = 0; i < SETTINGS_CUSTOM_COLOURS; ++i)
    Put(out, AT_CUSTOM_COLOURS + 4 * i, s->custom_colours[i]);
  Put(out, AT_TRANSPARENT_COLOUR, s->transparent_colour);
  Put(out, AT_LV2_NORMA, s->lv2_norma);
  Put(out, AT_LV2_BLOCK, s->lv2_block);
  Put(out, AT_LV2_UPLINE, s->lv2_upline);
  Put(out, AT_TRANSPARENT_ENABLED, (uint32_t)s->transparent_enabled);
  Put(out, AT_BLOCKFREQ, (uint32_t)s->blockfreq);
}

void DecodeSettingsRecord(const uint8_t in[SETTINGS_FILE_SIZE], SettingsFileRecord *record) {
  GameSettings *s = &record->settings;
  for (int k = 0; k < 4; ++k) record->linecnt[k] = Get(in, AT_LINECNT + 4 * k);
  s->wait_fall = Get(in, AT_WAIT_FALL);
  s->wait_poll = Get(in, AT_WAIT_POLL);
  s->level = GetSigned(in, AT_LEVEL);
  s->lv1_norma = Get(in, AT_LV1_NORMA);
  s->lv1_speed = Get(in, AT_LV1_SPEED);
  s->guide_shadow = GetSigned(in, AT_GUIDE_SHADOW);
  s->guide_stripe = GetSigned(in, AT_GUIDE_STRIPE);
  record->block_crc = Get(in, AT_BLOCK_CRC);
  record->window_x = GetSigned(in, AT_WINDOW_X);
  record->window_y = GetSigned(in, AT_WINDOW_Y);
  s->image_shown = GetSigned(in, AT_IMAGE_SHOWN);
  memset(s->image_path, 0, sizeof s->image_path);
  memcpy(s->image_path, in + AT_IMAGE_PATH,
         PathLength(reinterpret_cast<const char *>(in + AT_IMAGE_PATH)));
  s->stripe_intensity = GetSigned(in, AT_STRIPE_INTENSITY);
  for (int i = 0; i < SETTINGS_CUSTOM_COLOURS; ++i)
    s->custom_colours[i] = Get(in, AT_CUSTOM_COLOURS + 4 * i);
  s->transparent_colour = Get(in, AT_TRANSPARENT_COLOUR);
  s->lv2_norma = Get(in, AT_LV2_NORMA);
  s->lv2_block = Get(in, AT_LV2_BLOCK);
  s->lv2_upline = Get(in, AT_LV2_UPLINE);
  s->transparent_enabled = GetSigned(in, AT_TRANSPARENT_ENABLED);
  s->blockfreq = GetSigned(in, AT_BLOCKFREQ);
}
