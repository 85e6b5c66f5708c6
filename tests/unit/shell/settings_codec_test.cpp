#include "settings_codec.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace {

// The file's layout, written out offset by offset.
struct Layout {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(444, 0);
  void Put(size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) bytes[at + (size_t)k] = (uint8_t)(v >> (8 * k));
  }
};

// A record with a different value in every field, negative ones included, and the same values
// laid out by hand.
void MakeSample(SettingsFileRecord *r, Layout *l) {
  memset(r, 0xCC, sizeof *r);  // the path buffer keeps this noise after its terminator
  const uint32_t linecnt[4] = {0x01020304u, 5, 6, 0x70000007u};
  for (int k = 0; k < 4; ++k) r->linecnt[k] = linecnt[k], l->Put(4 * (size_t)k, linecnt[k]);
  GameSettings &s = r->settings;
  s.wait_fall = 0x11111111u, l->Put(16, 0x11111111u);
  s.wait_poll = 33, l->Put(20, 33);
  s.level = 2, l->Put(24, 2);
  s.lv1_norma = 0x28, l->Put(28, 0x28);
  s.lv1_speed = 0x29, l->Put(32, 0x29);
  s.guide_shadow = 1, l->Put(36, 1);
  s.guide_stripe = 3, l->Put(40, 3);
  r->block_crc = 0xDEADBEEFu, l->Put(44, 0xDEADBEEFu);
  r->window_x = -20, l->Put(48, 0xFFFFFFECu);
  r->window_y = 0x12345, l->Put(52, 0x12345);
  s.image_shown = 1, l->Put(56, 1);
  const char path[] = "C:\\\x95\x5C\\back.JPG";
  memcpy(s.image_path, path, sizeof path);
  memcpy(&l->bytes[60], path, sizeof path - 1);
  s.stripe_intensity = 200, l->Put(320, 200);
  for (int i = 0; i < 16; ++i) {
    s.custom_colours[i] = 0x00010203u * (uint32_t)(i + 1);
    l->Put(324 + 4 * (size_t)i, 0x00010203u * (uint32_t)(i + 1));
  }
  s.transparent_colour = 0x00FF00FFu, l->Put(388, 0x00FF00FFu);
  s.lv2_norma = 0x392, l->Put(392, 0x392);
  s.lv2_block = 0x396, l->Put(396, 0x396);
  s.lv2_upline = 0x400, l->Put(400, 0x400);
  s.transparent_enabled = 1, l->Put(404, 1);
  s.blockfreq = -1, l->Put(408, 0xFFFFFFFFu);
}

TEST(SettingsCodec, EveryFieldLandsAtItsOffsetAndEverythingElseIsZero) {
  SettingsFileRecord record;
  Layout layout;
  MakeSample(&record, &layout);
  uint8_t out[SETTINGS_FILE_SIZE];
  memset(out, 0xEE, sizeof out);
  EncodeSettingsRecord(&record, out);
  for (size_t i = 0; i < sizeof out; ++i) ASSERT_EQ(out[i], layout.bytes[i]) << "byte " << i;
}

// Encoding is checked against the layout above, so a decode that encodes back to the same bytes
// has put every field where it belongs.
TEST(SettingsCodec, DecodingTakesTheStoredValuesAndEncodesBackToTheSameBytes) {
  SettingsFileRecord expected;
  Layout layout;
  MakeSample(&expected, &layout);
  layout.Put(412, 0x99999999u);  // reserved bytes are ignored on reading

  SettingsFileRecord got;
  memset(&got, 0x33, sizeof got);
  DecodeSettingsRecord(layout.bytes.data(), &got);
  EXPECT_EQ(got.window_x, -20);
  EXPECT_EQ(got.settings.blockfreq, -1);
  EXPECT_EQ(got.settings.guide_stripe, 3) << "taken as stored, not as a flag";
  EXPECT_STREQ(got.settings.image_path, expected.settings.image_path);
  for (size_t i = strlen(got.settings.image_path); i < sizeof got.settings.image_path; ++i)
    ASSERT_EQ(got.settings.image_path[i], 0) << "path buffer byte " << i;

  uint8_t again[SETTINGS_FILE_SIZE];
  EncodeSettingsRecord(&got, again);
  layout.Put(412, 0);
  EXPECT_EQ(std::vector<uint8_t>(again, again + sizeof again), layout.bytes);
}

TEST(SettingsCodec, PathWithoutATerminatorIsCutTo259BytesBothWays) {
  Layout layout;
  memset(&layout.bytes[60], 'a', 260);
  SettingsFileRecord record;
  memset(&record, 0x33, sizeof record);
  DecodeSettingsRecord(layout.bytes.data(), &record);
  EXPECT_EQ(std::string(record.settings.image_path), std::string(259, 'a'));

  memset(record.settings.image_path, 'b', sizeof record.settings.image_path);
  record.settings.stripe_intensity = 0x44;
  uint8_t out[SETTINGS_FILE_SIZE];
  EncodeSettingsRecord(&record, out);
  EXPECT_EQ(std::string((const char *)out + 60, 259), std::string(259, 'b'));
  EXPECT_EQ(out[319], 0) << "the field keeps its terminator";
  EXPECT_EQ(out[320], 0x44) << "and the next field is not overrun";
}

}  // namespace
