#include "game_settings.h"

#include <string.h>

#include "game_host.h"

GameSettings gameSettings;

void SetDefaultSettings(GameSettings *settings) {
  memset(settings, 0, sizeof *settings);
  settings->wait_poll = POLL_WAIT_LIMIT;
  settings->wait_fall = 500;
  settings->level = 1;
  settings->lv1_norma = 30;
  settings->lv1_speed = 70;
  settings->lv2_block = 6;
  settings->lv2_norma = 1;
  settings->lv2_upline = 1;
  settings->blockfreq = -1;
  settings->stripe_intensity = 127;
  for (int i = 0; i < SETTINGS_CUSTOM_COLOURS; ++i) settings->custom_colours[i] = 0x00FFFFFFu;
}

void SplitWait(GameSettings *settings, uint32_t wait) {
  if (wait <= POLL_WAIT_LIMIT) {
    settings->wait_poll = wait;
    settings->wait_fall = 0;
  } else {
    settings->wait_poll = POLL_WAIT_LIMIT;
    settings->wait_fall = wait - POLL_WAIT_LIMIT;
  }
}

uint32_t SettingsWait(const GameSettings *settings) {
  return settings->wait_poll + settings->wait_fall;
}
