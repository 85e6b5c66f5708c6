#include "settings_file.h"

#include <string.h>

#include "block_crc.h"
#include "game_settings.h"
#include "game_thread.h"
#include "program_paths.h"
#include "settings_codec.h"
#include "settings_store.h"
#include "window_position.h"

static uint32_t CurrentBlockCrc(void) {
  const PictureBuffer *block = &gameHost.blockPicture;
  if (!block->pixels) return 0;
  return BlockCrc(block->pixels, static_cast<uint32_t>(block->byteSize));
}

int LoadSettings(HWND window) {
  uint8_t bytes[SETTINGS_FILE_SIZE];
  if (!ReadSettingsBytes(ProgramFilePath(L"init.inf"), bytes)) return 0;
  SettingsFileRecord record;
  DecodeSettingsRecord(bytes, &record);
  memcpy(gameHost.linecnt, record.linecnt, sizeof gameHost.linecnt);
  gameSettings = record.settings;

  // The block picture decides the window's size; a changed picture means a changed window,
  // which is centred instead of put where the old one was.
  if (record.block_crc == CurrentBlockCrc())
    MoveWindowToSavedPosition(window, record.window_x, record.window_y);
  else
    CenterWindow(window);
  return 1;
}

int SaveSettings(HWND window) {
  SettingsFileRecord record;
  memset(&record, 0, sizeof record);
  memcpy(record.linecnt, gameHost.linecnt, sizeof record.linecnt);
  record.settings = gameSettings;

  // A minimised window reports a parking position far off the screen: keep the place it
  // will be restored to, so the next start does not open out of sight.
  POINT topLeft = RestoredPosition(window);
  record.window_x = topLeft.x;
  record.window_y = topLeft.y;
  record.block_crc = CurrentBlockCrc();

  uint8_t bytes[SETTINGS_FILE_SIZE];
  EncodeSettingsRecord(&record, bytes);
  return WriteSettingsBytes(ProgramFilePath(L"init.inf"), bytes);
}
