// Any 0 to 1,000 bytes as "init.inf": a file shorter than the record is refused before the
// codec sees it; of a longer one the first 444 bytes are decoded.  The record must come out
// with a terminated path, and writing it back must keep every number and the path as read.
#include <string.h>

#include "settings_codec.h"

namespace {

const size_t kPathAt = 60, kAfterPath = kPathAt + SETTINGS_PATH_BYTES, kReservedAt = 412;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > 1000 || size < SETTINGS_FILE_SIZE) return 0;
  SettingsFileRecord record;
  memset(&record, 0xCC, sizeof record);
  DecodeSettingsRecord(data, &record);
  const char *path = record.settings.image_path;
  const size_t length = strnlen(path, SETTINGS_PATH_BYTES);
  if (length == SETTINGS_PATH_BYTES) __builtin_trap();
  for (size_t i = length; i < SETTINGS_PATH_BYTES; ++i)
    if (path[i]) __builtin_trap();

  uint8_t written[SETTINGS_FILE_SIZE];
  EncodeSettingsRecord(&record, written);
  if (memcmp(written, data, kPathAt) != 0 ||
      memcmp(written + kAfterPath, data + kAfterPath, kReservedAt - kAfterPath) != 0)
    __builtin_trap();
  if (memcmp(written + kPathAt, data + kPathAt, length) != 0) __builtin_trap();
  for (size_t i = kPathAt + length; i < kAfterPath; ++i)
    if (written[i]) __builtin_trap();
  for (size_t i = kReservedAt; i < SETTINGS_FILE_SIZE; ++i)
    if (written[i]) __builtin_trap();

  // What was written reads back as the same record.
  SettingsFileRecord again;
  DecodeSettingsRecord(written, &again);
  uint8_t rewritten[SETTINGS_FILE_SIZE];
  EncodeSettingsRecord(&again, rewritten);
  if (memcmp(rewritten, written, SETTINGS_FILE_SIZE) != 0) __builtin_trap();
  return 0;
}
